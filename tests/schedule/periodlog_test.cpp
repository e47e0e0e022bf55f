#include <gtest/gtest.h>

#include <quillon/QMainScreen.h>
#include <quillon/testing.h>

#include "schedule/ProgInPeriod.h"
#include "tests/schedule/sched_helpers.h"

namespace {

using quillon::testing::Harness;
using schedtest::Single;
using schedtest::Weekly;

// 2025-01-05 is a Sunday, 2025-01-06 a Monday.
CTime D(int day, int h, int m = 0) {
    return CTime(2025, 1, day, h, m, 0);
}

CArray<CTimeRect, CTimeRect> Runs(const CQProg& p, CTimeRect period, bool* found = nullptr) {
    CArray<CTimeRect, CTimeRect> out;
    out.Add(CTimeRect(CTime(1), CTime(2)));  // must be emptied
    bool f = GetProgInPeriod(p, period, &out);
    if (found) *found = f;
    EXPECT_EQ(f, out.GetSize() > 0);
    return out;
}

TEST(ProgInPeriod, NightRunIsFoundOnBothDaysAndNotClipped) {
    Harness h;
    const CQProg mon = Weekly(1, schedtest::kMon, 23, 0, 1, 0);

    for (int day : {6, 7}) {  // the Monday and the Tuesday period
        auto runs = Runs(mon, CTimeRect(D(day, 0), D(day + 1, 0)));
        ASSERT_EQ(runs.GetSize(), 1) << day;
        EXPECT_EQ(runs[0].GetBegin(), D(6, 23));
        EXPECT_EQ(runs[0].GetEnd(), D(7, 1));
    }
    bool found = true;
    EXPECT_EQ(Runs(mon, CTimeRect(D(8, 0), D(9, 0)), &found).GetSize(), 0);
    EXPECT_FALSE(found);
    // Touching either end of the period is not enough.
    EXPECT_EQ(Runs(mon, CTimeRect(D(7, 1), D(8, 0))).GetSize(), 0);
    EXPECT_EQ(Runs(mon, CTimeRect(D(6, 0), D(6, 23))).GetSize(), 0);
    EXPECT_EQ(Runs(mon, CTimeRect(D(7, 0, 59), D(7, 1))).GetSize(), 1);

    // A Sunday-night run that started before a Monday-to-Monday week.
    const CQProg sun = Weekly(1, schedtest::kSun, 23, 0, 1, 0);
    auto runs = Runs(sun, CTimeRect(D(6, 0), D(13, 0)));
    ASSERT_EQ(runs.GetSize(), 2);
    EXPECT_EQ(runs[0].GetBegin(), D(5, 23));
    EXPECT_EQ(runs[0].GetEnd(), D(6, 1));
    EXPECT_EQ(runs[1].GetBegin(), D(12, 23));
    EXPECT_EQ(runs[1].GetEnd(), D(13, 1));
}

TEST(ProgInPeriod, SingleAndDailyPrograms) {
    Harness h;
    const CQProg one = Single(1, 2025, 1, 6, 10, 0, 11, 0);
    EXPECT_EQ(Runs(one, CTimeRect(D(6, 11), D(6, 12))).GetSize(), 0);
    EXPECT_EQ(Runs(one, CTimeRect(D(6, 9), D(6, 10))).GetSize(), 0);
    auto runs = Runs(one, CTimeRect(CTime(2025, 1, 6, 10, 59, 59), D(6, 12)));
    ASSERT_EQ(runs.GetSize(), 1);
    EXPECT_EQ(runs[0].GetBegin(), D(6, 10));
    EXPECT_EQ(runs[0].GetEnd(), D(6, 11));

    const CQProg daily = Weekly(1, 0x7F, 10, 0, 11, 0);
    bool found = true;
    EXPECT_EQ(Runs(daily, CTimeRect(D(6, 15), D(6, 16)), &found).GetSize(), 0);
    EXPECT_FALSE(found);
    runs = Runs(daily, CTimeRect(D(6, 10, 30), D(6, 10, 45)));
    ASSERT_EQ(runs.GetSize(), 1);
    EXPECT_EQ(runs[0].GetBegin(), D(6, 10));
    runs = Runs(daily, CTimeRect(D(6, 0), D(9, 0)));
    ASSERT_EQ(runs.GetSize(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(runs[i].GetBegin(), D(6 + i, 10)) << i;
        EXPECT_EQ(runs[i].GetEnd(), D(6 + i, 11)) << i;
    }

    // Sunday and Wednesday over one week from Sunday 00:00: two runs, in order.
    const CQProg sunWed = Weekly(1, schedtest::kSun | schedtest::kWed, 21, 0, 22, 0);
    runs = Runs(sunWed, CTimeRect(D(5, 0), D(12, 0)));
    ASSERT_EQ(runs.GetSize(), 2);
    EXPECT_EQ(runs[0].GetBegin(), D(5, 21));
    EXPECT_EQ(runs[1].GetBegin(), D(8, 21));
    EXPECT_EQ(runs[1].GetEnd(), D(8, 22));
}

TEST(ProgInPeriod, PeriodReachingTheEndOfTime) {
    Harness h;
    // 0x7FFFFFF0 is 2038-01-19 12:14:08 in Tokyo; the next day's run cannot be
    // represented, and the expansion must stop rather than wrap around.
    const CQProg daily = Weekly(1, 0x7F, 10, 0, 11, 0);
    auto runs = Runs(daily, CTimeRect(CTime(2038, 1, 15, 0, 0, 0), CTime(0x7FFFFFF0)));
    ASSERT_EQ(runs.GetSize(), 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(runs[i].GetBegin(), CTime(2038, 1, 15 + i, 10, 0, 0));

    const CQProg evening = Weekly(1, 0x7F, 22, 0, 23, 0);
    runs = Runs(evening, CTimeRect(CTime(2038, 1, 17, 0, 0, 0), CTime(INT32_MAX)));
    ASSERT_EQ(runs.GetSize(), 2);
    EXPECT_EQ(runs[1].GetBegin(), CTime(2038, 1, 18, 22, 0, 0));
}

TEST(PeriodLog, OrderedByProgramThenTimeWithProgramCopied) {
    Harness h;
    CArray<CQProg, CQProg> progs;
    CQProg daily = Weekly(2, 0x7F, 10, 0, 11, 0, 2);
    progs.Add(daily);
    CQProg early = Single(0, 2025, 1, 6, 9, 0, 9, 30, 3);  // not proper: not checked here
    early.m_bNKXMail = true;
    progs.Add(early);
    progs.Add(Single(4, 2025, 1, 20, 9, 0, 9, 30));  // outside the period

    CArray<CQProgLog, CQProgLog> out;
    out.Add(CQProgLog());
    CQMainScreen::GetInPeriodLog(&progs, CTimeRect(D(6, 0), D(8, 0)), &out);
    ASSERT_EQ(out.GetSize(), 3);
    const CTime begins[] = {D(6, 10), D(7, 10), D(6, 9)};
    const CTime ends[] = {D(6, 11), D(7, 11), CTime(2025, 1, 6, 9, 30, 0)};
    for (int i = 0; i < 3; ++i) {
        CTime b, e;
        out[i].GetLogTime(&b, &e);
        EXPECT_EQ(b, begins[i]) << i;
        EXPECT_EQ(e, ends[i]) << i;
        EXPECT_EQ(out[i].GetLogState(), -1);
        EXPECT_TRUE(out[i].GetLogStrState().IsEmpty());
    }
    EXPECT_EQ(out[0].GetSlotNo(), 2);
    EXPECT_EQ(out[1].GetKind(), 2);
    EXPECT_EQ(out[1].GetWeekly(), 0x7F);
    EXPECT_EQ(out[1].GetStrTime().str(), "10:00 - 11:00");
    EXPECT_EQ(out[2].GetSlotNo(), 0);
    EXPECT_TRUE(out[2].IsNKXMail());
    EXPECT_EQ(out[2].GetKind(), 3);
    EXPECT_TRUE(h.MessageBoxes().empty());

    CArray<CQProg, CQProg> none;
    CQMainScreen::GetInPeriodLog(&none, CTimeRect(D(6, 0), D(8, 0)), &out);
    EXPECT_EQ(out.GetSize(), 0);
    out.Add(CQProgLog());
    CQMainScreen::GetInPeriodLog(&progs, CTimeRect(D(6, 15), D(6, 16)), &out);
    EXPECT_EQ(out.GetSize(), 0);
}

}  // namespace
