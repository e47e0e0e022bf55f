// The new-reservation button (NEWMAKE): tells the host that the user asks
// for a new reservation, by a click or by dropping a device on it. Gray
// while every slot holds a program; the host decides all the same.
#pragma once

#include "devices/QItemButton.h"

class CIniFile;

class CQItemNewmake : public CQItemButton {
public:
    CQItemNewmake(CQMainScreen* screen, CIniFile* ini);

    void GetClassNameChain(CStringArray* out) override;
    void Draw(CDibPicture* target, int x, int y, int left, int top, int right, int bottom) override;
    // The host gets the point in the button's own coordinates.
    void OnButtonClick(UINT flags, int x, int y) override;
    void OnDropIn(UINT flags, int x, int y, CItem* dragged) override;
};
