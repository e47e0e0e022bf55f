#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <quillon/QMainScreen.h>
#include <quillon/testing.h>

#include "schedule/Rules.h"
#include "tests/schedule/sched_helpers.h"

namespace {

using quillon::testing::Harness;
using schedtest::S;
using schedtest::Single;
using schedtest::Weekly;

// Wednesday 2025-01-08; the harness starts on Monday 2025-01-06 09:00.
CQProg Wed(int slot, int bh, int bm, int eh, int em) {
    return Single(slot, 2025, 1, 8, bh, bm, eh, em);
}

std::string Dup(int code) {
    CString t;
    t.Format("%s%d", Sjis("Unknow Error!\n予約時間がダブっています。code=").c_str(), code);
    return t.str();
}

class ProgramTable : public ::testing::Test {
protected:
    ProgramTable() {
        CString ini("/nonexistent/TARVIK.INI");
        s = std::make_unique<CQMainScreen>("Q", nullptr, CRect(0, 0, 800, 600), &ini, nullptr);
        seen = h.MessageBoxes().size();
    }
    // Boxes shown since the last call.
    std::vector<std::string> NewBoxes() {
        auto texts = schedtest::BoxTexts(h, seen);
        seen = h.MessageBoxes().size();
        return texts;
    }

    Harness h;
    std::unique_ptr<CQMainScreen> s;
    std::size_t seen = 0;
};

TEST_F(ProgramTable, EmptyScreen) {
    auto boxes = h.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "File Error /nonexistent/TARVIK.INI");
    EXPECT_EQ(boxes[0].caption, "Error");

    CQProg out;
    EXPECT_FALSE(s->GetProgram(1, &out));
    EXPECT_FALSE(s->DeleteProgram(1));
    EXPECT_EQ(s->GetProgramMargin(), 180);
    // No slot buttons and no device items on an empty screen.
    EXPECT_EQ(s->GetEmptySlotNo(), -1);
    ASSERT_TRUE(s->SetProgram(Wed(1, 10, 0, 11, 0)));
    EXPECT_EQ(s->GetEmptySlotNo(), -1);
    EXPECT_FALSE(s->SetProgDefaultTime("CD/DVD", CTimeSpan(600)));
    EXPECT_TRUE(NewBoxes().empty());
}

TEST_F(ProgramTable, StoreReadDeleteAndLogs) {
    CQProg p = Wed(2, 10, 0, 11, 0);
    p.SetKind(3);
    p.m_bNKXMail = true;
    ASSERT_TRUE(s->SetProgram(p));
    CQProg out;
    ASSERT_TRUE(s->GetProgram(2, &out));
    EXPECT_EQ(out.GetStr().str(), p.GetStr().str());
    EXPECT_EQ(out.GetKind(), 3);
    EXPECT_TRUE(out.IsNKXMail());

    // An improper program is refused with its own message only.
    EXPECT_FALSE(s->SetProgram(Wed(0, 14, 0, 15, 0)));
    EXPECT_EQ(NewBoxes(), std::vector<std::string>{S("Unknow Error! CQProg\nスロット番号が不正")});
    EXPECT_FALSE(s->GetProgram(0, &out));

    EXPECT_TRUE(s->DeleteProgram(2));
    EXPECT_FALSE(s->GetProgram(2, &out));
    EXPECT_FALSE(s->DeleteProgram(2));
    // The slot is free again for an overlapping program.
    EXPECT_TRUE(s->SetProgram(Wed(3, 10, 30, 11, 30)));

    CQProgLog log;
    CQProg& part = log;
    part = Wed(3, 10, 30, 11, 30);
    log.SetLogTime(CTimeRect(CTime(2025, 1, 8, 10, 30, 5), CTime(2025, 1, 8, 11, 29, 0)));
    log.m_nLogState = 0;
    EXPECT_TRUE(s->AddLog(log));
    EXPECT_TRUE(s->AddLog(log));  // duplicates stay
    log.SetLogTime(CTimeRect(CTime(2025, 1, 8, 10, 30, 5), CTime(2025, 1, 8, 10, 30, 5)));
    EXPECT_FALSE(s->AddLog(log));
    EXPECT_EQ(NewBoxes(),
              std::vector<std::string>{S("Unknow Error! CQProgLog\n開始終了時刻の順序が不正")});
}

