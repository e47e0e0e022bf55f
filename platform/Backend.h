// What the platform asks of the environment it runs in. The default one has
// no windows and prints message boxes on stderr; the test harness and the
// windowed backends replace it.
#pragma once

#include <quillon/platform/CString.h>
#include <quillon/platform/Types.h>

class CWnd;

namespace quillon {
namespace platform {

class Backend {
public:
    virtual ~Backend() = default;
    // Modal: returns the button pressed (IDOK, IDCANCEL, ...).
    virtual int MessageBox(CWnd* owner, const CString& text, const CString& caption, UINT type) = 0;
};

Backend& CurrentBackend();
// nullptr restores the default backend. The caller keeps ownership.
void SetBackend(Backend* backend);

}  // namespace platform
}  // namespace quillon
