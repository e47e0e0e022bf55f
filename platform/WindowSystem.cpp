// The window system of one thread: its windows, its message queue, input
// routing, and the composition of each window's client surface into the
// backing picture of its top-level frame.
#include "platform/WindowSystem.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include <quillon/platform/CTime.h>
#include <quillon/platform/FrameWindow.h>

#include "platform/Backend.h"
#include "platform/Clock.h"
#include "platform/ToolTip.h"
#include "platform/gdi/DC.h"

namespace quillon {
namespace platform {

namespace {

struct ThreadState {
    std::deque<MSG> posted;
    std::deque<InputEvent> input;
    std::vector<CWnd*> windows;  // live, in creation order
    CWnd* capture = nullptr;
    CWnd* focus = nullptr;
    bool quit = false;
    int quitCode = 0;
    PointerState pointer;
    std::vector<CToolTipCtrl*> tips;
    MSG last{};
};

ThreadState& T() {
    thread_local ThreadState state;
    return state;
}

WindowData* D(const CWnd* wnd) {
    return wnd ? wnd->PlatformData() : nullptr;
}

bool TimeReached(DWORD now, DWORD due) {
    return static_cast<std::int32_t>(now - due) >= 0;
}

bool MatchFilter(UINT message, UINT lo, UINT hi) {
    return (lo == 0 && hi == 0) || (message >= lo && message <= hi);
}

bool Visible(const CWnd* wnd) {
    for (const CWnd* w = wnd; w; w = D(w)->parent) {
        const WindowData* d = D(w);
        if (!d || !(d->style & WS_VISIBLE)) return false;
    }
    return true;
}

bool IsDescendant(const CWnd* wnd, const CWnd* ancestor) {
    for (const CWnd* w = wnd; w; w = D(w)->parent)
        if (w == ancestor) return true;
    return false;
}

// Client origin of a window in its frame's client coordinates.
CPoint ClientOriginInFrame(const CWnd* wnd) {
    const WindowData* d = D(wnd);
    if (d->topLevel) return CPoint(d->edge, d->edge);
    CPoint p = ClientOriginInFrame(d->parent);
    return CPoint(p.x + d->rect.left + d->edge, p.y + d->rect.top + d->edge);
}

CPoint ClientOriginOnScreen(const CWnd* wnd) {
    const WindowData* d = D(wnd);
    if (d->topLevel) return CPoint(d->rect.left + d->edge, d->rect.top + d->edge);
    CPoint p = ClientOriginOnScreen(d->parent);
    return CPoint(p.x + d->rect.left + d->edge, p.y + d->rect.top + d->edge);
}

// The part of the frame that a window's client area may show in: its client
// rectangle cut by every parent's.
CRect VisibleClipInFrame(const CWnd* wnd) {
    const WindowData* d = D(wnd);
    CPoint o = ClientOriginInFrame(wnd);
    CRect r(o.x, o.y, o.x + d->ClientWidth(), o.y + d->ClientHeight());
    if (!d->topLevel) r &= VisibleClipInFrame(d->parent);
    return r;
}

// Copies a rectangle of one 32-bit surface to a place of another; both
// rectangles must lie inside their surfaces.
void CopyPixels(const DibSection& src, const CRect& from, DibSection& dst, CPoint to) {
    const std::size_t bytes = static_cast<std::size_t>(from.Width()) * 4;
    for (int y = 0; y < from.Height(); ++y) {
        const std::uint8_t* s = src.Row(from.top + y) + static_cast<std::size_t>(from.left) * 4;
        std::uint8_t* d = dst.Row(to.y + y) + static_cast<std::size_t>(to.x) * 4;
        std::memcpy(d, s, bytes);
    }
}

// The border the window system draws for WS_BORDER (one pixel in the frame
// colour) and WS_EX_CLIENTEDGE (a sunken 3-D edge of two pixels inside it).
void DrawBorder(const WindowData& d, HBITMAP backing, const CRect& window, const CRect& clip) {
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(backing);
    dc.SetClipBox(&clip);
    CRect r = window;
    if (d.style & WS_BORDER) {
        CBrush frame(GetSysColor(COLOR_WINDOWFRAME));
        dc.FrameRect(&r, &frame);
        r.DeflateRect(1, 1);
    }
    if (d.exStyle & WS_EX_CLIENTEDGE) dc.DrawEdge(&r, EDGE_SUNKEN, BF_RECT);
}

void ComposeChildren(const CWnd* parent, const CRect& area, HBITMAP backing) {
    const WindowData* pd = D(parent);
    CPoint origin = ClientOriginInFrame(parent);
    for (CWnd* child : pd->children) {
        const WindowData* cd = D(child);
        if (!(cd->style & WS_VISIBLE)) continue;
        CRect window = cd->rect + origin;
        CRect clip = window & area;
        if (clip.IsRectEmpty()) continue;
        if (cd->edge > 0) DrawBorder(*cd, backing, window, clip);
        CRect client = window;
        client.DeflateRect(cd->edge, cd->edge);
        CRect part = client & area;
        if (part.IsRectEmpty()) continue;
        if (cd->surface) {
            CRect from = part - client.TopLeft();
            CopyPixels(*cd->surface, from, *backing, part.TopLeft());
        }
        ComposeChildren(child, part, backing);
    }
}

// Where a point of a frame's client area lands: the deepest visible,
// enabled window containing it and whether it is in that window's client
// area or on its border.
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

bool PointerInClient(const CWnd* wnd) {
    const PointerState& ptr = T().pointer;
    const WindowData* d = D(wnd);
    if (!ptr.frame || !d || d->frame != ptr.frame) return false;
    int hit = HTNOWHERE;
    CWnd* under = WindowAt(ptr.frame, CPoint(ptr.screen) - ClientOriginOnScreen(ptr.frame), &hit);
    if (!under) return false;
    if (under == wnd) return hit == HTCLIENT;
    return IsDescendant(under, wnd);
}

void UpdateHooks() {
    ThreadState& t = T();
    std::vector<CWnd*> windows = t.windows;
    for (CWnd* w : windows) {
        WindowData* d = D(w);
        if (!d || !d->hooked) continue;
        bool inside = PointerInClient(w);
        if (d->hookInside && !inside && d->hookMessage != 0) PostMessage(w, d->hookMessage, 0, 0);
        d->hookInside = inside;
    }
}

void NotifyToolTips() {
    std::vector<CToolTipCtrl*> tips = T().tips;
    for (CToolTipCtrl* tip : tips) {
        auto& all = T().tips;
        if (std::find(all.begin(), all.end(), tip) != all.end()) tip->PointerMoved();
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
        case InputKind::Leave:
            break;
    }
    return WM_NULL;
}

bool IsMouse(InputKind kind) {
    return kind != InputKind::KeyDown && kind != InputKind::KeyUp && kind != InputKind::Leave;
}

// The message an input event makes now (capture, focus and the windows
// under the pointer as they are), with the hit test for WM_SETCURSOR.
// False when it reaches no window.
bool MessageForInput(const InputEvent& ev, MSG* msg, CWnd** under, int* hitTest) {
    ThreadState& t = T();
    *under = nullptr;
    *hitTest = HTNOWHERE;
    FrameWindow* frame = FrameById(ev.frameId);
    if (!frame) return false;
    CPoint screen = CPoint(ev.x, ev.y) + ClientOriginOnScreen(frame);
    msg->message = InputMessage(ev.kind);
    msg->time = timeGetTime();
    msg->pt = IsMouse(ev.kind) ? POINT(screen) : t.pointer.screen;
    msg->hwnd = nullptr;
    if (!IsMouse(ev.kind)) {
        msg->hwnd = t.focus && IsLive(t.focus) ? t.focus : frame;
        msg->wParam = ev.vk;
        LPARAM lp = 1;  // repeat count
        if (ev.kind == InputKind::KeyUp) lp |= static_cast<LPARAM>(0xC0000000u);
        msg->lParam = lp;
        return true;
    }
    *under = WindowAt(frame, CPoint(ev.x, ev.y), hitTest);
    CWnd* target = t.capture && IsLive(t.capture) ? t.capture : nullptr;
    if (ev.kind == InputKind::Wheel) {
        if (!target) target = *under;
        if (!target && t.focus && IsLive(t.focus)) target = t.focus;
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
    CPoint client = screen - ClientOriginOnScreen(target);
    msg->hwnd = target;
    msg->wParam = ev.flags;
    msg->lParam = MAKELPARAM(client.x, client.y);
    return true;
}

// The side effects of taking an input event off the queue: the pointer moves,
// the mouse hook and the tool tips hear of it, and the window under the
// pointer sets the cursor.
void ApplyInput(const InputEvent& ev, const MSG* msg, CWnd* under, int hitTest) {
    ThreadState& t = T();
    FrameWindow* frame = FrameById(ev.frameId);
    if (ev.kind == InputKind::Leave) {
        if (t.pointer.frame == frame) t.pointer.frame = nullptr;
    } else if (IsMouse(ev.kind) && frame) {
        t.pointer.frame = frame;
        t.pointer.screen = CPoint(ev.x, ev.y) + ClientOriginOnScreen(frame);
        t.pointer.known = true;
    } else {
        return;
    }
    UpdateHooks();
    NotifyToolTips();
    if (ev.kind != InputKind::Leave && msg && under && IsLive(under) &&
        !(t.capture && IsLive(t.capture))) {
        SendMessage(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                    MAKELPARAM(hitTest, static_cast<int>(msg->message)));
    }
}

enum class InputPeek { None, Found, Consumed };

// Consumed: an event was taken that made no message (the pointer left, or a
// press landed on a border); it may have posted messages, so the caller
// looks again from the start.
InputPeek PeekInput(MSG* msg, HWND hwnd, UINT lo, UINT hi, UINT remove) {
    ThreadState& t = T();
    if (t.input.empty()) return InputPeek::None;
    InputEvent front = t.input.front();
    if (front.kind == InputKind::Leave || !FrameById(front.frameId)) {
        t.input.pop_front();
        ApplyInput(front, nullptr, nullptr, HTNOWHERE);
        return InputPeek::Consumed;
    }
    for (std::size_t i = 0; i < t.input.size(); ++i) {
        InputEvent ev = t.input[i];
        if (ev.kind == InputKind::Leave) break;  // keeps the pointer's story in order
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
        t.input.erase(t.input.begin() + static_cast<std::ptrdiff_t>(i));
        ApplyInput(ev, made ? &m : nullptr, under, hit);
        // The cursor handler may even have destroyed the window.
        if (!made || !IsLive(m.hwnd)) return InputPeek::Consumed;
        *msg = m;
        return InputPeek::Found;
    }
    return InputPeek::None;
}

bool PeekPaint(MSG* msg, HWND hwnd, UINT lo, UINT hi) {
    if (!MatchFilter(WM_PAINT, lo, hi)) return false;
    for (CWnd* w : T().windows) {
        if (hwnd && w != hwnd) continue;
        const WindowData* d = D(w);
        if (d->update.IsRectEmpty() || !Visible(w)) continue;
        *msg = MSG{w, WM_PAINT, 0, 0, timeGetTime(), T().pointer.screen};
        return true;
    }
    return false;
}

bool PeekTimer(MSG* msg, HWND hwnd, UINT lo, UINT hi, UINT remove) {
    if (!MatchFilter(WM_TIMER, lo, hi)) return false;
    DWORD now = timeGetTime();
    for (CWnd* w : T().windows) {
        if (hwnd && w != hwnd) continue;
        WindowData* d = D(w);
        for (TimerRecord& timer : d->timers) {
            if (!TimeReached(now, timer.due)) continue;
            *msg = MSG{w,   WM_TIMER,          timer.id, reinterpret_cast<LPARAM>(timer.proc),
                       now, T().pointer.screen};
            // A late timer fires once and keeps its phase.
            if (remove & PM_REMOVE)
                while (TimeReached(now, timer.due)) timer.due += timer.period;
            return true;
        }
    }
    return false;
}

// Registered messages are shared by the whole process.
std::mutex g_registeredLock;
std::map<std::string, UINT>& Registered() {
    static std::map<std::string, UINT> names;
    return names;
}

}  // namespace

HBITMAP MakeSurface(int width, int height) {
    if (width < 1 || height < 1) return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

// ---- Windows ----

const std::vector<CWnd*>& LiveWindows() {
    return T().windows;
}

bool IsLive(const CWnd* wnd) {
    if (!wnd) return false;
    const auto& w = T().windows;
    return std::find(w.begin(), w.end(), wnd) != w.end();
}

FrameWindow* FrameById(int backendId) {
    if (backendId == 0) return nullptr;
    for (CWnd* w : T().windows) {
        const WindowData* d = D(w);
        if (d->topLevel && d->frame && d->backendId == backendId) return d->frame;
    }
    return nullptr;
}

HBITMAP FrameBacking(const CWnd* frame) {
    const WindowData* d = D(frame);
    if (!d || !d->topLevel || !d->frame) return nullptr;
    return d->surface;
}

const PointerState& Pointer() {
    return T().pointer;
}

void RegisterToolTip(CToolTipCtrl* tip) {
    T().tips.push_back(tip);
}

void UnregisterToolTip(CToolTipCtrl* tip) {
    auto& tips = T().tips;
    tips.erase(std::remove(tips.begin(), tips.end(), tip), tips.end());
}

BOOL CreateWindowFor(CWnd* wnd, CREATESTRUCT& cs, FrameWindow* frame, int backendId) {
    ThreadState& t = T();
    if (!wnd || wnd->m_hWnd) return FALSE;
    CWnd* parent = cs.hwndParent;
    bool child = (static_cast<DWORD>(cs.style) & WS_CHILD) && parent;
    if ((static_cast<DWORD>(cs.style) & WS_CHILD) && !IsLive(parent)) return FALSE;
    if (cs.cx < 0 || cs.cy < 0) return FALSE;

    auto data = std::make_unique<WindowData>();
    data->self = wnd;
    data->style = static_cast<DWORD>(cs.style);
    data->exStyle = cs.dwExStyle;
    data->id = static_cast<UINT>(cs.hMenu);
    data->className = CString(cs.lpszClass);
    data->name = CString(cs.lpszName);
    data->rect = CRect(cs.x, cs.y, cs.x + cs.cx, cs.y + cs.cy);
    if (child) {
        data->parent = parent;
        data->frame = D(parent)->frame;
        data->edge =
            ((data->style & WS_BORDER) ? 1 : 0) + ((data->exStyle & WS_EX_CLIENTEDGE) ? 2 : 0);
    } else {
        data->topLevel = true;
        data->frame = frame;
        data->backendId = backendId;
        if (!frame) data->style &= ~WS_VISIBLE;  // a control's hidden window
    }
    if (data->frame) {
        data->surface = MakeSurface(data->ClientWidth(), data->ClientHeight());
        if (!data->surface && data->ClientWidth() > 0 && data->ClientHeight() > 0)
            return FALSE;  // larger than any picture may be
    }
    WindowData* d = data.get();
    wnd->m_data = std::move(data);
    wnd->m_hWnd = wnd;
    t.windows.push_back(wnd);
    if (child) D(parent)->children.push_back(wnd);
    if (frame) t.focus = wnd;

    if (SendMessage(wnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindowFor(wnd);
        return FALSE;
    }
    if (!IsLive(wnd)) return FALSE;
    if (d->style & WS_VISIBLE) {
        wnd->InvalidateRect(nullptr, TRUE);
        if (child && Visible(d->parent)) ComposeClientRect(d->parent, d->rect);
    }
    // The pointer may already rest where the window now is.
    if (d->frame && d->frame == t.pointer.frame) UpdateHooks();
    return TRUE;
}

BOOL DestroyWindowFor(CWnd* wnd) {
    ThreadState& t = T();
    if (!IsLive(wnd)) return FALSE;
    WindowData* d = D(wnd);
    if (d->destroying) return FALSE;
    d->destroying = true;
    SendMessage(wnd, WM_DESTROY, 0, 0);
    std::vector<CWnd*> children = d->children;
    for (CWnd* c : children) DestroyWindowFor(c);

    if (t.capture == wnd) t.capture = nullptr;
    if (t.focus == wnd) t.focus = nullptr;
    std::vector<CToolTipCtrl*> tips = t.tips;
    for (CToolTipCtrl* tip : tips) tip->ForgetOwner(wnd);
    t.posted.erase(std::remove_if(t.posted.begin(), t.posted.end(),
                                  [wnd](const MSG& m) { return m.hwnd == wnd; }),
                   t.posted.end());
    t.windows.erase(std::remove(t.windows.begin(), t.windows.end(), wnd), t.windows.end());
    CWnd* parent = d->parent;
    CRect where = d->rect;
    bool wasVisible = Visible(wnd);
    if (parent && IsLive(parent)) {
        auto& siblings = D(parent)->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), wnd), siblings.end());
        if (wasVisible) parent->InvalidateRect(&where, TRUE);
    }
    if (d->surface) DeleteObject(d->surface);
    delete d->paintDC;
    if (d->topLevel && d->frame && d->backendId) CurrentBackend().DestroyWindow(d->backendId);
    wnd->m_hWnd = nullptr;
    wnd->m_data.reset();
    // May delete the object: nothing of it is touched after.
    wnd->PostNcDestroy();
    return TRUE;
}

HBITMAP TakeUpdateArea(CWnd* wnd, PAINTSTRUCT* ps) {
    *ps = PAINTSTRUCT{};
    WindowData* d = D(wnd);
    if (!d || !IsLive(wnd)) return nullptr;
    CRect client(0, 0, d->ClientWidth(), d->ClientHeight());
    ps->rcPaint = d->update & client;
    ps->fErase = d->erase ? TRUE : FALSE;
    d->update.SetRectEmpty();
    d->erase = false;
    d->painted = true;
    return d->surface;
}

void ComposeClientRect(CWnd* wnd, const RECT& clientRect) {
    WindowData* d = D(wnd);
    if (!d || !IsLive(wnd) || !d->frame || !Visible(wnd)) return;
    WindowData* fd = D(d->frame);
    HBITMAP backing = fd ? fd->surface : nullptr;
    if (!backing) return;
    CRect area = CRect(clientRect) + ClientOriginInFrame(wnd);
    area &= VisibleClipInFrame(wnd);
    if (area.IsRectEmpty()) return;
    if (wnd != d->frame && d->surface) {
        CRect from = area - ClientOriginInFrame(wnd);
        CopyPixels(*d->surface, from, *backing, area.TopLeft());
    }
    ComposeChildren(wnd, area, backing);
    fd->presentDirty |= area;
}

void PresentAll() {
    std::vector<CWnd*> windows = T().windows;
    for (CWnd* w : windows) {
        WindowData* d = D(w);
        if (!d || !d->topLevel || !d->frame || !d->backendId || !d->surface) continue;
        if (d->presentDirty.IsRectEmpty()) continue;
        CRect dirty = d->presentDirty;
        d->presentDirty.SetRectEmpty();
        CurrentBackend().Present(d->backendId, *d->surface, dirty);
    }
}

// ---- The queue ----

void PostInput(const InputEvent& event) {
    T().input.push_back(event);
}

bool PeekQuiet(MSG* msg, HWND hwnd, UINT lo, UINT hi, UINT remove) {
    ThreadState& t = T();
    if (!msg) return false;
again:
    for (auto it = t.posted.begin(); it != t.posted.end(); ++it) {
        if (hwnd && it->hwnd != hwnd) continue;
        if (!MatchFilter(it->message, lo, hi)) continue;
        *msg = *it;
        if (remove & PM_REMOVE) {
            t.posted.erase(it);
            t.last = *msg;
        }
        return true;
    }
    if (t.quit && !hwnd && MatchFilter(WM_QUIT, lo, hi)) {
        *msg = MSG{nullptr, WM_QUIT,       static_cast<WPARAM>(t.quitCode),
                   0,       timeGetTime(), t.pointer.screen};
        if (remove & PM_REMOVE) t.quit = false;
        return true;
    }
    switch (PeekInput(msg, hwnd, lo, hi, remove)) {
        case InputPeek::Consumed:
            goto again;
        case InputPeek::Found:
            if (remove & PM_REMOVE) t.last = *msg;
            return true;
        case InputPeek::None:
            break;
    }
    if (PeekPaint(msg, hwnd, lo, hi) || PeekTimer(msg, hwnd, lo, hi, remove)) {
        if (remove & PM_REMOVE) t.last = *msg;
        return true;
    }
    return false;
}

bool PreTranslate(MSG* msg) {
    for (CWnd* w = msg->hwnd; w && IsLive(w); w = D(w)->parent)
        if (w->PreTranslateMessage(msg)) return true;
    return false;
}

void ResetThreadState() {
    ThreadState& t = T();
    // Children go with their top-level windows.
    while (!t.windows.empty()) {
        CWnd* w = t.windows.front();
        CWnd* top = w;
        while (D(top)->parent) top = D(top)->parent;
        DestroyWindowFor(top);
    }
    t.posted.clear();
    t.input.clear();
    t.capture = nullptr;
    t.focus = nullptr;
    t.quit = false;
    t.quitCode = 0;
    t.pointer = PointerState{};
    t.last = MSG{};
    ResetCursorState();
}

namespace {

DWORD NextTimerDelay() {
    DWORD now = timeGetTime();
    DWORD best = Backend::kWaitForever;
    for (CWnd* w : T().windows)
        for (const TimerRecord& timer : D(w)->timers) {
            DWORD left = TimeReached(now, timer.due) ? 0 : timer.due - now;
            best = std::min(best, left);
        }
    return best;
}

}  // namespace

}  // namespace platform
}  // namespace quillon

