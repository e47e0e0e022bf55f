#include <quillon/QProg.h>

#include <quillon/platform/Window.h>

#include "schedule/LocalDays.h"

namespace {
// 1971-01-01, a Friday: every weekly program is placed on this day.
constexpr int kRefYear = 1971;
}  // namespace

bool CQProg::SetKind(int kind) {
    switch (kind) {
        case 0:
            m_nAction = 1;
            m_nSource = 1;
            return true;
        case 1:
            m_nAction = 1;
            m_nSource = 2;
            return true;
        case 2:
            m_nAction = 1;
            m_nSource = 3;
            return true;
        case 3:
            m_nAction = 3;
            return true;  // the personal timer has no source of its own
        case 4:
            m_nAction = 2;
            m_nSource = 3;
            return true;
        default:
            return false;
    }
}

int CQProg::GetKind(CString* name) const {
    int kind = -1;
    if (m_nAction == 1) {
        switch (m_nSource) {
            case 1:
                kind = 0;
                break;
            case 2:
                kind = 1;
                break;
            case 3:
                kind = 2;
                break;
            case 7:
                kind = 5;
                break;
            default:
                break;
        }
    } else if (m_nAction == 3) {
        kind = 3;
    } else if (m_nAction == 2) {
        switch (m_nSource) {
            case 3:
                kind = 4;
                break;
            case 1:
                kind = 6;
                break;
            case 2:
                kind = 7;
                break;
            case 7:
                kind = 8;
                break;
            default:
                break;
        }
    }
    if (name != nullptr) {
        name->Empty();
        static const char* const kNames[] = {"CD再生", "MD再生", "FM音声受信", "パーソナルタイマー",
                                             "FM⇒MD録音"};
        if (kind >= 0 && kind <= 4) *name = Sjis(kNames[kind]);
    }
    return kind;
}

void CQProg::SetWeekly(int pattern) {
    m_wYear = 0;
    m_byMonth = 0;
    m_byDay = static_cast<std::uint8_t>(pattern & 0xFF);
}

bool CQProg::IsWeekly(int day) const {
    if (day >= 0 && day <= 6) return (m_byDay >> day) & 1;
    return (day & m_byDay) != 0;
}

bool CQProg::IsSinglePlan() const {
    return !(m_wYear == 0 && m_byMonth == 0 && m_byDay != 0);
}

void CQProg::SetTime(CTime begin, CTime end) {
    struct tm b;
    struct tm e;
    begin.GetLocalTm(&b);
    end.GetLocalTm(&e);
    if (IsSinglePlan()) {
        m_wYear = static_cast<std::uint16_t>(b.tm_year + 1900);
        m_byMonth = static_cast<std::uint8_t>(b.tm_mon + 1);
        m_byDay = static_cast<std::uint8_t>(b.tm_mday);
    }
    m_byBeginHour = static_cast<std::uint8_t>(b.tm_hour);
    m_byBeginMin = static_cast<std::uint8_t>(b.tm_min);
    m_byEndHour = static_cast<std::uint8_t>(e.tm_hour);
    m_byEndMin = static_cast<std::uint8_t>(e.tm_min);
}

CTime CQProg::GetBeginTime() const {
    if (!IsSinglePlan()) return CTime(kRefYear, 1, 1, m_byBeginHour, m_byBeginMin, 0);
    return CTime(m_wYear, m_byMonth, m_byDay, m_byBeginHour, m_byBeginMin, 0);
}

CTime CQProg::GetEndTime() const {
    CTime begin = GetBeginTime();
    struct tm b;
    begin.GetLocalTm(&b);
    CTime end(b.tm_year + 1900, b.tm_mon + 1, b.tm_mday, m_byEndHour, m_byEndMin, 0);
    // The next calendar day, not 86 400 seconds: an end after a daylight-saving
    // change keeps its time of day.
    if (end <= begin) end = AddLocalDays(end, 1);
    return end;
}

void CQProg::GetTime(CTime* begin, CTime* end) const {
    if (begin != nullptr) *begin = GetBeginTime();
    if (end != nullptr) *end = GetEndTime();
}

CTimeRect CQProg::GetTime() const {
    return CTimeRect(GetBeginTime(), GetEndTime());
}

CString CQProg::GetStrPattern() const {
    if (IsSinglePlan()) return GetBeginTime().Format("%Y/%m/%d");
    if ((m_byDay & 0x7F) == 0x7F) return Sjis("毎日");
    static const char* const kDays[] = {"日", "月", "火", "水", "木", "金", "土"};
    CString s = Sjis("毎週 ");
    for (int d = 0; d < 7; ++d) {
        if (IsWeekly(d)) s += Sjis(kDays[d]);
    }
    return s;
}

CString CQProg::GetStrTime() const {
    CString s;
    s.Format("%s - %s", GetBeginTime().Format("%H:%M").c_str(),
             GetEndTime().Format("%H:%M").c_str());
    return s;
}

CString CQProg::GetStr() const {
    CString s;
    CString t;
    t.Format("%s SlotNo[%02d]", s.c_str(), m_nSlotNo);
    s = t;
    t.Format("%s Time[%s]", s.c_str(), GetTime().GetStr().c_str());
    return t;
}

bool CQProg::IsProper() const {
    if (m_nSlotNo < 1 || m_nSlotNo > 8) {
        AfxMessageBox(Sjis("Unknow Error! CQProg\nスロット番号が不正"), MB_OK, 0);
        return false;
    }
    int kind = GetKind();
    if (m_bNKXMail && kind != 3) {
        AfxMessageBox(Sjis("Unknow Error! CQProg\nNKX以外にNKXメールフラグが設定されている"), MB_OK,
                      0);
        return false;
    }
    if (kind < 0 || kind > 4) {
        AfxMessageBox(Sjis("Unknow Error! CQProg\n予約種類が不正"), MB_OK, 0);
        return false;
    }
    return true;
}
