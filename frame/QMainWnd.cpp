#include "frame/QMainWnd.h"

#include <vector>

#include "frame/Item.h"
#include "frame/ThreadWait.h"
#include "frame/pictures/DibPicture.h"
#include "platform/Cursor.h"
#include "platform/MouseHook.h"
#include "platform/PaintDC.h"

CQMainWnd::CQMainWnd() : m_pOffscreen(std::make_unique<CDibPicture>()) {}

CQMainWnd::~CQMainWnd() {
    if (m_bHooked && m_hWnd != nullptr) MouseHook_Release(m_hWnd);
    if (m_bSharedSurface && m_hWnd != nullptr) ShareClientSurface(this, nullptr);
    m_pOffscreen.reset();
    m_ItemTimers.RemoveAll();
    // Items deleted after the window (which the main screen never does)
    // must not reach back into it.
    if (m_pRoot != nullptr) m_pRoot->ForgetMainWnd();
    m_pRoot = nullptr;
    m_pCaptureItem = nullptr;
    m_pHoverItem = nullptr;
    if (m_ToolHint.GetSafeHwnd() != nullptr) m_ToolHint.DestroyWindow();
    if (m_hWnd != nullptr) DestroyWindow();
}

UINT CQMainWnd::GoOutMouseMessage() {
    static const UINT id = RegisterWindowMessage("MessageGoOutMouse");
    return id;
}

BOOL CQMainWnd::Create(const char* className, CWnd* parent, const RECT& rect, CItem* root) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    m_pOffscreen->Create(width, height, 32);
    BOOL created = CWnd::Create(className, nullptr, WS_CHILD | WS_VISIBLE, rect, parent, 0);
    m_pRoot = root;
    if (root != nullptr) {
        root->SetMainWnd(this);
        root->Create(nullptr, 0, 0, width, height);
    }
    if (created && m_pOffscreen->IsLoaded())
        m_bSharedSurface =
            ShareClientSurface(this, m_pOffscreen->GetMemDC()->GetCurrentBitmap()) != FALSE;
    if (created) {
        MouseHook_Set(m_hWnd);
        MouseHook_MessageGoOutMouse(m_hWnd, GoOutMouseMessage());
        m_bHooked = true;
    }
    return created;
}

BOOL CQMainWnd::PreCreateWindow(CREATESTRUCT& cs) {
    cs.style |= static_cast<LONG>(WS_BORDER);
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    return CWnd::PreCreateWindow(cs);
}

int CQMainWnd::OnCreate(LPCREATESTRUCT cs) {
    if (CWnd::OnCreate(cs) == -1) return -1;
    m_ToolHint.Create(this, 0);
    m_ToolHint.Activate(TRUE);
    CWnd::SetTimer(1, 100, nullptr);
    return 0;
}

BOOL CQMainWnd::PreTranslateMessage(MSG* msg) {
    if (m_ToolHint.GetSafeHwnd() != nullptr) m_ToolHint.RelayEvent(msg);
    return CWnd::PreTranslateMessage(msg);
}

