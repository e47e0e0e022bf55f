// The window system's inner calls, shared by its parts (window tree,
// composition, message queue, input routing), the window objects, the
// controls and the test harness. Not for the system's own code, which uses
// the framework-style calls, nor for backends (Backend.h, BackendCalls.h).
//
// Global state. The library runs on the host's one user-interface thread
// and starts no threads of its own, so every piece of global state in the
// platform is per process and used from that thread only: the window system
// (windows, queue, input, capture, focus, pointer, tool tip controls:
// WindowSystemState.h), the message being handled (Window.cpp), the cursor
// (Cursor.cpp), the tip on the screen (ToolTip.cpp), the backend
// (Backend.cpp), the clock (Clock.cpp), the last decoder error, CTime's
// shared broken-down time, the font machinery and the Shift-JIS converters.
// Nothing is thread_local. Caches that a host's own threads might reach
// through plain conversions (registered message names, Shift-JIS converters
// and literals, fonts) keep a lock so that a stray call cannot corrupt them;
// windows, messages and backends are not for other threads.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <quillon/platform/CString.h>
#include <quillon/platform/Geometry.h>
#include <quillon/platform/Messages.h>
#include <quillon/platform/Window.h>

#include "platform/Backend.h"
#include "platform/BackendCalls.h"
#include "platform/gdi/Bitmap.h"

class CToolTipCtrl;

namespace quillon {
namespace platform {

class FrameWindow;

struct TimerRecord {
    UINT_PTR id;
    UINT period;
    DWORD due;
    TIMERPROC proc;
};

struct WindowData {
    CWnd* self = nullptr;
    CWnd* parent = nullptr;
    std::vector<CWnd*> children;   // bottom to top
    FrameWindow* frame = nullptr;  // the top-level frame it is drawn in, if any
    bool topLevel = false;
    CRect rect;    // window rectangle: parent's client coordinates, or screen
    int edge = 0;  // border width on each side
    DWORD style = 0;
    DWORD exStyle = 0;
    UINT id = 0;
    CString className;
    CString name;
    CRect update;  // client coordinates
    bool erase = false;
    bool destroying = false;
    bool painted = false;  // BeginPaint ran while the current WM_PAINT was handled
    std::vector<TimerRecord> timers;
    HBITMAP surface = nullptr;   // client pixels; a frame's is its backing picture
    bool surfaceShared = false;  // the surface is the window's own picture (ShareClientSurface)
    CDC* paintDC = nullptr;      // BeginPaint's context when no CPaintDC is used
    bool hooked = false;
    UINT hookMessage = 0;
    bool hookInside = false;
    int backendId = 0;                    // frames
    CRect presentDirty;                   // frames: client coordinates not yet presented
    CWnd* layer = nullptr;                // frames: the child shown over the backing
    FramePicture shown;                   // frames: what Present hands the backend
    std::vector<std::string> paintTexts;  // DrawText's texts in its last paint (when recorded)

    CRect ClientRectInParent() const {
        CRect r = rect;
        r.DeflateRect(edge, edge);
        if (r.right < r.left) r.right = r.left;
        if (r.bottom < r.top) r.bottom = r.top;
        return r;
    }
    int ClientWidth() const { return ClientRectInParent().Width(); }
    int ClientHeight() const { return ClientRectInParent().Height(); }
};

// A peek without the idle step: the loops of the platform itself use it.
bool PeekQuiet(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT remove);
// PreTranslateMessage of the window and its parents.
bool PreTranslate(MSG* msg);

// The queue has nothing more for its caller. This is the one place where
// frames are presented and where the clock hears that the loop idles.
// Peek: a peek found nothing and its caller may spin on it, so the clock is
// told (a test clock moves its tick by a millisecond: a busy wait on
// timeGetTime() around PeekMessage ends). Settled: the caller dispatched
// everything or is about to wait, and a wait moves a test clock itself.
enum class Idle { Peek, Settled };
void QueueIdle(Idle kind);

// Live windows, in creation order.
const std::vector<CWnd*>& LiveWindows();
bool IsLive(const CWnd* wnd);
FrameWindow* FrameById(int backendId);

// Pointer state, screen coordinates; frame null when it is outside every
// frame.
struct PointerState {
    FrameWindow* frame = nullptr;
    POINT screen{0, 0};
    bool known = false;
};
const PointerState& Pointer();

// Tool tip controls register so that they hear of the pointer, of windows
// going away and of the focus lost.
void RegisterToolTip(CToolTipCtrl* tip);
void UnregisterToolTip(CToolTipCtrl* tip);

// Window creation and destruction for the window objects. A top-level
// window made for a frame names the frame and the backend's window.
BOOL CreateWindowFor(CWnd* wnd, CREATESTRUCT& cs, FrameWindow* frame, int backendId);
BOOL DestroyWindowFor(CWnd* wnd);
// Calls the window procedure with the message recorded as the one being
// handled (for Default).
LRESULT CallWindowProcFor(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam);
CWnd* SetCaptureFor(CWnd* wnd);
CWnd* SetFocusFor(CWnd* wnd);
CPoint ClientOriginScreenOf(const CWnd* wnd);
// The pointer is over the window's client area (or a child of it) and no
// other window covers it there.
bool PointerInClientOf(const CWnd* wnd);
// The mouse hook's windows compare where the pointer is with where it was.
void UpdateHooksNow();
void ResetCursorState();

// Painting for the contexts: the update area becomes `ps`, is validated,
// and the window's surface is returned.
HBITMAP TakeUpdateArea(CWnd* wnd, PAINTSTRUCT* ps);
// A 32-bit client surface of that size; null when the size is empty.
HBITMAP MakeSurface(int width, int height);
// Puts a client rectangle of the window on its frame's backing picture.
void ComposeClientRect(CWnd* wnd, const RECT& client);
// Before a window of a frame moves, shows, hides, goes, gets a child or a
// new surface: the child shown over the frame's backing (if any) is copied
// into it, as every other child is, until a composition finds it may lie
// over the backing again.
void ReleaseLayer(const CWnd* wndInFrame);

// The cursor that shows (the wait cursor while it is on): id for the backend.
int ShownCursorId();

// Forgets everything: windows that still exist are destroyed, queued
// messages and input dropped, capture, focus, cursor and pointer reset. The
// test harness calls it when it starts and when it ends.
void ResetWindowSystem();

// The texts given to DrawText while a window handles WM_PAINT, kept with
// the window until its next paint, so that tests can read what a paint
// said. Off (and free) unless the harness turns it on.
void SetRecordPaintTexts(bool on);
void NotePaintText(const CString& text);

}  // namespace platform
}  // namespace quillon