using quillon::platform::T;

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd && !quillon::platform::IsLive(hwnd)) return FALSE;
    T().posted.push_back(MSG{hwnd, message, wParam, lParam, timeGetTime(), T().pointer.screen});
    return TRUE;
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!quillon::platform::IsLive(hwnd)) return 0;
    return quillon::platform::CallWindowProcFor(hwnd, message, wParam, lParam);
}

BOOL PeekMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT remove) {
    if (quillon::platform::PeekQuiet(msg, hwnd, filterMin, filterMax, remove)) return TRUE;
    quillon::platform::PresentAll();
    quillon::platform::CurrentClock().Idle();
    return FALSE;
}

BOOL GetMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    using namespace quillon::platform;
    if (!msg) return -1;
    for (;;) {
        if (PeekQuiet(msg, hwnd, filterMin, filterMax, PM_REMOVE))
            return msg->message == WM_QUIT ? FALSE : TRUE;
        PresentAll();
        if (!CurrentBackend().WaitEvents(NextTimerDelay())) return -1;
    }
}

BOOL TranslateMessage(const MSG* msg) {
    if (!msg || msg->message != WM_KEYDOWN) return FALSE;
    UINT vk = static_cast<UINT>(msg->wParam);
    int ch = 0;
    if (vk >= 'A' && vk <= 'Z') {
        ch = static_cast<int>(vk - 'A' + 'a');  // no shift state is kept
    } else if ((vk >= '0' && vk <= '9') || vk == VK_SPACE || vk == VK_RETURN || vk == VK_BACK ||
               vk == VK_TAB || vk == VK_ESCAPE) {
        ch = static_cast<int>(vk);
    }
    if (ch == 0) return FALSE;
    return PostMessage(msg->hwnd, WM_CHAR, static_cast<WPARAM>(ch), msg->lParam);
}

