// What the library's items may do with the main screen beyond what hosts
// may: the selected slot, the slot buttons' order, the ladder rule, the
// program and log tables, and the items the main screen keeps for the
// sections the items work with. Hosts never see this header.
#pragma once

#include <quillon/QMainScreen.h>

class CQMainScreenInternal {
public:
    static bool IsLadder(CTimeRect r) { return CQMainScreen::IsLadder(r); }
    static int SlotNo2TblProgNo(CQMainScreen& s, int slot) { return s.SlotNo2TblProgNo(slot); }
    static bool GetSelectProg(CQMainScreen& s, CQProg* out) { return s.GetSelectProg(out); }
    static bool SetSelectSlot(CQMainScreen& s, int slot) { return s.SetSelectSlot(slot); }
    static int GetSelectSlot(const CQMainScreen& s) { return s.m_nSelectSlot; }
    static void SlotBtnOrderNormalize(CQMainScreen& s) { s.SlotBtnOrderNormalize(); }

    static const CArray<CQProg, CQProg>& GetProgTable(const CQMainScreen& s) { return s.m_Progs; }
    static const CArray<CQProgLog, CQProgLog>& GetLogTable(const CQMainScreen& s) {
        return s.m_Logs;
    }

    // Null while the description has no such section.
    static CQItem* GetCalendar(const CQMainScreen& s) { return s.m_pCalendar; }
    static CQItem* GetBalloonHelp(const CQMainScreen& s) { return s.m_pBalloonHelp; }
    static CQItem* GetDragFrame(const CQMainScreen& s) { return s.m_pDragFrame; }
    static CQItem* GetTop(const CQMainScreen& s) { return s.m_pTop; }
    static CQMainWnd* GetMainWnd(const CQMainScreen& s) { return s.m_pMainWnd; }
};
