#include "frame/QItem.h"

#include <quillon/QMainScreen.h>

CQItem::CQItem(CQMainScreen* screen) : m_pMainScreen(screen) {}

CQItem::~CQItem() = default;

void CQItem::OnColorChanged() {}

void CQItem::OnViewModeChanged(int /*mode*/) {}

ViewPlacement* CQItem::GetViewPlacement(int view) {
    if (view < 0 || view >= kViews) return nullptr;
    return &m_ViewPlacement[view];
}

CString CQItem::GetPictureDirectory() const {
    return m_pMainScreen != nullptr ? m_pMainScreen->GetPictureDirectory() : CString();
}

COLORREF CQItem::GetColor() const {
    return m_pMainScreen != nullptr ? m_pMainScreen->GetColor() : 0xFFFFFF;
}

COLORREF CQItem::GetSelectColor() const {
    return m_pMainScreen != nullptr ? m_pMainScreen->GetSelectColor() : 0xFFFF00;
}

COLORREF CQItem::GetGrayColor() const {
    return m_pMainScreen != nullptr ? m_pMainScreen->GetGrayColor() : 0x808080;
}
