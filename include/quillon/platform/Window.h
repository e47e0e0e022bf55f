// The window base and message boxes. Message boxes go to the platform
// backend; without one that shows them they print "caption: text" on stderr.
#pragma once

#include <quillon/platform/CString.h>
#include <quillon/platform/Geometry.h>
#include <quillon/platform/Types.h>

class CObject {
public:
    CObject() = default;
    virtual ~CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

class CWnd : public CObject {
public:
    CWnd() = default;
    ~CWnd() override = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // A null caption shows the window system's default, "Error".
    int MessageBox(const char* text, const char* caption = nullptr, UINT type = MB_OK);
};

// Application-modal box with the application's name as caption.
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);
