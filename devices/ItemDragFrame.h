// The half-translucent copy of a dragged device's icon that follows the
// mouse. It covers the whole screen and lets the mouse and drops through;
// between drags it draws nothing.
#pragma once

#include <memory>

#include "frame/Item.h"
#include "frame/QItem.h"

class CIniFile;
class CItemAnimation;

class CItemDragFrame : public CItem, public CQItem {
public:
    CItemDragFrame(CQMainScreen* screen, CIniFile* ini);
    ~CItemDragFrame() override;

    void Draw(CDibPicture* target, int x, int y, int left, int top, int right, int bottom) override;
    // The frame keeps covering the whole screen in every view.
    void OnViewModeChanged(int /*mode*/) override {}
    void OnColorChanged() override {}

    // A copy of `animation` (frames, order, position, running state).
    void SetAnimation(const CItemAnimation* animation);
    // False when there was no copy.
    bool ClearAnimation();
    CItemAnimation* GetAnimation() const { return m_pAnime.get(); }
    // Window coordinates of the copy's top-left corner; redraws the frame.
    void SetPos(int x, int y);
    CPoint GetPos() const { return CPoint(m_nX, m_nY); }

private:
    std::unique_ptr<CItemAnimation> m_pAnime;
    int m_nX = 0;
    int m_nY = 0;
};
