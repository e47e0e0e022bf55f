// What a backend may call in the platform, beside Backend.h (what it
// implements). A backend includes these two headers, and gdi/Bitmap.h to
// read the pixels of the pictures it is handed, and nothing else of the
// window system. All of it runs on the host's user-interface thread.
#pragma once

#include <quillon/platform/CString.h>
#include <quillon/platform/Geometry.h>
#include <quillon/platform/Types.h>

#include <cstdint>
#include <vector>

class CWnd;

namespace quillon {
namespace platform {

struct DibSection;
struct FramePicture;

// Copies the rectangle `r` (inside the backing) of what a frame shows into
// `to`, top row first, `pitch` bytes a row.
void CopyShownRect(const FramePicture& picture, const RECT& r, std::uint8_t* to, int pitch);

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
    // MK_* for mouse input; MK_SHIFT and MK_CONTROL for keys too, so that
    // GetKeyState and TranslateMessage know the shift state.
    UINT flags = 0;
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

// How long the backend may wait before a window timer is due, in ms
// (Backend::kWaitForever when no timer runs). A modal loop of the backend's
// own waits no longer than this between pumps.
DWORD NextTimerDelay();

// The backend's number of the frame the window is drawn in; 0 when it is
// in none (or null).
int FrameIdOf(const CWnd* wnd);

// A message box as the platform draws it, so that every backend shows the
// same box with the platform's fonts: a caption bar, the text and one button
// per answer of the MB_* type, the focused one marked and the pressed one
// sunk. Coordinates are the picture's own.
struct MessageBoxButton {
    int answer = IDOK;  // IDOK, IDCANCEL, IDYES, ...
    CRect rect;
};
struct MessageBoxLayout {
    std::vector<MessageBoxButton> buttons;  // left to right
    int focused = 0;                        // index of the default button
    // The answer Escape (or closing the box) gives; 0 when the box has no
    // way to cancel (Yes/No, Abort/Retry/Ignore).
    int escapeAnswer = 0;
};
// The buttons of a type (MB_OK when unknown), with MB_DEFBUTTON2/3 focused.
MessageBoxLayout MessageBoxButtons(UINT type);
// Draws the box; `layout` gets the button rectangles. `pressed` is the
// index of the button held down (-1 for none). A 32-bit picture the caller
// deletes with DeleteObject (gdi/Bitmap.h); null when it cannot be made.
DibSection* DrawMessageBox(const CString& text, const CString& caption, MessageBoxLayout* layout,
                           int pressed);

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
