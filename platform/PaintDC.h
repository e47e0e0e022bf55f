// Painting a window: BeginPaint / EndPaint and the device contexts over a
// window's client surface. Coordinates are the window's client coordinates;
// drawing is clipped to the update area's bounding rectangle (rcPaint).
#pragma once

#include <quillon/platform/Messages.h>
#include <quillon/platform/Window.h>

#include "platform/gdi/DC.h"

// Takes the update area (its bounding rectangle into rcPaint), validates it,
// and hands back a context over the window's client surface clipped to it;
// WM_ERASEBKGND is sent when the area was invalidated with erase. Null (and
// an empty rcPaint) for a window that does not exist.
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
// Puts the painted rectangle on the screen.
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps);

// A child window that paints from a picture of its own, kept at least at its
// client size (a 32-bit DIB section whose top-left part is the client area),
// may hand that picture to the window system
// as its client surface: painting the picture onto the window then copies
// nothing. The picture must outlive the sharing, which lasts until the
// window is destroyed or `picture` is null (the window then gets a black
// surface of its own). FALSE, and nothing changes, when the picture does not
// fit the client area or the window is a frame.
BOOL ShareClientSurface(CWnd* wnd, HBITMAP picture);

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    PAINTSTRUCT m_ps{};

private:
    CWnd* m_wnd;
};

// A context over the whole client area, outside of a paint; what is drawn
// goes on the screen when the context ends.
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC();
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;

private:
    CWnd* m_wnd;
};
