// The main screen's program and log tables and the reservation rules
// applied to them; the rules themselves are the schedule's.
#include <quillon/QMainScreen.h>

#include "schedule/ProgInPeriod.h"
#include "schedule/Rules.h"

bool CQMainScreen::SetProgram(CQProg prog) {
    if (!prog.IsProper()) return false;
    int code = ChkOverlapProg(prog);
    if (code != 0) {
        CString text;
        text.Format(Sjis("Unknow Error!\n予約時間がダブっています。code=%d"), code);
        AfxMessageBox(text, MB_OK, 0);
        return false;
    }
    int index = SlotNo2TblProgNo(prog.GetSlotNo());
    if (index >= 0) {
        m_Progs.SetAt(index, prog);
    } else {
        m_Progs.Add(prog);
    }
    CalendarRebuildDays();
    SlotBtnOrderNormalize();
    return true;
}

bool CQMainScreen::GetProgram(int slot, CQProg* out) {
    int index = SlotNo2TblProgNo(slot);
    if (index < 0) return false;
    if (out != nullptr) *out = m_Progs[index];
    return true;
}

bool CQMainScreen::DeleteProgram(int slot) {
    int index = SlotNo2TblProgNo(slot);
    if (index < 0) return false;
    if (m_nSelectSlot != -1 && m_nSelectSlot == slot) SetSelectSlot(-1);
    m_Progs.RemoveAt(index);
    CalendarRebuildDays();
    SlotBtnOrderNormalize();
    return true;
}

bool CQMainScreen::AddLog(CQProgLog log) {
    if (!log.IsProper()) return false;
    m_Logs.Add(log);
    CalendarRebuildDays();
    return true;
}

int CQMainScreen::ChkOverlapProg(CQProg prog) {
    for (const CQProg& other : m_Progs) {
        if (other.GetSlotNo() == prog.GetSlotNo()) continue;  // its own old version
        int r = ChkOverlapProgPair(prog, other, m_nProgramMargin);
        if (r != 0) return r;
    }
    return 0;
}

int CQMainScreen::ChkCQProgSet(CQProg prog) {
    int t = ChkProgTime(prog);
    if (t == -1) return -2;
    if (t == -2) return -3;
    if (t == -3) return -4;
    int o = ChkOverlapProg(prog);
    if (o == -2) return -5;
    if (o == -1) return -6;
    return t;
}

bool CQMainScreen::IsLadder(CTimeRect r) {
    return r.GetSpan().GetTotalSeconds() < 1800 &&
           CTimeRect::GetYMD(r.GetBegin()) == CTimeRect::GetYMD(r.GetEnd());
}

int CQMainScreen::SlotNo2TblProgNo(int slot) {
    for (int i = 0; i < m_Progs.GetSize(); ++i) {
        if (m_Progs[i].GetSlotNo() == slot) return i;
    }
    return -1;
}

bool CQMainScreen::GetSelectProg(CQProg* out) {
    if (m_nSelectSlot == -1) return false;
    if (out != nullptr) GetProgram(m_nSelectSlot, out);
    return true;
}

bool CQMainScreen::SetSelectSlot(int slot) {
    if (slot < 0) {
        m_nSelectSlot = -1;
        return true;
    }
    if (SlotNo2TblProgNo(slot) < 0) {
        m_nSelectSlot = -1;
        return false;
    }
    m_nSelectSlot = slot;
    return true;
}

void CQMainScreen::GetInPeriodLog(CArray<CQProg, CQProg>* progs, CTimeRect period,
                                  CArray<CQProgLog, CQProgLog>* out) {
    out->RemoveAll();
    if (progs == nullptr) return;
    CArray<CTimeRect, CTimeRect> runs;
    for (const CQProg& prog : *progs) {
        GetProgInPeriod(prog, period, &runs);
        for (const CTimeRect& run : runs) {
            CQProgLog log;
            static_cast<CQProg&>(log) = prog;
            log.SetLogTime(run);
            out->Add(log);
        }
    }
}