TEST_F(ProgramTable, ReplacementKeepsItsPlaceAndIsNotComparedWithItsOldSelf) {
    ASSERT_TRUE(s->SetProgram(Wed(1, 10, 0, 11, 0)));
    ASSERT_TRUE(s->SetProgram(Wed(2, 11, 10, 12, 0)));
    // The probe overlaps slot 1 and is a minute short of slot 2: the first
    // program in table order decides.
    const CQProg probe = Wed(5, 10, 30, 11, 9);
    EXPECT_EQ(s->ChkOverlapProg(probe), -1);

    ASSERT_TRUE(s->SetProgram(Wed(1, 10, 5, 11, 0)));  // overlaps its old version
    EXPECT_TRUE(NewBoxes().empty());
    EXPECT_EQ(s->ChkOverlapProg(probe), -1);  // slot 1 is still ahead of slot 2
    CQProg out;
    ASSERT_TRUE(s->GetProgram(1, &out));
    EXPECT_EQ(out.GetBeginTime(), CTime(2025, 1, 8, 10, 5, 0));

    // A replacement is still compared with the other slots.
    EXPECT_FALSE(s->SetProgram(Wed(1, 11, 30, 12, 30)));
    EXPECT_EQ(NewBoxes(), std::vector<std::string>{Dup(-1)});
    ASSERT_TRUE(s->GetProgram(1, &out));
    EXPECT_EQ(out.GetBeginTime(), CTime(2025, 1, 8, 10, 5, 0));

    // One entry per slot: once deleted, the slot is gone.
    ASSERT_TRUE(s->DeleteProgram(1));
    EXPECT_FALSE(s->GetProgram(1, &out));
    EXPECT_EQ(s->ChkOverlapProg(probe), -2);
}

TEST_F(ProgramTable, SetProgramRefusesCollisionsButNotThePast) {
    ASSERT_TRUE(s->SetProgram(Wed(1, 10, 0, 11, 0)));
    EXPECT_FALSE(s->SetProgram(Wed(2, 10, 59, 12, 0)));
    EXPECT_FALSE(s->SetProgram(Wed(2, 11, 2, 12, 0)));
    EXPECT_FALSE(s->SetProgram(Wed(2, 11, 0, 12, 0)));
    EXPECT_EQ(NewBoxes(), (std::vector<std::string>{Dup(-1), Dup(-2), Dup(-2)}));
    EXPECT_EQ(Dup(-1), std::string("Unknow Error!\n\x97\x5C\x96\xF1\x8E\x9E\x8A\xD4\x82\xAA\x83\x5F"
                                   "\x83\x75\x82\xC1\x82\xC4\x82\xA2\x82\xDC\x82\xB7\x81\x42"
                                   "code=-1"));
    CQProg out;
    EXPECT_FALSE(s->GetProgram(2, &out));
    EXPECT_TRUE(s->SetProgram(Wed(2, 11, 3, 12, 0)));

    // No time rules here: yesterday and one minute ahead are both stored.
    EXPECT_TRUE(s->SetProgram(Single(3, 2025, 1, 5, 10, 0, 11, 0)));
    EXPECT_TRUE(s->SetProgram(Single(4, 2025, 1, 6, 9, 1, 9, 30)));
    EXPECT_TRUE(s->SetProgram(Single(5, 2030, 1, 1, 9, 1, 9, 30)));
    EXPECT_TRUE(NewBoxes().empty());
}

TEST_F(ProgramTable, MarginOfThreeMinutes) {
    ASSERT_TRUE(s->SetProgram(Wed(1, 10, 0, 11, 0)));
    struct Case {
        int bh, bm, eh, em, overlap, full;
    };
    const Case cases[] = {
        {11, 3, 12, 0, 0, 0},    {11, 2, 12, 0, -2, -5},   {11, 0, 12, 0, -2, -5},
        {10, 59, 12, 0, -1, -6}, {8, 0, 9, 57, 0, 0},      {8, 0, 9, 58, -2, -5},
        {8, 0, 10, 0, -2, -5},   {10, 20, 10, 40, -1, -6}, {9, 0, 13, 0, -1, -6},
    };
    for (const Case& c : cases) {
        CQProg p = Wed(2, c.bh, c.bm, c.eh, c.em);
        EXPECT_EQ(s->ChkOverlapProg(p), c.overlap) << p.GetStr().str();
        EXPECT_EQ(s->ChkCQProgSet(p), c.full) << p.GetStr().str();
    }
    // A changed program is not compared with its own old version.
    EXPECT_EQ(s->ChkOverlapProg(Wed(1, 10, 30, 11, 30)), 0);
    EXPECT_EQ(s->ChkCQProgSet(Wed(1, 10, 30, 11, 30)), 0);
    EXPECT_TRUE(NewBoxes().empty());
}

