#include "calendar/QItemCalDay.h"

#include <cstdint>

#include <quillon/QMainScreen.h>

#include "calendar/QItemCal.h"
#include "frame/QItemRoles.h"
#include "frame/QMainScreenInternal.h"
#include "frame/QMainWnd.h"
#include "frame/pictures/BitmapFont.h"
#include "frame/pictures/DibPicture.h"
#include "frame/pictures/MaskPicture.h"
#include "platform/Cursor.h"
#include "platform/gdi/DC.h"
#include "schedule/LocalDays.h"
#include "schedule/ProgInPeriod.h"

namespace {

constexpr int kLabelWidth = CQItemCal::kLabelWidth;
constexpr int kTodayMarkerWidth = 8;
constexpr int kDateLeft = 13;
constexpr std::int32_t kLadderSpan = 30 * 60;
constexpr std::int32_t kDefaultDropLength = 1800;

// Weekly programs never show on past days, and today's run goes once it
// has begun.
void DropPastWeeklyRuns(const CQProg& prog, CArray<CTimeRect, CTimeRect>* runs) {
    if (prog.IsSinglePlan()) return;
    for (int i = runs->GetSize() - 1; i >= 0; --i) {
        if (CTimeRect::IsPast((*runs)[i].GetBegin())) runs->RemoveAt(i);
    }
}

void ShowCursor(LPCSTR name, bool library) {
    ::SetCursor(LoadCursor(library ? AfxGetResourceHandle() : nullptr, name));
}

}  // namespace

// ---- CalDayEntry ----

CalDayEntry::CalDayEntry(CQItemCalDay* owner, int index, int areaId, CTimeRect range)
    : m_pOwner(owner), m_kind(kProgram), m_nIndex(index), m_nAreaId(areaId), m_range(range) {}

CalDayEntry::CalDayEntry(CQItemCalDay* owner, int index, const CRect& rect, CTimeRect range)
    : m_pOwner(owner), m_kind(kLog), m_nIndex(index), m_rect(rect), m_range(range) {}

CalDayEntry::~CalDayEntry() {
    if (m_kind == kProgram) m_pOwner->RemoveDragArea(m_nAreaId);
}

CRect CalDayEntry::GetBarRect() const {
    if (m_kind == kLog) return m_rect;
    for (const DragArea& a : m_pOwner->GetDragAreas()) {
        if (a.id == m_nAreaId) return CRect(a.area);
    }
    return CRect();
}

bool CalDayEntry::GetProg(CQProg* out) const {
    CQMainScreen* screen = m_pOwner->GetMainScreen();
    if (m_kind != kProgram || screen == nullptr) return false;
    const auto& progs = CQMainScreenInternal::GetProgTable(*screen);
    if (m_nIndex < 0 || m_nIndex >= progs.GetSize()) return false;
    if (out != nullptr) *out = progs[m_nIndex];
    return true;
}

bool CalDayEntry::GetLog(CQProgLog* out) const {
    CQMainScreen* screen = m_pOwner->GetMainScreen();
    if (m_kind != kLog || screen == nullptr) return false;
    const auto& logs = CQMainScreenInternal::GetLogTable(*screen);
    if (m_nIndex < 0 || m_nIndex >= logs.GetSize()) return false;
    if (out != nullptr) *out = logs[m_nIndex];
    return true;
}

int CalDayEntry::HitGrip(int x, int y) const {
    if (m_kind != kProgram) return -1;
    const CRect r = GetBarRect();
    if (!r.PtInRect(CPoint(x, y))) return -1;
    const int mid = r.left + (r.right - r.left) / 2;
    // The two middle pixels move even a bar too narrow for both edges.
    if (x == mid - 1 || x == mid) return 1;
    if (x - r.left >= 6) return r.right - x < 6 ? 2 : 1;
    return 0;
}

bool CalDayEntry::IsDragging() const {
    CQProg prog;
    CQItemCal* cal = m_pOwner->GetCalendar();
    return cal != nullptr && GetProg(&prog) && prog.GetSlotNo() == cal->GetDragSlotNo();
}

// ---- CQItemCalDay ----

