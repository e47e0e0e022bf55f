#include <gtest/gtest.h>

#include <quillon/TimeRect.h>
#include <quillon/testing.h>

namespace {

using quillon::testing::Harness;

CTime T(int h, int m, int s) {
    return CTime(2025, 1, 6, h, m, s);
}

TEST(TimeRect, OverlapIsStrictAndRejectionLeavesTargetAlone) {
    Harness h;
    const CTimeRect a(T(10, 0, 0), T(11, 0, 0));
    const CTimeRect b(T(11, 0, 0), T(12, 0, 0));
    const CTimeRect keep(CTime(2000, 1, 1, 0, 0, 0), CTime(2000, 1, 2, 0, 0, 0));

    CTimeRect r = keep;
    EXPECT_FALSE(r.GetOverlap(a, b));
    EXPECT_FALSE(r.GetOverlap(b, a));
    EXPECT_EQ(r.GetBegin(), keep.GetBegin());
    EXPECT_EQ(r.GetEnd(), keep.GetEnd());

    // One second of overlap is an overlap, whichever way round.
    const CTimeRect c(T(10, 59, 59), T(12, 0, 0));
    ASSERT_TRUE(r.GetOverlap(a, c));
    EXPECT_EQ(r.GetBegin(), T(10, 59, 59));
    EXPECT_EQ(r.GetEnd(), T(11, 0, 0));
    r = keep;
    ASSERT_TRUE(r.GetOverlap(c, a));
    EXPECT_EQ(r.GetBegin(), T(10, 59, 59));
    EXPECT_EQ(r.GetEnd(), T(11, 0, 0));

    // Containment gives the inner range.
    ASSERT_TRUE(r.GetOverlap(a, CTimeRect(T(10, 15, 0), T(10, 30, 0))));
    EXPECT_EQ(r.GetBegin(), T(10, 15, 0));
    EXPECT_EQ(r.GetEnd(), T(10, 30, 0));

    // An empty or reversed range overlaps nothing, even inside another.
    r = keep;
    EXPECT_FALSE(r.GetOverlap(a, CTimeRect(T(10, 30, 0), T(10, 30, 0))));
    EXPECT_FALSE(r.GetOverlap(a, CTimeRect(T(10, 40, 0), T(10, 20, 0))));
    EXPECT_EQ(r.GetBegin(), keep.GetBegin());
    EXPECT_EQ(r.GetEnd(), keep.GetEnd());
}

TEST(TimeRect, MembershipEmptinessAndShifts) {
    Harness h;
    const CTimeRect a(T(10, 0, 0), T(11, 0, 0));
    EXPECT_TRUE(a.TimeInRect(T(10, 0, 0)));
    EXPECT_TRUE(a.TimeInRect(T(10, 59, 59)));
    EXPECT_FALSE(a.TimeInRect(T(11, 0, 0)));
    EXPECT_FALSE(a.TimeInRect(T(9, 59, 59)));
    EXPECT_FALSE(CTimeRect(T(11, 0, 0), T(10, 0, 0)).TimeInRect(T(10, 30, 0)));

    EXPECT_FALSE(a.IsRectEmpty());
    EXPECT_FALSE(CTimeRect(T(11, 0, 0), T(10, 0, 0)).IsRectEmpty());
    EXPECT_EQ(CTimeRect(T(11, 0, 0), T(10, 0, 0)).GetSpan().GetTotalSeconds(), -3600);

    CTimeRect w = a;
    w.InflateRect(CTimeSpan(90));
    EXPECT_EQ(w.GetBegin(), T(9, 58, 30));
    EXPECT_EQ(w.GetEnd(), T(11, 1, 30));
    w.InflateRect(CTimeSpan(-120));
    EXPECT_EQ(w.GetBegin(), T(10, 0, 30));
    EXPECT_EQ(w.GetEnd(), T(10, 59, 30));

    const CTimeSpan hour(0, 1, 0, 0);
    CTimeRect later = a + hour;
    EXPECT_EQ(later.GetBegin(), T(11, 0, 0));
    EXPECT_EQ(later.GetEnd(), T(12, 0, 0));
    CTimeRect earlier = a - hour;
    EXPECT_EQ(earlier.GetBegin(), T(9, 0, 0));
    EXPECT_EQ(a.GetBegin(), T(10, 0, 0));  // the operands stay as they were
    later -= hour;
    EXPECT_EQ(later.GetBegin(), T(10, 0, 0));
    earlier += CTimeSpan(1, 0, 0, 0);
    EXPECT_EQ(earlier.GetBegin(), CTime(2025, 1, 7, 9, 0, 0));
    EXPECT_EQ(earlier.GetEnd(), CTime(2025, 1, 7, 10, 0, 0));
}

TEST(TimeRect, DefaultRangeIsNowAndFollowsTheClock) {
    Harness h;
    h.SetNow(CTime(2025, 3, 4, 5, 6, 7));
    CTimeRect r;
    EXPECT_EQ(r.GetBegin(), CTime(2025, 3, 4, 5, 6, 7));
    EXPECT_EQ(r.GetEnd(), CTime(2025, 3, 4, 5, 6, 7));
    EXPECT_TRUE(r.IsRectEmpty());

    h.AdvanceMs(5000);
    r.SetEnd(CTime(2030, 1, 1, 0, 0, 0));
    r.SetRectEmpty();
    EXPECT_EQ(r.GetBegin(), CTime(2025, 3, 4, 5, 6, 12));
    EXPECT_EQ(r.GetEnd(), CTime(2025, 3, 4, 5, 6, 12));
}

TEST(TimeRect, CenterPointTruncatesTowardZero) {
    Harness h;
    EXPECT_EQ(CTimeRect(T(10, 0, 0), T(10, 0, 3)).CenterPoint(), T(10, 0, 1));
    EXPECT_EQ(CTimeRect(T(10, 0, 3), T(10, 0, 0)).CenterPoint(), T(10, 0, 2));
    EXPECT_EQ(CTimeRect(T(10, 0, 0), T(12, 0, 0)).CenterPoint(), T(11, 0, 0));
    EXPECT_EQ(CTimeRect(T(10, 0, 0), T(10, 0, 0)).CenterPoint(), T(10, 0, 0));
}

TEST(TimeRect, PastAndPastDayReadTheClockAtEachCall) {
    Harness h;
    h.SetNow(CTime(2025, 1, 6, 9, 0, 0));
    EXPECT_TRUE(CTimeRect::IsPastDay(CTime(2025, 1, 5, 23, 59, 59)));
    EXPECT_FALSE(CTimeRect::IsPastDay(CTime(2025, 1, 6, 0, 0, 0)));
    EXPECT_FALSE(CTimeRect::IsPastDay(CTime(2025, 1, 6, 8, 0, 0)));
    EXPECT_FALSE(CTimeRect::IsPastDay(CTime(2025, 1, 7, 0, 0, 0)));

    EXPECT_FALSE(CTimeRect::IsPast(CTime(2025, 1, 6, 9, 0, 0)));
    EXPECT_TRUE(CTimeRect::IsPast(CTime(2025, 1, 6, 8, 59, 59)));
    EXPECT_FALSE(CTimeRect::IsPast(CTime(2025, 1, 6, 9, 0, 1)));

    h.AdvanceMs(1000);
    EXPECT_TRUE(CTimeRect::IsPast(CTime(2025, 1, 6, 9, 0, 0)));
    h.SetNow(CTime(2025, 1, 7, 0, 0, 0));
    EXPECT_TRUE(CTimeRect::IsPastDay(CTime(2025, 1, 6, 23, 59, 59)));
}

TEST(TimeRect, TextsAndTruncation) {
    Harness h;
    const CTime t(1999, 11, 1, 9, 5, 7);
    EXPECT_STREQ(CTimeRect::CTime2Str(t), "99,11/01(Mon) 09:05:07");
    EXPECT_STREQ(CTimeRect::CTime2Str(CTime(2000, 2, 29, 23, 0, 0)), "00,02/29(Tue) 23:00:00");
    EXPECT_STREQ(CTimeRect(t, CTime(1999, 11, 2, 10, 0, 0)).GetStr(),
                 "99,11/01(Mon) 09:05:07 - 99,11/02(Tue) 10:00:00");

    EXPECT_EQ(CTimeRect::GetYMD(t), CTime(1999, 11, 1, 0, 0, 0));
    EXPECT_EQ(CTimeRect::GetYMDH(t), CTime(1999, 11, 1, 9, 0, 0));
    EXPECT_EQ(CTimeRect::GetYMD(CTime(1999, 11, 1, 0, 0, 0)), CTime(1999, 11, 1, 0, 0, 0));
    EXPECT_EQ(CTimeRect::GetYMD(CTime(1999, 11, 1, 23, 59, 59)), CTime(1999, 11, 1, 0, 0, 0));

    // Truncation follows the local calendar, not whole hours of UTC.
    h.SetTimeZone("Asia/Kolkata");
    const CTime k(2025, 1, 6, 10, 45, 0);
    EXPECT_EQ(CTimeRect::GetYMDH(k), CTime(2025, 1, 6, 10, 0, 0));
    EXPECT_EQ((k - CTimeRect::GetYMDH(k)).GetTotalSeconds(), 45 * 60);
    EXPECT_EQ((k - CTimeRect::GetYMD(k)).GetTotalSeconds(), (10 * 60 + 45) * 60);
}

}  // namespace
