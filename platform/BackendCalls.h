// What a backend may call in the platform, beside Backend.h (what it
// implements). A backend includes these two headers, and gdi/Bitmap.h to
// read the pixels of the pictures it is handed, and nothing else of the
// window system. All of it runs on the host's user-interface thread.
#pragma once

#include <quillon/platform/CString.h>
#include <quillon/platform/Geometry.h>
#include <quillon/platform/Types.h>

namespace quillon {
namespace platform {

struct DibSection;

// What the user did, in the client coordinates of the frame `frameId` (the
// number CreateWindow answered). It becomes a message when the queue reaches
// it, so capture, focus and the window under the pointer are those of that
// moment.
enum class InputKind {
    MouseMove,
    LButtonDown,
    LButtonUp,
    LButtonDblClk,
    RButtonDown,
    RButtonUp,
    Wheel,
    KeyDown,
    KeyUp,
    Leave,  // the pointer left the frame
    // The user closed the frame: it gets WM_CLOSE. The default close destroys
    // it, and when the last frame is gone the loop ends with exit code 0.
    Quit,
    // The window system took the keyboard away (another program became
    // active): the mouse capture is released, the focused window gets
    // WM_KILLFOCUS and tool tips hide. `frameId` does not matter. The focus
    // comes back with the next key or button press.
    FocusLost,
};

struct InputEvent {
    InputKind kind = InputKind::MouseMove;
    int frameId = 0;
    int x = 0;
    int y = 0;
    UINT flags = 0;  // MK_* for mouse input
    int delta = 0;   // wheel, 120 a notch
    UINT vk = 0;     // keys
};

// Queues the event behind the input already waiting. Events for a frame
// that no longer exists are dropped.
void PostInput(const InputEvent& event);

// Dispatches what is waiting and presents; false when it met WM_QUIT, which
// stays posted for the loop that owns it. A message box's modal loop calls
// it (also declared for hosts in FrameWindow.h).
bool PumpMessages();

// A tool tip as the platform drew it. The backend only shows it: the
// picture (32 bits a pixel, the tip's size; rows through DibSection::Row)
// with its top-left corner at `at`, in the frame's client coordinates and
// already pushed inside the frame. `text` (Shift-JIS) is for recording; no
// backend draws it. Both stay the platform's: copy what is kept.
struct ToolTipPicture {
    const DibSection* picture = nullptr;
    POINT at{0, 0};
    CString text;
};

}  // namespace platform
}  // namespace quillon