CQItemCalDay::CQItemCalDay() {
    CTime today = CTimeRect::GetYMD(CTime::GetCurrentTime());
    m_range = CTimeRect(today, AddLocalDays(today, 1));
}

CQItemCalDay::~CQItemCalDay() {
    DeleteEntries();
}

void CQItemCalDay::GetClassNameChain(CStringArray* out) {
    CItem::GetClassNameChain(out);
    out->Add("CQItemCalDay");
}

CQItemCal* CQItemCalDay::GetCalendar() const {
    return dynamic_cast<CQItemCal*>(GetParent());
}

CQMainScreen* CQItemCalDay::GetMainScreen() const {
    CQItemCal* cal = GetCalendar();
    return cal != nullptr ? cal->GetMainScreen() : nullptr;
}

void CQItemCalDay::DeleteEntries() {
    std::vector<std::unique_ptr<CalDayEntry>> entries;
    entries.swap(m_Entries);
}

bool CQItemCalDay::SetDayTimeRect(CTimeRect range) {
    m_range = range;
    const int days = LocalDaysBetween(CTime::GetCurrentTime(), range.GetBegin());
    m_nDayState = days < 0 ? 0 : (days == 0 ? 1 : 2);
    RebuildEntries();
    return true;
}

void CQItemCalDay::RebuildEntries() {
    DeleteEntries();
    CQMainScreen* screen = GetMainScreen();
    if (screen != nullptr) {
        const auto& progs = CQMainScreenInternal::GetProgTable(*screen);
        for (int i = 0; i < progs.GetSize(); ++i) {
            CArray<CTimeRect, CTimeRect> runs;
            GetProgInPeriod(progs[i], m_range, &runs);
            DropPastWeeklyRuns(progs[i], &runs);
            for (const CTimeRect& run : runs) {
                CRect r;
                if (!GetBarRect(&r, run)) continue;
                DragArea area;
                area.area = r;
                area.threshold = RECT{-2, -3, 2, 3};
                const int id = AddDragArea(area);
                m_Entries.push_back(std::make_unique<CalDayEntry>(this, i, id, run));
            }
        }
        const auto& logs = CQMainScreenInternal::GetLogTable(*screen);
        for (int j = 0; j < logs.GetSize(); ++j) {
            CTimeRect part;
            if (!part.GetOverlap(m_range, GetLogTimeRect(logs[j]))) continue;
            CRect r;
            if (!GetBarRect(&r, part)) continue;
            m_Entries.push_back(std::make_unique<CalDayEntry>(this, j, r, part));
        }
    }
    Redraw();
}

int CQItemCalDay::TimeToX(CTime t) const {
    const std::int64_t line = GetRect().Width() - kLabelWidth;
    const std::int64_t span = (m_range.GetEnd() - m_range.GetBegin()).GetTotalSeconds();
    // A row too narrow for a time line maps everything to its left edge.
    if (line <= 0 || span <= 0) return 0;
    const std::int64_t d = (t - m_range.GetBegin()).GetTotalSeconds();
    return static_cast<int>(d * line / span);
}

void CQItemCalDay::XToTime(int d, CTime* out) const {
    if (out == nullptr) return;
    const std::int64_t line = GetRect().Width() - kLabelWidth;
    const std::int64_t span = (m_range.GetEnd() - m_range.GetBegin()).GetTotalSeconds();
    if (line <= 0) {
        *out = m_range.GetBegin();
        return;
    }
    *out = m_range.GetBegin() + CTimeSpan(static_cast<std::int32_t>(d * span / line));
}

bool CQItemCalDay::GetBarRect(CRect* out, CTimeRect range) const {
    CTimeRect overlap;
    if (!overlap.GetOverlap(m_range, range)) return false;
    const int left = kLabelWidth + TimeToX(overlap.GetBegin());
    int right = kLabelWidth + TimeToX(overlap.GetEnd());
    if (CQMainScreenInternal::IsLadder(overlap))
        right = kLabelWidth + TimeToX(overlap.GetBegin() + CTimeSpan(kLadderSpan));
    if (out != nullptr) out->SetRect(left, 0, right, GetRect().Height());
    return true;
}

