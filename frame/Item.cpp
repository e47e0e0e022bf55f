#include "frame/Item.h"

#include <vector>

#include "frame/QMainWnd.h"
#include "frame/pictures/DibPicture.h"

CItemRef::CItemRef(CItem* item) {
    if (item != nullptr) m_life = item->m_pLife;
}

CItem::CItem() : m_pLife(std::make_shared<CItem* const>(this)) {}

CItem::~CItem() {
    m_pLife.reset();
    if (m_pMainWnd != nullptr) {
        if (m_nToolId >= 0) m_pMainWnd->RemoveTool(static_cast<UINT>(m_nToolId));
        m_pMainWnd->ForgetItem(this);
    }
    if (m_pParent != nullptr) m_pParent->RemoveChild(this);
    // Children outlive us only when their creator deletes them later: they
    // must not reach back into this object then.
    for (void* p : m_Children) static_cast<CItem*>(p)->m_pParent = nullptr;
}

void CItem::GetClassNameChain(CStringArray* out) {
    out->Add("CItem");
}

void CItem::Draw(CDibPicture* target, int x, int y, int left, int top, int right, int bottom) {
    const RECT clip{left, top, right, bottom};
    for (int i = 0; i < m_Children.GetSize(); ++i) {
        CItem* child = GetChild(i);
        if (!child->m_bVisible) continue;
        RECT r = child->m_rect;
        ::OffsetRect(&r, x, y);
        RECT part;
        if (!::IntersectRect(&part, &r, &clip)) continue;
        child->Draw(target, x + child->m_rect.left, y + child->m_rect.top, part.left, part.top,
                    part.right, part.bottom);
    }
}

void CItem::OnCreate() {}

void CItem::OnMove() {}

void CItem::OnMouseMove(UINT flags, int x, int y, CItem* captured) {
    if (IsCaptured() && !IsDragging()) {
        const POINT press{m_nPressX, m_nPressY};
        const POINT now{x, y};
        for (int i = m_DragAreas.GetSize() - 1; i >= 0; --i) {
            const DragArea& a = m_DragAreas[i];
            if (!::IsRectEmpty(&a.area) && !::PtInRect(&a.area, press)) continue;
            RECT th = a.threshold;
            ::OffsetRect(&th, press.x, press.y);
            if (::PtInRect(&th, now)) continue;
            DragArea copy = a;
            SetCapture(true);
            OnBeginDrag(copy);
            break;
        }
    }
    if (m_bForwardToParent && m_pParent != nullptr)
        m_pParent->OnMouseMove(flags, x + m_rect.left, y + m_rect.top, captured);
}

void CItem::OnMouseEnter(UINT /*flags*/, int /*x*/, int /*y*/, CItem* /*captured*/) {}

void CItem::OnMouseLeave(CItem* /*captured*/) {}

void CItem::OnLButtonDblClk(UINT flags, int x, int y) {
    if (m_bForwardToParent && m_pParent != nullptr)
        m_pParent->OnLButtonDblClk(flags, x + m_rect.left, y + m_rect.top);
}

void CItem::OnLButtonDown(UINT flags, int x, int y) {
    m_nPressX = x;
    m_nPressY = y;
    if (m_DragAreas.GetSize() > 0) SetCapture(false);
    if (m_bForwardToParent && m_pParent != nullptr)
        m_pParent->OnLButtonDown(flags, x + m_rect.left, y + m_rect.top);
}

void CItem::OnLButtonUp(UINT flags, int x, int y) {
    if (IsCaptured()) {
        bool dragging = IsDragging();
        // Releasing a drag delivers the drop to the item under the pointer,
        // whose host callback may delete this item.
        CItemRef self(this);
        ReleaseCapture();
        if (!self.IsAlive()) return;
        if (dragging) {
            // The drag's end may store a program, which rebuilds the rows
            // that dragged.
            OnEndDrag(x, y);
            if (!self.IsAlive()) return;
        }
    }
    if (m_bForwardToParent && m_pParent != nullptr)
        m_pParent->OnLButtonUp(flags, x + m_rect.left, y + m_rect.top);
}

