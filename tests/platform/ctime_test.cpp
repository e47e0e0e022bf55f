// Times: local calendar fields, 32-bit seconds that wrap and refuse what they
// cannot hold, and the harness's clock and time zone.
#include <quillon/platform/CTime.h>
#include <quillon/testing.h>

#include <gtest/gtest.h>

#include <climits>
#include <vector>

using quillon::testing::Harness;

TEST(CTimeTest, LocalFieldsRollOverUnrepresentableInstantsAreMinusOneAndSpansAreSigned) {
    Harness h;  // Asia/Tokyo, nine hours ahead of UTC, no daylight saving
    CTime t(1999, 11, 1, 9, 5, 7);
    EXPECT_EQ(t.Format("%y,%m/%d(%a) %H:%M:%S / %Y/%m/%d"), "99,11/01(Mon) 09:05:07 / 1999/11/01");
    // The day of the week counts from 1 for Sunday.
    EXPECT_EQ((std::vector<int>{t.GetYear(), t.GetMonth(), t.GetDay(), t.GetHour(), t.GetMinute(),
                                t.GetSecond(), t.GetDayOfWeek()}),
              (std::vector<int>{1999, 11, 1, 9, 5, 7, 2}));
    EXPECT_EQ(CTime(1970, 1, 1, 9, 0, 0).GetTime(), 0);
    EXPECT_EQ(CTime(1971, 1, 1, 0, 0, 0).GetDayOfWeek(), 6);  // a Friday
    EXPECT_TRUE(t.FormatGmt("%H") == "00" && CTime(0).Format("") == "");
    struct tm tm;
    EXPECT_TRUE(t.GetLocalTm(&tm) == &tm && tm.tm_wday == 1);

    // Fields roll over; what 32 bits cannot hold is -1.
    EXPECT_EQ(CTime(2025, 1, 32, 0, 0, 0), CTime(2025, 2, 1, 0, 0, 0));
    EXPECT_EQ(CTime(2025, 13, 1, 0, 0, 0), CTime(2026, 1, 1, 0, 0, 0));
    EXPECT_EQ(CTime(2025, 3, 1, -1, 0, 0), CTime(2025, 2, 28, 23, 0, 0));
    EXPECT_EQ(CTime(2038, 1, 1, 0, 0, 0).GetTime(), 2145884400);
    EXPECT_TRUE(CTime(2040, 1, 1, 0, 0, 0).GetTime() == -1 &&
                CTime(1900, 1, 1, 0, 0, 0).GetTime() == -1);

    // Spans, and signed arithmetic.
    CTimeSpan s(1, 2, 3, 4);
    EXPECT_EQ((std::vector<int>{s.GetTotalSeconds(), s.GetDays(), s.GetHours(), s.GetMinutes(),
                                s.GetSeconds()}),
              (std::vector<int>{93784, 1, 2, 3, 4}));
    EXPECT_TRUE(CTimeSpan(0, 0, -30, 0).GetTotalSeconds() == -1800 &&
                (-s).GetTotalSeconds() == -93784 && CTimeSpan(-1) < CTimeSpan(0));
    CTime a(1000);
    CTime b = a + CTimeSpan(500);
    EXPECT_EQ((a - b).GetTotalSeconds(), -500);
    b -= CTimeSpan(1500);
    EXPECT_TRUE(b.GetTime() == 0 && CTime(-1) < CTime(0));
    // 32-bit counts wrap as theirs do.
    EXPECT_EQ((CTime(INT_MAX) + CTimeSpan(1)).GetTime(), INT_MIN);
}

TEST(CTimeTest, HarnessClockDrivesCurrentTimeAndTickAndItsTimeZoneIsRestored) {
    setenv("TZ", "UTC", 1);
    tzset();
    {
        Harness h;
        CTime start(2030, 5, 6, 7, 8, 9);
        h.SetNow(start);
        EXPECT_EQ(CTime::GetCurrentTime(), start);
        DWORD tick = timeGetTime();
        h.AdvanceMs(999);
        EXPECT_TRUE(CTime::GetCurrentTime() == start && timeGetTime() - tick == 999u);
        h.AdvanceMs(1);
        EXPECT_TRUE(CTime::GetCurrentTime() == start + CTimeSpan(1) &&
                    h.Now() == start + CTimeSpan(1));
        EXPECT_EQ(h.Tick(), timeGetTime());

        // The same fields and the same instant read again in another zone.
        EXPECT_EQ(CTime(1970, 1, 1, 0, 0, 0).GetTime(), -9 * 3600);
        EXPECT_EQ(CTime(0).GetHour(), 9);
        h.SetTimeZone("America/New_York");
        EXPECT_EQ(CTime(1970, 1, 1, 0, 0, 0).GetTime(), 5 * 3600);
        EXPECT_EQ(CTime(0).GetHour(), 19);
    }
    EXPECT_STREQ(getenv("TZ"), "UTC");
    EXPECT_EQ(CTime(1970, 1, 1, 0, 0, 0).GetTime(), 0);
    setenv("TZ", "Asia/Tokyo", 1);
    tzset();
}
