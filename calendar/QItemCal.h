// The calendar: a column of day rows under an hour scale. It keeps the time
// window the rows show, turns points into instants and back, and holds the
// one drag state (a program bar being dragged, or a dragged device's
// proposal). Every click and drop on it lands on a row.
#pragma once

#include <memory>
#include <vector>

#include <quillon/TimeRect.h>

#include "calendar/QItemCalDay.h"
#include "frame/Item.h"
#include "frame/QItem.h"
#include "frame/QItemRoles.h"

class CBitmapFont;
class CIniFile;
class CMaskPicture;

class CQItemCal : public CItem, public CQItem, public CQCalendarRole {
public:
    // Pixels left of a row's time line (its label).
    static constexpr int kLabelWidth = 111;

    CQItemCal(CQMainScreen* screen, CIniFile* ini);
    ~CQItemCal() override;

    void GetClassNameChain(CStringArray* out) override;
    void Draw(CDibPicture* target, int x, int y, int left, int top, int right, int bottom) override;
    void OnCreate() override;
    void OnMove() override;
    void OnColorChanged() override;
    void OnViewModeChanged(int mode) override;

    // Deletes the rows and makes as many as the height holds.
    bool CreateDays();
    // Row i shows the draw window on the i-th following date.
    bool RelayoutDays();

    // Only the times of day of `r` count; false (nothing changes) unless
    // the begin comes before the end on the first row's date.
    bool SetDrawTimeRect(CTimeRect r) override;
    CTimeRect GetDrawTimeRect() const override { return m_DrawTime; }
    bool ScrollToDay(CTime day, CTime* clamped) override;
    bool ClampDrawDay(CTime t, CTime* out) override;
    void GotoThisWeek() override;
    void GotoWeek(CTime t) override;
    void GetFirstDay(CTime* out) override;
    void RebuildDays() override { RelayoutDays(); }

    CQItemCalDay* GetDayAtY(int y) override;
    bool PointToTime(int x, int y, CTime* out) override;
    bool TimeToPoint(CTime t, CPoint* out) override;

    CalDragInfo* BeginProgDrag(const CalDragInfo& info) override;
    void EndProgDrag() override;
    CalDragInfo* GetDragInfo() override { return m_pDrag.get(); }
    int GetDragSlotNo() override;
    // The program the drag state's initial one becomes for a pointer at
    // (x, y): -1 where it cannot go, else the reservation check's code.
    int CalcDragProg(int x, int y, CQProg* out) override;

    int GetDayCount() const { return static_cast<int>(m_Days.size()); }
    CQItemCalDay* GetDay(int i) const { return m_Days[static_cast<std::size_t>(i)]; }
    CBitmapFont* GetWeekFont() const { return m_pWeekFont.get(); }
    // The picture of a local weekday (0 Sunday), null when there is none.
    CMaskPicture* GetWeekdayPicture(int weekday) const;

    // The hours the scale numbers, in the order they are drawn.
    static std::vector<unsigned> ScaleHours(CTimeRect window);

private:
    void ReadSection(CIniFile* ini);
    void DeleteDays();
    // The date `weekday` last fell on, at or before the date of `t`.
    CTime WeekStart(CTime t) const;

    std::vector<CQItemCalDay*> m_Days;  // owned
    CTimeRect m_DrawTime;
    std::unique_ptr<CBitmapFont> m_pWeekFont;
    std::vector<std::unique_ptr<CMaskPicture>> m_WeekdayPictures;
    std::unique_ptr<CalDragInfo> m_pDrag;
};