void CItem::OnRButtonDown(UINT flags, int x, int y) {
    if (m_bForwardToParent && m_pParent != nullptr)
        m_pParent->OnRButtonDown(flags, x + m_rect.left, y + m_rect.top);
}

void CItem::OnRButtonUp(UINT flags, int x, int y) {
    if (m_bForwardToParent && m_pParent != nullptr)
        m_pParent->OnRButtonUp(flags, x + m_rect.left, y + m_rect.top);
}

void CItem::OnItemTimer() {}

void CItem::OnTick() {}

void CItem::OnBeginDrag(DragArea /*area*/) {}

void CItem::OnEndDrag(int /*x*/, int /*y*/) {}

void CItem::OnDropIn(UINT /*flags*/, int /*x*/, int /*y*/, CItem* /*dragged*/) {}

void CItem::OnKeyDown(UINT key, UINT repeat, UINT flags) {
    // A child's key (Delete) may delete children: the ones of this moment
    // that are still there get it, in order.
    std::vector<CItemRef> children;
    children.reserve(static_cast<std::size_t>(m_Children.GetSize()));
    for (int i = 0; i < m_Children.GetSize(); ++i) children.emplace_back(GetChild(i));
    for (const CItemRef& ref : children) {
        CItem* child = ref.Get();
        if (child != nullptr && child->m_bVisible) child->OnKeyDown(key, repeat, flags);
    }
}

void CItem::OnMouseWheel(UINT /*flags*/, short /*delta*/) {}

bool CItem::Create(CItem* parent, int left, int top, int right, int bottom) {
    if (parent != nullptr) {
        m_pParent = parent;
        parent->m_Children.Add(this);
        m_pMainWnd = parent->m_pMainWnd;
    }
    m_rect.SetRect(left, top, right, bottom);
    OnCreate();
    return true;
}

void CItem::SetRect(const RECT& rect) {
    Redraw();
    m_rect = rect;
    if (m_nToolId >= 0 && m_pMainWnd != nullptr)
        m_pMainWnd->SetToolRect(static_cast<UINT>(m_nToolId), GetWindowRect());
    Redraw();
    OnMove();
}

void CItem::SetVisible(bool visible) {
    if (m_nToolId >= 0 && m_pMainWnd != nullptr)
        m_pMainWnd->SetToolActive(static_cast<UINT>(m_nToolId), visible);
    bool changed = m_bVisible != visible;
    m_bVisible = visible;
    if (changed) Redraw();
}

CRect CItem::GetWindowRect() const {
    CRect r = m_rect;
    for (const CItem* p = m_pParent; p != nullptr; p = p->m_pParent)
        r.OffsetRect(p->m_rect.left, p->m_rect.top);
    return r;
}

bool CItem::IsMouseIn() const {
    if (!m_bVisible || m_pMainWnd == nullptr) return false;
    const MouseEventRec& m = m_pMainWnd->GetLastMouseEvent();
    CRect r = GetWindowRect();
    return r.PtInRect(CPoint(m.x, m.y));
}

void CItem::Redraw(const RECT* area, bool now) {
    CRect r = area != nullptr ? CRect(*area) : m_rect;
    const CItem* top = this;
    for (const CItem* p = m_pParent; p != nullptr; p = p->m_pParent) {
        r.OffsetRect(p->m_rect.left, p->m_rect.top);
        top = p;
    }
    // Only the root knows the window for certain; an item cut off from the
    // tree has nowhere to paint.
    CQMainWnd* wnd = top->m_pMainWnd;
    if (wnd == nullptr || r.IsRectEmpty()) return;
    wnd->AddPendingPaint(r);
    wnd->InvalidateRect(&r, FALSE);
    if (now && m_pParent == nullptr) wnd->SendMessage(WM_PAINT);
}

