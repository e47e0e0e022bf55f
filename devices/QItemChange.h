// The change button (CHANGE): hands the selected program to the host when
// clicked, or the program whose bar is dropped on it, and stores what the
// host makes of the dropped one when it agrees.
#pragma once

#include "devices/QItemButton.h"

class CIniFile;

class CQItemChange : public CQItemButton {
public:
    CQItemChange(CQMainScreen* screen, CIniFile* ini);

    // The still icon, in the normal colour while a program is selected and
    // the button is enabled, else gray.
    void Draw(CDibPicture* target, int x, int y, int left, int top, int right, int bottom) override;
    void OnButtonClick(UINT flags, int x, int y) override;
    void OnDropIn(UINT flags, int x, int y, CItem* dragged) override;
};