LRESULT DispatchMessage(const MSG* msg) {
    using namespace quillon::platform;
    if (!msg || !msg->hwnd || !IsLive(msg->hwnd)) return 0;
    if (msg->message == WM_TIMER && msg->lParam != 0) {
        auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
        proc(msg->hwnd, WM_TIMER, msg->wParam, timeGetTime());
        return 0;
    }
    if (msg->message != WM_PAINT)
        return CallWindowProcFor(msg->hwnd, msg->message, msg->wParam, msg->lParam);
    CWnd* w = msg->hwnd;
    w->PlatformData()->painted = false;
    LRESULT r = CallWindowProcFor(w, WM_PAINT, msg->wParam, msg->lParam);
    // A handler that never began a paint would be asked again forever.
    if (IsLive(w) && !w->PlatformData()->painted) w->ValidateRect(nullptr);
    return r;
}

void PostQuitMessage(int exitCode) {
    T().quit = true;
    T().quitCode = exitCode;
}

UINT RegisterWindowMessage(LPCSTR name) {
    using namespace quillon::platform;
    if (!name || !*name) return 0;
    std::string key(name);
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::lock_guard<std::mutex> lock(g_registeredLock);
    auto& names = Registered();
    auto it = names.find(key);
    if (it != names.end()) return it->second;
    if (names.size() >= 0x4000) return 0;  // 0xC000..0xFFFF are all taken
    UINT id = 0xC000 + static_cast<UINT>(names.size());
    names.emplace(key, id);
    return id;
}