bool CItem::SetToolHint(const CString& text) {
    if (m_pMainWnd == nullptr) return m_nToolId >= 0;
    if (m_nToolId < 0) {
        m_nToolId = static_cast<int>(m_pMainWnd->AddTool(text, GetWindowRect()));
        // A hidden item shows no hint until it is shown.
        if (!m_bVisible) m_pMainWnd->SetToolActive(static_cast<UINT>(m_nToolId), false);
    } else {
        m_pMainWnd->UpdateToolText(static_cast<UINT>(m_nToolId), text);
    }
    return m_nToolId >= 0;
}

bool CItem::SetCapture(bool drag) {
    return m_pMainWnd != nullptr && m_pMainWnd->SetCaptureItem(this, drag);
}

bool CItem::ReleaseCapture() {
    return m_pMainWnd != nullptr && m_pMainWnd->ReleaseCaptureItem(this);
}

bool CItem::IsCaptured() const {
    return m_pMainWnd != nullptr && m_pMainWnd->GetCaptureItem() == this;
}

bool CItem::IsDragging() const {
    return IsCaptured() && m_pMainWnd->IsDragMode();
}

void CItem::SetTimer(int ms) {
    if (m_pMainWnd != nullptr) m_pMainWnd->SetItemTimer(this, ms);
}

int CItem::GetTimer() const {
    return m_pMainWnd != nullptr ? m_pMainWnd->GetItemTimer(this) : -1;
}

int CItem::AddDragArea(DragArea area) {
    int id = 0;
    for (bool used = true; used;) {
        used = false;
        for (const DragArea& a : m_DragAreas) {
            if (a.id == id) {
                used = true;
                ++id;
                break;
            }
        }
    }
    area.id = id;
    m_DragAreas.Add(area);
    return id;
}

bool CItem::RemoveDragArea(int id) {
    for (int i = 0; i < m_DragAreas.GetSize(); ++i) {
        if (m_DragAreas[i].id == id) {
            m_DragAreas.RemoveAt(i);
            return true;
        }
    }
    return false;
}

void CItem::CollectTree(CPtrArray* out) {
    out->Add(this);
    for (int i = 0; i < m_Children.GetSize(); ++i) GetChild(i)->CollectTree(out);
}

void CItem::CollectTree(std::vector<CItemRef>* out) {
    out->emplace_back(this);
    for (int i = 0; i < m_Children.GetSize(); ++i) GetChild(i)->CollectTree(out);
}

bool CItem::IsKindOf(const char* className) {
    CStringArray chain;
    GetClassNameChain(&chain);
    for (const CString& name : chain) {
        if (_mbscmp(name, className) == 0) return true;
    }
    return false;
}

CItem* CItem::HitTest(POINT point, POINT* local) {
    CItem* item = this;
    POINT pt = point;
    for (;;) {
        CItem* found = nullptr;
        for (int i = item->m_Children.GetSize() - 1; i >= 0; --i) {
            CItem* child = item->GetChild(i);
            if (child->m_bVisible && child->m_bHitTest && child->m_rect.PtInRect(pt)) {
                found = child;
                break;
            }
        }
        if (found == nullptr) break;
        pt.x -= found->m_rect.left;
        pt.y -= found->m_rect.top;
        item = found;
    }
    if (local != nullptr) *local = pt;
    return item;
}

void CItem::BringToFront() {
    if (m_pParent == nullptr) return;
    m_pParent->RemoveChild(this);
    m_pParent->m_Children.Add(this);
    Redraw();
}

void CItem::RemoveChild(CItem* child) {
    for (int i = 0; i < m_Children.GetSize(); ++i) {
        if (m_Children[i] == child) {
            m_Children.RemoveAt(i);
            return;
        }
    }
}

void CItem::ForgetMainWnd() {
    m_pMainWnd = nullptr;
    m_nToolId = -1;
    for (int i = 0; i < m_Children.GetSize(); ++i) GetChild(i)->ForgetMainWnd();
}