TEST_F(ProgramTable, WeeklyAgainstSingleAndWeekly) {
    ASSERT_TRUE(s->SetProgram(Weekly(1, schedtest::kMon, 23, 0, 1, 0)));
    EXPECT_EQ(s->ChkOverlapProg(Single(2, 2025, 1, 7, 0, 30, 2, 0)), -1);  // a Tuesday
    EXPECT_EQ(s->ChkOverlapProg(Single(2, 2025, 1, 7, 1, 2, 2, 0)), -2);
    EXPECT_EQ(s->ChkOverlapProg(Single(2, 2025, 1, 7, 1, 3, 2, 0)), 0);
    EXPECT_EQ(s->ChkOverlapProg(Single(2, 2025, 1, 8, 0, 30, 2, 0)), 0);      // a Wednesday
    EXPECT_EQ(s->ChkOverlapProg(Single(2, 2025, 1, 13, 22, 0, 22, 58)), -2);  // next Monday
    EXPECT_EQ(s->ChkCQProgSet(Single(2, 2025, 1, 7, 0, 30, 2, 0)), -6);

    // Either argument order, and a single program running into the weekly day.
    const CQProg mon = Weekly(1, schedtest::kMon, 0, 0, 1, 0);
    const CQProg sunNight = Single(2, 2025, 1, 12, 23, 30, 0, 30);
    EXPECT_EQ(ChkOverlapProgPair(mon, sunNight, 180), -1);
    EXPECT_EQ(ChkOverlapProgPair(sunNight, mon, 180), -1);

    const CQProg sat = Weekly(3, schedtest::kSat, 23, 30, 0, 30);
    const CQProg sun = Weekly(4, schedtest::kSun, 0, 0, 1, 0);
    EXPECT_EQ(ChkOverlapProgPair(sat, sun, 180), -1);
    EXPECT_EQ(ChkOverlapProgPair(sun, sat, 180), -1);
    EXPECT_EQ(ChkOverlapProgPair(Weekly(3, schedtest::kSat, 23, 0, 23, 58), sun, 180), -2);
    EXPECT_EQ(ChkOverlapProgPair(Weekly(3, schedtest::kSat, 23, 0, 23, 57), sun, 180), 0);
    EXPECT_EQ(ChkOverlapProgPair(Weekly(3, schedtest::kFri, 23, 30, 0, 30), sun, 180), 0);
    // The reference week begins on a Friday: Thursday night still meets Friday.
    const CQProg fri = Weekly(4, schedtest::kFri, 0, 0, 1, 0);
    EXPECT_EQ(ChkOverlapProgPair(Weekly(3, schedtest::kThu, 23, 30, 0, 30), fri, 180), -1);
    EXPECT_EQ(ChkOverlapProgPair(Weekly(3, schedtest::kThu, 23, 0, 23, 58), fri, 180), -2);
    EXPECT_EQ(ChkOverlapProgPair(Weekly(3, schedtest::kMon | schedtest::kThu, 12, 0, 13, 0),
                                 Weekly(4, schedtest::kThu, 13, 0, 14, 0), 180),
              -2);

    ASSERT_TRUE(s->SetProgram(sun));
    EXPECT_EQ(s->ChkOverlapProg(sat), -1);
    EXPECT_EQ(s->ChkCQProgSet(sat), -6);
}

