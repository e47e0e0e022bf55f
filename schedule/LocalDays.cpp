#include "schedule/LocalDays.h"

CTime AddLocalDays(CTime t, int days) {
    struct tm tm;
    t.GetLocalTm(&tm);
    return CTime(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday + days, tm.tm_hour, tm.tm_min,
                 tm.tm_sec);
}
