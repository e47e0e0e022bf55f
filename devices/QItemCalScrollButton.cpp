#include "devices/QItemCalScrollButton.h"

#include <quillon/QMainScreen.h>

#include "frame/QItemRoles.h"
#include "frame/QMainScreenInternal.h"
#include "schedule/LocalDays.h"

namespace {

CQItemButton::Style ScrollStyle() {
    CQItemButton::Style s;
    s.createBeforeKeys = true;
    s.animated = true;
    s.repeatKey = true;
    return s;
}

}  // namespace

CQItemCalScrollButton::CQItemCalScrollButton(CQMainScreen* screen, CIniFile* ini)
    : CQItemButton(screen, ScrollStyle()) {
    ReadSection(ini);
}

bool CQItemCalScrollButton::OnSectionKey(const CStringArray& tokens, int /*view*/) {
    if (_mbscmp(tokens[0], "KIND") != 0) return false;
    if (_mbscmp(tokens[1], "UP") == 0) {
        m_nDirection = kUp;
    } else if (_mbscmp(tokens[1], "DOWN") == 0) {
        m_nDirection = kDown;
    } else {
        m_nDirection = -1;
    }
    return true;
}

int CQItemCalScrollButton::Step() const {
    if (m_nDirection == kUp) return -1;
    if (m_nDirection == kDown) return 1;
    return 0;
}

// Calendar days, not 86 400 seconds: across a daylight-saving change a
// fixed span would land on the wrong date.
bool CQItemCalScrollButton::IsAvailable() {
    CQCalendarRole* cal = GetCalendar();
    if (cal == nullptr) return false;
    CTime t;
    cal->GetFirstDay(&t);
    return cal->ClampDrawDay(AddLocalDays(t, Step()), nullptr);
}

void CQItemCalScrollButton::Draw(CDibPicture* target, int x, int y, int left, int top, int right,
                                 int bottom) {
    DrawAnimatedButton(target, x, y, left, top, right, bottom, IsAvailable());
}

void CQItemCalScrollButton::ShowDay(CTime t) {
    CQMainScreen* screen = GetMainScreen();
    CQCalendarRole* cal = GetCalendar();
    if (cal == nullptr) return;
    cal->ClampDrawDay(t, &t);
    cal->ScrollToDay(t, nullptr);
    // Both scroll buttons may change their look with the first day.
    screen->AllRedraw(false);
}

void CQItemCalScrollButton::WeekStep() {
    CQMainScreen* screen = GetMainScreen();
    CQCalendarRole* cal = GetCalendar();
    if (cal == nullptr || Step() == 0) return;
    const int first = screen->GetCalendarBeginWeek();
    CTime t;
    cal->GetFirstDay(&t);
    // At least one step, at most a week (a first weekday that is none).
    for (int i = 0; i < 7; ++i) {
        t = AddLocalDays(t, Step());
        if (t.GetDayOfWeek() - 1 == first) break;
    }
    ShowDay(t);
}

void CQItemCalScrollButton::DayStep() {
    CQCalendarRole* cal = GetCalendar();
    if (cal == nullptr || Step() == 0) return;
    CTime t;
    cal->GetFirstDay(&t);
    ShowDay(AddLocalDays(t, Step()));
}

void CQItemCalScrollButton::OnButtonClick(UINT /*flags*/, int /*x*/, int /*y*/) {
    WeekStep();
}

void CQItemCalScrollButton::OnDragRepeat(CItem* held) {
    // A program bar (its day row holds the drag) or a device kept over the
    // button scrolls one day per repeat.
    if (held != nullptr && (held->IsKindOf("CQItemCalDay") || held->IsKindOf("CQItemDevice")))
        DayStep();
}

void CQItemCalScrollButton::OnMouseWheel(UINT /*flags*/, short delta) {
    CQMainScreen* screen = GetMainScreen();
    if (screen == nullptr || screen->GetViewMode() != 2) return;
    // A notch away from the user goes back in time, towards the user on.
    if ((m_nDirection == kUp && delta > 0) || (m_nDirection == kDown && delta < 0)) DayStep();
}
