// Input routing: the backend's input events become messages when the queue
// reaches them; taking one moves the pointer, tells the mouse hook's windows
// and the tool tip controls, and asks the window under the pointer for its
// cursor. Capture and focus live here too.
#include <algorithm>

#include <quillon/platform/CTime.h>

#include "platform/ToolTip.h"
#include "platform/WindowSystemState.h"

namespace quillon {
namespace platform {
namespace {

void NotifyToolTips(void (CToolTipCtrl::*what)()) {
    std::vector<CToolTipCtrl*> tips = State().tips;
    for (CToolTipCtrl* tip : tips) {
        const auto& all = State().tips;  // a handler may remove controls
        if (std::find(all.begin(), all.end(), tip) != all.end()) (tip->*what)();
    }
}

UINT InputMessage(InputKind kind) {
    switch (kind) {
        case InputKind::MouseMove:
            return WM_MOUSEMOVE;
        case InputKind::LButtonDown:
            return WM_LBUTTONDOWN;
        case InputKind::LButtonUp:
            return WM_LBUTTONUP;
        case InputKind::LButtonDblClk:
            return WM_LBUTTONDBLCLK;
        case InputKind::RButtonDown:
            return WM_RBUTTONDOWN;
        case InputKind::RButtonUp:
            return WM_RBUTTONUP;
        case InputKind::Wheel:
            return WM_MOUSEWHEEL;
        case InputKind::KeyDown:
            return WM_KEYDOWN;
        case InputKind::KeyUp:
            return WM_KEYUP;
        case InputKind::Quit:
            return WM_CLOSE;
        case InputKind::Leave:
        case InputKind::FocusLost:
            break;
    }
    return WM_NULL;
}

bool IsMouse(InputKind kind) {
    switch (kind) {
        case InputKind::KeyDown:
        case InputKind::KeyUp:
        case InputKind::Leave:
        case InputKind::Quit:
        case InputKind::FocusLost:
            return false;
        default:
            return true;
    }
}

// Events that change the window system's state and make no message.
bool MakesNoMessage(InputKind kind) {
    return kind == InputKind::Leave || kind == InputKind::FocusLost;
}

// A key or a press: the user is back at the window system that lost the
// focus.
bool BringsFocusBack(InputKind kind) {
    return kind == InputKind::KeyDown || kind == InputKind::KeyUp ||
           kind == InputKind::LButtonDown || kind == InputKind::LButtonDblClk ||
           kind == InputKind::RButtonDown;
}

CWnd* KeyTarget(FrameWindow* frame) {
    const WindowSystemState& s = State();
    if (IsLive(s.focus)) return s.focus;
    if (s.focusLost && IsLive(s.focusBeforeLoss)) return s.focusBeforeLoss;
    return frame;
}

// The message an input event makes now (capture, focus and the windows
// under the pointer as they are), with the hit test for WM_SETCURSOR.
// False when it reaches no window.
bool MessageForInput(const InputEvent& ev, MSG* msg, CWnd** under, int* hitTest) {
    const WindowSystemState& s = State();
    *under = nullptr;
    *hitTest = HTNOWHERE;
    FrameWindow* frame = FrameById(ev.frameId);
    if (!frame) return false;
    CPoint screen = CPoint(ev.x, ev.y) + ClientOriginScreenOf(frame);
    msg->message = InputMessage(ev.kind);
    msg->time = timeGetTime();
    msg->pt = IsMouse(ev.kind) ? POINT(screen) : s.pointer.screen;
    msg->hwnd = nullptr;
    if (ev.kind == InputKind::Quit) {
        msg->hwnd = frame;
        msg->wParam = 0;
        msg->lParam = 0;
        return true;
    }
    if (!IsMouse(ev.kind)) {
        msg->hwnd = KeyTarget(frame);
        msg->wParam = ev.vk;
        LPARAM lp = 1;  // repeat count
        if (ev.kind == InputKind::KeyUp) lp |= static_cast<LPARAM>(0xC0000000u);
        msg->lParam = lp;
        return true;
    }
    *under = WindowAt(frame, CPoint(ev.x, ev.y), hitTest);
    CWnd* target = IsLive(s.capture) ? s.capture : nullptr;
    if (ev.kind == InputKind::Wheel) {
        if (!target) target = *under;
        if (!target && IsLive(s.focus)) target = s.focus;
        if (!target) return false;
        msg->hwnd = target;
        msg->wParam = MAKEWPARAM(static_cast<int>(ev.flags), ev.delta);
        msg->lParam = MAKELPARAM(screen.x, screen.y);
        return true;
    }
    if (!target) {
        // Only the client area takes mouse messages; on a border the window
        // is told of the pointer through WM_SETCURSOR alone.
        if (*hitTest != HTCLIENT) return false;
        target = *under;
    }
    CPoint client = screen - ClientOriginScreenOf(target);
    msg->hwnd = target;
    msg->wParam = ev.flags;
    msg->lParam = MAKELPARAM(client.x, client.y);
    return true;
}

void LoseFocus() {
    WindowSystemState& s = State();
    ::ReleaseCapture();
    CWnd* had = IsLive(s.focus) ? s.focus : nullptr;
    if (!s.focusLost) {
        s.focusLost = true;
        s.focusBeforeLoss = had;
    }
    s.focus = nullptr;
    if (had) SendMessage(had, WM_KILLFOCUS, 0, 0);
    NotifyToolTips(&CToolTipCtrl::FocusLost);
}

void RegainFocus() {
    WindowSystemState& s = State();
    if (!s.focusLost) return;
    CWnd* back = s.focusBeforeLoss;
    s.focusLost = false;
    s.focusBeforeLoss = nullptr;
    if (!IsLive(s.focus) && IsLive(back)) SetFocusFor(back);
}

// The side effects of taking an input event off the queue: the focus, the
// pointer moves, the mouse hook and the tool tips hear of it, and the window
// under the pointer sets the cursor.
void ApplyInput(const InputEvent& ev, const MSG* msg, CWnd* under, int hitTest) {
    WindowSystemState& s = State();
    if (ev.kind == InputKind::FocusLost) {
        LoseFocus();
        return;
    }
    FrameWindow* frame = FrameById(ev.frameId);
    if (ev.kind != InputKind::Leave && ev.kind != InputKind::Quit)
        s.modifiers = ev.flags & (MK_SHIFT | MK_CONTROL);
    if (frame && BringsFocusBack(ev.kind)) RegainFocus();
    if (ev.kind == InputKind::Leave) {
        if (s.pointer.frame == frame) s.pointer.frame = nullptr;
    } else if (IsMouse(ev.kind) && frame) {
        s.pointer.frame = frame;
        s.pointer.screen = CPoint(ev.x, ev.y) + ClientOriginScreenOf(frame);
        s.pointer.known = true;
    } else {
        return;
    }
    UpdateHooksNow();
    NotifyToolTips(&CToolTipCtrl::PointerMoved);
    if (ev.kind != InputKind::Leave && msg && under && IsLive(under) && !IsLive(s.capture)) {
        SendMessage(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                    MAKELPARAM(hitTest, static_cast<int>(msg->message)));
    }
}

}  // namespace

CWnd* WindowAt(FrameWindow* frame, CPoint framePoint, int* hitTest) {
    *hitTest = HTNOWHERE;
    if (!frame || !D(frame)) return nullptr;
    const WindowData* fd = D(frame);
    if (!CRect(0, 0, fd->ClientWidth(), fd->ClientHeight()).PtInRect(framePoint)) return nullptr;
    CWnd* at = frame;
    CPoint p = framePoint;  // in `at`'s client coordinates
    *hitTest = HTCLIENT;
    for (;;) {
        const WindowData* d = D(at);
        CWnd* next = nullptr;
        for (auto it = d->children.rbegin(); it != d->children.rend(); ++it) {
            const WindowData* cd = D(*it);
            if (!(cd->style & WS_VISIBLE) || (cd->style & WS_DISABLED)) continue;
            if (cd->rect.PtInRect(p)) {
                next = *it;
                break;
            }
        }
        if (!next) return at;
        const WindowData* nd = D(next);
        CPoint q(p.x - nd->rect.left - nd->edge, p.y - nd->rect.top - nd->edge);
        if (!CRect(0, 0, nd->ClientWidth(), nd->ClientHeight()).PtInRect(q)) {
            *hitTest = HTBORDER;
            return next;
        }
        at = next;
        p = q;
    }
}

bool PointerInClientOf(const CWnd* wnd) {
    const PointerState& ptr = State().pointer;
    const WindowData* d = D(wnd);
    if (!ptr.frame || !d || d->frame != ptr.frame) return false;
    int hit = HTNOWHERE;
    CWnd* under = WindowAt(ptr.frame, CPoint(ptr.screen) - ClientOriginScreenOf(ptr.frame), &hit);
    if (!under) return false;
    if (under == wnd) return hit == HTCLIENT;
    return IsDescendant(under, wnd);
}

void UpdateHooksNow() {
    std::vector<CWnd*> windows = State().windows;
    for (CWnd* w : windows) {
        WindowData* d = D(w);
        if (!d || !d->hooked) continue;
        bool inside = PointerInClientOf(w);
        if (d->hookInside && !inside && d->hookMessage != 0) PostMessage(w, d->hookMessage, 0, 0);
        d->hookInside = inside;
    }
}

InputPeek PeekInput(MSG* msg, HWND hwnd, UINT lo, UINT hi, UINT remove) {
    WindowSystemState& s = State();
    if (s.input.empty()) return InputPeek::None;
    InputEvent front = s.input.front();
    if (MakesNoMessage(front.kind) || !FrameById(front.frameId)) {
        s.input.pop_front();
        ApplyInput(front, nullptr, nullptr, HTNOWHERE);
        return InputPeek::Consumed;
    }
    for (std::size_t i = 0; i < s.input.size(); ++i) {
        InputEvent ev = s.input[i];
        if (MakesNoMessage(ev.kind)) break;  // keeps the pointer's and focus's story in order
        if (!MatchFilter(InputMessage(ev.kind), lo, hi)) continue;
        MSG m{};
        CWnd* under = nullptr;
        int hit = HTNOWHERE;
        bool made = MessageForInput(ev, &m, &under, &hit);
        if (made && hwnd && m.hwnd != hwnd) continue;
        if (!(remove & PM_REMOVE)) {
            if (!made) continue;
            *msg = m;
            return InputPeek::Found;
        }
        s.input.erase(s.input.begin() + static_cast<std::ptrdiff_t>(i));
        ApplyInput(ev, made ? &m : nullptr, under, hit);
        // The focus and cursor handlers may even have destroyed the window.
        if (!made || !IsLive(m.hwnd)) return InputPeek::Consumed;
        *msg = m;
        return InputPeek::Found;
    }
    return InputPeek::None;
}

void PostInput(const InputEvent& event) {
    State().input.push_back(event);
}

const PointerState& Pointer() {
    return State().pointer;
}

void RegisterToolTip(CToolTipCtrl* tip) {
    State().tips.push_back(tip);
}

void UnregisterToolTip(CToolTipCtrl* tip) {
    auto& tips = State().tips;
    tips.erase(std::remove(tips.begin(), tips.end(), tip), tips.end());
}

CWnd* SetCaptureFor(CWnd* wnd) {
    WindowSystemState& s = State();
    CWnd* old = IsLive(s.capture) ? s.capture : nullptr;
    if (!IsLive(wnd)) return old;
    s.capture = wnd;
    if (old && old != wnd) SendMessage(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(wnd));
    return old;
}

CWnd* SetFocusFor(CWnd* wnd) {
    WindowSystemState& s = State();
    CWnd* old = IsLive(s.focus) ? s.focus : nullptr;
    if (!IsLive(wnd) || old == wnd) return old;
    s.focus = wnd;
    // A window that takes the focus itself ends the wait for it to come back.
    s.focusLost = false;
    s.focusBeforeLoss = nullptr;
    if (old) SendMessage(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(wnd), 0);
    if (IsLive(wnd)) SendMessage(wnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    return old;
}

void ForgetInputWindow(CWnd* wnd) {
    WindowSystemState& s = State();
    if (s.capture == wnd) s.capture = nullptr;
    if (s.focus == wnd) s.focus = nullptr;
    if (s.focusBeforeLoss == wnd) s.focusBeforeLoss = nullptr;
}

}  // namespace platform
}  // namespace quillon

using quillon::platform::State;

short GetKeyState(int vk) {
    UINT mods = State().modifiers;
    bool down = (vk == VK_SHIFT && (mods & MK_SHIFT)) || (vk == VK_CONTROL && (mods & MK_CONTROL));
    return down ? static_cast<short>(0x8000) : 0;
}

BOOL GetCursorPos(POINT* point) {
    if (!point) return FALSE;
    *point = State().pointer.screen;
    return TRUE;
}

BOOL ReleaseCapture() {
    auto& s = State();
    CWnd* old = s.capture;
    s.capture = nullptr;
    if (old && quillon::platform::IsLive(old)) SendMessage(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture() {
    auto& s = State();
    return quillon::platform::IsLive(s.capture) ? s.capture : nullptr;
}

HWND GetFocus() {
    auto& s = State();
    return quillon::platform::IsLive(s.focus) ? s.focus : nullptr;
}
