#include <gtest/gtest.h>

#include <quillon/QMainScreen.h>
#include <quillon/testing.h>

#include "schedule/ProgInPeriod.h"
#include "schedule/Rules.h"
#include "tests/schedule/sched_helpers.h"

// New York leaves daylight saving on 2026-11-01 and enters it on 2027-03-14.
// Programs are times of day, so they stay on the clock face across the change.

namespace {

using quillon::testing::Harness;
using schedtest::Single;
using schedtest::Weekly;

void ExpectDailyAtTen(int y, int mo, int firstDay) {
    const CQProg daily = Weekly(1, 0x7F, 10, 0, 11, 0);
    CArray<CTimeRect, CTimeRect> runs;
    ASSERT_TRUE(GetProgInPeriod(
        daily, CTimeRect(CTime(y, mo, firstDay, 0, 0, 0), CTime(y, mo, firstDay + 7, 0, 0, 0)),
        &runs));
    ASSERT_EQ(runs.GetSize(), 7);
    for (int i = 0; i < 7; ++i) {
        // Days past the end of the month roll over into the next one.
        EXPECT_EQ(runs[i].GetBegin(), CTime(y, mo, firstDay + i, 10, 0, 0)) << i;
        EXPECT_EQ(runs[i].GetBegin().GetHour(), 10) << i;
        EXPECT_EQ(runs[i].GetSpan().GetTotalSeconds(), 3600) << i;
    }

    CArray<CQProg, CQProg> progs;
    progs.Add(daily);
    CArray<CQProgLog, CQProgLog> logs;
    CQMainScreen::GetInPeriodLog(
        &progs, CTimeRect(CTime(y, mo, firstDay, 0, 0, 0), CTime(y, mo, firstDay + 7, 0, 0, 0)),
        &logs);
    ASSERT_EQ(logs.GetSize(), 7);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(logs[i].GetLogStrTime().str(), "10:00 - 11:00") << i;
}

TEST(DaylightSaving, DailyProgramStaysAtTenAcrossTheChange) {
    Harness h;
    h.SetTimeZone("America/New_York");
    ExpectDailyAtTen(2026, 10, 29);  // through the fall back
    ExpectDailyAtTen(2027, 3, 11);   // through the spring forward
}

TEST(DaylightSaving, EndTimeOnTheNextDateIsLocal) {
    Harness h;
    h.SetTimeZone("America/New_York");
    const CQProg fall = Single(1, 2026, 10, 31, 23, 0, 3, 0);
    EXPECT_EQ(fall.GetEndTime(), CTime(2026, 11, 1, 3, 0, 0));
    EXPECT_EQ((fall.GetEndTime() - fall.GetBeginTime()).GetTotalSeconds(), 5 * 3600);
    EXPECT_EQ(fall.GetStrTime().str(), "23:00 - 03:00");

    const CQProg fallOne = Single(1, 2026, 10, 31, 23, 0, 1, 0);
    EXPECT_EQ(fallOne.GetEndTime().GetMonth(), 11);
    EXPECT_EQ(fallOne.GetEndTime().GetDay(), 1);
    EXPECT_EQ(fallOne.GetEndTime().GetHour(), 1);
    EXPECT_EQ(fallOne.GetEndTime().GetMinute(), 0);

    const CQProg spring = Single(1, 2027, 3, 13, 23, 0, 3, 0);
    EXPECT_EQ(spring.GetEndTime(), CTime(2027, 3, 14, 3, 0, 0));
    EXPECT_EQ((spring.GetEndTime() - spring.GetBeginTime()).GetTotalSeconds(), 3 * 3600);

    // A whole-day program ends at the same time on the next date.
    const CQProg day = Single(1, 2026, 10, 31, 10, 0, 10, 0);
    EXPECT_EQ(day.GetEndTime(), CTime(2026, 11, 1, 10, 0, 0));

    // The day helpers rebuild from the calendar: noon is 13 hours after
    // midnight on the day with 25 hours.
    const CTime noon(2026, 11, 1, 12, 0, 0);
    EXPECT_EQ(CTimeRect::GetYMD(noon), CTime(2026, 11, 1, 0, 0, 0));
    EXPECT_EQ((noon - CTimeRect::GetYMD(noon)).GetTotalSeconds(), 13 * 3600);
}

TEST(DaylightSaving, PairCheckFindsTheNextDaysRunAtItsLocalTime) {
    Harness h;
    h.SetTimeZone("America/New_York");
    // Saturday night into the Sunday of the change, against Sunday 10:00.
    const CQProg sunday = Single(1, 2026, 11, 1, 10, 0, 11, 0);
    EXPECT_EQ(ChkOverlapProgPair(sunday, Weekly(2, schedtest::kSat, 23, 0, 9, 58), 180), -2);
    EXPECT_EQ(ChkOverlapProgPair(sunday, Weekly(2, schedtest::kSat, 23, 0, 9, 57), 180), 0);
    EXPECT_EQ(ChkOverlapProgPair(sunday, Weekly(2, schedtest::kSat, 23, 0, 10, 1), 180), -1);

    // A single program into the Sunday, against a Sunday weekly program.
    const CQProg night = Single(1, 2026, 10, 31, 23, 30, 9, 59);
    EXPECT_EQ(ChkOverlapProgPair(night, Weekly(2, schedtest::kSun, 10, 1, 11, 0), 180), -2);
    EXPECT_EQ(ChkOverlapProgPair(Weekly(2, schedtest::kSun, 10, 2, 11, 0), night, 180), 0);

    // Sunday night against the Monday after the change.
    const CQProg monday = Single(1, 2026, 11, 2, 0, 30, 1, 0);
    EXPECT_EQ(ChkOverlapProgPair(monday, Weekly(2, schedtest::kSun, 23, 0, 0, 29), 180), -2);
    EXPECT_EQ(ChkOverlapProgPair(monday, Weekly(2, schedtest::kSun, 23, 0, 0, 31), 180), -1);

    const CQProg springSunday = Single(1, 2027, 3, 14, 10, 0, 11, 0);
    EXPECT_EQ(ChkOverlapProgPair(springSunday, Weekly(2, schedtest::kSat, 23, 0, 9, 58), 180), -2);
    EXPECT_EQ(ChkOverlapProgPair(springSunday, Weekly(2, schedtest::kSat, 23, 0, 9, 57), 180), 0);
}

TEST(DaylightSaving, WithoutDaylightSavingDaysAreWholeDays) {
    Harness h;  // Asia/Tokyo
    const CQProg daily = Weekly(1, 0x7F, 10, 0, 11, 0);
    CArray<CTimeRect, CTimeRect> runs;
    ASSERT_TRUE(GetProgInPeriod(
        daily, CTimeRect(CTime(2026, 10, 29, 0, 0, 0), CTime(2026, 11, 5, 0, 0, 0)), &runs));
    ASSERT_EQ(runs.GetSize(), 7);
    for (int i = 1; i < 7; ++i) {
        EXPECT_EQ((runs[i].GetBegin() - runs[0].GetBegin()).GetTotalSeconds(), i * 86400) << i;
    }
    const CQProg fall = Single(1, 2026, 10, 31, 23, 0, 3, 0);
    EXPECT_EQ((fall.GetEndTime() - fall.GetBeginTime()).GetTotalSeconds(), 4 * 3600);
    const CQProg day = Single(1, 2026, 10, 31, 10, 0, 10, 0);
    EXPECT_EQ((day.GetEndTime() - day.GetBeginTime()).GetTotalSeconds(), 86400);
}

}  // namespace
