// A slot button (SLOTBUTTON), one per reservation slot: gray while its slot
// is free, in the normal colour while it holds a program, in the selection
// colour while that program is selected. Pressing it selects the slot and
// restacks the buttons, a click also shows the program's next week in the
// calendar, and Delete deletes the selected program with the host's consent.
#pragma once

#include <quillon/platform/CTime.h>

#include "devices/QItemButton.h"
#include "frame/QItemRoles.h"

class CIniFile;
class CQProg;

class CQItemSlotButton : public CQItemButton, public CQSlotButtonRole {
public:
    CQItemSlotButton(CQMainScreen* screen, CIniFile* ini);

    void Draw(CDibPicture* target, int x, int y, int left, int top, int right, int bottom) override;
    void OnLButtonDown(UINT flags, int x, int y) override;
    void OnButtonClick(UINT flags, int x, int y) override;
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override;

    void SetToolHintFormats(CString freeSlot, CString usedSlot) override;
    int GetSlotNo() const override { return m_nSlotNo; }
    void UpdateToolHint() override;

    // The day whose week shows p: a single program's date; for a weekly one
    // the next day it runs on, today included while today's start is still
    // ahead of `now`. False for a weekly program that runs on no weekday.
    static bool GetShowDay(const CQProg& p, CTime now, CTime* out);

protected:
    bool OnSectionKey(const CStringArray& tokens, int view) override;

private:
    // Selects the slot (a free one clears the selection), redraws and
    // restacks the slot buttons.
    void Select();

    int m_nSlotNo = -1;
    CString m_strToolHintFree;
    CString m_strToolHintUsed;
};
