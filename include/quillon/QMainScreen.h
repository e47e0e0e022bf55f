// The main screen: the object a host constructs (and derives from) to get the
// skinned screen, and the keeper of the program and log tables.
#pragma once

#include <quillon/QProg.h>
#include <quillon/QProgLog.h>
#include <quillon/TimeRect.h>
#include <quillon/platform/Arrays.h>
#include <quillon/platform/CString.h>
#include <quillon/platform/CTime.h>
#include <quillon/platform/Geometry.h>
#include <quillon/platform/Types.h>
#include <quillon/platform/Window.h>

class CItem;
class CQItem;
class CItemBackground;
class CQMainWnd;
class CIniFile;
class CQDeviceRole;
class CQMainScreenInternal;

class CQMainScreen : public CObject {
    // The items (calendar, day rows, balloon, devices, command buttons)
    // work the program table through the private operations below, which
    // the library's own CQMainScreenInternal passes on to them.
    friend class CQMainScreenInternal;

public:
    // iniPath and pictureDir may be null: both then default to the folder of
    // the running executable.
    CQMainScreen(const char* className, CWnd* parent, CRect rect, CString* iniPath = nullptr,
                 CString* pictureDir = nullptr);
    ~CQMainScreen() override;
    CQMainScreen(const CQMainScreen&) = delete;
    CQMainScreen& operator=(const CQMainScreen&) = delete;

    // Callbacks to the host, in slot order. The library's bodies do
    // nothing; those with a result consent (true). Names are the NAMEs of
    // the items; points are in the host window's client coordinates unless
    // said otherwise.
    // A device was clicked.
    virtual void OnClick(CString name, unsigned int flags, CPoint point);
    // The background or a device was double-clicked.
    virtual void OnLButtonDblClk(CString name, unsigned int flags, CPoint point);
    // The left button went down / up on the background itself.
    virtual void OnLButtonDown(CString name, unsigned int flags, CPoint point);
    virtual void OnLButtonUp(CString name, unsigned int flags, CPoint point);
    // The right button went down / up on a device.
    virtual void OnRButtonDown(CString name, unsigned int flags, CPoint point);
    virtual void OnRButtonUp(CString name, unsigned int flags, CPoint point);
    // The device `dragged` was dropped on the device `name`.
    virtual void OnDropOut(CString name, unsigned int flags, CPoint point, CString dragged);
    // A day row was double-clicked where it shows no program or log.
    virtual void OnCalendar_DayLButtonDblClk(CTime time);
    virtual void OnCalendar_ProgLButtonDblClk(CQProg* prog);
    virtual void OnCalendar_ProgRButtonDown(CQProg prog);
    virtual void OnCalendar_ProgRButtonUp(CQProg prog);
    virtual void OnCalendar_LogLButtonDblClk(CQProgLog log);
    virtual void OnCalendar_LogRButtonDown(CQProgLog log);
    virtual void OnCalendar_LogRButtonUp(CQProgLog log);
    // A device was dropped on a day row: [begin, end) is the proposal. The
    // library's body redraws the screen.
    virtual void OnCalendar_DropOut(CString name, CTime begin, CTime end);
    // A program was dragged to a new place / is to be deleted.
    virtual bool OnCalendar_ProgChange(CQProg* prog);
    virtual bool OnCalendar_ProgDelete(CQProg* prog);
    virtual void OnNewmake_Click(CString name, unsigned int flags, CPoint point);
    // A device was dropped on the new-reservation button.
    virtual void OnNewmake_DropOut(CString name);
    // A program bar was dropped on the change button.
    virtual bool OnChange_DropOut(CString name, CQProg* prog);
    virtual void OnChange_Click(CQProg prog);
    // Never called by the screen.
    virtual void OnSliderChange(CString name, int value);

    CWnd* GetpCWnd() const;
    // 0 "AUDIO", 1 "LUNCHER", 2 "TIMER"; -1 for any other name.
    static int ViewName2No(CString name);
    // Modes 0 to 3 (3 is the mode right after construction); any other mode
    // is refused (false) and nothing changes.
    bool SetViewMode(int mode);
    int GetViewMode() const { return m_nViewMode; }

