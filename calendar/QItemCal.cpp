#include "calendar/QItemCal.h"

#include <algorithm>

#include <quillon/QMainScreen.h>

#include "frame/IniFile.h"
#include "frame/pictures/BitmapFont.h"
#include "frame/pictures/DibPicture.h"
#include "frame/pictures/MaskPicture.h"
#include "schedule/LocalDays.h"

namespace {

constexpr int kScaleHeight = 14;  // the band above the first row
constexpr int kRowStep = 34;      // a 24-pixel row and the gap under it
constexpr int kRowHeight = 24;
constexpr std::int32_t kDragLimit = 86340;  // 23 hours 59 minutes

int LocalWeekday(CTime t) {
    return t.GetDayOfWeek() - 1;
}

}  // namespace

CQItemCal::CQItemCal(CQMainScreen* screen, CIniFile* ini) : CQItem(screen, this) {
    CTime day = WeekStart(CTime::GetCurrentTime());
    m_DrawTime = CTimeRect(day, AddLocalDays(day, 1));
    ReadSection(ini);
    Create(screen != nullptr ? screen->GetRootItem() : nullptr, 0, 0, 10, 10);
    if (!GetDefaultToolHint().IsEmpty()) SetToolHint(GetDefaultToolHint());
}

CQItemCal::~CQItemCal() {
    m_pDrag.reset();
    DeleteDays();
}

void CQItemCal::ReadSection(CIniFile* ini) {
    CStringArray tokens;
    int view = 0;
    while (ParseCommonKey(ini, &tokens, &view)) {
        const CString& key = tokens[0];
        if (key == "BMPWEEK") {
            m_pWeekFont = std::make_unique<CBitmapFont>(GetPictureDirectory() + tokens[1]);
        } else if (key == "BMPTEXT") {
            // Kept even when empty, so the later weekdays keep their places.
            m_WeekdayPictures.push_back(LoadPicture(tokens[1]));
        }
    }
}

void CQItemCal::GetClassNameChain(CStringArray* out) {
    CItem::GetClassNameChain(out);
    out->Add("CQItemCal");
}

CMaskPicture* CQItemCal::GetWeekdayPicture(int weekday) const {
    if (weekday < 0 || weekday >= static_cast<int>(m_WeekdayPictures.size())) return nullptr;
    return m_WeekdayPictures[static_cast<std::size_t>(weekday)].get();
}

void CQItemCal::OnCreate() {
    CreateDays();
}

void CQItemCal::OnMove() {
    CreateDays();
}

void CQItemCal::OnColorChanged() {
    Redraw();
}

void CQItemCal::OnViewModeChanged(int mode) {
    ViewPlacement* p = GetViewPlacement(mode);
    if (p == nullptr) return;
    SetVisible(p->visible);
    SetRect(p->rect);
    Redraw();
}

void CQItemCal::DeleteDays() {
    std::vector<CQItemCalDay*> days;
    days.swap(m_Days);
    for (CQItemCalDay* d : days) delete d;
}

bool CQItemCal::CreateDays() {
    DeleteDays();
    const int w = GetRect().Width();
    const int h = GetRect().Height();
    for (int y = kScaleHeight; y < h - kRowHeight; y += kRowStep) {
        auto* day = new CQItemCalDay();
        day->Create(this, 0, 0, 10, 10);
        m_Days.push_back(day);
        day->SetRect(CRect(0, y, w, y + kRowHeight));
    }
    return RelayoutDays();
}

bool CQItemCal::RelayoutDays() {
    // Whole calendar days: across a daylight-saving change a row keeps the
    // window's local times of day.
    for (std::size_t i = 0; i < m_Days.size(); ++i) {
        const int n = static_cast<int>(i);
        m_Days[i]->SetDayTimeRect(CTimeRect(AddLocalDays(m_DrawTime.GetBegin(), n),
                                            AddLocalDays(m_DrawTime.GetEnd(), n)));
    }
    return true;
}

bool CQItemCal::SetDrawTimeRect(CTimeRect r) {
    struct tm date;
    struct tm b;
    struct tm e;
    m_DrawTime.GetBegin().GetLocalTm(&date);
    r.GetBegin().GetLocalTm(&b);
    r.GetEnd().GetLocalTm(&e);
    const int y = date.tm_year + 1900;
    const int m = date.tm_mon + 1;
    const int d = date.tm_mday;
    CTime begin(y, m, d, b.tm_hour, b.tm_min, b.tm_sec, -1);
    CTime end(y, m, d, e.tm_hour, e.tm_min, e.tm_sec, -1);
    // A window that ends at midnight ends at the end of the day.
    if (e.tm_hour == 0 && e.tm_min == 0 && e.tm_sec == 0) end = AddLocalDays(end, 1);
    if (begin >= end) return false;
    m_DrawTime = CTimeRect(begin, end);
    RelayoutDays();
    Redraw();
    return true;
}

