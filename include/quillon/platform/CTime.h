// Instants and spans as the framework counts them: signed 32-bit seconds since
// 1970-01-01 00:00 UTC, broken down in the local time zone.
#pragma once

#include <cstdint>
#include <ctime>

#include <quillon/platform/CString.h>

class CTimeSpan {
public:
    CTimeSpan() = default;
    CTimeSpan(std::int32_t seconds) : m_span(seconds) {}  // NOLINT(google-explicit-constructor)
    CTimeSpan(long days, int hours, int mins, int secs);

    std::int32_t GetTotalSeconds() const { return m_span; }
    std::int32_t GetDays() const { return m_span / (24 * 3600); }
    std::int32_t GetTotalHours() const { return m_span / 3600; }
    int GetHours() const { return static_cast<int>(GetTotalHours() - GetDays() * 24); }
    std::int32_t GetTotalMinutes() const { return m_span / 60; }
    int GetMinutes() const { return static_cast<int>(GetTotalMinutes() - GetTotalHours() * 60); }
    int GetSeconds() const { return static_cast<int>(m_span - GetTotalMinutes() * 60); }

    CTimeSpan operator+(CTimeSpan o) const;
    CTimeSpan operator-(CTimeSpan o) const;
    CTimeSpan operator-() const;
    CTimeSpan& operator+=(CTimeSpan o);
    CTimeSpan& operator-=(CTimeSpan o);

    bool operator==(CTimeSpan o) const { return m_span == o.m_span; }
    bool operator!=(CTimeSpan o) const { return m_span != o.m_span; }
    bool operator<(CTimeSpan o) const { return m_span < o.m_span; }
    bool operator>(CTimeSpan o) const { return m_span > o.m_span; }
    bool operator<=(CTimeSpan o) const { return m_span <= o.m_span; }
    bool operator>=(CTimeSpan o) const { return m_span >= o.m_span; }

private:
    std::int32_t m_span = 0;
};

class CTime {
public:
    CTime() = default;
    explicit CTime(std::int32_t t) : m_time(t) {}
    // From local calendar fields; out-of-range fields roll over as mktime does.
    // An instant that 32 bits cannot hold is -1.
    CTime(int year, int month, int day, int hour, int min, int sec, int dst = -1);

    // The platform clock (replaced by the test harness).
    static CTime GetCurrentTime();

    std::int32_t GetTime() const { return m_time; }
    // Local breakdown; with a null argument one buffer of the process is
    // used, overwritten by the next such call.
    struct tm* GetLocalTm(struct tm* ptm = nullptr) const;
    struct tm* GetGmtTm(struct tm* ptm = nullptr) const;

    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;  // 1 = Sunday ... 7 = Saturday

    // strftime conversions on the local breakdown, C-locale names ("Mon").
    CString Format(const char* format) const;
    CString FormatGmt(const char* format) const;

    CTime operator+(CTimeSpan s) const;
    CTime operator-(CTimeSpan s) const;
    CTimeSpan operator-(CTime t) const;
    CTime& operator+=(CTimeSpan s);
    CTime& operator-=(CTimeSpan s);

    bool operator==(CTime o) const { return m_time == o.m_time; }
    bool operator!=(CTime o) const { return m_time != o.m_time; }
    bool operator<(CTime o) const { return m_time < o.m_time; }
    bool operator>(CTime o) const { return m_time > o.m_time; }
    bool operator<=(CTime o) const { return m_time <= o.m_time; }
    bool operator>=(CTime o) const { return m_time >= o.m_time; }

private:
    std::int32_t m_time = 0;
};

// Milliseconds since an arbitrary start, wrapping at 2^32 (the tick clock).
DWORD timeGetTime();