    // Loads the background picture from `path` as given. On failure the
    // background has no picture, a box says so, and GetBgBmp keeps the last
    // picture that loaded.
    bool ChangeBgBmp(CString path);
    CString GetBgBmp() const;
    // Background drawing: 0 tiles the picture from the top-left corner, 1
    // stretches it over the window. Any other mode is refused (false).
    bool SetDrawBgMode(int mode);
    int GetDrawBgMode() const { return m_nDrawBgMode; }
    // The items learn of a new colour; they show it when next drawn.
    void ChangeColor(COLORREF color);
    void ChangeSelectColor(COLORREF color);
    COLORREF GetColor() const { return m_crNormal; }
    COLORREF GetSelectColor() const { return m_crSelect; }
    COLORREF GetGrayColor() const { return m_crGray; }

    // The calendar's draw window; without a calendar these do nothing (the
    // getter leaves its outputs, SetScheduleDrawDay returns false). An end
    // not after the begin means the next day's time.
    void ChangeCalendarDrawTimeRect(CTime begin, CTime end);
    void GetCalendarDrawTimeRect(CTime* begin, CTime* end);
    // The first weekday of the calendar's week jumps, 0 (Sunday) to 6; with
    // any other value a jump shows the date itself.
    void SetCalendarBeginWeek(int weekday);
    int GetCalendarBeginWeek() const { return m_nCalendarBeginWeek; }
    bool SetScheduleDrawDay(CTime day);

    // Sound effects on or off.
    void SeOn(bool on);
    bool IsSe() const { return m_bSe; }
    // The devices fly in from the centre, fading in (about 0.7 s).
    void Opening();
    static bool IsCalendarCItem(CItem* item);

    // Device states (ignored outside their range, and without a device of
    // that name, whose getters then return -1).
    void SetStateCDDVD(int state);  // 0 to 5
    int GetStateCDDVD();
    void SetStateMD(int state);  // 0 to 6
    int GetStateMD();
    void SetStateFM(int state);  // 0 to 1
    int GetStateFM();
    // 0 to 1, with the text the device shows; the getter fills `text` with it.
    void SetStateNKX(int state, CString text);
    int GetStateNKX(CString* text);
    void SetStateSOUND(int state);  // 0 to 1
    int GetStateSOUND();
    void SetStateSpeaker(int state);  // 0 to 4
    int GetStateSpeaker();
    // Kept apart from the speaker's state; false without a speaker.
    void SetStateSpeakerMute(bool mute);
    bool GetStateSpeakerMute();
    // Lines between devices (by NAME), drawn by the TOP item; without one
    // these do nothing.
    void SetStateDubbing(CString from, CString to);
    void SetStateDubbingEnd();
    void SetStateConnect(CString from, CString to);
    void DeleteAllConnect();

    // Program table and reservation rules.
    bool SetProgram(CQProg prog);
    bool GetProgram(int slot, CQProg* out);
    bool DeleteProgram(int slot);
    bool AddLog(CQProgLog log);
    int GetEmptySlotNo();
    bool SetProgDefaultTime(CString name, CTimeSpan length);
    // 0, or -1 (overlap) / -2 (closer than the margin) against the first
    // clashing program of another slot.
    int ChkOverlapProg(CQProg prog);
    // 1 proper but close, 0 proper, -2 past, -3 too far, -4 under three
    // minutes ahead, -5 closer than the margin, -6 overlap.
    int ChkCQProgSet(CQProg prog);

    // One log entry (state -1) per occurrence of each program in the period.
    static void GetInPeriodLog(CArray<CQProg, CQProg>* progs, CTimeRect period,
                               CArray<CQProgLog, CQProgLog>* out);