bool CQItemCal::ClampDrawDay(CTime t, CTime* out) {
    CTime d = CTimeRect::GetYMD(t);
    CTime lower(1999, 1, 1, 0, 0, 0);
    if (lower > d) {
        if (out != nullptr) *out = lower;
        return false;
    }
    const int year = std::min(CTime::GetCurrentTime().GetYear() + 2, 2038);
    CTime upper = CTime(year, 1, 1, 0, 0, 0) - CTimeSpan(7, 0, 0, 0);
    if (upper < d) {
        if (out != nullptr) *out = upper;
        return false;
    }
    if (out != nullptr) *out = t;
    return true;
}

bool CQItemCal::ScrollToDay(CTime day, CTime* clamped) {
    if (!ClampDrawDay(day, clamped)) return false;
    const int days = LocalDaysBetween(m_DrawTime.GetBegin(), day);
    m_DrawTime = CTimeRect(AddLocalDays(m_DrawTime.GetBegin(), days),
                           AddLocalDays(m_DrawTime.GetEnd(), days));
    RelayoutDays();
    return true;
}

CTime CQItemCal::WeekStart(CTime t) const {
    const int first = GetMainScreen() != nullptr ? GetMainScreen()->GetCalendarBeginWeek() : 0;
    const CTime day = CTimeRect::GetYMD(t);
    CTime d = day;
    for (int i = 0; i < 7; ++i, d = AddLocalDays(d, -1)) {
        if (LocalWeekday(d) == first) return d;
    }
    return day;  // a first weekday that is none: the date itself
}

void CQItemCal::GotoThisWeek() {
    GotoWeek(CTime::GetCurrentTime());
}

void CQItemCal::GotoWeek(CTime t) {
    CTime d = WeekStart(t);
    ScrollToDay(d, &d);
    ScrollToDay(d, nullptr);
}

void CQItemCal::GetFirstDay(CTime* out) {
    if (out != nullptr) *out = CTimeRect::GetYMD(m_DrawTime.GetBegin());
}

std::vector<unsigned> CQItemCal::ScaleHours(CTimeRect window) {
    const CTime begin = window.GetBegin();
    const CTime end = window.GetEnd();
    std::vector<unsigned> hours;
    auto has = [&](unsigned h) { return std::find(hours.begin(), hours.end(), h) != hours.end(); };
    unsigned bh = static_cast<unsigned>(begin.GetHour());
    if (begin > CTimeRect::GetYMDH(begin)) ++bh;
    hours.push_back(bh);
    unsigned eh = static_cast<unsigned>(end.GetHour());
    const bool endOnHour = end == CTimeRect::GetYMDH(end);
    if (eh == 0) {
        if (endOnHour) {
            eh = 24;
            hours.push_back(eh);
        }
    } else {
        hours.push_back(eh);
    }
    if ((end - begin).GetTotalSeconds() <= 5 * 3600 && bh < eh) {
        for (unsigned h = bh; h < eh; ++h) {
            if (!has(h)) hours.push_back(h);
        }
    }
    for (unsigned c : {6u, 12u, 18u}) {
        if (!has(c - 1) && !has(c) && !has(c + 1)) hours.push_back(c);
    }
    hours.erase(
        std::remove_if(hours.begin(), hours.end(), [&](unsigned h) { return h < bh || h > eh; }),
        hours.end());
    return hours;
}

