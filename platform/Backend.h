// What the platform asks of the environment it runs in. The default one has
// no windows and prints message boxes on stderr; the test harness and the
// windowed backends replace it.
#pragma once

#include <quillon/platform/CString.h>
#include <quillon/platform/Geometry.h>
#include <quillon/platform/Types.h>

class CWnd;

namespace quillon {
namespace platform {

struct DibSection;

class Backend {
public:
    virtual ~Backend() = default;
    // Modal: returns the button pressed (IDOK, IDCANCEL, ...).
    virtual int MessageBox(CWnd* owner, const CString& text, const CString& caption, UINT type) = 0;
    // The screen that pictures are made compatible with. Until a windowed
    // backend answers, a 1024 x 768 true-colour screen.
    virtual int ScreenWidth() const { return 1024; }
    virtual int ScreenHeight() const { return 768; }
    virtual int ScreenBitsPerPixel() const { return 32; }

    // Top-level windows: a number above 0, or 0 when none can be made.
    virtual int CreateWindow(const CString& /*title*/, int /*width*/, int /*height*/) { return 0; }
    virtual void DestroyWindow(int /*id*/) {}
    // The rectangle `dirty` (client coordinates) of the window's picture
    // (32 bits a pixel, the window's client size) changed.
    virtual void Present(int /*id*/, const DibSection& /*picture*/, const RECT& /*dirty*/) {}
    // Waits up to `timeoutMs` (kWaitForever: no limit) for input, which the
    // backend hands over with PostInput. False when none can ever come. A
    // backend without input sleeps on the platform clock, so a test clock
    // moves instead, and gives up on waiting forever.
    static constexpr DWORD kWaitForever = 0xFFFFFFFF;
    virtual bool WaitEvents(DWORD timeoutMs);
    // The cursor to show, by id (IDC_* values, 1004, 1006; 0 for none).
    virtual void SetCursor(int /*cursorId*/) {}
    // One tip at a time: `text` (Shift-JIS) with its top-left corner at `at`,
    // in the client coordinates of the top-level window `id`.
    virtual void ShowToolTip(int /*id*/, const CString& /*text*/, POINT /*at*/) {}
    virtual void HideToolTip() {}
    // Plays a WAV file asynchronously, replacing the sound playing; an
    // empty path is the default sound. False when it cannot be played.
    virtual bool PlaySound(const CString& /*path*/, bool /*loop*/) { return false; }
    virtual void StopSound() {}
};

Backend& CurrentBackend();
// nullptr restores the default backend. The caller keeps ownership.
void SetBackend(Backend* backend);

}  // namespace platform
}  // namespace quillon