int CQItemCalDay::HitEntry(int x) const {
    const CPoint p(x, GetRect().Height() / 2);
    int log = -1;
    for (int i = GetEntryCount() - 1; i >= 0; --i) {
        const CalDayEntry& e = *m_Entries[static_cast<std::size_t>(i)];
        if (!e.GetBarRect().PtInRect(p)) continue;
        if (e.GetKind() == CalDayEntry::kProgram) return i;
        log = i;
    }
    return log;
}

bool CQItemCalDay::GetProgAt(int x, CQProg* out) const {
    const int i = HitEntry(x);
    return i >= 0 && GetEntry(i)->GetProg(out);
}

bool CQItemCalDay::GetLogAt(int x, CQProgLog* out) const {
    const int i = HitEntry(x);
    return i >= 0 && GetEntry(i)->GetLog(out);
}

void DrawBar(CDibPicture* target, int l, int t, int r, int b, COLORREF color, int weight,
             bool ladder) {
    if (!ladder) {
        if (weight == -1) {
            if (CDC* dc = target->GetMemDC()) dc->FillSolidRect(l, t, r - l, b - t, color);
        } else {
            FillTranslucent(target, l, t, r, b, color, weight, true);
        }
        return;
    }
    const int w = weight == -1 ? 256 : weight;
    FillTranslucent(target, l, t, l + 2, b, color, w, true);
    FillTranslucent(target, r - 2, t, r, b, color, w, true);
    FillTranslucent(target, l, t, r, t + 1, color, w, true);
    FillTranslucent(target, l, b - 1, r, b, color, w, true);
    for (int y = t + 3; y < b - 2; y += 4)
        FillTranslucent(target, l + 2, y, r, y + 2, color, w, true);
}

void CQItemCalDay::Draw(CDibPicture* target, int x, int y, int left, int top, int right,
                        int bottom) {
    CQItemCal* cal = GetCalendar();
    CQMainScreen* screen = GetMainScreen();
    CDC* dc = target->GetMemDC();
    if (cal == nullptr || screen == nullptr || dc == nullptr) {
        CItem::Draw(target, x, y, left, top, right, bottom);
        return;
    }
    const int w = GetRect().Width();
    const int h = GetRect().Height();
    const COLORREF c = m_nDayState == 0 ? screen->GetGrayColor() : screen->GetColor();
    const COLORREF select = screen->GetSelectColor();

    CBrush brush(c);
    const CRect whole(x, y, x + w, y + h);
    const CRect label(x, y, x + kLabelWidth, y + h);
    dc->FrameRect(&whole, &brush);
    dc->FrameRect(&label, &brush);
    if (m_nDayState == 1) dc->FillSolidRect(x, y, kTodayMarkerWidth, h, select);

    const CTime begin = m_range.GetBegin();
    if (CBitmapFont* font = cal->GetWeekFont()) {
        CString date;
        date.Format("%d/%d", begin.GetMonth(), begin.GetDay());
        font->DrawString(target, c, date, CRect(x + kDateLeft, y, x + kLabelWidth, y + h), 1, 0);
    }
    if (CMaskPicture* weekday = cal->GetWeekdayPicture(begin.GetDayOfWeek() - 1)) {
        weekday->SetColor(c);
        weekday->DrawAligned(target, label.left, label.top, label.right, label.bottom, 2, 0);
    }

    const int selectSlot = CQMainScreenInternal::GetSelectSlot(*screen);
    for (int pass = 0; pass < 2; ++pass) {
        const BYTE kind = pass == 0 ? CalDayEntry::kLog : CalDayEntry::kProgram;
        for (const auto& e : m_Entries) {
            if (e->GetKind() != kind) continue;
            COLORREF color = screen->GetColor();
            int weight = -1;
            if (kind == CalDayEntry::kLog) {
                CQProgLog log;
                color = screen->GetGrayColor();
                if (e->GetLog(&log) && log.GetLogState() != 0) weight = 200;
            } else {
                CQProg prog;
                const int slot = e->GetProg(&prog) ? prog.GetSlotNo() : -1;
                if (e->IsDragging()) {
                    color = select;
                    weight = 150;
                } else if (slot == selectSlot && slot != -1) {
                    color = select;
                }
            }
            const CRect r = e->GetBarRect();
            DrawBar(target, x + r.left, y + r.top, x + r.right, y + r.bottom, color, weight,
                    CQMainScreenInternal::IsLadder(e->GetTimeRect()));
        }
    }

    const CalDragInfo* drag = cal->GetDragInfo();
    if (drag != nullptr && drag->shown) {
        CArray<CTimeRect, CTimeRect> runs;
        GetProgInPeriod(drag->changed, m_range, &runs);
        DropPastWeeklyRuns(drag->changed, &runs);
        for (const CTimeRect& run : runs) {
            CRect r;
            if (!GetBarRect(&r, run)) continue;
            DrawBar(target, x + r.left, y + r.top, x + r.right, y + r.bottom, select, 150,
                    CQMainScreenInternal::IsLadder(run));
        }
    }
    CItem::Draw(target, x, y, left, top, right, bottom);
}