LRESULT CQMainWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != 0 && message == GoOutMouseMessage()) {
        if (CThreadWait::IsBusy(0)) return CWnd::WindowProc(message, wParam, lParam);
        CThreadWait wait(0);
        OnGoOutMouse();
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CQMainWnd::OnGoOutMouse() {
    m_LastMouse = {0, 0, MouseEventRec::kNoPosition, MouseEventRec::kNoPosition};
    CItem* hovered = m_pHoverItem;
    m_pHoverItem = nullptr;
    if (hovered != nullptr) hovered->OnMouseLeave(m_pCaptureItem);
}

// Items only draw into the off-screen picture; the window gets a copy of
// what changed.
void CQMainWnd::OnPaint() {
    CPaintDC dc(this);
    CRect show = dc.m_ps.rcPaint;
    if (!m_rcPending.IsRectEmpty() && m_pRoot != nullptr && m_pOffscreen->IsLoaded()) {
        const CRect pending = m_rcPending;
        m_rcPending.SetRectEmpty();
        if (m_pOffscreen->SetClipRect(pending.left, pending.top, pending.right, pending.bottom)) {
            m_pRoot->Draw(m_pOffscreen.get(), 0, 0, pending.left, pending.top, pending.right,
                          pending.bottom);
        }
        CSize size = m_pOffscreen->GetSize();
        m_pOffscreen->SetClipRect(0, 0, size.cx, size.cy);
        show.UnionRect(&show, &pending);
    }
    m_rcPending.SetRectEmpty();
    if (show.IsRectEmpty() || !m_pOffscreen->IsLoaded()) return;
    CSize size = show.Size();
    m_pOffscreen->Draw(&dc, show.left, show.top, &size, &show);
}

// The paint copies the offscreen picture over the whole update area, so an
// erase would never be seen; on a shared surface it would wipe the picture.
BOOL CQMainWnd::OnEraseBkgnd(CDC* dc) {
    return m_bSharedSurface ? TRUE : CWnd::OnEraseBkgnd(dc);
}

void CQMainWnd::AddPendingPaint(const RECT& rect) {
    if (::IsRectEmpty(&rect)) return;
    m_rcPending.UnionRect(&m_rcPending, &rect);
}

bool CQMainWnd::SetCaptureItem(CItem* item, bool drag) {
    if (m_pCaptureItem != nullptr && m_pCaptureItem != item) return false;
    m_pCaptureItem = item;
    m_bDragMode = drag;
    CWnd::SetCapture();
    return true;
}

bool CQMainWnd::ReleaseCaptureItem(CItem* item) {
    if (m_pCaptureItem != nullptr && m_pCaptureItem != item) return false;
    bool dropped = m_pCaptureItem != nullptr && m_bDragMode;
    m_pCaptureItem = nullptr;
    m_bDragMode = false;
    ::ReleaseCapture();
    if (dropped && m_pRoot != nullptr) {
        POINT local;
        CItem* target = m_pRoot->HitTest(CPoint(m_LastMouse.x, m_LastMouse.y), &local);
        target->OnDropIn(m_LastMouse.flags, local.x, local.y, item);
    }
    return true;
}

int CQMainWnd::FindTimer(const CItem* item) const {
    for (int i = 0; i < m_ItemTimers.GetSize(); ++i) {
        if (m_ItemTimers[i].item == item) return i;
    }
    return -1;
}

void CQMainWnd::SetItemTimer(CItem* item, int period) {
    int i = FindTimer(item);
    if (period < 1) {
        if (i >= 0) m_ItemTimers.RemoveAt(i);
        return;
    }
    if (i >= 0) {
        m_ItemTimers[i].period = period;
    } else {
        m_ItemTimers.Add(ItemTimer{item, period, 0});
    }
}

int CQMainWnd::GetItemTimer(const CItem* item) const {
    int i = FindTimer(item);
    return i >= 0 ? m_ItemTimers[i].period : -1;
}

void CQMainWnd::SetItemCursor(HCURSOR cursor) {
    m_hCursor = cursor;
    ::SetCursor(cursor);
}

void CQMainWnd::ResetItemCursor() {
    m_hCursor = nullptr;
    ::SetCursor(LoadCursor(nullptr, IDC_ARROW));
}

UINT CQMainWnd::AddTool(const CString& text, const RECT& rect) {
    return m_ToolHint.AddHint(text, rect);
}

void CQMainWnd::SetToolActive(UINT id, bool active) {
    m_ToolHint.SetHintActive(id, active);
}

void CQMainWnd::SetToolRect(UINT id, const RECT& rect) {
    m_ToolHint.SetHintRect(id, rect);
}

void CQMainWnd::UpdateToolText(UINT id, const CString& text) {
    m_ToolHint.UpdateHintText(id, text);
}

void CQMainWnd::RemoveTool(UINT id) {
    m_ToolHint.RemoveHint(id);
}

void CQMainWnd::ForgetItem(CItem* item) {
    if (m_pCaptureItem == item) {
        m_pCaptureItem = nullptr;
        m_bDragMode = false;
        if (CWnd::GetCapture() == this) ::ReleaseCapture();
    }
    if (m_pHoverItem == item) m_pHoverItem = nullptr;
    if (m_pRoot == item) m_pRoot = nullptr;
    int i = FindTimer(item);
    if (i >= 0) m_ItemTimers.RemoveAt(i);
}

CItem* CQMainWnd::FindTarget(CPoint point, POINT* local) {
    if (m_pCaptureItem != nullptr) {
        CRect r = m_pCaptureItem->GetWindowRect();
        local->x = point.x - r.left;
        local->y = point.y - r.top;
        return m_pCaptureItem;
    }
    if (m_pRoot == nullptr) return nullptr;
    return m_pRoot->HitTest(point, local);
}

void CQMainWnd::OnButton(Button which, UINT flags, CPoint point) {
    m_LastMouse = {1, flags, point.x, point.y};
    POINT local;
    CItem* target = FindTarget(point, &local);
    if (target == nullptr) return;
    switch (which) {
        case Button::LDblClk:
            target->OnLButtonDblClk(flags, local.x, local.y);
            break;
        case Button::LDown:
            target->OnLButtonDown(flags, local.x, local.y);
            break;
        case Button::LUp:
            target->OnLButtonUp(flags, local.x, local.y);
            break;
        case Button::RDown:
            target->OnRButtonDown(flags, local.x, local.y);
            break;
        case Button::RUp:
            target->OnRButtonUp(flags, local.x, local.y);
            break;
    }
}

// Each input handler runs its items only when no other handler is under
// way (a host callback may be showing a modal box that dispatches this
// window's messages); otherwise the message gets the default handling only.
template <class F>
LRESULT CQMainWnd::Guarded(F work) {
    if (CThreadWait::IsBusy(0)) return Default();
    CThreadWait wait(0);
    work();
    return Default();
}

void CQMainWnd::OnLButtonDblClk(UINT flags, CPoint point) {
    Guarded([&] { OnButton(Button::LDblClk, flags, point); });
}

void CQMainWnd::OnLButtonDown(UINT flags, CPoint point) {
    Guarded([&] {
        SetFocus();
        OnButton(Button::LDown, flags, point);
    });
}

void CQMainWnd::OnLButtonUp(UINT flags, CPoint point) {
    Guarded([&] { OnButton(Button::LUp, flags, point); });
}

void CQMainWnd::OnRButtonDown(UINT flags, CPoint point) {
    Guarded([&] { OnButton(Button::RDown, flags, point); });
}

void CQMainWnd::OnRButtonUp(UINT flags, CPoint point) {
    Guarded([&] { OnButton(Button::RUp, flags, point); });
}

void CQMainWnd::OnMouseMove(UINT flags, CPoint point) {
    Guarded([&] {
        m_LastMouse = {1, flags, point.x, point.y};
        if (m_pRoot == nullptr) return;
        // Each call may delete items (the calendar rebuilds its rows from a
        // host callback): the ones still there get the rest, in order.
        const CItemRef captured(m_pCaptureItem);
        POINT capturedAt{0, 0};
        if (m_pCaptureItem != nullptr) {
            CRect r = m_pCaptureItem->GetWindowRect();
            capturedAt = {point.x - r.left, point.y - r.top};
        }
        POINT underAt;
        const CItemRef under(m_pRoot->HitTest(point, &underAt));
        if (under.Get() != m_pHoverItem) {
            const CItemRef old(m_pHoverItem);
            m_pHoverItem = under.Get();
            if (CItem* o = old.Get()) o->OnMouseLeave(captured.Get());
            if (CItem* u = under.Get())
                u->OnMouseEnter(flags, underAt.x, underAt.y, captured.Get());
        }
        if (CItem* c = captured.Get()) c->OnMouseMove(flags, capturedAt.x, capturedAt.y, c);
        if (CItem* u = under.Get()) u->OnMouseMove(flags, underAt.x, underAt.y, captured.Get());
        m_pHoverItem = under.Get();
    });
}

BOOL CQMainWnd::OnMouseWheel(UINT flags, short delta, CPoint /*point*/) {
    return static_cast<BOOL>(Guarded([&] {
        if (m_pRoot == nullptr) return;
        std::vector<CItemRef> items;
        m_pRoot->CollectTree(&items);
        for (const CItemRef& ref : items) {
            if (CItem* item = ref.Get()) item->OnMouseWheel(flags, delta);
        }
    }));
}

void CQMainWnd::OnKeyDown(UINT key, UINT repeat, UINT flags) {
    Guarded([&] {
        if (m_pRoot != nullptr) m_pRoot->OnKeyDown(key, repeat, flags);
    });
}

// Every 100 ms: the item timers in list order, each firing as many times
// as its period fits in what it has accumulated, then OnTick on every item.
void CQMainWnd::OnTimer(UINT_PTR /*id*/) {
    Guarded([&] {
        // An item may start, change or stop timers (its own or others') and
        // delete items from OnItemTimer: work from a snapshot of the items
        // and look each record up again.
        std::vector<CItemRef> due;
        due.reserve(static_cast<std::size_t>(m_ItemTimers.GetSize()));
        for (const ItemTimer& t : m_ItemTimers) due.emplace_back(t.item);
        for (const CItemRef& ref : due) {
            CItem* item = ref.Get();
            int i = item != nullptr ? FindTimer(item) : -1;
            if (i < 0) continue;
            m_ItemTimers[i].accumulated += 100;
            for (;;) {
                i = ref.IsAlive() ? FindTimer(item) : -1;
                if (i < 0) break;
                ItemTimer& t = m_ItemTimers[i];
                if (t.accumulated < t.period) break;
                t.accumulated -= t.period;
                item->OnItemTimer();
            }
        }
        if (m_pRoot != nullptr) {
            std::vector<CItemRef> items;
            m_pRoot->CollectTree(&items);
            for (const CItemRef& ref : items) {
                if (CItem* item = ref.Get()) item->OnTick();
            }
        }
    });
}

BOOL CQMainWnd::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) {
    if (m_hCursor != nullptr) {
        ::SetCursor(m_hCursor);
        return TRUE;
    }
    return CWnd::OnSetCursor(wnd, hitTest, message);
}
