
#include <climits>

#include <quillon/QMainScreen.h>

#include "tests/schedule/sched_helpers.h"

namespace {

using namespace schedtest;

const char* const kSlotMsg = "Unknow Error! CQProg\nスロット番号が不正";
const char* const kNkxMsg = "Unknow Error! CQProg\nNKX以外にNKXメールフラグが設定されている";
const char* const kOrderMsg = "Unknow Error! CQProgLog\n開始終了時刻の順序が不正";

// 2025-01-05 is a Sunday; the harness starts on Monday 2025-01-06 09:00.
CTime D(int day, int h, int m = 0, int s = 0) {
    return CTime(2025, 1, day, h, m, s);
}
CQProg Wed(int slot, int bh, int bm, int eh, int em) {
    return Single(slot, 2025, 1, 8, bh, bm, eh, em);
}

TEST(TimeRect, OverlapClockTextsAndDays) {
    Harness h;
    const CTimeRect a(D(6, 10), D(6, 11));
    const CTimeRect keep(D(6, 0), D(6, 1));
    // {other range, overlap with `a`}; `keep` means none, and the target is left alone.
    const CTimeRect cases[][2] = {
        {{D(6, 11), D(6, 12)}, keep},                                  // touching
        {{D(6, 10, 59, 59), D(6, 12)}, {D(6, 10, 59, 59), D(6, 11)}},  // one second
        {{D(6, 10, 15), D(6, 10, 30)}, {D(6, 10, 15), D(6, 10, 30)}},  // inside
        {{D(6, 10, 30), D(6, 10, 30)}, keep},                          // empty
        {{D(6, 10, 40), D(6, 10, 20)}, keep},                          // reversed
    };
    for (const auto& c : cases) {
        for (bool swap : {false, true}) {
            CTimeRect r = keep;
            const bool hit = swap ? r.GetOverlap(c[0], a) : r.GetOverlap(a, c[0]);
            EXPECT_EQ(hit, c[1].GetBegin() != keep.GetBegin()) << c[0].GetStr().str();
            EXPECT_EQ(r.GetStr().str(), c[1].GetStr().str()) << swap;
        }
    }
    EXPECT_TRUE(a.TimeInRect(D(6, 10)) && a.TimeInRect(D(6, 10, 59, 59)));
    EXPECT_FALSE(a.TimeInRect(D(6, 11)) || a.TimeInRect(D(6, 9, 59, 59)));
    const CTimeRect back(D(6, 10, 0, 3), D(6, 10));
    EXPECT_FALSE(back.TimeInRect(D(6, 10, 0, 1)) || back.IsRectEmpty());
    EXPECT_EQ(back.CenterPoint(), D(6, 10, 0, 2));  // truncated toward zero
    EXPECT_EQ(CTimeRect(D(6, 10), D(6, 10, 0, 3)).CenterPoint(), D(6, 10, 0, 1));

    h.SetNow(D(6, 9));
    CTimeRect now;
    EXPECT_STREQ(now.GetStr(), "25,01/06(Mon) 09:00:00 - 25,01/06(Mon) 09:00:00");
    EXPECT_FALSE(CTimeRect::IsPast(D(6, 9)) || CTimeRect::IsPastDay(D(6, 0)));
    EXPECT_TRUE(CTimeRect::IsPast(D(6, 8, 59, 59)) && CTimeRect::IsPastDay(D(5, 23, 59, 59)));
    h.AdvanceMs(5000);  // each call reads the clock again
    now.SetRectEmpty();
    EXPECT_STREQ(now.GetStr(), "25,01/06(Mon) 09:00:05 - 25,01/06(Mon) 09:00:05");

    // Truncation follows the local calendar, not whole hours of UTC.
    h.SetTimeZone("Asia/Kolkata");
    const CTime k(2025, 1, 6, 10, 45, 0);
    EXPECT_EQ((k - CTimeRect::GetYMDH(k)).GetTotalSeconds(), 45 * 60);
    EXPECT_EQ((k - CTimeRect::GetYMD(k)).GetTotalSeconds(), (10 * 60 + 45) * 60);
}

TEST(QProgLog, IsProperChecksSlotMailFlagKindThenOrderThenLength) {
    Harness h;
    EXPECT_FALSE(CQProg().IsProper());  // a new record has slot -1
    EXPECT_EQ(BoxTexts(h), Texts{"Unknow Error! CQProg\n\x83\x58\x83\x8D\x83\x62\x83\x67"
                                 "\x94\xD4\x8D\x86\x82\xAA\x95\x73\x90\xB3"});
    EXPECT_EQ(h.MessageBoxes()[0].type, MB_OK);
    const char* const tooLong =
        "Unknow Error! CQProgLog\n開始から終了までの時間が規定値を超えている";
    const CTime b(2025, 1, 6, 10, 0, 0);
    const CTime e = b + CTimeSpan(60);
    // {slot, action, source, mail flag, log begin, log end, message or null when proper}
    const std::tuple<int, int, int, bool, CTime, CTime, const char*> cases[] = {
        // clang-format off
        // The program part comes first, and the mail flag before the kind.
        {0, 1, 1, false, e, b, kSlotMsg}, {9, 1, 1, false, b, e, kSlotMsg},
        {1, 1, 1, false, b, e, nullptr}, {8, 3, 0, true, b, e, nullptr},
        {3, 1, 1, true, b, e, kNkxMsg}, {3, 2, 1, true, b, e, kNkxMsg},
        {3, 2, 1, false, b, e, "Unknow Error! CQProg\n予約種類が不正"}, {0, 2, 1, true, b, e, kSlotMsg},
        {1, 1, 1, false, b, b, kOrderMsg}, {1, 1, 1, false, b, b - CTimeSpan(1), kOrderMsg},
        {1, 1, 1, false, b, b + CTimeSpan(86400), tooLong},
        {1, 1, 1, false, b, b + CTimeSpan(86399), nullptr},
        // clang-format on
        // The 32-bit difference of far-apart instants would wrap to a small one.
        {1, 1, 1, false, CTime(INT32_MIN + 10), CTime(INT32_MAX - 10), tooLong},
        {1, 1, 1, false, CTime(INT32_MAX - 86399), CTime(INT32_MAX), nullptr},
    };
    for (const auto& [slot, action, source, mail, begin, end, msg] : cases) {
        CQProgLog l;
        l.SetSlotNo(slot);
        l.SetActionSource(action, source);
        l.m_bNKXMail = mail;
        l.SetLogTime(CTimeRect(begin, end));
        const std::size_t seen = h.MessageBoxes().size();
        EXPECT_EQ(l.IsProper(), msg == nullptr) << l.GetLogStr().str();
        // Only the first broken rule is shown.
        EXPECT_EQ(BoxTexts(h, seen), msg ? Texts{S(msg)} : Texts{}) << l.GetLogStr().str();
    }
}

TEST(QProg, KindsPatternsTimesAndTexts) {
    Harness h;
    // {action, source, kind, name}; raw bytes, パーソナルタイマー and FM⇒MD録音 with
    // a 0x5C trail byte.
    // clang-format off
    const std::tuple<int, int, int, const char*> rows[] = {
        {1, 1, 0, "CD\x8D\xC4\x90\xB6"}, {1, 2, 1, "MD\x8D\xC4\x90\xB6"},
        {1, 3, 2, "FM\x89\xB9\x90\xBA\x8E\xF3\x90\x4D"},
        {3, -5, 3, "\x83\x70\x81\x5B\x83\x5C\x83\x69\x83\x8B\x83\x5E\x83\x43\x83\x7D\x81\x5B"},
        {2, 3, 4, "FM\x81\xCBMD\x98\x5E\x89\xB9"}, {1, 7, 5, ""}, {2, 1, 6, ""}, {2, 2, 7, ""},
        {2, 7, 8, ""}, {1, 4, -1, ""}, {2, 0, -1, ""}, {0, 1, -1, ""}, {4, 3, -1, ""},
    };
    // clang-format on
    for (const auto& [action, source, kind, name] : rows) {
        CQProg p;
        p.SetActionSource(action, source);
        CString text("left over");
        EXPECT_EQ(p.GetKind(&text), kind) << action << "/" << source;
        EXPECT_EQ(text.str(), name) << action << "/" << source;
        // SetKind writes the pair back (the personal timer keeps the source)
        // and refuses the kinds it has no pair for.
        CQProg q;
        q.SetActionSource(9, 2);
        const bool settable = kind >= 0 && kind <= 4;
        EXPECT_EQ(q.SetKind(kind), settable) << kind;
        const int pair = settable ? (kind == 3 ? 32 : action * 10 + source) : 92;
        EXPECT_EQ(q.GetAction() * 10 + q.GetSource(), pair) << kind;
    }
    CQProg p;
    p.SetWeekly(0x7F);
    EXPECT_EQ(p.GetStrPattern().str(), "\x96\x88\x93\xFA");  // 毎日
    p.SetWeekly(0x41);
    EXPECT_EQ(p.GetStrPattern().str(), "\x96\x88\x8F\x54\x20\x93\xFA\x93\x79");  // 毎週 日土
    EXPECT_FALSE(p.IsSinglePlan());
    // Outside 0..6 the argument is a mask: 7 shares bit 0, -2 bit 6, -128 nothing.
    EXPECT_TRUE(p.IsWeekly(0) && p.IsWeekly(6) && p.IsWeekly(7) && p.IsWeekly(-2));
    EXPECT_FALSE(p.IsWeekly(1) || p.IsWeekly(5) || p.IsWeekly(8) || p.IsWeekly(-128));
    p.SetWeekly(0x100);  // only the low eight bits are kept
    EXPECT_TRUE(p.IsSinglePlan());

    // Weekly programs sit on the reference day, Friday 1971-01-01; only minutes
    // are kept, and the end falls on the begin's day or the next.
    CQProg w = Weekly(1, kTue, 20, 0, 21, 0);
    w.SetTime(D(8, 23, 0, 59), D(3, 1, 30, 30));
    EXPECT_EQ(w.GetWeekly(), kTue);
    EXPECT_TRUE(w.GetBeginTime() == CTime(1971, 1, 1, 23, 0, 0) &&
                w.GetEndTime() == CTime(1971, 1, 2, 1, 30, 0));

    const CQProg dated = Single(3, 1999, 11, 1, 21, 0, 22, 30);
    EXPECT_EQ(dated.GetWeekly(), 1);  // the day of the month
    EXPECT_EQ(dated.GetStrPattern().str(), "1999/11/01");
    EXPECT_EQ(dated.GetStr().str(),
              " SlotNo[03] Time[99,11/01(Mon) 21:00:00 - 99,11/01(Mon) 22:30:00]");
    // {begin, end, length}: across midnight, a whole day, a minute short of one, a minute.
    const int cases[][5] = {
        {23, 0, 1, 0, 7200}, {10, 0, 10, 0, 86400}, {10, 1, 10, 0, 86340}, {10, 0, 10, 1, 60}};
    for (const auto& c : cases) {
        const CQProg s = Single(1, 1999, 12, 31, c[0], c[1], c[2], c[3]);
        EXPECT_EQ(s.GetBeginTime(), CTime(1999, 12, 31, c[0], c[1], 0)) << c[4];
        EXPECT_EQ((s.GetEndTime() - s.GetBeginTime()).GetTotalSeconds(), c[4]);
    }

    // A log adds its own time and state to the program part.
    CQProgLog l = LogOf(Single(5, 1999, 11, 1, 21, 0, 22, 30),
                        CTimeRect(CTime(1999, 11, 1, 21, 3, 10), CTime(1999, 11, 2, 0, 31, 5)));
    const char* const states[] = {"", "\x8E\xC0\x8D\x73\x8D\xCF\x82\xDD",  // 実行済み
                                  "\x8E\xC0\x8D\x73\x83\x47\x83\x89\x81\x5B", ""};
    for (int state = -1; state <= 2; ++state) {
        l.m_nLogState = state;
        EXPECT_EQ(l.GetLogStrState().str(), states[state + 1]) << state;
    }
    EXPECT_EQ(l.GetLogStr().str(),
              " SlotNo[05] Time[99,11/01(Mon) 21:03:10 - 99,11/02(Tue) 00:31:05]");
    EXPECT_STREQ(GetLogTimeRect(l).GetStr(), "99,11/01(Mon) 21:03:10 - 99,11/02(Tue) 00:31:05");
    // The last is the program part's.
    EXPECT_EQ(l.GetLogStrTime() + " " + l.GetLogBeginDay() + " " + l.GetStrTime(),
              "21:03 - 00:31 1999/11/01 21:00 - 22:30");
}

TEST(ProgInPeriod, WholeRunsAndLogsThatOverlapThePeriod) {
    Harness h;
    const CQProg mon = Weekly(1, kMon, 23, 0, 1, 0);
    const CQProg daily = Weekly(1, 0x7F, 10, 0, 11, 0);
    // {program, period, begins of the runs found}
    const std::tuple<CQProg, CTimeRect, std::vector<CTime>> cases[] = {
        // A night run is found from both days; touching is not enough.
        // clang-format off
        {mon, {D(6, 0), D(7, 0)}, {D(6, 23)}}, {mon, {D(7, 0, 59), D(7, 1)}, {D(6, 23)}},
        {mon, {D(7, 1), D(8, 0)}, {}}, {mon, {D(6, 0), D(6, 23)}, {}},
        // clang-format on
        // A Sunday-night run that started before a Monday-to-Monday week.
        {Weekly(1, kSun, 23, 0, 1, 0), {D(6, 0), D(13, 0)}, {D(5, 23), D(12, 23)}},
        {Weekly(1, kSun | kWed, 21, 0, 22, 0), {D(5, 0), D(12, 0)}, {D(5, 21), D(8, 21)}},
        {Single(1, 2025, 1, 6, 10, 0, 11, 0), {D(6, 10, 59), D(6, 12)}, {D(6, 10)}},
        {daily, {D(6, 10, 30), D(6, 10, 45)}, {D(6, 10)}},
        {daily, {D(6, 0), D(9, 0)}, {D(6, 10), D(7, 10), D(8, 10)}},
        // Up to the end of 32-bit time: the expansion stops rather than wrapping round.
        {Weekly(1, 0x7F, 22, 0, 23, 0),
         {CTime(2038, 1, 17, 0, 0, 0), CTime(INT32_MAX)},
         {CTime(2038, 1, 17, 22, 0, 0), CTime(2038, 1, 18, 22, 0, 0)}},
    };
    for (const auto& [p, period, begins] : cases) {
        SCOPED_TRACE(p.GetStrTime().str() + " in " + period.GetStr().str());
        CArray<CTimeRect, CTimeRect> out;
        out.Add(CTimeRect(CTime(1), CTime(2)));  // must be emptied
        EXPECT_EQ(GetProgInPeriod(p, period, &out), !begins.empty());
        ASSERT_EQ(out.GetSize(), static_cast<int>(begins.size()));
        for (int i = 0; i < out.GetSize(); ++i) {  // whole runs, not clipped to the period
            EXPECT_EQ(out[i].GetBegin(), begins[i]) << i;
            EXPECT_EQ(out[i].GetSpan().GetTotalSeconds(), p.GetTime().GetSpan().GetTotalSeconds());
        }
    }

    // Logs: ordered by program, then time, with the program copied.
    CArray<CQProg, CQProg> progs;
    progs.Add(Weekly(2, 0x7F, 10, 0, 11, 0, 2));
    progs.Add(Single(0, 2025, 1, 6, 9, 0, 9, 30, 3));  // not proper: not checked here
    progs[1].m_bNKXMail = true;
    CArray<CQProgLog, CQProgLog> out;
    CQMainScreen::GetInPeriodLog(&progs, CTimeRect(D(6, 0), D(8, 0)), &out);
    ASSERT_EQ(out.GetSize(), 3);
    const CTime begins[] = {D(6, 10), D(7, 10), D(6, 9)};
    for (int i = 0; i < 3; ++i) EXPECT_EQ(GetLogTimeRect(out[i]).GetBegin(), begins[i]) << i;
    EXPECT_TRUE(out[2].GetLogStrTime() == "09:00 - 09:30" && out[1].GetLogState() == -1);
    EXPECT_TRUE(out[1].GetSlotNo() == 2 && out[1].GetKind() == 2 && out[1].GetWeekly() == 0x7F);
    EXPECT_TRUE(out[2].GetSlotNo() == 0 && out[2].IsNKXMail() && out[2].GetKind() == 3);
    EXPECT_TRUE(h.MessageBoxes().empty());
    CQMainScreen::GetInPeriodLog(&progs, CTimeRect(D(6, 15), D(6, 16)), &out);
    EXPECT_EQ(out.GetSize(), 0);
}

TEST(ProgramRules, PairCheck) {
    Harness h;
    const CQProg a = Wed(1, 10, 0, 11, 0);
    const CQProg touch = Wed(2, 11, 0, 12, 0);
    const CQProg day = Wed(1, 10, 0, 10, 0);  // Wednesday 10:00 to Thursday 10:00
    const CQProg monDay = Weekly(1, kMon, 0, 0, 0, 0);
    const CQProg monNight = Weekly(1, kMon, 23, 0, 1, 0);
    const CQProg sun = Weekly(4, kSun, 0, 0, 1, 0);
    const CQProg fri = Weekly(4, kFri, 0, 0, 1, 0);
    const CQProg last = Single(1, 2038, 1, 19, 10, 0, 11, 0);
    ExpectPairs({
        // Half the margin on each side, rounded up, so that the gap is the margin.
        // clang-format off
        {a, Wed(2, 11, 3, 12, 0), 180, 0}, {a, Wed(2, 11, 3, 12, 0), 181, -2},
        {a, touch, 1, -2}, {a, touch, -1, 0},
        // clang-format on
        // A negative margin narrows the ranges, but a real overlap is found first.
        {a, Wed(2, 10, 59, 10, 59), -200000, -1},
        {Wed(1, 10, 0, 10, 1), Wed(2, 10, 1, 10, 2), -181, 0},
        // Weekly against single, across midnight.
        {monNight, Single(2, 2025, 1, 7, 0, 30, 2, 0), 180, -1},
        {monNight, Single(2, 2025, 1, 7, 1, 2, 2, 0), 180, -2},
        {Weekly(1, kMon, 0, 0, 1, 0), Single(2, 2025, 1, 12, 23, 30, 0, 30), 180, -1},
        // Weekly against weekly, across midnight and the week's end.
        {Weekly(3, kSat, 23, 30, 0, 30), sun, 180, -1},
        {Weekly(3, kSat, 23, 0, 23, 58), sun, 180, -2},
        {Weekly(3, kFri, 23, 30, 0, 30), sun, 180, 0},
        {Weekly(3, kMon | kThu, 12, 0, 13, 0), Weekly(4, kThu, 13, 0, 14, 0), 180, -2},
        // Mend: the reference week begins on a Friday; Thursday night still meets it.
        {Weekly(3, kThu, 23, 30, 0, 30), fri, 180, -1},
        {Weekly(3, kThu, 23, 0, 23, 58), fri, 180, -2},
        // 24-hour programs.
        {day, Single(2, 2025, 1, 9, 9, 0, 9, 30), 180, -1},
        {day, Weekly(2, kThu, 9, 0, 9, 30), 180, -1},
        {monDay, Weekly(2, kTue, 0, 2, 1, 0), 180, -2},
        {monDay, Weekly(2, kWed, 10, 0, 11, 0), 180, 0},
        {monDay, Single(2, 2025, 1, 13, 18, 0, 19, 0), 180, -1},
        {Weekly(1, 0x7F, 5, 0, 5, 0), Single(2, 2031, 7, 4, 18, 0, 18, 1), 180, -1},
        // Mend: 2038-01-19 (a Tuesday) is the last date 32 bits reach; the day
        // after a single program on it cannot be represented.
        {last, Weekly(2, kTue, 10, 30, 11, 30), 180, -1},
        {last, Weekly(2, kTue, 11, 2, 11, 30), 180, -2},
        {last, Weekly(2, kMon, 23, 0, 10, 30), 180, -1},
    });
}

TEST(ProgramTable, StoreReplaceRefuseDeleteAndTheChecksAgainstTheClock) {
    Harness h;
    CString ini("/nonexistent/TARVIK.INI");
    CQMainScreen s("Q", nullptr, CRect(0, 0, 800, 600), &ini, nullptr);
    // (What a screen without its description shows and lacks is the
    // description tests' part.)
    CQProg out;
    EXPECT_FALSE(s.GetProgram(1, &out) || s.DeleteProgram(1));
    ASSERT_TRUE(s.SetProgram(Wed(1, 10, 0, 11, 0)));
    // The table's margin is three minutes; slot 1 is not compared with its old version.
    EXPECT_EQ((std::vector<int>{s.ChkOverlapProg(Wed(2, 11, 2, 12, 0)),
                                s.ChkCQProgSet(Wed(2, 8, 0, 9, 58)),
                                s.ChkOverlapProg(Wed(1, 10, 30, 11, 30))}),
              (std::vector<int>{-2, -5, 0}));
    ASSERT_TRUE(s.SetProgram(Wed(2, 11, 10, 12, 0)));
    // Overlaps slot 1 and is a minute short of slot 2: the first in table order decides.
    const CQProg probe = Wed(5, 10, 30, 11, 9);
    ASSERT_TRUE(s.SetProgram(Wed(1, 10, 5, 11, 0)));  // replaced in place
    EXPECT_EQ(s.ChkOverlapProg(probe), -1);
    const std::size_t seen = h.MessageBoxes().size();
    // Slot 1 is still compared with the others; an improper one shows its own message only.
    EXPECT_FALSE(s.SetProgram(Wed(1, 11, 30, 12, 30)) || s.SetProgram(Wed(3, 11, 2, 11, 5)) ||
                 s.SetProgram(Wed(0, 14, 0, 15, 0)));
    EXPECT_EQ(BoxTexts(h, seen),
              (Texts{S("Unknow Error!\n予約時間がダブっています。code=-1"),
                     S("Unknow Error!\n予約時間がダブっています。code=-2"), S(kSlotMsg)}));
    ASSERT_TRUE(s.GetProgram(1, &out));
    EXPECT_EQ(out.GetBeginTime(), D(8, 10, 5));
    EXPECT_FALSE(s.GetProgram(3, &out) || s.GetProgram(0, &out));
    // No time rules here: yesterday and far ahead are both stored.
    EXPECT_TRUE(s.SetProgram(Single(3, 2025, 1, 5, 10, 0, 11, 0)) &&
                s.SetProgram(Single(4, 2030, 1, 1, 9, 1, 9, 30)));
    ASSERT_TRUE(s.DeleteProgram(1));
    EXPECT_FALSE(s.GetProgram(1, &out) || s.DeleteProgram(1));
    EXPECT_EQ(s.ChkOverlapProg(probe), -2);

    CQProgLog log = LogOf(Wed(3, 10, 30, 11, 30), CTimeRect(D(8, 10, 30), D(8, 11, 29)));
    EXPECT_TRUE(s.AddLog(log) && s.AddLog(log));  // duplicates stay
    log.SetLogTime(CTimeRect(D(8, 10, 30), D(8, 10, 30)));
    EXPECT_FALSE(s.AddLog(log));
    EXPECT_EQ(BoxTexts(h, seen + 3), Texts{S(kOrderMsg)});

    // Against the clock (the stored programs lie apart from these).
    const CQProg p = Single(1, 2025, 1, 6, 10, 0, 11, 0);
    const CQProg weekly = Weekly(2, kMon, 10, 0, 11, 0);
    // {now, program, ChkProgTime, ChkCQProgSet}
    const std::tuple<CTime, CQProg, int, int> cases[] = {
        // clang-format off
        {D(6, 9, 55), p, 0, 0} /* 300 s ahead */, {D(6, 9, 55) + CTimeSpan(1), p, 1, 1} /* 299 s */,
        {D(6, 9, 57), p, 1, 1} /* 180 s */, {D(6, 9, 57) + CTimeSpan(1), p, -3, -4} /* 179 s */,
        {D(6, 10), p, -3, -4} /* now is not past */, {D(6, 10) + CTimeSpan(1), p, -1, -2},
        // clang-format on
        // Up to the end of next year; 2038 is the last limit.
        {D(6, 9), Single(1, 2026, 12, 31, 23, 59, 0, 30), 0, 0},
        {CTime(2025, 12, 31, 23, 59, 59), Single(1, 2027, 1, 1, 0, 0, 1, 0), -2, -3},
        {CTime(2037, 3, 1, 9, 0, 0), Single(1, 2038, 1, 10, 10, 0, 11, 0), -2, -3},
        {CTime(2037, 3, 1, 9, 0, 0), Single(1, 2037, 6, 1, 10, 0, 11, 0), 0, 0},
    };
    for (const auto& [now, prog, time, full] : cases) {
        h.SetNow(now);
        EXPECT_EQ(ChkProgTime(prog), time) << now.GetTime() << prog.GetStr().str();
        EXPECT_EQ(s.ChkCQProgSet(prog), full) << now.GetTime() << prog.GetStr().str();
    }
    // The clock comes first: too close wins over an overlap, "close" gives way to it;
    // weekly programs never meet the clock.
    h.SetNow(D(6, 9, 58));
    ASSERT_TRUE(s.SetProgram(p));
    EXPECT_EQ(s.ChkCQProgSet(Single(2, 2025, 1, 6, 10, 0, 10, 30)), -4);
    h.SetNow(D(6, 9, 59));
    EXPECT_EQ(s.ChkCQProgSet(Single(2, 2025, 1, 6, 10, 4, 10, 30)), -6);
    EXPECT_EQ(s.ChkCQProgSet(weekly), -6);
}

// Mend: a day is a calendar day. New York leaves daylight saving on 2026-11-01
// and enters it on 2027-03-14; programs are times of day, so they stay on the
// clock face across the change, and the pair check finds the next day's run
// at its local time.

TEST(DaylightSaving, RunsEndsAndThePairCheckStayOnTheClockFace) {
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

    // A program's end on the next date keeps its time of day; a whole-day
    // program ends at the same time on the next date.
    const std::pair<CQProg, const char*> ends[] = {
        {Single(1, 2026, 10, 31, 23, 0, 3, 0), "2026-11-01 03:00"},
        {Single(1, 2026, 10, 31, 23, 0, 1, 0), "2026-11-01 01:00"},
        {Single(1, 2027, 3, 13, 23, 0, 3, 0), "2027-03-14 03:00"},
        {Single(1, 2026, 10, 31, 10, 0, 10, 0), "2026-11-01 10:00"}};
    for (const auto& [p, end] : ends) EXPECT_EQ(p.GetEndTime().Format("%Y-%m-%d %H:%M").str(), end);
    EXPECT_EQ(ends[0].first.GetStrTime().str(), "23:00 - 03:00");
    // Noon is 13 hours after midnight on the day with 25 hours.
    const CTime noon(2026, 11, 1, 12, 0, 0);
    EXPECT_EQ((noon - CTimeRect::GetYMD(noon)).GetTotalSeconds(), 13 * 3600);

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
