#include "platform/Cursor.h"

#include <quillon/platform/Window.h>

#include "platform/Backend.h"
#include "platform/WindowSystem.h"

namespace quillon {
namespace platform {
struct CursorHandle {
    int id;
};
struct ModuleHandle {
    int unused;
};
}  // namespace platform
}  // namespace quillon

using quillon::platform::CursorHandle;
using quillon::platform::ModuleHandle;

namespace {

ModuleHandle g_library{0};

CursorHandle g_system[] = {{32512}, {32513}, {32514}, {32515}, {32516}, {32642}, {32643},
                           {32644}, {32645}, {32646}, {32648}, {32649}, {32650}};
CursorHandle g_resources[] = {{quillon::platform::kCursorOpenHand},
                              {quillon::platform::kCursorResizeWE}};

struct CursorState {
    HCURSOR current = &g_system[0];
    int waitCount = 0;
    int shown = quillon::platform::kCursorArrowId;  // what the backend was last told
};

CursorState g_cursor;

CursorState& S() {
    return g_cursor;
}

void Show() {
    int id = quillon::platform::ShownCursorId();
    if (id == S().shown) return;
    S().shown = id;
    quillon::platform::CurrentBackend().SetCursor(id);
}

}  // namespace

namespace quillon {
namespace platform {

int CursorIdOf(HCURSOR cursor) {
    return cursor ? cursor->id : 0;
}

int ShownCursorId() {
    if (S().waitCount > 0) return kCursorWaitId;
    return CursorIdOf(S().current);
}

void ResetCursorState() {
    S() = CursorState{};
    CurrentBackend().SetCursor(S().shown);
}

}  // namespace platform
}  // namespace quillon

HINSTANCE AfxGetResourceHandle() {
    return &g_library;
}

HINSTANCE AfxGetInstanceHandle() {
    return &g_library;
}

HCURSOR LoadCursor(HINSTANCE instance, LPCSTR name) {
    if (!name || !IS_INTRESOURCE(name)) return nullptr;
    int id = static_cast<int>(reinterpret_cast<std::uintptr_t>(name));
    if (instance == nullptr) {
        for (CursorHandle& c : g_system)
            if (c.id == id) return &c;
    } else if (instance == &g_library) {
        for (CursorHandle& c : g_resources)
            if (c.id == id) return &c;
    }
    return nullptr;
}

HCURSOR SetCursor(HCURSOR cursor) {
    HCURSOR old = S().current;
    S().current = cursor;
    Show();
    return old;
}

HCURSOR GetCursor() {
    return S().current;
}

namespace quillon {
namespace platform {

void WaitCursor(bool begin) {
    if (begin)
        ++S().waitCount;
    else if (S().waitCount > 0)
        --S().waitCount;
    Show();
}

}  // namespace platform
}  // namespace quillon

void BeginWaitCursor() {
    quillon::platform::WaitCursor(true);
}

void EndWaitCursor() {
    quillon::platform::WaitCursor(false);
}

CWaitCursor::CWaitCursor() {
    quillon::platform::WaitCursor(true);
}

CWaitCursor::~CWaitCursor() {
    quillon::platform::WaitCursor(false);
}
