#include "schedule/LocalDays.h"

CTime AddLocalDays(CTime t, int days) {
    struct tm tm;
    t.GetLocalTm(&tm);
    return CTime(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday + days, tm.tm_hour, tm.tm_min,
                 tm.tm_sec);
}

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date.
long DayNumber(int y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153L * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

long LocalDayNumber(CTime t) {
    struct tm tm;
    t.GetLocalTm(&tm);
    return DayNumber(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
}

}  // namespace

int LocalDaysBetween(CTime from, CTime to) {
    return static_cast<int>(LocalDayNumber(to) - LocalDayNumber(from));
}
