#include "devices/ItemDragFrame.h"

#include <quillon/QMainScreen.h>

#include "frame/IniFile.h"
#include "frame/ItemAnimation.h"
#include "frame/pictures/MaskPicture.h"

CItemDragFrame::CItemDragFrame(CQMainScreen* screen, CIniFile* ini) : CQItem(screen, this) {
    CreateOverRoot();
    CStringArray tokens;
    int view = 0;
    while (ParseCommonKey(ini, &tokens, &view)) {
    }
    SetHitTest(false);
}

CItemDragFrame::~CItemDragFrame() = default;

void CItemDragFrame::SetAnimation(const CItemAnimation* animation) {
    m_pAnime.reset();
    if (animation == nullptr) return;
    m_pAnime = std::make_unique<CItemAnimation>();
    m_pAnime->CopyFrom(animation);
}

bool CItemDragFrame::ClearAnimation() {
    if (!m_pAnime) return false;
    m_pAnime.reset();
    Redraw();
    return true;
}

void CItemDragFrame::SetPos(int x, int y) {
    m_nX = x;
    m_nY = y;
    Redraw();
}

void CItemDragFrame::Draw(CDibPicture* target, int x, int y, int left, int top, int right,
                          int bottom) {
    if (CMaskPicture* frame = m_pAnime ? m_pAnime->GetFrame() : nullptr) {
        const CRect self = GetWindowRect();
        frame->SetColor(GetColor());
        frame->SetOpacity(128);
        frame->Draw(target, m_nX + x - self.left, m_nY + y - self.top);
    }
    CItem::Draw(target, x, y, left, top, right, bottom);
}
