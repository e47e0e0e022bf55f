// The state the parts of the window system share, and the helpers more
// than one part needs. Only the window system's own files include it:
// WindowTree.cpp (windows and their creation), Composition.cpp (client
// surfaces into the frames' backing pictures), MessageQueue.cpp (post,
// send, peek, get, dispatch, paints and timers) and InputRouting.cpp (input
// events into messages, pointer, cursor notification, mouse hook, tool
// tips). Per process, from the user-interface thread (see WindowSystem.h).
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include <quillon/platform/FrameWindow.h>

#include "platform/WindowSystem.h"

namespace quillon {
namespace platform {

struct WindowSystemState {
    std::deque<MSG> posted;
    std::deque<InputEvent> input;
    std::vector<CWnd*> windows;  // live, in creation order
    CWnd* capture = nullptr;
    CWnd* focus = nullptr;
    // After FocusLost: the window that had the focus, until a key or a
    // button press brings the focus back to it.
    bool focusLost = false;
    CWnd* focusBeforeLoss = nullptr;
    bool quit = false;
    int quitCode = 0;
    PointerState pointer;
    std::vector<CToolTipCtrl*> tips;
    MSG last{};  // the last message taken off the queue
    // MK_SHIFT and MK_CONTROL as the last key or mouse input had them.
    UINT modifiers = 0;
};

WindowSystemState& State();

inline WindowData* D(const CWnd* wnd) {
    return wnd ? wnd->PlatformData() : nullptr;
}

inline bool TimeReached(DWORD now, DWORD due) {
    return static_cast<std::int32_t>(now - due) >= 0;
}

inline bool MatchFilter(UINT message, UINT lo, UINT hi) {
    return (lo == 0 && hi == 0) || (message >= lo && message <= hi);
}

// The window and all its parents are visible.
bool Visible(const CWnd* wnd);
bool IsDescendant(const CWnd* wnd, const CWnd* ancestor);
// Client origin of a window in its frame's client coordinates.
CPoint ClientOriginInFrame(const CWnd* wnd);

// Where a point of a frame's client area lands: the deepest visible,
// enabled window containing it and whether it is in that window's client
// area (HTCLIENT) or on its border (HTBORDER).
CWnd* WindowAt(FrameWindow* frame, CPoint framePoint, int* hitTest);

// Hands every frame's changed rectangle to the backend (QueueIdle's work).
void PresentAll();

// The queue's part of input: Found made `msg`; Consumed took an event that
// made no message (it may have posted messages, so the caller looks again
// from the start); None found nothing that matches.
enum class InputPeek { None, Found, Consumed };
InputPeek PeekInput(MSG* msg, HWND hwnd, UINT lo, UINT hi, UINT remove);
// Focus and capture forget a window that goes away.
void ForgetInputWindow(CWnd* wnd);

}  // namespace platform
}  // namespace quillon
