// A calendar scroll button (CALENDARSCROLLBUTTON): a click moves the
// calendar to the first weekday of the week before or after (KIND UP or
// DOWN); the wheel and something dragged and held over it move it by a day.
// It looks unavailable when one more day in its direction would leave the
// range of first days.
#pragma once

#include <quillon/platform/CTime.h>

#include "devices/QItemButton.h"

class CIniFile;

class CQItemCalScrollButton : public CQItemButton {
public:
    static constexpr int kUp = 0;
    static constexpr int kDown = 1;

    CQItemCalScrollButton(CQMainScreen* screen, CIniFile* ini);

    void Draw(CDibPicture* target, int x, int y, int left, int top, int right, int bottom) override;
    void OnButtonClick(UINT flags, int x, int y) override;
    void OnDragRepeat(CItem* held) override;
    void OnMouseWheel(UINT flags, short delta) override;

    // kUp, kDown, or -1 for a KIND that names neither.
    int GetDirection() const { return m_nDirection; }
    // One day further in the button's direction is still an allowed first
    // day. A button without a direction, or without a calendar to move, is
    // never available.
    bool IsAvailable();

protected:
    bool OnSectionKey(const CStringArray& tokens, int view) override;

private:
    // -1 (UP), +1 (DOWN) or 0.
    int Step() const;
    void WeekStep();
    void DayStep();
    // Moves the calendar's first row to t, or the nearest allowed day.
    void ShowDay(CTime t);

    int m_nDirection = -1;
};