BOOL IsWindow(HWND hwnd) {
    return quillon::platform::IsLive(hwnd) ? TRUE : FALSE;
}

BOOL GetCursorPos(POINT* point) {
    if (!point) return FALSE;
    *point = T().pointer.screen;
    return TRUE;
}

DWORD GetMessageTime() {
    return T().last.time;
}

DWORD GetMessagePos() {
    return static_cast<DWORD>(MAKELPARAM(T().last.pt.x, T().last.pt.y));
}

void Sleep(DWORD ms) {
    quillon::platform::CurrentClock().Sleep(ms);
}

BOOL ReleaseCapture() {
    auto& t = T();
    CWnd* old = t.capture;
    t.capture = nullptr;
    if (old && quillon::platform::IsLive(old)) SendMessage(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture() {
    auto& t = T();
    return quillon::platform::IsLive(t.capture) ? t.capture : nullptr;
}

HWND GetFocus() {
    auto& t = T();
    return quillon::platform::IsLive(t.focus) ? t.focus : nullptr;
}

namespace quillon {
namespace platform {

CWnd* SetCaptureFor(CWnd* wnd) {
    ThreadState& t = T();
    CWnd* old = IsLive(t.capture) ? t.capture : nullptr;
    if (!IsLive(wnd)) return old;
    t.capture = wnd;
    if (old && old != wnd) SendMessage(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(wnd));
    return old;
}

CWnd* SetFocusFor(CWnd* wnd) {
    ThreadState& t = T();
    CWnd* old = IsLive(t.focus) ? t.focus : nullptr;
    if (!IsLive(wnd) || old == wnd) return old;
    t.focus = wnd;
    if (old) SendMessage(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(wnd), 0);
    if (IsLive(wnd)) SendMessage(wnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    return old;
}

void UpdateHooksNow() {
    UpdateHooks();
}

CPoint ClientOriginScreenOf(const CWnd* wnd) {
    return ClientOriginOnScreen(wnd);
}

bool PointerInClientOf(const CWnd* wnd) {
    return PointerInClient(wnd);
}

}  // namespace platform
}  // namespace quillon
