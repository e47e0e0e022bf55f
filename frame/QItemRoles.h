// What one kind of item asks of another. The main screen holds every item by
// its description part (CQItem); an item that plays one of these roles also
// derives from the role, and is reached through it with `Of`, so an item of
// another kind that happens to carry the looked-up name is never mistaken
// for one, and calendar/ and devices/ never include each other.
//
// Who implements and who may use each role:
//   CQDeviceRole      devices/ implements; frame/ (device states, fading,
//                     default length) and calendar/ (a device dropped on a
//                     day row) use it.
//   CQSlotButtonRole  devices/ implements; frame/ uses it (free slots, the
//                     slot buttons' order and tool hints).
//   CQCalendarRole    calendar/ implements; frame/ (draw window, rebuilds)
//                     and devices/ (the proposal of a device drag, drops of
//                     program bars on command buttons) use it.
//   CQConnectRole     devices/ implements; frame/ uses it.
// Within its own folder an item uses the concrete classes directly.
#pragma once

#include <quillon/QProg.h>
#include <quillon/TimeRect.h>
#include <quillon/platform/CString.h>
#include <quillon/platform/CTime.h>
#include <quillon/platform/Geometry.h>

class CItem;
class CQItem;

// The calendar's one drag state: a program bar being dragged, or the
// proposal a dragged device makes over the calendar.
struct CalDragInfo {
    CQProg initial;        // the program as it was when the drag began
    CTimeRect occurrence;  // the grabbed bar (one run on one day)
    int grip = -1;         // 0 left edge, 1 body, 2 right edge; -1 no bar
    CQProg changed;        // what the pointer position makes of it
    bool shown = false;    // the ghost is drawn and a drop may be taken
};

// A device item: its state as the host sets it, its fade level for the
// opening animation, and what a reservation made by dropping it gets.
class CQDeviceRole {
public:
    virtual ~CQDeviceRole() = default;
    // Stores the state and its text and redraws (the range was checked by
    // the caller).
    virtual void SetState(int state, CString text) = 0;
    virtual int GetState() const = 0;
    virtual CString GetDeviceText() const = 0;
    // The speaker's mute flag, kept apart from its state.
    virtual void SetMute(bool mute) = 0;
    virtual bool GetMute() const = 0;
    // 0 (invisible) to 256 (opaque) on every picture of the device.
    virtual bool SetFadeLevel(int level) = 0;
    // The NAME, which the host's drop callbacks carry.
    virtual CString GetDeviceName() const = 0;
    // The kind of a reservation made by dropping the device, by its name
    // (CQProg's default kind for a name that gives none).
    virtual int GetProgKind() const = 0;
    // The length of a reservation made by dropping the device.
    virtual void SetDefaultLength(CTimeSpan length) = 0;
    virtual CTimeSpan GetDefaultLength() const = 0;
    // Where the label stands, in window coordinates; false for a device
    // without one.
    virtual bool GetLabelRect(CRect* /*out*/) const { return false; }

    static CQDeviceRole* Of(CQItem* item);
    static CQDeviceRole* Of(CItem* item);
};

// A slot button: the two tool hint formats of the SLOTBUTTON_ALL line (the
// first for a free slot, the second for a slot holding a program).
class CQSlotButtonRole {
public:
    virtual ~CQSlotButtonRole() = default;
    virtual void SetToolHintFormats(CString freeSlot, CString usedSlot) = 0;
    // The SLOTNO of the section; -1 when it has none.
    virtual int GetSlotNo() const = 0;
    // Renews the tool hint from the slot's program (or its absence).
    virtual void UpdateToolHint() = 0;

    static CQSlotButtonRole* Of(CQItem* item);
    static CQSlotButtonRole* Of(CItem* item);
};

// The calendar: its draw window as the host moves it, and what the device
// drag and the command buttons need of its rows and its drag state. Points
// are in the calendar's own coordinates.
class CQCalendarRole {
public:
    virtual ~CQCalendarRole() = default;
    virtual bool SetDrawTimeRect(CTimeRect r) = 0;
    virtual CTimeRect GetDrawTimeRect() const = 0;
    virtual bool ScrollToDay(CTime day, CTime* clamped) = 0;
    // The range of first days: false with the nearest allowed day in `out`.
    virtual bool ClampDrawDay(CTime t, CTime* out) = 0;
    // The first row shows the first weekday of today's week / t's week, or
    // the nearest allowed day.
    virtual void GotoThisWeek() = 0;
    virtual void GotoWeek(CTime t) = 0;
    // The date (00:00) the first row shows.
    virtual void GetFirstDay(CTime* out) = 0;
    // Lays out the day rows again from the program and log tables.
    virtual void RebuildDays() = 0;
    // The day row under a vertical position, null when there is none.
    virtual CItem* GetDayAtY(int y) = 0;
    // The instant under a point; false where no row is.
    virtual bool PointToTime(int x, int y, CTime* out) = 0;
    // Where an instant is drawn; false when no row shows it.
    virtual bool TimeToPoint(CTime t, CPoint* out) = 0;
    // A copy of `info` becomes the drag state; null (and nothing changes)
    // while one exists.
    virtual CalDragInfo* BeginProgDrag(const CalDragInfo& info) = 0;
    virtual void EndProgDrag() = 0;
    // The drag state, null when nothing is dragged.
    virtual CalDragInfo* GetDragInfo() = 0;
    // The slot of the drag state's changed program, -1 without one.
    virtual int GetDragSlotNo() = 0;
    // What the drag state's initial program becomes for a pointer at (x, y):
    // -1 where it cannot go, else the reservation check's code.
    virtual int CalcDragProg(int x, int y, CQProg* out) = 0;

    static CQCalendarRole* Of(CQItem* item);
    static CQCalendarRole* Of(CItem* item);
};

// The connection line item of the TOP section.
class CQConnectRole {
public:
    virtual ~CQConnectRole() = default;
    virtual void AddDubbing(CString from, CString to) = 0;
    virtual void ClearDubbing() = 0;
    virtual void AddConnect(CString from, CString to) = 0;
    virtual void ClearConnect() = 0;

    static CQConnectRole* Of(CQItem* item);
    static CQConnectRole* Of(CItem* item);
};
