
#include <quillon/QMainScreen.h>

#include "tests/schedule/sched_helpers.h"

// Mend: a day is a calendar day. New York leaves daylight saving on 2026-11-01
// and enters it on 2027-03-14; programs are times of day, so they stay on the
// clock face across the change.

namespace {

using namespace schedtest;

TEST(DaylightSaving, RunsAndEndsStayOnTheClockFace) {
    Harness h;
    h.SetTimeZone("America/New_York");
    CArray<CQProg, CQProg> progs;
    progs.Add(Weekly(1, 0x7F, 10, 0, 11, 0));
    for (int y : {2026, 2027}) {  // a week through the fall back, then the spring forward
        const int mo = y == 2026 ? 10 : 3, d = y == 2026 ? 29 : 11;
        CArray<CQProgLog, CQProgLog> logs;
        CQMainScreen::GetInPeriodLog(
            &progs, CTimeRect(CTime(y, mo, d, 0, 0, 0), CTime(y, mo, d + 7, 0, 0, 0)), &logs);
        ASSERT_EQ(logs.GetSize(), 7) << y;
        for (int i = 0; i < 7; ++i) {  // days past the month's end roll into the next
            EXPECT_EQ(GetLogTimeRect(logs[i]).GetBegin(), CTime(y, mo, d + i, 10, 0, 0)) << i;
            EXPECT_EQ(logs[i].GetLogStrTime().str(), "10:00 - 11:00") << y << "/" << i;
        }
    }

    // A program's end on the next date keeps its time of day.
    const CQProg fall = Single(1, 2026, 10, 31, 23, 0, 3, 0);
    EXPECT_EQ(fall.GetEndTime(), CTime(2026, 11, 1, 3, 0, 0));
    EXPECT_EQ(fall.GetStrTime().str(), "23:00 - 03:00");
    const CQProg fallOne = Single(1, 2026, 10, 31, 23, 0, 1, 0);
    EXPECT_EQ(fallOne.GetEndTime().Format("%m/%d %H:%M").str(), "11/01 01:00");
    const CQProg spring = Single(1, 2027, 3, 13, 23, 0, 3, 0);
    EXPECT_EQ(spring.GetEndTime(), CTime(2027, 3, 14, 3, 0, 0));
    // A whole-day program ends at the same time on the next date.
    EXPECT_EQ(Single(1, 2026, 10, 31, 10, 0, 10, 0).GetEndTime(), CTime(2026, 11, 1, 10, 0, 0));
    // Noon is 13 hours after midnight on the day with 25 hours.
    const CTime noon(2026, 11, 1, 12, 0, 0);
    EXPECT_EQ((noon - CTimeRect::GetYMD(noon)).GetTotalSeconds(), 13 * 3600);
}

TEST(DaylightSaving, PairCheckFindsTheNextDaysRunAtItsLocalTime) {
    Harness h;
    h.SetTimeZone("America/New_York");
    const CQProg sunday = Single(1, 2026, 11, 1, 10, 0, 11, 0);
    const CQProg night = Single(1, 2026, 10, 31, 23, 30, 9, 59);
    const CQProg monday = Single(1, 2026, 11, 2, 0, 30, 1, 0);
    const CQProg springSunday = Single(1, 2027, 3, 14, 10, 0, 11, 0);
    ExpectPairs({
        // Saturday night into the Sunday of the change, against Sunday 10:00.
        {sunday, Weekly(2, kSat, 23, 0, 9, 58), 180, -2},
        {sunday, Weekly(2, kSat, 23, 0, 9, 57), 180, 0},
        {sunday, Weekly(2, kSat, 23, 0, 10, 1), 180, -1},
        // A single program into the Sunday, against a Sunday weekly program.
        {night, Weekly(2, kSun, 10, 1, 11, 0), 180, -2},
        {night, Weekly(2, kSun, 10, 2, 11, 0), 180, 0},
        // Sunday night against the Monday after the change.
        {monday, Weekly(2, kSun, 23, 0, 0, 29), 180, -2},
        {monday, Weekly(2, kSun, 23, 0, 0, 31), 180, -1},
        {springSunday, Weekly(2, kSat, 23, 0, 9, 58), 180, -2},
        {springSunday, Weekly(2, kSat, 23, 0, 9, 57), 180, 0},
    });
}

}  // namespace
