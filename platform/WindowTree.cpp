// The window tree: which windows live, how they nest and where they are,
// and their creation and destruction.
#include <algorithm>
#include <memory>

#include "platform/Backend.h"
#include "platform/ToolTip.h"
#include "platform/WindowSystemState.h"
#include "platform/gdi/DC.h"

namespace quillon {
namespace platform {

WindowSystemState& State() {
    // Never destroyed: window objects with static storage may still go
    // away after it would have been.
    static WindowSystemState* const state = new WindowSystemState;
    return *state;
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

CPoint ClientOriginInFrame(const CWnd* wnd) {
    const WindowData* d = D(wnd);
    if (d->topLevel) return CPoint(d->edge, d->edge);
    CPoint p = ClientOriginInFrame(d->parent);
    return CPoint(p.x + d->rect.left + d->edge, p.y + d->rect.top + d->edge);
}

CPoint ClientOriginScreenOf(const CWnd* wnd) {
    const WindowData* d = D(wnd);
    if (d->topLevel) return CPoint(d->rect.left + d->edge, d->rect.top + d->edge);
    CPoint p = ClientOriginScreenOf(d->parent);
    return CPoint(p.x + d->rect.left + d->edge, p.y + d->rect.top + d->edge);
}

const std::vector<CWnd*>& LiveWindows() {
    return State().windows;
}

bool IsLive(const CWnd* wnd) {
    if (!wnd) return false;
    const auto& w = State().windows;
    return std::find(w.begin(), w.end(), wnd) != w.end();
}

FrameWindow* FrameById(int backendId) {
    if (backendId == 0) return nullptr;
    for (CWnd* w : State().windows) {
        const WindowData* d = D(w);
        if (d->topLevel && d->frame && d->backendId == backendId) return d->frame;
    }
    return nullptr;
}

namespace {

bool IsFrame(const WindowData* d) {
    return d->topLevel && d->frame && d->backendId != 0;
}

bool AnyFrameLeft() {
    for (CWnd* w : State().windows)
        if (IsFrame(D(w))) return true;
    return false;
}

}  // namespace

BOOL CreateWindowFor(CWnd* wnd, CREATESTRUCT& cs, FrameWindow* frame, int backendId) {
    WindowSystemState& s = State();
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
    s.windows.push_back(wnd);
    if (child) D(parent)->children.push_back(wnd);
    if (frame) s.focus = wnd;

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
    if (d->frame && d->frame == s.pointer.frame) UpdateHooksNow();
    return TRUE;
}

BOOL DestroyWindowFor(CWnd* wnd) {
    WindowSystemState& s = State();
    if (!IsLive(wnd)) return FALSE;
    WindowData* d = D(wnd);
    if (d->destroying) return FALSE;
    d->destroying = true;
    ReleaseLayer(wnd);
    SendMessage(wnd, WM_DESTROY, 0, 0);
    std::vector<CWnd*> children = d->children;
    for (CWnd* c : children) DestroyWindowFor(c);

    ForgetInputWindow(wnd);
    std::vector<CToolTipCtrl*> tips = s.tips;
    for (CToolTipCtrl* tip : tips) tip->ForgetOwner(wnd);
    s.posted.erase(std::remove_if(s.posted.begin(), s.posted.end(),
                                  [wnd](const MSG& m) { return m.hwnd == wnd; }),
                   s.posted.end());
    s.windows.erase(std::remove(s.windows.begin(), s.windows.end(), wnd), s.windows.end());
    CWnd* parent = d->parent;
    CRect where = d->rect;
    bool wasVisible = Visible(wnd);
    if (parent && IsLive(parent)) {
        auto& siblings = D(parent)->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), wnd), siblings.end());
        if (wasVisible) parent->InvalidateRect(&where, TRUE);
    }
    if (d->surface && !d->surfaceShared) DeleteObject(d->surface);
    delete d->paintDC;
    bool wasFrame = IsFrame(d);
    if (wasFrame) CurrentBackend().DestroyWindow(d->backendId);
    wnd->m_hWnd = nullptr;
    wnd->m_data.reset();
    // The application ends with its last frame.
    if (wasFrame && !AnyFrameLeft()) PostQuitMessage(0);
    // May delete the object: nothing of it is touched after.
    wnd->PostNcDestroy();
    return TRUE;
}

void ResetWindowSystem() {
    WindowSystemState& s = State();
    // Children go with their top-level windows.
    while (!s.windows.empty()) {
        CWnd* top = s.windows.front();
        while (D(top)->parent) top = D(top)->parent;
        DestroyWindowFor(top);
    }
    s.posted.clear();
    s.input.clear();
    s.capture = nullptr;
    s.focus = nullptr;
    s.focusLost = false;
    s.focusBeforeLoss = nullptr;
    s.quit = false;
    s.quitCode = 0;
    s.pointer = PointerState{};
    s.last = MSG{};
    ResetCursorState();
}

}  // namespace platform
}  // namespace quillon

BOOL IsWindow(HWND hwnd) {
    return quillon::platform::IsLive(hwnd) ? TRUE : FALSE;
}
