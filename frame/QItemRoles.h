// What the main screen asks of particular kinds of items. The main screen
// holds every item by its description part (CQItem); an item that plays one
// of these roles also derives from the role, and the main screen reaches it
// with a cross-cast, so an item of another kind that happens to carry the
// looked-up name is never mistaken for one.
#pragma once

#include <quillon/TimeRect.h>
#include <quillon/platform/CString.h>
#include <quillon/platform/CTime.h>

class CQItem;

// A device item: its state as the host sets it, and its fade level for the
// opening animation.
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
    // The length of a reservation made by dropping the device.
    virtual void SetDefaultReservationLength(CTimeSpan length) = 0;

    static CQDeviceRole* Of(CQItem* item);
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
    virtual void RenewToolHint() = 0;

    static CQSlotButtonRole* Of(CQItem* item);
};

// The calendar's draw window, as far as the host moves it.
class CQCalendarRole {
public:
    virtual ~CQCalendarRole() = default;
    virtual bool SetDrawTimeRect(CTimeRect r) = 0;
    virtual CTimeRect GetDrawTimeRect() const = 0;
    virtual bool ScrollToDay(CTime day, CTime* clamped) = 0;
    // Lays out the day rows again from the program and log tables.
    virtual void RebuildDays() = 0;

    static CQCalendarRole* Of(CQItem* item);
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
};