TEST_F(ProgramTable, DayLongPrograms) {
    const CQProg day = Wed(1, 10, 0, 10, 0);  // Wednesday 10:00 to Thursday 10:00
    EXPECT_EQ(ChkOverlapProgPair(day, Wed(2, 15, 0, 16, 0), 180), -1);
    EXPECT_EQ(ChkOverlapProgPair(day, Single(2, 2025, 1, 9, 9, 0, 9, 30), 180), -1);
    EXPECT_EQ(ChkOverlapProgPair(day, Single(2, 2025, 1, 9, 10, 3, 11, 0), 180), 0);
    EXPECT_EQ(ChkOverlapProgPair(day, Wed(2, 9, 0, 9, 57), 180), 0);
    EXPECT_EQ(ChkOverlapProgPair(day, Weekly(2, schedtest::kThu, 9, 0, 9, 30), 180), -1);

    const CQProg monDay = Weekly(1, schedtest::kMon, 0, 0, 0, 0);
    EXPECT_EQ(ChkOverlapProgPair(monDay, Weekly(2, schedtest::kMon, 12, 0, 13, 0), 180), -1);
    EXPECT_EQ(ChkOverlapProgPair(monDay, Weekly(2, schedtest::kTue, 0, 2, 1, 0), 180), -2);
    EXPECT_EQ(ChkOverlapProgPair(monDay, Weekly(2, schedtest::kWed, 10, 0, 11, 0), 180), 0);
    EXPECT_EQ(ChkOverlapProgPair(monDay, Single(2, 2025, 1, 13, 18, 0, 19, 0), 180), -1);

    const CQProg always = Weekly(1, 0x7F, 5, 0, 5, 0);
    EXPECT_EQ(ChkOverlapProgPair(always, Weekly(2, schedtest::kSat, 4, 0, 4, 30), 180), -1);
    EXPECT_EQ(ChkOverlapProgPair(always, Single(2, 2031, 7, 4, 18, 0, 18, 1), 180), -1);
}

TEST(ProgramRules, OddAndNegativeMargins) {
    Harness h;
    const CQProg a = Wed(1, 10, 0, 11, 0);
    const CQProg gap3 = Wed(2, 11, 3, 12, 0);  // 180 s after a
    const CQProg touch = Wed(2, 11, 0, 12, 0);
    const CQProg over = Wed(2, 10, 59, 12, 0);  // 60 s of overlap

    EXPECT_EQ(ChkOverlapProgPair(a, gap3, 179), 0);
    EXPECT_EQ(ChkOverlapProgPair(a, gap3, 180), 0);
    EXPECT_EQ(ChkOverlapProgPair(a, gap3, 181), -2);  // half of 181 rounds up to 91
    EXPECT_EQ(ChkOverlapProgPair(gap3, a, 181), -2);
    EXPECT_EQ(ChkOverlapProgPair(a, Wed(2, 11, 6, 12, 0), 359), 0);
    EXPECT_EQ(ChkOverlapProgPair(a, Wed(2, 11, 6, 12, 0), 361), -2);

    EXPECT_EQ(ChkOverlapProgPair(a, touch, 0), 0);
    EXPECT_EQ(ChkOverlapProgPair(a, touch, 1), -2);
    EXPECT_EQ(ChkOverlapProgPair(a, touch, -1), 0);
    // A negative margin narrows the ranges, but a real overlap is found first.
    EXPECT_EQ(ChkOverlapProgPair(a, over, -120), -1);
    EXPECT_EQ(ChkOverlapProgPair(a, over, -181), -1);
    EXPECT_EQ(ChkOverlapProgPair(a, Wed(2, 10, 59, 10, 59), -200000), -1);
    EXPECT_EQ(ChkOverlapProgPair(a, touch, -120), 0);
    EXPECT_EQ(ChkOverlapProgPair(Wed(1, 10, 0, 10, 1), Wed(2, 10, 1, 10, 2), -181), 0);
}

TEST(ProgramRules, WeeklyAgainstSingleAtTheEndOfTime) {
    Harness h;
    // 2038-01-19 is a Tuesday and the last date 32 bits reach (12:14:07 in
    // Tokyo): the day after the single program cannot be represented.
    const CQProg last = Single(1, 2038, 1, 19, 10, 0, 11, 0);
    EXPECT_EQ(ChkOverlapProgPair(last, Weekly(2, schedtest::kTue, 10, 30, 11, 30), 180), -1);
    EXPECT_EQ(ChkOverlapProgPair(Weekly(2, schedtest::kTue, 11, 2, 11, 30), last, 180), -2);
    EXPECT_EQ(ChkOverlapProgPair(last, Weekly(2, schedtest::kMon, 23, 0, 10, 30), 180), -1);
    EXPECT_EQ(ChkOverlapProgPair(last, Weekly(2, schedtest::kWed, 10, 0, 11, 0), 180), 0);
}

