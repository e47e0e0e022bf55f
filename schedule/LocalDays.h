#pragma once

#include <quillon/platform/CTime.h>

// The same local time of day, `days` calendar days later (or earlier). Across
// a daylight-saving change this is not a multiple of 86 400 seconds, which is
// what keeps a daily 10:00 program at 10:00. -1 when 32 bits cannot hold it.
CTime AddLocalDays(CTime t, int days);

// Local calendar days from the date of `from` to the date of `to` (negative
// when `to` lies on an earlier date).
int LocalDaysBetween(CTime from, CTime to);
