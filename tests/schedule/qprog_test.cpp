#include <gtest/gtest.h>

#include <string>

#include <quillon/QProg.h>
#include <quillon/testing.h>

#include "tests/schedule/sched_helpers.h"

namespace {

using quillon::testing::Harness;
using schedtest::S;

const char* const kSlotMsg = "Unknow Error! CQProg\nスロット番号が不正";
const char* const kNkxMsg = "Unknow Error! CQProg\nNKX以外にNKXメールフラグが設定されている";
const char* const kKindMsg = "Unknow Error! CQProg\n予約種類が不正";

std::string KindName(const CQProg& p, int* kind = nullptr) {
    CString name("left over");
    int k = p.GetKind(&name);
    if (kind) *kind = k;
    return name.str();
}

TEST(QProg, NewRecordIsAnImproperSingleProgram) {
    Harness h;
    CQProg p;
    EXPECT_EQ(p.GetSlotNo(), -1);
    int kind = 0;
    EXPECT_EQ(KindName(p, &kind), "");
    EXPECT_EQ(kind, -1);
    EXPECT_EQ(p.GetKind(), -1);
    EXPECT_TRUE(p.IsSinglePlan());
    EXPECT_EQ(p.GetWeekly(), 0);
    EXPECT_FALSE(p.IsNKXMail());
    EXPECT_EQ(p.GetAction(), 0);
    EXPECT_EQ(p.GetSource(), 0);

    EXPECT_FALSE(p.IsProper());
    auto boxes = h.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, S(kSlotMsg));
    EXPECT_EQ(boxes[0].text, std::string("Unknow Error! CQProg\n"
                                         "\x83\x58\x83\x8D\x83\x62\x83\x67\x94\xD4\x8D\x86\x82\xAA"
                                         "\x95\x73\x90\xB3"));
    EXPECT_EQ(boxes[0].type, MB_OK);
}

TEST(QProg, KindTableAndNames) {
    Harness h;
    struct Row {
        int action, source, kind;
        const char* name;
    };
    // clang-format off
    const Row rows[] = {
        {1, 1, 0, "CD再生"}, {1, 2, 1, "MD再生"}, {1, 3, 2, "FM音声受信"},
        {3, 0, 3, "パーソナルタイマー"}, {3, 7, 3, "パーソナルタイマー"},
        {3, -5, 3, "パーソナルタイマー"}, {2, 3, 4, "FM⇒MD録音"},
        {1, 7, 5, ""}, {2, 1, 6, ""}, {2, 2, 7, ""}, {2, 7, 8, ""},
        {1, 4, -1, ""}, {1, 0, -1, ""}, {2, 0, -1, ""}, {0, 1, -1, ""}, {4, 3, -1, ""},
        {-1, 1, -1, ""},
    };
    // clang-format on
    for (const Row& r : rows) {
        CQProg p;
        p.SetActionSource(r.action, r.source);
        int kind = 99;
        EXPECT_EQ(KindName(p, &kind), S(r.name)) << r.action << "/" << r.source;
        EXPECT_EQ(kind, r.kind) << r.action << "/" << r.source;
    }

    // The same names as raw Shift-JIS bytes (two of them carry a 0x5C trail byte).
    CQProg p;
    p.SetKind(0);
    EXPECT_EQ(KindName(p), "CD\x8D\xC4\x90\xB6");
    p.SetKind(3);
    EXPECT_EQ(KindName(p),
              "\x83\x70\x81\x5B\x83\x5C\x83\x69\x83\x8B\x83\x5E\x83\x43\x83\x7D\x81\x5B");
    p.SetKind(4);
    EXPECT_EQ(KindName(p), "FM\x81\xCBMD\x98\x5E\x89\xB9");
}

TEST(QProg, SetKindWritesActionAndSource) {
    Harness h;
    const int expect[5][2] = {{1, 1}, {1, 2}, {1, 3}, {3, 2}, {2, 3}};
    for (int k = 0; k < 5; ++k) {
        CQProg p;
        p.SetActionSource(9, 2);
        EXPECT_TRUE(p.SetKind(k));
        EXPECT_EQ(p.GetAction(), expect[k][0]) << k;
        EXPECT_EQ(p.GetSource(), expect[k][1]) << k;  // kind 3 keeps source 2
        EXPECT_EQ(p.GetKind(), k);
    }
    for (int bad : {5, 6, 8, -1, 100}) {
        CQProg p;
        p.SetActionSource(2, 1);
        EXPECT_FALSE(p.SetKind(bad)) << bad;
        EXPECT_EQ(p.GetAction(), 2);
        EXPECT_EQ(p.GetSource(), 1);
    }
}

