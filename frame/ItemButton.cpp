#include "frame/ItemButton.h"

#include <quillon/platform/CTime.h>

#include "frame/pictures/DibPicture.h"

CItemButton::CItemButton() = default;

void CItemButton::GetClassNameChain(CStringArray* out) {
    CItem::GetClassNameChain(out);
    out->Add("CItemButton");
}

void CItemButton::Draw(CDibPicture* target, int x, int y, int left, int top, int right,
                       int bottom) {
    CDC* dc = target->GetMemDC();
    if (dc != nullptr) {
        // Keep the edges inside this item's share of the clip.
        RECT saved = target->GetClipRect();
        RECT clip{left, top, right, bottom};
        RECT inner;
        if (::IntersectRect(&inner, &saved, &clip)) {
            target->SetClipRect(inner.left, inner.top, inner.right, inner.bottom);
            RECT r{x, y, x + GetRect().Width(), y + GetRect().Height()};
            switch (GetButtonState()) {
                case 0: {
                    CBrush white(RGB(255, 255, 255));
                    dc->FrameRect(&r, &white);
                    break;
                }
                case 1:
                    dc->DrawEdge(&r, EDGE_RAISED, BF_RECT);
                    break;
                case 2:
                    dc->DrawEdge(&r, EDGE_SUNKEN, BF_RECT);
                    break;
                default:
                    dc->InvertRect(&r);
                    dc->DrawEdge(&r, EDGE_SUNKEN, BF_RECT);
                    break;
            }
            target->SetClipRect(saved.left, saved.top, saved.right, saved.bottom);
        }
    }
    CItem::Draw(target, x, y, left, top, right, bottom);
}

void CItemButton::OnMouseEnter(UINT flags, int x, int y, CItem* captured) {
    if (captured != this) {
        m_pHeldItem = captured;
        m_dwHeldSince = timeGetTime();
    }
    CItem::OnMouseEnter(flags, x, y, captured);
    Redraw();
}

void CItemButton::OnMouseLeave(CItem* captured) {
    m_bPressed = false;
    m_pHeldItem = CItemRef();
    CItem::OnMouseLeave(captured);
    Redraw();
}

void CItemButton::OnLButtonDown(UINT flags, int x, int y) {
    if (IsMouseIn()) {
        m_bPressed = true;
        Redraw();
        SetCapture(false);
    }
    CItem::OnLButtonDown(flags, x, y);
}

void CItemButton::OnLButtonUp(UINT flags, int x, int y) {
    const CRect& r = GetRect();
    bool click = !IsDragging() && m_bPressed && x >= 0 && y >= 0 && x < r.Width() && y < r.Height();
    // A drag that ends on the button it started from leaves it unpressed too.
    m_bPressed = false;
    Redraw();
    // The release may end a drag whose drop deletes this button.
    CItemRef self(this);
    CItem::OnLButtonUp(flags, x, y);
    if (click && self.IsAlive()) OnButtonClick(flags, x, y);
}

void CItemButton::OnTick() {
    CItem* held = m_pHeldItem.Get();
    if (held == nullptr) return;
    // The repeat is for an item still being held: once it has been dropped
    // (or let go of) over the button, it stops.
    if (!held->IsCaptured()) {
        m_pHeldItem = CItemRef();
        return;
    }
    DWORD now = timeGetTime();
    if (now - m_dwHeldSince > static_cast<DWORD>(m_nRepeatInterval)) {
        m_dwHeldSince = now;
        OnDragRepeat(held);
    }
}

void CItemButton::OnButtonClick(UINT /*flags*/, int /*x*/, int /*y*/) {}

void CItemButton::OnDragRepeat(CItem* /*held*/) {}

int CItemButton::GetButtonState() const {
    if (IsDragging()) return 3;
    bool in = IsMouseIn();
    if (in && m_bPressed) return 2;
    if (in) return 1;
    return 0;
}
