#include <quillon/platform/Window.h>

#include <quillon/platform/CTime.h>

#include <unistd.h>

#include <climits>
#include <string>

#include "platform/Backend.h"
#include "platform/Cursor.h"
#include "platform/PaintDC.h"
#include "platform/WindowSystem.h"

namespace {

// The application's name, as the framework titles its boxes: the file name
// of the executable without its extension.
CString AppName() {
    static const CString name = [] {
        char buf[PATH_MAX];
        ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
        std::string path = n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : "quillon";
        std::string base = path.substr(path.find_last_of('/') + 1);
        auto dot = base.rfind('.');
        if (dot != std::string::npos && dot > 0) base.erase(dot);
        return CString(base);
    }();
    return name;
}

// The message being handled, for Default(); saved and restored around every
// call of a window procedure so that nested messages keep their own.
MSG g_current{};

using quillon::platform::WindowData;

}  // namespace

namespace quillon {
namespace platform {

LRESULT CallWindowProcFor(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG saved = g_current;
    g_current = MSG{wnd, message, wParam, lParam, 0, POINT{0, 0}};
    LRESULT result = wnd->WindowProc(message, wParam, lParam);
    g_current = saved;
    return result;
}

}  // namespace platform
}  // namespace quillon

CWnd::CWnd() = default;

CWnd::~CWnd() {
    if (m_hWnd) quillon::platform::DestroyWindowFor(this);
}

BOOL CWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                  UINT id, void* context) {
    if (!parent || !::IsWindow(parent)) return FALSE;
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id, context);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style,
                    const RECT& rect, CWnd* parent, UINT id, void* param) {
    if (m_hWnd) return FALSE;
    CREATESTRUCT cs{};
    cs.lpCreateParams = param;
    cs.hInstance = nullptr;
    cs.hMenu = id;
    cs.hwndParent = parent;
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
    cs.style = static_cast<LONG>(style);
    cs.lpszName = windowName;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;
    if (!PreCreateWindow(cs)) return FALSE;
    return quillon::platform::CreateWindowFor(this, cs, nullptr, 0);
}

BOOL CWnd::DestroyWindow() {
    return quillon::platform::DestroyWindowFor(this);
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& /*cs*/) {
    return TRUE;
}

BOOL CWnd::PreTranslateMessage(MSG* /*msg*/) {
    return FALSE;
}

CWnd* CWnd::GetParent() const {
    return m_data ? m_data->parent : nullptr;
}

CWnd* CWnd::GetTopLevelParent() const {
    if (!m_data) return nullptr;
    const CWnd* w = this;
    while (w->m_data->parent) w = w->m_data->parent;
    return const_cast<CWnd*>(w);
}

DWORD CWnd::GetStyle() const {
    return m_data ? m_data->style : 0;
}

DWORD CWnd::GetExStyle() const {
    return m_data ? m_data->exStyle : 0;
}

int CWnd::GetDlgCtrlID() const {
    return m_data ? static_cast<int>(m_data->id) : 0;
}

void CWnd::GetClientRect(LPRECT rect) const {
    if (!rect) return;
    if (!m_data) {
        *rect = RECT{0, 0, 0, 0};
        return;
    }
    *rect = RECT{0, 0, m_data->ClientWidth(), m_data->ClientHeight()};
}

void CWnd::GetWindowRect(LPRECT rect) const {
    if (!rect) return;
    if (!m_data) {
        *rect = RECT{0, 0, 0, 0};
        return;
    }
    CPoint client = quillon::platform::ClientOriginScreenOf(this);
    CRect r = m_data->rect;
    r.OffsetRect(client.x - m_data->edge - r.left, client.y - m_data->edge - r.top);
    *rect = r;
}

void CWnd::ClientToScreen(LPPOINT point) const {
    if (!point || !m_data) return;
    CPoint o = quillon::platform::ClientOriginScreenOf(this);
    point->x += o.x;
    point->y += o.y;
}

void CWnd::ClientToScreen(LPRECT rect) const {
    if (!rect || !m_data) return;
    CPoint o = quillon::platform::ClientOriginScreenOf(this);
    ::OffsetRect(rect, o.x, o.y);
}