TEST(QProg, IsProperChecksSlotThenMailFlagThenKind) {
    Harness h;
    CQProg p;
    p.SetKind(0);
    for (int slot : {0, 9, -1, 100}) {
        p.SetSlotNo(slot);
        EXPECT_FALSE(p.IsProper()) << slot;
    }
    for (int slot : {1, 8}) {
        p.SetSlotNo(slot);
        EXPECT_TRUE(p.IsProper()) << slot;
    }
    EXPECT_EQ(schedtest::BoxTexts(h), std::vector<std::string>(4, S(kSlotMsg)));

    std::size_t seen = h.MessageBoxes().size();
    CQProg mail;
    mail.SetSlotNo(3);
    mail.SetKind(0);
    mail.m_bNKXMail = true;
    EXPECT_FALSE(mail.IsProper());  // proper kind, but not the personal timer
    mail.SetActionSource(2, 1);
    EXPECT_FALSE(mail.IsProper());  // the flag is looked at before the kind
    mail.SetKind(3);
    EXPECT_TRUE(mail.IsProper());
    EXPECT_TRUE(mail.IsNKXMail());

    CQProg raw;
    raw.SetSlotNo(3);
    raw.SetActionSource(2, 1);  // kind 6: readable, not proper
    EXPECT_EQ(raw.GetKind(), 6);
    EXPECT_FALSE(raw.IsProper());
    raw.SetSlotNo(0);
    raw.m_bNKXMail = true;
    EXPECT_FALSE(raw.IsProper());  // only the first broken rule is shown
    EXPECT_EQ(schedtest::BoxTexts(h, seen),
              (std::vector<std::string>{S(kNkxMsg), S(kNkxMsg), S(kKindMsg), S(kSlotMsg)}));
}

TEST(QProg, WeeklyPatterns) {
    Harness h;
    CQProg p;
    p.SetWeekly(0x7F);
    EXPECT_FALSE(p.IsSinglePlan());
    EXPECT_EQ(p.GetStrPattern().str(), S("毎日"));
    EXPECT_EQ(p.GetStrPattern().str(), "\x96\x88\x93\xFA");
    p.SetWeekly(0x41);
    EXPECT_EQ(p.GetStrPattern().str(), S("毎週 日土"));
    p.SetWeekly(0x3E);
    EXPECT_EQ(p.GetStrPattern().str(), S("毎週 月火水木金"));
    p.SetWeekly(0x10);
    EXPECT_EQ(p.GetStrPattern().str(), S("毎週 木"));

    p.SetWeekly(0x41);
    EXPECT_EQ(p.GetWeekly(), 0x41);
    EXPECT_TRUE(p.IsWeekly(0));
    EXPECT_TRUE(p.IsWeekly(6));
    EXPECT_FALSE(p.IsWeekly(1));
    EXPECT_FALSE(p.IsWeekly(5));
    // Anything outside 0..6 is a mask.
    EXPECT_TRUE(p.IsWeekly(7));  // 0b111 shares bit 0
    EXPECT_FALSE(p.IsWeekly(8));
    EXPECT_TRUE(p.IsWeekly(0x40));
    EXPECT_FALSE(p.IsWeekly(0x3E));
    EXPECT_TRUE(p.IsWeekly(-1));
    EXPECT_TRUE(p.IsWeekly(-2));     // ...11110 shares bit 6
    EXPECT_FALSE(p.IsWeekly(-128));  // ...10000000 shares nothing

    // Only the low eight bits are kept; no bits at all is a single plan.
    p.SetWeekly(0x100);
    EXPECT_TRUE(p.IsSinglePlan());
    EXPECT_EQ(p.GetWeekly(), 0);

    CQProg dated = schedtest::Single(1, 1999, 11, 1, 21, 0, 22, 30);
    EXPECT_TRUE(dated.IsSinglePlan());
    EXPECT_EQ(dated.GetWeekly(), 1);  // the day of the month
    EXPECT_EQ(dated.GetStrPattern().str(), "1999/11/01");
    dated.SetWeekly(0x02);
    EXPECT_FALSE(dated.IsSinglePlan());
    dated.SetWeekly(0);
    EXPECT_TRUE(dated.IsSinglePlan());
    EXPECT_EQ(dated.GetWeekly(), 0);
}