void CQItemCalDay::ShowGripCursor(int grip) {
    if (grip == 1) {
        ShowCursor(MAKEINTRESOURCE(quillon::platform::kCursorOpenHand), true);
    } else if (grip == 0 || grip == 2) {
        ShowCursor(MAKEINTRESOURCE(quillon::platform::kCursorResizeWE), true);
    }
}

static void ResetCursor(CItem* item) {
    if (CQMainWnd* wnd = item->GetMainWnd()) {
        wnd->ResetItemCursor();
    } else {
        ::SetCursor(LoadCursor(nullptr, IDC_ARROW));
    }
}

void CQItemCalDay::OnMouseMove(UINT flags, int x, int y, CItem* captured) {
    if (captured == nullptr || captured == this) {
        CQItemCal* cal = GetCalendar();
        if (captured == nullptr) {
            const int i = HitEntry(x);
            if (i < 0) {
                ResetCursor(this);
            } else if (GetEntry(i)->GetKind() == CalDayEntry::kProgram) {
                ShowGripCursor(GetEntry(i)->HitGrip(x, y));
            }
        } else if (IsDragging() && cal != nullptr && cal->GetDragInfo() != nullptr) {
            CalDragInfo* d = cal->GetDragInfo();
            const int k = cal->CalcDragProg(x + GetRect().left, y + GetRect().top, &d->changed);
            d->shown = k != -1;
            if (k >= 0) {
                ShowGripCursor(d->grip);
            } else {
                ShowCursor(IDC_NO, false);
            }
        }
        if (CQMainScreen* screen = GetMainScreen()) screen->AllRedraw(false);
    }
    CItem::OnMouseMove(flags, x, y, captured);
}

void CQItemCalDay::OnMouseLeave(CItem* captured) {
    if (captured == nullptr) ResetCursor(this);
    if (CQMainScreen* screen = GetMainScreen()) screen->AllRedraw(false);
    CItem::OnMouseLeave(captured);
}

// The host's callbacks may change the tables, which rebuilds the rows and
// deletes this one: nothing of it is touched after a callback unless it is
// still there.
void CQItemCalDay::OnLButtonDblClk(UINT flags, int x, int y) {
    CItemRef self(this);
    CQMainScreen* screen = GetMainScreen();
    if (screen != nullptr) {
        const int i = HitEntry(x);
        if (i < 0) {
            CTime at;
            if (x >= kLabelWidth && x < GetRect().Width() && y >= 0 && y < GetRect().Height()) {
                XToTime(x - kLabelWidth, &at);
            } else {
                at = CTimeRect::GetYMD(m_range.GetBegin());
            }
            screen->OnCalendar_DayLButtonDblClk(at);
        } else if (GetEntry(i)->GetKind() == CalDayEntry::kProgram) {
            CQProg prog;
            if (GetEntry(i)->GetProg(&prog)) screen->OnCalendar_ProgLButtonDblClk(&prog);
        } else {
            CQProgLog log;
            if (GetEntry(i)->GetLog(&log)) screen->OnCalendar_LogLButtonDblClk(log);
        }
    }
    if (self.IsAlive()) CItem::OnLButtonDblClk(flags, x, y);
}

