#include <quillon/platform/FrameWindow.h>

#include <cstdio>

#include "platform/Backend.h"
#include "platform/WindowSystem.h"
#include "platform/gdi/Bitmap.h"

namespace quillon {
namespace platform {

namespace {
// A pump that never comes to rest has a handler that posts or invalidates
// for ever; it stops after this many messages rather than hang the caller.
constexpr long kPumpLimit = 1000000;
}  // namespace

FrameWindow::~FrameWindow() {
    // Destroyed while still a frame, so that the backend's window goes too.
    if (m_hWnd) DestroyWindow();
}

BOOL FrameWindow::Create(LPCSTR title, int width, int height) {
    if (m_hWnd || width < 1 || height < 1 || !PictureSizeAllowed(width, height)) return FALSE;
    CREATESTRUCT cs{};
    cs.cx = width;
    cs.cy = height;
    cs.style = static_cast<LONG>(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    cs.lpszName = title;
    cs.lpszClass = "QuillonFrame";
    if (!PreCreateWindow(cs)) return FALSE;
    // The frame keeps its size: the host asked for this client area.
    cs.style |= static_cast<LONG>(WS_VISIBLE);
    cs.style &= ~static_cast<LONG>(WS_CHILD);
    cs.hwndParent = nullptr;
    cs.x = 0;
    cs.y = 0;
    cs.cx = width;
    cs.cy = height;
    int id = CurrentBackend().CreateWindow(CString(title), width, height);
    if (id == 0) return FALSE;
    if (!CreateWindowFor(this, cs, this, id)) {
        if (!m_hWnd) CurrentBackend().DestroyWindow(id);
        return FALSE;
    }
    return TRUE;
}

int FrameWindow::BackendId() const {
    return PlatformData() ? PlatformData()->backendId : 0;
}

int FrameIdOf(const CWnd* wnd) {
    if (!wnd || !IsLive(wnd)) return 0;
    const FrameWindow* frame = wnd->PlatformData()->frame;
    return frame ? frame->BackendId() : 0;
}

int RunMessageLoop() {
    MSG msg{};
    for (;;) {
        BOOL got = GetMessage(&msg, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(msg.wParam);
        if (got < 0) return -1;
        if (PreTranslate(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
}

bool PumpMessages() {
    MSG msg{};
    long count = 0;
    while (PeekQuiet(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Left for the loop that owns the thread.
            PostQuitMessage(static_cast<int>(msg.wParam));
            QueueIdle(Idle::Settled);
            return false;
        }
        if (!PreTranslate(&msg)) {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
        if (++count >= kPumpLimit) {
            std::fputs("quillon: message pump stopped: messages keep coming\n", stderr);
            break;
        }
    }
    QueueIdle(Idle::Settled);
    return true;
}

}  // namespace platform
}  // namespace quillon
