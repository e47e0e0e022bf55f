// The main screen's dealings with its items. The item classes arrive with the
// item framework, the calendar and the command buttons; until the description
// file creates them, every list here is empty and these visit nothing.
#include <quillon/QMainScreen.h>

void CQMainScreen::GetTblpCQItem(CTypedPtrArray<CPtrArray, CQItem*>* out) {
    out->RemoveAll();
}

CQItem* CQMainScreen::CQItemName2pCQItem(CString /*name*/) {
    return nullptr;
}

int CQMainScreen::GetEmptySlotNo() {
    return -1;
}

// Only device items take a default reservation length.
bool CQMainScreen::SetProgDefaultTime(CString /*name*/, CTimeSpan /*length*/) {
    return false;
}

void CQMainScreen::SlotBtnOrderNormalize() {}

void CQMainScreen::CalendarRebuildDays() {}
