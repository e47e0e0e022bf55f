// The host's top-level window and the message loop that drives it.
//
//     quillon::platform::FrameWindow frame;
//     frame.Create("My host", 800, 600);
//     MyScreen screen("QuillonMain", &frame, CRect(0, 0, 800, 600));
//     return quillon::platform::RunMessageLoop();
#pragma once

#include <quillon/platform/Window.h>

namespace quillon {
namespace platform {

class FrameWindow : public CWnd {
public:
    FrameWindow() = default;
    ~FrameWindow() override;
    FrameWindow(const FrameWindow&) = delete;
    FrameWindow& operator=(const FrameWindow&) = delete;

    // A visible top-level window whose client area is width x height pixels,
    // shown by the current backend. Its children are drawn into its backing
    // picture (32 bits a pixel) and the backend presents what changed.
    // FALSE for a size below 1 x 1 or above the picture size cap.
    //
    // When the user closes it, it gets WM_CLOSE, which destroys it unless
    // the window handles the message itself. When the last frame is
    // destroyed, the message loop gets PostQuitMessage(0).
    BOOL Create(LPCSTR title, int width, int height);

    // The backend's number of the window, 0 when it does not exist.
    int BackendId() const;
};

// GetMessage, PreTranslateMessage, TranslateMessage and DispatchMessage
// until WM_QUIT; returns its exit code (-1 when the backend can deliver
// nothing any more).
int RunMessageLoop();
// Dispatches every message that is waiting, paints and due timers included,
// then lets the backend present. Returns false when it met WM_QUIT (which
// stays posted for the loop that owns it).
bool PumpMessages();

}  // namespace platform
}  // namespace quillon
