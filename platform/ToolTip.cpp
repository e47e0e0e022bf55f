#include "platform/ToolTip.h"

#include <algorithm>

#include "platform/Backend.h"
#include "platform/BackendCalls.h"
#include "platform/WindowSystem.h"

namespace {

constexpr UINT_PTR kRestTimer = 1;
constexpr UINT kInitialMs = 500;
constexpr UINT kReshowMs = 100;
// The tip's corner lies this far below the pointer, under the arrow.
constexpr int kBelowPointer = 20;

// The one tip on the screen, whichever control shows it.
CToolTipCtrl* g_showing = nullptr;

bool IsButtonOrKey(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MOUSEWHEEL:
        case WM_KEYDOWN:
            return true;
        default:
            return false;
    }
}

// Below the pointer, pushed inside the frame; above the pointer when there
// is no room below, so that the tip does not cover it.
CPoint PlaceTip(CPoint pointer, CSize size, const CRect& frame) {
    CPoint at(pointer.x, pointer.y + kBelowPointer);
    if (at.y + size.cy > frame.bottom) at.y = pointer.y - size.cy;
    at.x = std::max(frame.left, std::min(at.x, frame.right - size.cx));
    at.y = std::max(frame.top, std::min(at.y, frame.bottom - size.cy));
    return at;
}

}  // namespace

CToolTipCtrl::CToolTipCtrl() = default;

CToolTipCtrl::~CToolTipCtrl() {
    Hide();
    quillon::platform::UnregisterToolTip(this);
    if (m_hWnd) DestroyWindow();
}

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style) {
    // A hidden top-level window of its own, as the window system makes a
    // tip: it gets the rest timer and nothing else.
    if (!CreateEx(0, "tooltips_class32", nullptr, WS_POPUP | style, CRect(0, 0, 0, 0), parent, 0))
        return FALSE;
    quillon::platform::UnregisterToolTip(this);
    quillon::platform::RegisterToolTip(this);
    m_active = true;
    return TRUE;
}

void CToolTipCtrl::Activate(BOOL activate) {
    m_active = activate != FALSE;
    if (!m_active) {
        Hide();
        StopRest();
        SetHot(-1);
    }
}

BOOL CToolTipCtrl::AddTool(CWnd* owner, LPCSTR text, LPCRECT rect, UINT_PTR id) {
    if (!m_hWnd || !IsWindow(owner)) return FALSE;
    Tool tool{owner, id, CString(text), rect ? CRect(*rect) : CRect(), rect == nullptr};
    int at = FindTool(owner, id);
    if (at >= 0) {
        if (at == m_hot) {
            Hide();
            SetHot(-1);
        }
        m_tools[static_cast<std::size_t>(at)] = tool;
    } else {
        m_tools.push_back(tool);
    }
    return TRUE;
}

void CToolTipCtrl::DelTool(CWnd* owner, UINT_PTR id) {
    int at = FindTool(owner, id);
    if (at < 0) return;
    if (at == m_hot) {
        Hide();
        StopRest();
        m_hot = -1;
    } else if (at < m_hot) {
        --m_hot;
    }
    m_tools.erase(m_tools.begin() + at);
}

void CToolTipCtrl::SetToolRect(CWnd* owner, UINT_PTR id, LPCRECT rect) {
    int at = FindTool(owner, id);
    if (at < 0 || !rect) return;
    Tool& tool = m_tools[static_cast<std::size_t>(at)];
    tool.rect = *rect;
    tool.wholeClient = false;
    // A tip whose tool moved away from the pointer goes.
    if (at == m_hot && !PointerOnTool(at)) {
        Hide();
        StopRest();
        m_hot = -1;
    }
}

void CToolTipCtrl::UpdateTipText(LPCSTR text, CWnd* owner, UINT_PTR id) {
    int at = FindTool(owner, id);
    if (at < 0) return;
    Tool& tool = m_tools[static_cast<std::size_t>(at)];
    tool.text = CString(text);
    if (at != m_hot || !m_shown) return;
    if (tool.text.IsEmpty())
        Hide();
    else
        Show();  // the tip on the screen takes the new text
}

void CToolTipCtrl::RelayEvent(LPMSG msg) {
    if (!msg || !m_hWnd || !m_active) return;
    if (msg->message == WM_MOUSEMOVE) {
        CPoint client(GET_X_LPARAM(msg->lParam), GET_Y_LPARAM(msg->lParam));
        CPoint screen = client;
        if (IsWindow(msg->hwnd)) msg->hwnd->ClientToScreen(&screen);
        int at = ToolAt(msg->hwnd, client);
        bool moved = screen != CPoint(m_lastPoint);
        m_lastPoint = screen;
        if (at != m_hot) {
            bool wasShown = m_shown;
            Hide();
            SetHot(at);
            if (at >= 0)
                StartRest(wasShown ? kReshowMs : kInitialMs);
            else
                StopRest();
        } else if (at >= 0 && !m_shown && !m_suppressed && moved) {
            StartRest(kInitialMs);  // still moving: the rest starts again
        }
        return;
    }
    if (IsButtonOrKey(msg->message)) {
        Hide();
        StopRest();
        if (m_hot >= 0) m_suppressed = true;
    }
}