void CQItemCalDay::OnLButtonDown(UINT flags, int x, int y) {
    CQMainScreen* screen = GetMainScreen();
    const int i = HitEntry(x);
    CQProg prog;
    if (screen != nullptr && i >= 0 && GetEntry(i)->GetProg(&prog)) {
        CQMainScreenInternal::SetSelectSlot(*screen, prog.GetSlotNo());
        screen->AllRedraw(false);
    }
    CItem::OnLButtonDown(flags, x, y);
}

void CQItemCalDay::OnRButtonDown(UINT flags, int x, int y) {
    CItemRef self(this);
    ReportRightButton(x, &CQMainScreen::OnCalendar_ProgRButtonDown,
                      &CQMainScreen::OnCalendar_LogRButtonDown);
    if (self.IsAlive()) CItem::OnRButtonDown(flags, x, y);
}

void CQItemCalDay::OnRButtonUp(UINT flags, int x, int y) {
    CItemRef self(this);
    ReportRightButton(x, &CQMainScreen::OnCalendar_ProgRButtonUp,
                      &CQMainScreen::OnCalendar_LogRButtonUp);
    if (self.IsAlive()) CItem::OnRButtonUp(flags, x, y);
}

void CQItemCalDay::ReportRightButton(int x, void (CQMainScreen::*onProg)(CQProg),
                                     void (CQMainScreen::*onLog)(CQProgLog)) {
    CQMainScreen* screen = GetMainScreen();
    const int i = HitEntry(x);
    CQProg prog;
    CQProgLog log;
    if (screen == nullptr || i < 0) return;
    if (GetEntry(i)->GetProg(&prog)) {
        (screen->*onProg)(prog);
    } else if (GetEntry(i)->GetLog(&log)) {
        (screen->*onLog)(log);
    }
}

void CQItemCalDay::OnBeginDrag(DragArea area) {
    CQItemCal* cal = GetCalendar();
    if (cal != nullptr) {
        for (const auto& e : m_Entries) {
            CQProg prog;
            if (e->GetKind() != CalDayEntry::kProgram || e->GetAreaId() != area.id) continue;
            if (!e->GetProg(&prog)) break;
            CalDragInfo info;
            const CPoint press = GetPressPoint();
            info.grip = e->HitGrip(press.x, press.y);
            info.initial = prog;
            info.changed = prog;
            info.occurrence = e->GetTimeRect();
            info.shown = false;
            cal->BeginProgDrag(info);
            break;
        }
    }
    CItem::OnBeginDrag(area);
}

void CQItemCalDay::OnEndDrag(int x, int y) {
    ResetCursor(this);
    CQItemCal* cal = GetCalendar();
    CQMainScreen* screen = GetMainScreen();
    if (cal == nullptr || screen == nullptr) return;
    // Storing the program rebuilds the rows, this one among them: from here
    // on only the calendar is used.
    CItemRef self(this);
    const CalDragInfo* d = cal->GetDragInfo();
    if (d != nullptr && d->shown) {
        CQProg p = d->changed;
        if (screen->ChkCQProgSet(p) >= 0 && screen->OnCalendar_ProgChange(&p))
            screen->SetProgram(p);
    }
    cal->EndProgDrag();
    cal->RelayoutDays();
    if (self.IsAlive()) CItem::OnEndDrag(x, y);
}

void CQItemCalDay::OnDropIn(UINT flags, int x, int y, CItem* dragged) {
    CItemRef self(this);
    CQItemCal* cal = GetCalendar();
    CQMainScreen* screen = GetMainScreen();
    if (dragged != nullptr && dragged->IsKindOf("CQItemDevice") && cal != nullptr &&
        screen != nullptr) {
        CTime begin;
        if (cal->PointToTime(x + GetRect().left, y + GetRect().top, &begin)) {
            CString name;
            CTimeSpan length(kDefaultDropLength);
            if (CQDeviceRole* device = CQDeviceRole::Of(dragged)) {
                name = device->GetDeviceName();
                length = device->GetDefaultLength();
            } else if (auto* item = dynamic_cast<CQItem*>(dragged)) {
                name = item->GetName();
            }
            screen->OnCalendar_DropOut(name, begin, begin + length);
        }
    }
    if (self.IsAlive()) CItem::OnDropIn(flags, x, y, dragged);
}