void CQItemCal::Draw(CDibPicture* target, int x, int y, int left, int top, int right, int bottom) {
    const RECT saved = target->GetClipRect();
    CRect clip;
    const CRect mine = GetWindowRect();
    if (!clip.IntersectRect(&saved, &mine)) clip.SetRectEmpty();
    target->SetClipRect(clip.left, clip.top, clip.right, clip.bottom);

    const int w = GetRect().Width();
    if (!m_Days.empty() && m_pWeekFont) {
        const CQItemCalDay* row = m_Days.front();
        const CTime date = CTimeRect::GetYMD(row->GetDayTimeRect().GetBegin());
        const COLORREF color = GetColor();
        for (unsigned h : ScaleHours(m_DrawTime)) {
            CTime tick = h >= 24 ? AddLocalDays(date, 1)
                                 : CTime(date.GetYear(), date.GetMonth(), date.GetDay(),
                                         static_cast<int>(h), 0, 0, -1);
            const int tx = kLabelWidth + row->TimeToX(tick);
            CString text;
            text.Format("%d", h);
            if (tx + 16 < w) {
                m_pWeekFont->DrawString(target, color, text,
                                        CRect(x + tx - 16, y, x + tx + 16, y + kScaleHeight), 0, 2);
            } else {
                m_pWeekFont->DrawString(target, color, text, CRect(x, y, x + w, y + kScaleHeight),
                                        2, 2);
            }
        }
    }
    CItem::Draw(target, x, y, left, top, right, bottom);
    target->SetClipRect(saved.left, saved.top, saved.right, saved.bottom);
}

CQItemCalDay* CQItemCal::GetDayAtY(int y) {
    if (m_Days.empty()) return nullptr;
    if (y < m_Days.front()->GetRect().top || y > m_Days.back()->GetRect().bottom) return nullptr;
    CQItemCalDay* found = nullptr;
    for (CQItemCalDay* d : m_Days) {
        if (d->GetRect().top <= y) found = d;
    }
    return found;
}

bool CQItemCal::PointToTime(int x, int y, CTime* out) {
    CQItemCalDay* row = GetDayAtY(y);
    if (row == nullptr) return false;
    row->XToTime(x - kLabelWidth, out);
    return true;
}

bool CQItemCal::TimeToPoint(CTime t, CPoint* out) {
    if (m_Days.empty()) return false;
    CQItemCalDay* row = nullptr;
    for (CQItemCalDay* d : m_Days) {
        if (LocalDaysBetween(d->GetDayTimeRect().GetBegin(), t) == 0) {
            row = d;
            break;
        }
    }
    if (row == nullptr) {
        const int afterLast = LocalDaysBetween(m_Days.back()->GetDayTimeRect().GetBegin(), t);
        if (afterLast >= 1 && afterLast <= 4) {
            row = m_Days.back();
        } else if (LocalDaysBetween(m_Days.front()->GetDayTimeRect().GetBegin(), t) == -1) {
            row = m_Days.front();
        }
    }
    if (row == nullptr) return false;
    if (out != nullptr) *out = CPoint(kLabelWidth + row->TimeToX(t), row->GetRect().top);
    return true;
}

CalDragInfo* CQItemCal::BeginProgDrag(const CalDragInfo& info) {
    if (m_pDrag) return nullptr;
    m_pDrag = std::make_unique<CalDragInfo>(info);
    return m_pDrag.get();
}

void CQItemCal::EndProgDrag() {
    m_pDrag.reset();
}

int CQItemCal::GetDragSlotNo() {
    return m_pDrag ? m_pDrag->changed.GetSlotNo() : -1;
}

int CQItemCal::CalcDragProg(int x, int y, CQProg* out) {
    if (!m_pDrag || out == nullptr) return -1;
    CTime t;
    if (!PointToTime(x, y, &t)) return -1;
    const CQProg& initial = m_pDrag->initial;
    const CTime b = m_pDrag->occurrence.GetBegin();
    const CTime e = m_pDrag->occurrence.GetEnd();
    const bool weekly = !initial.IsSinglePlan();
    CTime nb = b;
    CTime ne = e;
    switch (m_pDrag->grip) {
        case 0:
            if (initial.IsNKXMail()) break;
            if (e <= t) return -1;
            nb = t;
            if (weekly && t.GetDay() != b.GetDay()) return -1;
            if ((ne - nb).GetTotalSeconds() >= kDragLimit) nb = ne - CTimeSpan(kDragLimit);
            break;
        case 1: {
            const std::int32_t s = (e - b).GetTotalSeconds();
            nb = t - CTimeSpan(s / 2);
            ne = nb + CTimeSpan(s);
            if (weekly && nb.GetDay() != b.GetDay()) return -1;
            break;
        }
        case 2:
            if (initial.IsNKXMail()) break;
            if (b >= t) return -1;
            ne = t;
            if ((ne - nb).GetTotalSeconds() >= kDragLimit) ne = nb + CTimeSpan(kDragLimit);
            break;
        default:  // no bar grabbed: the occurrence stands
            break;
    }
    *out = initial;
    out->SetTime(nb, ne);
    CQMainScreen* screen = GetMainScreen();
    return screen != nullptr ? screen->ChkCQProgSet(*out) : -1;
}