    // Items and the pieces of the screen that other parts of the library use.
    void GetTblpCQItem(CTypedPtrArray<CPtrArray, CQItem*>* out);
    CQItem* CQItemName2pCQItem(CString name);
    int GetProgramMargin() const { return m_nProgramMargin; }
    // Prefix of every picture file the items load.
    CString GetPictureDirectory() const { return m_strPictureDir; }
    // The root of the item tree (the background), under which every item
    // attaches itself; null without a BG section.
    CItem* GetRootItem() const;
    // Folder of the running executable, with its trailing separator.
    CString GetExeDirectory() const { return m_strExeDir; }
    // Redraws the whole screen; `now` paints before returning.
    void AllRedraw(bool now);
    // Plays a sound effect file asynchronously (nothing when sound effects
    // are off, which counts as success); false when it cannot be played.
    bool PlayWav(CString file);
    // The SE files: pointer entering a device, click on one, drag of one.
    CString GetSeMouseOver() const { return m_strSeMouseOver; }
    CString GetSeClick() const { return m_strSeClick; }
    CString GetSeDragDrop() const { return m_strSeDragDrop; }
    // `from` to `to` in `steps` steps, at step `i`: curve 0 is linear, a
    // curve n >= 1 speeds up n times, a curve -n slows down n times.
    static int Ease(int from, int to, int i, int steps, int curve);

private:
    static bool IsLadder(CTimeRect r);
    int SlotNo2TblProgNo(int slot);
    bool GetSelectProg(CQProg* out);
    bool SetSelectSlot(int slot);
    void SlotBtnOrderNormalize();
    // The calendar lays out its day rows again from the tables.
    void CalendarRebuildDays();

    // Reading the description file (the constructor's work).
    void ReadDescription(CIniFile* ini, const char* className, CWnd* parent, const CRect& rect);
    void ReadBgSection(CIniFile* ini, const char* className, CWnd* parent, const CRect& rect);
    // A section nobody keeps: its lines up to END are read and dropped.
    void SkipSection(CIniFile* ini);
    void KeepSectionItem(int holder, CQItem* item);
    void ReadOneLineStatement(const CStringArray& tokens);
    // The device item of that NAME, null when there is none.
    CQDeviceRole* FindDevice(const char* name);

    CString m_strExeDir;
    CString m_strPictureDir;
    CQMainWnd* m_pMainWnd = nullptr;
    CItemBackground* m_pBackground = nullptr;
    // Every other item is held by its description part, through which the
    // main screen addresses it (GetOwner() is its drawing side; the
    // concrete class is a static_cast away). The comments name the class.
    CTypedPtrArray<CPtrArray, CQItem*> m_Devices;           // CQItemDevice
    CTypedPtrArray<CPtrArray, CQItem*> m_SlotButtons;       // slot buttons
    CQItem* m_pCalendar = nullptr;                          // CQItemCal
    CTypedPtrArray<CPtrArray, CQItem*> m_CalScrollButtons;  // button items
    CQItem* m_pBalloonHelp = nullptr;                       // CItemBalloonHelp
    CQItem* m_pTrash = nullptr;
    CQItem* m_pChange = nullptr;
    CQItem* m_pNewmake = nullptr;    // CQItemNewmake
    CQItem* m_pDragFrame = nullptr;  // CItemDragFrame
    CQItem* m_pTop = nullptr;        // CItemConnectLines
    CQItem* m_pGoToday = nullptr;
    int m_nViewMode = 0;
    int m_nDrawBgMode = 0;
    COLORREF m_crNormal = 0xFFFFFF;
    COLORREF m_crSelect = 0xFFFF00;
    COLORREF m_crGray = 0x808080;
    CString m_strSeMouseOver;
    CString m_strSeClick;
    CString m_strSeDragDrop;
    int m_nCalendarBeginWeek = 0;
    bool m_bSe = true;
    CArray<CQProg, CQProg> m_Progs;
    CArray<CQProgLog, CQProgLog> m_Logs;
    int m_nSelectSlot = -1;
    // Replaced by the PROGRAMMARGIN line; three minutes until then.
    int m_nProgramMargin = 180;
};
