// One day row of the calendar: a label with the date and the weekday, and a
// time line with the day's program and log bars. Programs are selected,
// double-clicked, dragged and stretched here; devices are dropped here.
#pragma once

#include <memory>
#include <vector>

#include <quillon/QProg.h>
#include <quillon/QProgLog.h>
#include <quillon/TimeRect.h>

#include "frame/Item.h"

class CQItemCal;
class CQItemCalDay;
class CQMainScreen;

// One bar: an occurrence of a program on the row, or the part of a log that
// falls on it. Entries name the tables by index, so they are rebuilt with
// every change of the tables.
class CalDayEntry {
public:
    enum Kind : BYTE { kProgram = 0, kLog = 1 };

    // A program bar is one of the owner's drag areas.
    CalDayEntry(CQItemCalDay* owner, int index, int areaId, CTimeRect range);
    // A log bar keeps its rectangle.
    CalDayEntry(CQItemCalDay* owner, int index, const CRect& rect, CTimeRect range);
    ~CalDayEntry();
    CalDayEntry(const CalDayEntry&) = delete;
    CalDayEntry& operator=(const CalDayEntry&) = delete;

    BYTE GetKind() const { return m_kind; }
    int GetIndex() const { return m_nIndex; }
    int GetAreaId() const { return m_nAreaId; }
    CTimeRect GetTimeRect() const { return m_range; }
    CRect GetBarRect() const;
    // Copies of the table entry; false when the table changed under it.
    bool GetProg(CQProg* out) const;
    bool GetLog(CQProgLog* out) const;
    // 0 left edge, 1 body, 2 right edge; -1 off the bar or for a log.
    int HitGrip(int x, int y) const;
    // A program whose slot the calendar's drag state holds.
    bool IsDragging() const;

private:
    CQItemCalDay* m_pOwner;
    BYTE m_kind;
    int m_nIndex;
    int m_nAreaId = -1;
    CRect m_rect;
    CTimeRect m_range;
};

class CQItemCalDay : public CItem {
public:
    CQItemCalDay();
    ~CQItemCalDay() override;

    void GetClassNameChain(CStringArray* out) override;
    void Draw(CDibPicture* target, int x, int y, int left, int top, int right, int bottom) override;
    void OnMouseMove(UINT flags, int x, int y, CItem* captured) override;
    void OnMouseLeave(CItem* captured) override;
    void OnLButtonDblClk(UINT flags, int x, int y) override;
    void OnLButtonDown(UINT flags, int x, int y) override;
    void OnRButtonDown(UINT flags, int x, int y) override;
    void OnRButtonUp(UINT flags, int x, int y) override;
    void OnBeginDrag(DragArea area) override;
    void OnEndDrag(int x, int y) override;
    void OnDropIn(UINT flags, int x, int y, CItem* dragged) override;

    // Stores the range, learns whether it is past, today or ahead, and
    // rebuilds the bars.
    bool SetDayTimeRect(CTimeRect range);
    CTimeRect GetDayTimeRect() const { return m_range; }
    // 0 before today, 1 today, 2 after today.
    int GetDayState() const { return m_nDayState; }
    void RebuildEntries();

    // Offsets on the time line (0 is its left edge, row x 111) and back.
    int TimeToX(CTime t) const;
    void XToTime(int d, CTime* out) const;
    bool GetBarRect(CRect* out, CTimeRect range) const;
    // The bar under x (programs before logs), -1 for none.
    int HitEntry(int x) const;
    bool GetProgAt(int x, CQProg* out) const;
    bool GetLogAt(int x, CQProgLog* out) const;

    int GetEntryCount() const { return static_cast<int>(m_Entries.size()); }
    const CalDayEntry* GetEntry(int i) const {
        return m_Entries[static_cast<std::size_t>(i)].get();
    }

    CQItemCal* GetCalendar() const;
    CQMainScreen* GetMainScreen() const;

private:
    void DeleteEntries();
    void ShowGripCursor(int grip);
    // The host hears of the program or log under x.
    void ReportRightButton(int x, void (CQMainScreen::*onProg)(CQProg),
                           void (CQMainScreen::*onLog)(CQProgLog));

    int m_nDayState = 0;
    CTimeRect m_range;
    std::vector<std::unique_ptr<CalDayEntry>> m_Entries;
};

// Fills a bar; weight -1 is opaque, the ladder look marks a program too
// short to be seen at its true length.
void DrawBar(CDibPicture* target, int l, int t, int r, int b, COLORREF color, int weight,
             bool ladder);
