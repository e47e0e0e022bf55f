#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include <quillon/QProgLog.h>
#include <quillon/testing.h>

#include "tests/schedule/sched_helpers.h"

namespace {

using quillon::testing::Harness;
using schedtest::S;

const char* const kOrderMsg = "Unknow Error! CQProgLog\n開始終了時刻の順序が不正";
const char* const kLengthMsg =
    "Unknow Error! CQProgLog\n開始から終了までの時間が規定値を超えている";

CQProgLog Log(int slot, CTime begin, CTime end) {
    CQProgLog l;
    CQProg& p = l;
    p = schedtest::Single(slot, 1999, 11, 1, 21, 0, 22, 30);
    l.SetLogTime(CTimeRect(begin, end));
    return l;
}

TEST(QProgLog, NewEntry) {
    Harness h;
    CQProgLog l;
    EXPECT_EQ(l.GetLogState(), -1);
    EXPECT_EQ(l.GetSlotNo(), -1);
    EXPECT_EQ(l.GetKind(), -1);
    EXPECT_TRUE(l.GetLogStrState().IsEmpty());
}

TEST(QProgLog, IsProperChecksTheProgramFirstThenOrderThenLength) {
    Harness h;
    const CTime b(2025, 1, 6, 10, 0, 0);

    // The program part fails first and the log times are not looked at.
    CQProgLog badSlot = Log(0, b, b);
    EXPECT_FALSE(badSlot.IsProper());
    CQProgLog badKind = Log(2, b, b + CTimeSpan(60));
    badKind.SetActionSource(2, 2);
    EXPECT_FALSE(badKind.IsProper());
    EXPECT_EQ(schedtest::BoxTexts(h),
              (std::vector<std::string>{S("Unknow Error! CQProg\nスロット番号が不正"),
                                        S("Unknow Error! CQProg\n予約種類が不正")}));

    std::size_t seen = h.MessageBoxes().size();
    EXPECT_FALSE(Log(1, b, b).IsProper());
    EXPECT_FALSE(Log(1, b, b - CTimeSpan(1)).IsProper());
    EXPECT_FALSE(Log(1, b, b + CTimeSpan(86400)).IsProper());
    EXPECT_FALSE(Log(1, b, b + CTimeSpan(86400 * 30)).IsProper());
    EXPECT_EQ(schedtest::BoxTexts(h, seen),
              (std::vector<std::string>{S(kOrderMsg), S(kOrderMsg), S(kLengthMsg), S(kLengthMsg)}));

    seen = h.MessageBoxes().size();
    EXPECT_TRUE(Log(1, b, b + CTimeSpan(86399)).IsProper());
    EXPECT_TRUE(Log(1, b, b + CTimeSpan(1)).IsProper());
    // Log times are compared with neither the program's times nor the clock.
    EXPECT_TRUE(Log(8, CTime(2030, 5, 5, 3, 0, 0), CTime(2030, 5, 5, 4, 0, 0)).IsProper());
    EXPECT_EQ(h.MessageBoxes().size(), seen);
}

TEST(QProgLog, InstantsFarApartAreTooLongNotWrapped) {
    Harness h;
    // The difference does not fit in 32 bits; it is still far over a day.
    CQProgLog l = Log(1, CTime(INT32_MIN + 10), CTime(INT32_MAX - 10));
    EXPECT_FALSE(l.IsProper());
    EXPECT_EQ(schedtest::BoxTexts(h), std::vector<std::string>{S(kLengthMsg)});

    CQProgLog edge = Log(1, CTime(INT32_MAX - 86399), CTime(INT32_MAX));
    EXPECT_TRUE(edge.IsProper());
}

TEST(QProgLog, Texts) {
    Harness h;
    CQProgLog l = Log(5, CTime(1999, 11, 1, 21, 3, 10), CTime(1999, 11, 2, 0, 31, 5));
    l.m_nLogState = 0;
    EXPECT_EQ(l.GetLogStrState().str(), S("実行済み"));
    EXPECT_EQ(l.GetLogStrState().str(), "\x8E\xC0\x8D\x73\x8D\xCF\x82\xDD");
    l.m_nLogState = 1;
    EXPECT_EQ(l.GetLogStrState().str(), S("実行エラー"));
    for (int state : {-1, 2, 100}) {
        l.m_nLogState = state;
        EXPECT_TRUE(l.GetLogStrState().IsEmpty()) << state;
    }

    EXPECT_EQ(l.GetLogStr().str(),
              " SlotNo[05] Time[99,11/01(Mon) 21:03:10 - 99,11/02(Tue) 00:31:05]");
    EXPECT_EQ(l.GetLogStrTime().str(), "21:03 - 00:31");
    EXPECT_EQ(l.GetLogBeginDay().str(), "1999/11/01");
    // The program's own operations still describe the program part.
    EXPECT_EQ(l.GetStrTime().str(), "21:00 - 22:30");

    CTime b, e;
    l.GetLogTime(&b, &e);
    EXPECT_EQ(b, CTime(1999, 11, 1, 21, 3, 10));
    EXPECT_EQ(e, CTime(1999, 11, 2, 0, 31, 5));
    CTimeRect r = GetLogTimeRect(l);
    EXPECT_EQ(r.GetBegin(), b);
    EXPECT_EQ(r.GetEnd(), e);

    CQProgLog copy;
    copy = l;
    EXPECT_EQ(copy.GetLogState(), 100);
    EXPECT_EQ(copy.GetLogStr().str(), l.GetLogStr().str());
    EXPECT_EQ(copy.GetSlotNo(), 5);
}

}  // namespace
