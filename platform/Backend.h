// What the platform asks of the environment it runs in: the table a backend
// fills in. What a backend may call back is in BackendCalls.h; a backend
// needs these two headers (and gdi/Bitmap.h for pixels) and nothing else.
//
// The rules every backend keeps:
// - One backend at a time, per process, called on the host's user-interface
//   thread only (the state model is written down in WindowSystem.h).
// - Input: the backend turns what the user does into InputEvents and hands
//   them over with PostInput, mostly from WaitEvents.
// - Presenting: whenever the message queue goes idle (a peek finds nothing,
//   a pump has dispatched everything, or the loop is about to wait), the
//   platform hands each frame's picture with the rectangle that changed
//   since the last Present. Nothing is presented in between.
// - Waiting ends when input was posted, or when the timeout (the next window
//   timer) ran out; a wait without timeout that can never end answers false.
// - A message box is modal and keeps the queue pumping: it dispatches the
//   waiting messages (PumpMessages), so the windows beneath repaint and input
//   that arrives while it is up reaches them, nested in the box's call.
//
// The default backend, used when no harness and no windowed backend is set,
// is the headless one without recording: no windows on any screen, boxes
// printed on stderr, sounds silent.
#pragma once

#include <quillon/platform/CString.h>
#include <quillon/platform/Geometry.h>
#include <quillon/platform/Types.h>

class CWnd;

namespace quillon {
namespace platform {

struct DibSection;
struct ToolTipPicture;

// What a frame shows: its backing picture (32 bits a pixel, the client
// size), over which the client surface of one child window may lie instead
// of being copied into it, so that a window covering most of its frame costs
// no copy per paint. CopyShownRect (BackendCalls.h) reads it. The object
// lives as long as the frame; the pixels it names are those of the moment
// they are read.
struct FramePicture {
    const DibSection* backing = nullptr;
    const DibSection* layer = nullptr;  // null when nothing lies over the backing
    CRect layerRect;                    // where the layer shows, client coordinates
};

class Backend {
public:
    virtual ~Backend() = default;

    // Modal: returns the button pressed (IDOK, IDCANCEL, ...) once the user
    // answered, pumping the queue meanwhile.
    virtual int MessageBox(CWnd* owner, const CString& text, const CString& caption, UINT type) = 0;

    // The screen that pictures are made compatible with. A backend without
    // a screen may keep this default: 1024 x 768 at 32 bits a pixel.
    virtual int ScreenWidth() const { return 1024; }
    virtual int ScreenHeight() const { return 768; }
    virtual int ScreenBitsPerPixel() const { return 32; }

    // A top-level window with a client area of that size: a number above 0,
    // or 0 when none can be made.
    virtual int CreateWindow(const CString& title, int width, int height) = 0;
    virtual void DestroyWindow(int id) = 0;
    // The rectangle `dirty` (client coordinates, inside the picture) of what
    // the window shows changed. The picture stays the platform's: a backend
    // may keep a reference to it until DestroyWindow(id), and reads then
    // what the window shows at that time.
    virtual void Present(int id, const FramePicture& picture, const RECT& dirty) = 0;

    // Waits up to `timeoutMs` (kWaitForever: no limit) for input. True when
    // input was posted or the time ran out; false when no input can ever
    // come. A backend whose waits pass on the platform clock (Sleep) lets a
    // test clock move instead of sleeping.
    static constexpr DWORD kWaitForever = 0xFFFFFFFF;
    virtual bool WaitEvents(DWORD timeoutMs) = 0;

    // The cursor to show, by id (IDC_* values, 1004, 1006; 0 for none).
    virtual void SetCursor(int cursorId) = 0;

    // One tip at a time, over the top-level window `id`; a new one replaces
    // the one showing.
    virtual void ShowToolTip(int id, const ToolTipPicture& tip) = 0;
    virtual void HideToolTip() = 0;

    // Plays a WAV file asynchronously, replacing the sound playing; an
    // empty path is the default sound. False when it cannot be played.
    virtual bool PlaySound(const CString& path, bool loop) = 0;
    virtual void StopSound() = 0;
};

Backend& CurrentBackend();
// nullptr restores the default backend. The caller keeps ownership.
void SetBackend(Backend* backend);

}  // namespace platform
}  // namespace quillon
