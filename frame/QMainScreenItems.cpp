// The main screen's dealings with its items: the item table and lookup by
// name, redrawing, the background's drawing mode, the callbacks the items
// make, and destruction in the order the tree needs. The lists of devices,
// buttons and the rest stay empty until their classes exist.
#include <quillon/QMainScreen.h>

#include "frame/ItemBackground.h"
#include "frame/QItem.h"
#include "frame/QMainWnd.h"

CQMainScreen::~CQMainScreen() {
    // Each item leaves its parent and the timer list as it goes, so the
    // background and the window must outlive them.
    CTypedPtrArray<CPtrArray, CQItem*> items;
    GetTblpCQItem(&items);
    for (int i = 0; i < items.GetSize(); ++i) delete items[i];
    delete m_pBackground;
    m_pBackground = nullptr;
    delete m_pMainWnd;
    m_pMainWnd = nullptr;
}

CWnd* CQMainScreen::GetpCWnd() const {
    return m_pMainWnd;
}

void CQMainScreen::GetTblpCQItem(CTypedPtrArray<CPtrArray, CQItem*>* out) {
    out->RemoveAll();
    auto addAll = [out](const CTypedPtrArray<CPtrArray, CQItem*>& list) {
        for (int i = 0; i < list.GetSize(); ++i) {
            if (list[i] != nullptr) out->Add(list[i]);
        }
    };
    auto addOne = [out](CQItem* item) {
        if (item != nullptr) out->Add(item);
    };
    addAll(m_Devices);
    addAll(m_SlotButtons);
    addOne(m_pCalendar);
    addAll(m_CalScrollButtons);
    addOne(m_pBalloonHelp);
    addOne(m_pTrash);
    addOne(m_pChange);
    addOne(m_pNewmake);
    addOne(m_pGoToday);
    addOne(m_pDragFrame);
    addOne(m_pTop);
}

CQItem* CQMainScreen::CQItemName2pCQItem(CString name) {
    CTypedPtrArray<CPtrArray, CQItem*> items;
    GetTblpCQItem(&items);
    for (int i = 0; i < items.GetSize(); ++i) {
        if (_mbscmp(items[i]->GetName(), name) == 0) return items[i];
    }
    return nullptr;
}

void CQMainScreen::AllRedraw(bool now) {
    if (m_pBackground != nullptr) m_pBackground->Redraw(nullptr, now);
}

bool CQMainScreen::SetDrawBgMode(int mode) {
    if (mode != 0 && mode != 1) return false;
    m_nDrawBgMode = mode;
    AllRedraw(false);
    return true;
}

void CQMainScreen::OnLButtonDblClk(CString /*name*/, unsigned int /*flags*/, CPoint /*point*/) {}

void CQMainScreen::OnLButtonDown(CString /*name*/, unsigned int /*flags*/, CPoint /*point*/) {}

void CQMainScreen::OnLButtonUp(CString /*name*/, unsigned int /*flags*/, CPoint /*point*/) {}

int CQMainScreen::GetEmptySlotNo() {
    return -1;
}

// Only device items take a default reservation length.
bool CQMainScreen::SetProgDefaultTime(CString /*name*/, CTimeSpan /*length*/) {
    return false;
}

void CQMainScreen::SlotBtnOrderNormalize() {}

void CQMainScreen::CalendarRebuildDays() {}