TEST(ProgramRules, TimeAgainstTheClock) {
    Harness h;
    const CQProg p = Single(1, 2025, 1, 6, 10, 0, 11, 0);
    struct Case {
        CTime now;
        int time, full;
    };
    const Case cases[] = {
        {CTime(2025, 1, 6, 9, 55, 0), 0, 0},    // 300 s ahead
        {CTime(2025, 1, 6, 9, 55, 1), 1, 1},    // 299 s
        {CTime(2025, 1, 6, 9, 56, 0), 1, 1},    // 4 minutes
        {CTime(2025, 1, 6, 9, 57, 0), 1, 1},    // 180 s
        {CTime(2025, 1, 6, 9, 57, 1), -3, -4},  // 179 s
        {CTime(2025, 1, 6, 9, 58, 0), -3, -4},  // 2 minutes
        {CTime(2025, 1, 6, 10, 0, 0), -3, -4},  // now is not past
        {CTime(2025, 1, 6, 10, 0, 1), -1, -2},
        {CTime(2025, 1, 6, 10, 1, 0), -1, -2},  // one minute ago
    };
    for (const Case& c : cases) {
        h.SetNow(c.now);
        EXPECT_EQ(ChkProgTime(p), c.time) << c.now.GetTime();
    }

    CString ini("/nonexistent/TARVIK.INI");
    CQMainScreen s("Q", nullptr, CRect(0, 0, 800, 600), &ini, nullptr);
    for (const Case& c : cases) {
        h.SetNow(c.now);
        EXPECT_EQ(s.ChkCQProgSet(p), c.full) << c.now.GetTime();
    }

    // Up to the end of next year; then 2038 is the last limit.
    h.SetNow(CTime(2025, 1, 6, 9, 0, 0));
    EXPECT_EQ(ChkProgTime(Single(1, 2026, 12, 31, 23, 59, 0, 30)), 0);
    EXPECT_EQ(ChkProgTime(Single(1, 2027, 1, 1, 0, 0, 1, 0)), -2);
    EXPECT_EQ(s.ChkCQProgSet(Single(1, 2027, 1, 1, 0, 0, 1, 0)), -3);
    h.SetNow(CTime(2025, 12, 31, 23, 59, 59));
    EXPECT_EQ(ChkProgTime(Single(1, 2026, 12, 31, 10, 0, 11, 0)), 0);
    EXPECT_EQ(ChkProgTime(Single(1, 2027, 1, 1, 10, 0, 11, 0)), -2);
    h.SetNow(CTime(2036, 6, 1, 9, 0, 0));
    EXPECT_EQ(ChkProgTime(Single(1, 2037, 12, 31, 23, 0, 23, 30)), 0);
    EXPECT_EQ(s.ChkCQProgSet(Single(1, 2038, 1, 1, 0, 0, 1, 0)), -3);
    h.SetNow(CTime(2037, 3, 1, 9, 0, 0));
    EXPECT_EQ(ChkProgTime(Single(1, 2037, 6, 1, 10, 0, 11, 0)), 0);
    EXPECT_EQ(ChkProgTime(Single(1, 2038, 1, 10, 10, 0, 11, 0)), -2);

    // Weekly programs never meet the clock: only overlaps count.
    h.SetNow(CTime(2025, 1, 6, 9, 59, 0));
    const CQProg weekly = Weekly(2, schedtest::kMon, 10, 0, 11, 0);
    EXPECT_EQ(ChkProgTime(weekly), 0);
    EXPECT_EQ(s.ChkCQProgSet(weekly), 0);
    h.SetNow(CTime(2037, 12, 31, 9, 0, 0));
    EXPECT_EQ(s.ChkCQProgSet(weekly), 0);

    // The clock is checked before overlaps: too close wins over an overlap,
    // while "close" gives way to it.
    h.SetNow(CTime(2025, 1, 6, 9, 58, 0));
    ASSERT_TRUE(s.SetProgram(p));
    EXPECT_EQ(s.ChkCQProgSet(Single(2, 2025, 1, 6, 10, 0, 10, 30)), -4);
    h.SetNow(CTime(2025, 1, 6, 9, 59, 30));
    EXPECT_EQ(s.ChkCQProgSet(Single(2, 2025, 1, 6, 10, 4, 10, 30)), -6);
    EXPECT_EQ(s.ChkCQProgSet(weekly), -6);
}

}  // namespace