void CWnd::ScreenToClient(LPPOINT point) const {
    if (!point || !m_data) return;
    CPoint o = quillon::platform::ClientOriginScreenOf(this);
    point->x -= o.x;
    point->y -= o.y;
}

void CWnd::ScreenToClient(LPRECT rect) const {
    if (!rect || !m_data) return;
    CPoint o = quillon::platform::ClientOriginScreenOf(this);
    ::OffsetRect(rect, -o.x, -o.y);
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
    if (!m_data || m_data->topLevel) return;  // a frame keeps the size it was made with
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    CRect old = m_data->rect;
    CRect now(x, y, x + width, y + height);
    if (old == now) return;
    bool sized = old.Size() != now.Size();
    m_data->rect = now;
    if (sized && m_data->frame) {
        // A shared surface belongs to the window's own picture: the sharing
        // ends with the size it was made for.
        if (m_data->surface && !m_data->surfaceShared) DeleteObject(m_data->surface);
        m_data->surfaceShared = false;
        m_data->surface = nullptr;
        m_data->surface =
            quillon::platform::MakeSurface(m_data->ClientWidth(), m_data->ClientHeight());
        m_data->update.SetRectEmpty();
    }
    if (sized || repaint) InvalidateRect(nullptr, TRUE);
    CWnd* parent = m_data->parent;
    if (parent && (m_data->style & WS_VISIBLE)) {
        // The place it left shows the parent again; the new place shows
        // this window's border and content.
        parent->InvalidateRect(&old, TRUE);
        quillon::platform::ComposeClientRect(parent, now);
    }
    quillon::platform::UpdateHooksNow();
}

void CWnd::MoveWindow(LPCRECT rect, BOOL repaint) {
    if (rect)
        MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                   repaint);
}

BOOL CWnd::ShowWindow(int command) {
    if (!m_data) return FALSE;
    bool was = (m_data->style & WS_VISIBLE) != 0;
    bool show = command != SW_HIDE;
    if (was == show) return was ? TRUE : FALSE;
    // A layer hidden would leave the frame's backing without its pixels.
    quillon::platform::ReleaseLayer(this);
    if (show) {
        m_data->style |= WS_VISIBLE;
        InvalidateRect(nullptr, TRUE);
        if (m_data->parent) quillon::platform::ComposeClientRect(m_data->parent, m_data->rect);
    } else {
        m_data->style &= ~WS_VISIBLE;
        if (m_data->parent) m_data->parent->InvalidateRect(&m_data->rect, TRUE);
    }
    quillon::platform::UpdateHooksNow();
    return was ? TRUE : FALSE;
}

BOOL CWnd::IsWindowVisible() const {
    for (const CWnd* w = this; w; w = w->m_data->parent)
        if (!w->m_data || !(w->m_data->style & WS_VISIBLE)) return FALSE;
    return TRUE;
}

void CWnd::InvalidateRect(LPCRECT rect, BOOL erase) {
    if (!m_data) return;
    CRect client(0, 0, m_data->ClientWidth(), m_data->ClientHeight());
    CRect r = rect ? (CRect(*rect) & client) : client;
    if (r.IsRectEmpty()) return;
    m_data->update |= r;
    if (erase) m_data->erase = true;
}

void CWnd::ValidateRect(LPCRECT rect) {
    if (!m_data) return;
    CRect& u = m_data->update;
    if (!rect) {
        u.SetRectEmpty();
        m_data->erase = false;
        return;
    }
    // The update area is kept as a rectangle: it shrinks only where the
    // validated rectangle covers a whole side of it.
    CRect v(*rect);
    CRect cut = u & v;
    if (cut.IsRectEmpty()) return;
    if (cut == u) {
        u.SetRectEmpty();
        m_data->erase = false;
    } else if (cut.left == u.left && cut.right == u.right) {
        if (cut.top == u.top)
            u.top = cut.bottom;
        else if (cut.bottom == u.bottom)
            u.bottom = cut.top;
    } else if (cut.top == u.top && cut.bottom == u.bottom) {
        if (cut.left == u.left)
            u.left = cut.right;
        else if (cut.right == u.right)
            u.right = cut.left;
    }
}

