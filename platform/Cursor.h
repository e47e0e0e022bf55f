// Cursors: the window system's standard ones and the library's two
// resource cursors (open hand 1004, horizontal resize 1006). A cursor handle
// is opaque; the backend is told the id of the cursor that shows.
#pragma once

#include <cstdint>

#include <quillon/platform/Messages.h>
#include <quillon/platform/Types.h>

// An integer resource id passed where a name is expected.
#define MAKEINTRESOURCE(i) \
    (reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(static_cast<WORD>(i))))
#define IS_INTRESOURCE(p) ((reinterpret_cast<std::uintptr_t>(p) >> 16) == 0)

#define IDC_ARROW MAKEINTRESOURCE(32512)
#define IDC_IBEAM MAKEINTRESOURCE(32513)
#define IDC_WAIT MAKEINTRESOURCE(32514)
#define IDC_CROSS MAKEINTRESOURCE(32515)
#define IDC_UPARROW MAKEINTRESOURCE(32516)
#define IDC_SIZENWSE MAKEINTRESOURCE(32642)
#define IDC_SIZENESW MAKEINTRESOURCE(32643)
#define IDC_SIZEWE MAKEINTRESOURCE(32644)
#define IDC_SIZENS MAKEINTRESOURCE(32645)
#define IDC_SIZEALL MAKEINTRESOURCE(32646)
#define IDC_NO MAKEINTRESOURCE(32648)
#define IDC_HAND MAKEINTRESOURCE(32649)
#define IDC_APPSTARTING MAKEINTRESOURCE(32650)

namespace quillon {
namespace platform {
// Ids of the library's resource cursors.
constexpr int kCursorOpenHand = 1004;
constexpr int kCursorResizeWE = 1006;
constexpr int kCursorArrowId = 32512;
constexpr int kCursorWaitId = 32514;
// The id a cursor handle stands for; 0 for null.
int CursorIdOf(HCURSOR cursor);
// One more (true) or one less (false) reason to show the wait cursor.
void WaitCursor(bool begin);
}  // namespace platform
}  // namespace quillon

// The library's module: its resources hold the two cursors.
HINSTANCE AfxGetResourceHandle();
HINSTANCE AfxGetInstanceHandle();

// With no instance: the window system's cursors (IDC_*). With the library's
// instance: its resource cursors 1004 and 1006. Null for anything else.
HCURSOR LoadCursor(HINSTANCE instance, LPCSTR name);
// Shows the cursor (null hides it) and returns the one set before. While the
// wait cursor is on the backend keeps showing it and shows this one after.
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
