// A half-open range of instants [begin, end) and the day and hour helpers the
// schedule and the calendar share.
#pragma once

#include <quillon/platform/CString.h>
#include <quillon/platform/CTime.h>

class CTimeRect {
public:
    // An empty range at the current time.
    CTimeRect();
    CTimeRect(CTime begin, CTime end);
    CTimeRect(const CTimeRect&) = default;
    CTimeRect& operator=(const CTimeRect&) = default;
    virtual ~CTimeRect() = default;

    CTime GetBegin() const { return m_Begin; }
    CTime GetEnd() const { return m_End; }
    void SetBegin(CTime t) { m_Begin = t; }
    void SetEnd(CTime t) { m_End = t; }
    CTimeSpan GetSpan() const { return m_End - m_Begin; }

    // The intersection of a and b; false, leaving *this untouched, when it is
    // empty (ranges that only touch do not overlap).
    bool GetOverlap(CTimeRect a, CTimeRect b);
    bool TimeInRect(CTime t) const;
    bool IsRectEmpty() const;
    void SetRectEmpty();
    void InflateRect(CTimeSpan s);
    CTime CenterPoint() const;

    CTimeRect& operator+=(const CTimeSpan& s);
    CTimeRect& operator-=(const CTimeSpan& s);
    CTimeRect operator+(CTimeSpan s) const;
    CTimeRect operator-(CTimeSpan s) const;

    CString GetStr() const;

    static CString CTime2Str(CTime t);
    static CTime GetYMD(CTime t);
    static CTime GetYMDH(CTime t);
    static bool IsPastDay(CTime t);
    static bool IsPast(CTime t);

private:
    CTime m_Begin;
    CTime m_End;
};