BOOL CWnd::GetUpdateRect(LPRECT rect, BOOL /*erase*/) {
    CRect u = m_data ? m_data->update : CRect();
    if (rect) *rect = u;
    return u.IsRectEmpty() ? FALSE : TRUE;
}

void CWnd::UpdateWindow() {
    if (!m_data || m_data->update.IsRectEmpty() || !IsWindowVisible()) return;
    MSG msg{this, WM_PAINT, 0, 0, 0, POINT{0, 0}};
    ::DispatchMessage(&msg);
}

CWnd* CWnd::SetCapture() {
    return quillon::platform::SetCaptureFor(this);
}

CWnd* CWnd::GetCapture() {
    return ::GetCapture();
}

CWnd* CWnd::SetFocus() {
    return quillon::platform::SetFocusFor(this);
}

CWnd* CWnd::GetFocus() {
    return ::GetFocus();
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc) {
    if (!m_data) return 0;
    if (elapse < 10) elapse = 10;  // the window system's shortest timer
    DWORD due = timeGetTime() + elapse;
    for (auto& t : m_data->timers) {
        if (t.id == id) {
            t.period = elapse;
            t.due = due;
            t.proc = proc;
            return id != 0 ? id : 1;
        }
    }
    m_data->timers.push_back(quillon::platform::TimerRecord{id, elapse, due, proc});
    // The window system answers a nonzero value for success, even for id 0.
    return id != 0 ? id : 1;
}

BOOL CWnd::KillTimer(UINT_PTR id) {
    if (!m_data) return FALSE;
    auto& timers = m_data->timers;
    for (auto it = timers.begin(); it != timers.end(); ++it) {
        if (it->id == id) {
            timers.erase(it);
            return TRUE;
        }
    }
    return FALSE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessage(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_hWnd) return FALSE;
    return ::PostMessage(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    if (g_current.hwnd != this) return 0;
    return DefWindowProc(g_current.message, g_current.wParam, g_current.lParam);
}

int CWnd::MessageBox(const char* text, const char* caption, UINT type) {
    return quillon::platform::CurrentBackend().MessageBox(
        this, CString(text), CString(caption ? caption : "Error"), type);
}

void CWnd::BeginWaitCursor() {
    quillon::platform::WaitCursor(true);
}

void CWnd::EndWaitCursor() {
    quillon::platform::WaitCursor(false);
}

void CWnd::RestoreWaitCursor() {}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    auto point = [lParam] { return CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); };
    auto flags = static_cast<UINT>(wParam);
    switch (message) {
        case WM_CREATE:
            return OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam));
        case WM_DESTROY:
            OnDestroy();
            return 0;
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_ERASEBKGND:
            return OnEraseBkgnd(reinterpret_cast<CDC*>(wParam));
        case WM_LBUTTONDOWN:
            OnLButtonDown(flags, point());
            return 0;
        case WM_LBUTTONUP:
            OnLButtonUp(flags, point());
            return 0;
        case WM_LBUTTONDBLCLK:
            OnLButtonDblClk(flags, point());
            return 0;
        case WM_RBUTTONDOWN:
            OnRButtonDown(flags, point());
            return 0;
        case WM_RBUTTONUP:
            OnRButtonUp(flags, point());
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove(flags, point());
            return 0;
        case WM_MOUSEWHEEL:
            return OnMouseWheel(GET_KEYSTATE_WPARAM(wParam), GET_WHEEL_DELTA_WPARAM(wParam),
                                point());
        case WM_KEYDOWN:
            OnKeyDown(flags, LOWORD(static_cast<std::uintptr_t>(lParam)),
                      HIWORD(static_cast<std::uintptr_t>(lParam)));
            return 0;
        case WM_KEYUP:
            OnKeyUp(flags, LOWORD(static_cast<std::uintptr_t>(lParam)),
                    HIWORD(static_cast<std::uintptr_t>(lParam)));
            return 0;
        case WM_CHAR:
            OnChar(flags, LOWORD(static_cast<std::uintptr_t>(lParam)),
                   HIWORD(static_cast<std::uintptr_t>(lParam)));
            return 0;
        case WM_TIMER:
            OnTimer(wParam);
            return 0;
        case WM_SETCURSOR:
            return OnSetCursor(reinterpret_cast<CWnd*>(wParam),
                               LOWORD(static_cast<std::uintptr_t>(lParam)),
                               HIWORD(static_cast<std::uintptr_t>(lParam)));
        case WM_SETFOCUS:
            OnSetFocus(reinterpret_cast<CWnd*>(wParam));
            return 0;
        case WM_KILLFOCUS:
            OnKillFocus(reinterpret_cast<CWnd*>(wParam));
            return 0;
        case WM_CAPTURECHANGED:
            OnCaptureChanged(reinterpret_cast<CWnd*>(lParam));
            return 0;
        default:
            return DefWindowProc(message, wParam, lParam);
    }
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE:
            return TRUE;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            ::BeginPaint(this, &ps);
            ::EndPaint(this, &ps);
            return 0;
        }
        case WM_ERASEBKGND: {
            auto* dc = reinterpret_cast<CDC*>(wParam);
            if (!dc || !m_data) return 0;
            // Top-level windows have the 3-D face colour, children the
            // window colour.
            COLORREF color = GetSysColor(m_data->topLevel ? COLOR_BTNFACE : COLOR_WINDOW);
            CRect box;
            dc->GetClipBox(&box);
            dc->FillSolidRect(&box, color);
            return 1;
        }
        case WM_SETCURSOR: {
            CWnd* parent = GetParent();
            if ((GetStyle() & WS_CHILD) && parent && ::SendMessage(parent, message, wParam, lParam))
                return TRUE;
            ::SetCursor(LoadCursor(nullptr, IDC_ARROW));
            return TRUE;
        }
        case WM_MOUSEWHEEL: {
            CWnd* parent = GetParent();
            if ((GetStyle() & WS_CHILD) && parent)
                return ::SendMessage(parent, message, wParam, lParam);
            return 0;
        }
        case WM_CLOSE:
            DestroyWindow();
            return 0;
        default:
            return 0;
    }
}

