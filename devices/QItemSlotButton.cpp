#include "devices/QItemSlotButton.h"

#include <quillon/QMainScreen.h>
#include <quillon/QProg.h>

#include "devices/HintFormat.h"
#include "frame/QMainScreenInternal.h"
#include "schedule/LocalDays.h"

namespace {

CQItemButton::Style SlotStyle() {
    CQItemButton::Style s;
    s.createBeforeKeys = false;
    s.defaultToolHint = false;
    s.dimBackground = true;
    s.redrawOnViewChange = true;
    s.redrawOnColorChange = true;
    return s;
}

int LocalWeekday(CTime t) {
    return t.GetDayOfWeek() - 1;
}

}  // namespace

CQItemSlotButton::CQItemSlotButton(CQMainScreen* screen, CIniFile* ini)
    : CQItemButton(screen, SlotStyle()) {
    ReadSection(ini);
}

bool CQItemSlotButton::OnSectionKey(const CStringArray& tokens, int /*view*/) {
    if (_mbscmp(tokens[0], "SLOTNO") != 0) return false;
    m_nSlotNo = ParseIntKey(tokens[1]);
    return true;
}

void CQItemSlotButton::Draw(CDibPicture* target, int x, int y, int left, int top, int right,
                            int bottom) {
    // The enabled flag does not count: a slot's look is its program's.
    COLORREF color = GetGrayColor();
    if (CQMainScreen* screen = GetMainScreen()) {
        if (CQMainScreenInternal::GetSelectSlot(*screen) == m_nSlotNo) {
            color = GetSelectColor();
        } else if (CQMainScreenInternal::SlotNo2TblProgNo(*screen, m_nSlotNo) >= 0) {
            color = GetColor();
        }
    }
    DrawIcon(target, x, y, left, top, right, bottom, GetStillIcon(), color);
}

void CQItemSlotButton::Select() {
    CQMainScreen* screen = GetMainScreen();
    if (screen == nullptr) return;
    CQMainScreenInternal::SetSelectSlot(*screen, m_nSlotNo);
    screen->AllRedraw(false);
    CQMainScreenInternal::SlotBtnOrderNormalize(*screen);
}

void CQItemSlotButton::OnLButtonDown(UINT flags, int x, int y) {
    Select();
    CQItemButton::OnLButtonDown(flags, x, y);
}

bool CQItemSlotButton::GetShowDay(const CQProg& p, CTime now, CTime* out) {
    if (p.IsSinglePlan()) {
        *out = p.GetBeginTime();
        return true;
    }
    const CTime begin = p.GetBeginTime();
    const CTime todayStart(now.GetYear(), now.GetMonth(), now.GetDay(), begin.GetHour(),
                           begin.GetMinute(), begin.GetSecond());
    CTime d = now;
    // Today's run counts only while it has not started.
    if (p.IsWeekly(LocalWeekday(now)) && now >= todayStart) d = AddLocalDays(d, 1);
    // A week holds every weekday once: a pattern without any never runs.
    for (int i = 0; i < 7; ++i) {
        if (p.IsWeekly(LocalWeekday(d))) {
            *out = d;
            return true;
        }
        d = AddLocalDays(d, 1);
    }
    return false;
}

void CQItemSlotButton::OnButtonClick(UINT /*flags*/, int /*x*/, int /*y*/) {
    CQMainScreen* screen = GetMainScreen();
    if (screen == nullptr) return;
    Select();
    CQProg p;
    CTime day;
    if (!screen->GetProgram(m_nSlotNo, &p) || !GetShowDay(p, CTime::GetCurrentTime(), &day)) return;
    if (CQCalendarRole* cal = GetCalendar()) cal->GotoWeek(day);
}

void CQItemSlotButton::OnKeyDown(UINT key, UINT repeat, UINT flags) {
    CQMainScreen* screen = GetMainScreen();
    CQProg p;
    // Only the selected slot's button answers, so one key deletes once.
    if (key == VK_DELETE && screen != nullptr && m_nSlotNo != -1 &&
        CQMainScreenInternal::GetSelectSlot(*screen) == m_nSlotNo &&
        screen->GetProgram(m_nSlotNo, &p) && screen->OnCalendar_ProgDelete(&p)) {
        screen->DeleteProgram(p.GetSlotNo());
        screen->AllRedraw(false);
    }
    CQItemButton::OnKeyDown(key, repeat, flags);
}

void CQItemSlotButton::SetToolHintFormats(CString freeSlot, CString usedSlot) {
    m_strToolHintFree = freeSlot;
    m_strToolHintUsed = usedSlot;
    UpdateToolHint();
}

void CQItemSlotButton::UpdateToolHint() {
    CQMainScreen* screen = GetMainScreen();
    CQProg p;
    CString text;
    if (screen != nullptr && screen->GetProgram(m_nSlotNo, &p)) {
        CString kind;
        p.GetKind(&kind);
        text = FormatHint(m_strToolHintUsed, {m_nSlotNo, static_cast<const char*>(kind)});
    } else {
        text = FormatHint(m_strToolHintFree, {m_nSlotNo, ""});
    }
    SetToolHint(text);
}
