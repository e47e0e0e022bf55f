// The go-to-today button (GOTODAYBUTTON): shows the current week in the
// calendar.
#pragma once

#include "devices/QItemButton.h"

class CIniFile;

class CQItemGoToday : public CQItemButton {
public:
    CQItemGoToday(CQMainScreen* screen, CIniFile* ini);

    // The still icon, normal while enabled, else gray.
    void Draw(CDibPicture* target, int x, int y, int left, int top, int right, int bottom) override;
    void OnButtonClick(UINT flags, int x, int y) override;
};
