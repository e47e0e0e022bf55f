// An item that fills its area with a colour and then draws a picture of its
// own (DrawPicture) under its children.
#pragma once

#include "frame/Item.h"

class CItemBase : public CItem {
public:
    CItemBase();

    void GetClassNameChain(CStringArray* out) override;
    void Draw(CDibPicture* target, int x, int y, int left, int top, int right, int bottom) override;
    // Slot 20: the item's own picture, between the fill and the children.
    virtual void DrawPicture(CDibPicture* target, int x, int y, int left, int top, int right,
                             int bottom);
    // Whether DrawPicture paints every pixel of the clip opaquely, so that
    // the fill under it would never be seen.
    virtual bool PictureCovers(int x, int y, int left, int top, int right, int bottom);

    COLORREF GetFillColor() const { return m_crFill; }
    void SetFillColor(COLORREF color) { m_crFill = color; }

private:
    COLORREF m_crFill;
};
