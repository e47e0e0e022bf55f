#include "frame/ItemBase.h"

#include "frame/pictures/DibPicture.h"

CItemBase::CItemBase() : m_crFill(GetSysColor(COLOR_WINDOW)) {}

void CItemBase::GetClassNameChain(CStringArray* out) {
    CItem::GetClassNameChain(out);
    out->Add("CItemBase");
}

void CItemBase::Draw(CDibPicture* target, int x, int y, int left, int top, int right, int bottom) {
    CDC* dc = target->GetMemDC();
    if (dc != nullptr && !PictureCovers(x, y, left, top, right, bottom)) {
        const RECT clip{left, top, right, bottom};
        dc->FillSolidRect(&clip, m_crFill);
    }
    DrawPicture(target, x, y, left, top, right, bottom);
    CItem::Draw(target, x, y, left, top, right, bottom);
}

bool CItemBase::PictureCovers(int /*x*/, int /*y*/, int /*left*/, int /*top*/, int /*right*/,
                              int /*bottom*/) {
    return false;
}

void CItemBase::DrawPicture(CDibPicture* /*target*/, int /*x*/, int /*y*/, int /*left*/,
                            int /*top*/, int /*right*/, int /*bottom*/) {}