int CToolTipCtrl::GetToolCount() const {
    return static_cast<int>(m_tools.size());
}

void CToolTipCtrl::Pop() {
    Hide();
    StopRest();
    if (m_hot >= 0) m_suppressed = true;
}

LRESULT CToolTipCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case TTM_ACTIVATE:
            Activate(wParam != 0 ? TRUE : FALSE);
            return 0;
        case TTM_RELAYEVENT:
            RelayEvent(reinterpret_cast<LPMSG>(lParam));
            return 0;
        case TTM_POP:
            Pop();
            return 0;
        case TTM_GETTOOLCOUNT:
            return GetToolCount();
        case WM_TIMER:
            if (wParam == kRestTimer) {
                StopRest();
                if (m_active && m_hot >= 0 && !m_suppressed && PointerOnTool(m_hot)) Show();
                return 0;
            }
            break;
        default:
            break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CToolTipCtrl::PointerMoved() {
    if (m_hot < 0) return;
    // Moves inside the owner window come through the relay; here only
    // leaving it counts.
    const Tool& tool = m_tools[static_cast<std::size_t>(m_hot)];
    if (!IsWindow(tool.owner) || !quillon::platform::PointerInClientOf(tool.owner)) {
        Hide();
        StopRest();
        m_hot = -1;
        m_suppressed = false;
    }
}

void CToolTipCtrl::FocusLost() {
    Hide();
    StopRest();
    SetHot(-1);
}

void CToolTipCtrl::ForgetOwner(CWnd* owner) {
    for (int i = static_cast<int>(m_tools.size()) - 1; i >= 0; --i) {
        const Tool& tool = m_tools[static_cast<std::size_t>(i)];
        if (tool.owner == owner) DelTool(owner, tool.id);
    }
}

int CToolTipCtrl::FindTool(CWnd* owner, UINT_PTR id) const {
    for (std::size_t i = 0; i < m_tools.size(); ++i)
        if (m_tools[i].owner == owner && m_tools[i].id == id) return static_cast<int>(i);
    return -1;
}

int CToolTipCtrl::ToolAt(CWnd* wnd, POINT client) const {
    if (!IsWindow(wnd)) return -1;
    CRect whole;
    wnd->GetClientRect(&whole);
    // Later tools lie over earlier ones.
    for (int i = static_cast<int>(m_tools.size()) - 1; i >= 0; --i) {
        const Tool& tool = m_tools[static_cast<std::size_t>(i)];
        if (tool.owner != wnd) continue;
        const CRect& r = tool.wholeClient ? whole : tool.rect;
        if (r.PtInRect(client)) return i;
    }
    return -1;
}

bool CToolTipCtrl::PointerOnTool(int index) const {
    if (index < 0 || index >= static_cast<int>(m_tools.size())) return false;
    const Tool& tool = m_tools[static_cast<std::size_t>(index)];
    if (!IsWindow(tool.owner) || !quillon::platform::PointerInClientOf(tool.owner)) return false;
    CPoint p = quillon::platform::Pointer().screen;
    tool.owner->ScreenToClient(&p);
    return ToolAt(tool.owner, p) == index;
}

void CToolTipCtrl::Show() {
    if (m_hot < 0) return;
    const Tool& tool = m_tools[static_cast<std::size_t>(m_hot)];
    if (tool.text.IsEmpty()) return;
    CWnd* top = tool.owner->GetTopLevelParent();
    int id = top && top->PlatformData() ? top->PlatformData()->backendId : 0;
    if (id == 0) return;
    HBITMAP picture = quillon::platform::DrawToolTip(tool.text);
    if (!picture) return;
    CPoint pointer = quillon::platform::Pointer().screen;
    top->ScreenToClient(&pointer);
    CRect frame;
    top->GetClientRect(&frame);
    quillon::platform::ToolTipPicture tip;
    tip.picture = picture;
    tip.text = tool.text;
    tip.at = PlaceTip(pointer, CSize(picture->width, picture->height), frame);
    quillon::platform::CurrentBackend().ShowToolTip(id, tip);
    DeleteObject(picture);
    m_shown = true;
    g_showing = this;
}

void CToolTipCtrl::Hide() {
    if (!m_shown) return;
    m_shown = false;
    if (g_showing == this) {
        g_showing = nullptr;
        quillon::platform::CurrentBackend().HideToolTip();
    }
}

void CToolTipCtrl::StartRest(UINT ms) {
    if (!m_hWnd) return;
    SetTimer(kRestTimer, ms, nullptr);
    m_restTimer = true;
}

void CToolTipCtrl::StopRest() {
    if (m_restTimer && m_hWnd) KillTimer(kRestTimer);
    m_restTimer = false;
}

void CToolTipCtrl::SetHot(int index) {
    m_hot = index;
    m_suppressed = false;
}
