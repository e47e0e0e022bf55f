#include "devices/QItemGoToday.h"

#include <quillon/QMainScreen.h>

#include "frame/QItemRoles.h"
#include "frame/QMainScreenInternal.h"

namespace {

CQItemButton::Style GoTodayStyle() {
    CQItemButton::Style s;
    s.createBeforeKeys = false;
    s.dimBackground = true;
    s.redrawOnViewChange = true;
    s.redrawOnColorChange = true;
    return s;
}

}  // namespace

CQItemGoToday::CQItemGoToday(CQMainScreen* screen, CIniFile* ini)
    : CQItemButton(screen, GoTodayStyle()) {
    ReadSection(ini);
}

void CQItemGoToday::Draw(CDibPicture* target, int x, int y, int left, int top, int right,
                         int bottom) {
    DrawIcon(target, x, y, left, top, right, bottom, GetStillIcon(),
             IsEnabled() ? GetColor() : GetGrayColor());
}

void CQItemGoToday::OnButtonClick(UINT /*flags*/, int /*x*/, int /*y*/) {
    CQMainScreen* screen = GetMainScreen();
    if (screen == nullptr) return;
    CQCalendarRole* cal = GetCalendar();
    if (cal == nullptr) return;
    cal->GotoThisWeek();
    // The scroll buttons' look follows the first day.
    screen->AllRedraw(false);
}
