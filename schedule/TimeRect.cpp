#include <quillon/TimeRect.h>

CTimeRect::CTimeRect() {
    SetRectEmpty();
}

CTimeRect::CTimeRect(CTime begin, CTime end) : m_Begin(begin), m_End(end) {}

bool CTimeRect::GetOverlap(CTimeRect a, CTimeRect b) {
    CTime lo = a.m_Begin;
    if (b.m_Begin > lo) lo = b.m_Begin;
    CTime hi = a.m_End;
    if (b.m_End < hi) hi = b.m_End;
    if (hi <= lo) return false;  // touching ranges do not overlap
    m_Begin = lo;
    m_End = hi;
    return true;
}

bool CTimeRect::TimeInRect(CTime t) const {
    return m_Begin <= t && t < m_End;
}

bool CTimeRect::IsRectEmpty() const {
    return m_Begin == m_End;
}

void CTimeRect::SetRectEmpty() {
    m_Begin = m_End = CTime::GetCurrentTime();
}

void CTimeRect::InflateRect(CTimeSpan s) {
    m_Begin -= s;
    m_End += s;
}

CTime CTimeRect::CenterPoint() const {
    return m_Begin + CTimeSpan((m_End - m_Begin).GetTotalSeconds() / 2);
}

CTimeRect& CTimeRect::operator+=(const CTimeSpan& s) {
    m_Begin += s;
    m_End += s;
    return *this;
}

CTimeRect& CTimeRect::operator-=(const CTimeSpan& s) {
    m_Begin -= s;
    m_End -= s;
    return *this;
}

CTimeRect CTimeRect::operator+(CTimeSpan s) const {
    CTimeRect r(*this);
    r += s;
    return r;
}

CTimeRect CTimeRect::operator-(CTimeSpan s) const {
    CTimeRect r(*this);
    r -= s;
    return r;
}

CString CTimeRect::GetStr() const {
    return CTime2Str(m_Begin) + " - " + CTime2Str(m_End);
}

CString CTimeRect::CTime2Str(CTime t) {
    return t.Format("%y,%m/%d(%a) %H:%M:%S");
}

CTime CTimeRect::GetYMD(CTime t) {
    struct tm tm;
    t.GetLocalTm(&tm);
    return CTime(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, 0, 0, 0);
}

CTime CTimeRect::GetYMDH(CTime t) {
    struct tm tm;
    t.GetLocalTm(&tm);
    return CTime(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, 0, 0);
}

bool CTimeRect::IsPastDay(CTime t) {
    return GetYMD(t) < GetYMD(CTime::GetCurrentTime());
}

bool CTimeRect::IsPast(CTime t) {
    return t < CTime::GetCurrentTime();
}