TEST(QProg, SetTimeKeepsMinutesAndThePattern) {
    Harness h;
    CQProg p;
    p.SetTime(CTime(1999, 11, 1, 9, 15, 59), CTime(1999, 11, 3, 10, 45, 30));
    EXPECT_EQ(p.GetBeginTime(), CTime(1999, 11, 1, 9, 15, 0));
    EXPECT_EQ(p.GetEndTime(), CTime(1999, 11, 1, 10, 45, 0));
    EXPECT_EQ(p.GetStrTime().str(), "09:15 - 10:45");

    // A dated program moves to the new begin's date.
    p.SetTime(CTime(2024, 2, 29, 6, 0, 0), CTime(2024, 2, 29, 7, 0, 0));
    EXPECT_EQ(p.GetBeginTime(), CTime(2024, 2, 29, 6, 0, 0));

    CQProg w;
    w.SetWeekly(0x02);
    w.SetTime(CTime(2025, 1, 8, 20, 0, 30), CTime(2025, 1, 8, 21, 30, 0));
    EXPECT_FALSE(w.IsSinglePlan());
    EXPECT_EQ(w.GetWeekly(), 0x02);
    EXPECT_EQ(w.GetBeginTime(), CTime(1971, 1, 1, 20, 0, 0));
    EXPECT_EQ(w.GetEndTime(), CTime(1971, 1, 1, 21, 30, 0));
    EXPECT_EQ(w.GetBeginTime().GetDayOfWeek(), 6);  // the reference day is a Friday
}

TEST(QProg, EndTimeAndLength) {
    Harness h;
    CQProg night = schedtest::Single(1, 1999, 11, 1, 23, 0, 1, 0);
    EXPECT_EQ(night.GetBeginTime(), CTime(1999, 11, 1, 23, 0, 0));
    EXPECT_EQ(night.GetEndTime(), CTime(1999, 11, 2, 1, 0, 0));
    EXPECT_EQ(night.GetStrTime().str(), "23:00 - 01:00");

    CQProg full = schedtest::Single(1, 1999, 11, 1, 10, 0, 10, 0);
    EXPECT_EQ(full.GetEndTime(), CTime(1999, 11, 2, 10, 0, 0));
    CQProg midnight = schedtest::Single(1, 1999, 12, 31, 0, 0, 0, 0);
    EXPECT_EQ(midnight.GetEndTime(), CTime(2000, 1, 1, 0, 0, 0));
    CQProg almost = schedtest::Single(1, 1999, 11, 1, 10, 1, 10, 0);
    EXPECT_EQ((almost.GetEndTime() - almost.GetBeginTime()).GetTotalSeconds(), 86400 - 60);
    CQProg minute = schedtest::Single(1, 1999, 11, 1, 10, 0, 10, 1);
    EXPECT_EQ((minute.GetEndTime() - minute.GetBeginTime()).GetTotalSeconds(), 60);

    CQProg weekNight = schedtest::Weekly(1, schedtest::kMon, 23, 0, 1, 0);
    CTime b, e;
    weekNight.GetTime(&b, &e);
    EXPECT_EQ(b, CTime(1971, 1, 1, 23, 0, 0));
    EXPECT_EQ(e, CTime(1971, 1, 2, 1, 0, 0));
    CTimeRect r = weekNight.GetTime();
    EXPECT_EQ(r.GetBegin(), b);
    EXPECT_EQ(r.GetEnd(), e);
}

TEST(QProg, OneLineDescription) {
    Harness h;
    CQProg p = schedtest::Single(3, 1999, 11, 1, 21, 0, 22, 30);
    EXPECT_EQ(p.GetStr().str(),
              " SlotNo[03] Time[99,11/01(Mon) 21:00:00 - 99,11/01(Mon) 22:30:00]");
    EXPECT_EQ(p.GetStrTime().str(), "21:00 - 22:30");
    p.SetSlotNo(12);
    EXPECT_EQ(p.GetStr().Left(12).str(), " SlotNo[12] ");

    CQProg copy = p;
    copy.m_bNKXMail = true;
    CQProg assigned;
    assigned = copy;
    EXPECT_EQ(assigned.GetStr().str(), p.GetStr().str());
    EXPECT_TRUE(assigned.IsNKXMail());
    EXPECT_EQ(assigned.GetKind(), 0);
}

}  // namespace