int CWnd::OnCreate(LPCREATESTRUCT /*cs*/) {
    return static_cast<int>(Default());
}
void CWnd::OnDestroy() {
    Default();
}
void CWnd::OnPaint() {
    Default();
}
BOOL CWnd::OnEraseBkgnd(CDC* /*dc*/) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnLButtonDown(UINT /*flags*/, CPoint /*point*/) {
    Default();
}
void CWnd::OnLButtonUp(UINT /*flags*/, CPoint /*point*/) {
    Default();
}
void CWnd::OnLButtonDblClk(UINT /*flags*/, CPoint /*point*/) {
    Default();
}
void CWnd::OnRButtonDown(UINT /*flags*/, CPoint /*point*/) {
    Default();
}
void CWnd::OnRButtonUp(UINT /*flags*/, CPoint /*point*/) {
    Default();
}
void CWnd::OnMouseMove(UINT /*flags*/, CPoint /*point*/) {
    Default();
}
BOOL CWnd::OnMouseWheel(UINT /*flags*/, short /*delta*/, CPoint /*point*/) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnKeyDown(UINT /*key*/, UINT /*repeat*/, UINT /*flags*/) {
    Default();
}
void CWnd::OnKeyUp(UINT /*key*/, UINT /*repeat*/, UINT /*flags*/) {
    Default();
}
void CWnd::OnChar(UINT /*ch*/, UINT /*repeat*/, UINT /*flags*/) {
    Default();
}
void CWnd::OnTimer(UINT_PTR /*id*/) {
    Default();
}
BOOL CWnd::OnSetCursor(CWnd* /*wnd*/, UINT /*hitTest*/, UINT /*message*/) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnSetFocus(CWnd* /*oldWnd*/) {
    Default();
}
void CWnd::OnKillFocus(CWnd* /*newWnd*/) {
    Default();
}
void CWnd::OnCaptureChanged(CWnd* /*wnd*/) {
    Default();
}

int AfxMessageBox(const char* text, UINT type, UINT /*helpId*/) {
    return quillon::platform::CurrentBackend().MessageBox(nullptr, CString(text), AppName(), type);
}
