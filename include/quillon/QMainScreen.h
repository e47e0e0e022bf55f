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
class CItemButton;
class CItemBalloonHelp;
class CQItemDevice;
class CQItemCal;
class CQItemCalDay;
class CQItemNewmake;
class CQMainWnd;

class CQMainScreen : public CObject {
    // The calendar, its day rows and balloon, and the command buttons work
    // the program table through the private operations below.
    friend class CQItemCal;
    friend class CQItemCalDay;
    friend class CItemBalloonHelp;
    friend class CQItemDevice;
    friend class CQItemNewmake;
    friend class CQItemChange;
    friend class CQItemTrash;
    friend class CQItemSlotButton;

public:
    // iniPath and pictureDir may be null: both then default to the folder of
    // the running executable.
    CQMainScreen(const char* className, CWnd* parent, CRect rect, CString* iniPath = nullptr,
                 CString* pictureDir = nullptr);
    ~CQMainScreen() override;
    CQMainScreen(const CQMainScreen&) = delete;
    CQMainScreen& operator=(const CQMainScreen&) = delete;

    CWnd* GetpCWnd() const;
    int GetViewMode() const { return m_nViewMode; }

    // Background drawing: 0 tiles the picture from the top-left corner, 1
    // stretches it over the window. Any other mode is refused (false).
    bool SetDrawBgMode(int mode);
    int GetDrawBgMode() const { return m_nDrawBgMode; }
    COLORREF GetColor() const { return m_crNormal; }
    COLORREF GetSelectColor() const { return m_crSelect; }
    COLORREF GetGrayColor() const { return m_crGray; }
    // Prefix of every picture file the items load.
    CString GetPictureDirectory() const { return m_strPictureDir; }
    // Redraws the whole screen; `now` paints before returning.
    void AllRedraw(bool now);

    // Callbacks to the host, in slot order. The library's bodies do nothing.
    // (Slot 5, OnClick, comes with the devices; the callbacks after
    // OnLButtonUp come with the items that call them.)
    // The background was double-clicked (point in window coordinates).
    virtual void OnLButtonDblClk(CString name, unsigned int flags, CPoint point);
    // The left button went down / up on the background itself.
    virtual void OnLButtonDown(CString name, unsigned int flags, CPoint point);
    virtual void OnLButtonUp(CString name, unsigned int flags, CPoint point);

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

private:
    static bool IsLadder(CTimeRect r);
    int SlotNo2TblProgNo(int slot);
    bool GetSelectProg(CQProg* out);
    bool SetSelectSlot(int slot);
    void SlotBtnOrderNormalize();
    // The calendar lays out its day rows again from the tables.
    void CalendarRebuildDays();

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
