// Day rows: bars from programs and logs, the ladder look, grips and cursors,
// program drags with the host's consent, and the look of a whole calendar.
// (Selection, double and right clicks are the balloon test's, on its scene.)
#include "cal_fixture.h"

using namespace caltest;

TEST(CalendarDay, BarsLadderAndLogsAcrossMidnight) {
    CalScene s;
    ASSERT_TRUE(s.screen->SetProgram(Single(1, 2025, 1, 7, 10, 0, 10, 10)));  // 10 minutes
    ASSERT_TRUE(s.screen->SetProgram(Single(2, 2025, 1, 7, 12, 0, 14, 0)));
    ASSERT_TRUE(
        s.screen->AddLog(LogOf(Single(3, 2025, 1, 7, 23, 30, 0, 30),
                               CTimeRect(Date(2025, 1, 7, 23, 30), Date(2025, 1, 8, 0, 30)), 1)));

    CQItemCalDay* tue = s.Row(kTue);
    ASSERT_EQ(tue->GetEntryCount(), 3);
    // Ten minutes would be 6 pixels: the ladder stands 30 minutes wide.
    EXPECT_EQ(tue->GetEntry(0)->GetBarRect(), CRect(111 + 360, 0, 111 + 378, 24));
    EXPECT_EQ(tue->GetEntry(1)->GetBarRect(), CRect(111 + 432, 0, 111 + 504, 24));
    // The log falls on two rows, cut at midnight.
    EXPECT_EQ(tue->GetEntry(2)->GetKind(), CalDayEntry::kLog);
    EXPECT_EQ(Str(tue->GetEntry(2)->GetTimeRect()), "2025-01-07 23:30 2025-01-08 00:00");
    EXPECT_EQ(tue->GetEntry(2)->GetBarRect(), CRect(111 + 846, 0, 975, 24));
    CQItemCalDay* wed = s.Row(kWed);
    ASSERT_EQ(wed->GetEntryCount(), 1);
    EXPECT_EQ(Str(wed->GetEntry(0)->GetTimeRect().GetEnd()), "2025-01-08 00:30");
    EXPECT_EQ(wed->GetEntry(0)->GetBarRect(), CRect(111, 0, 111 + 18, 24));
    CQProgLog got;
    EXPECT_TRUE(wed->GetLogAt(115, &got));
    EXPECT_FALSE(wed->GetProgAt(115, nullptr));

    // How ladders, bars and logs look is the golden calendar's (below).

    // Weekly programs show on days ahead only, and not once they began.
    ASSERT_TRUE(s.screen->SetProgram(Weekly(4, 0x7F, 8, 0, 8, 30)));  // every day, 08:00
    EXPECT_EQ(s.Row(0)->GetEntryCount(), 0);
    for (auto [minute, entries] : {std::pair{0, 1}, {61, 0}}) {  // 07:00 and 08:01
        s.h.SetNow(Date(2025, 1, 6, 7) + CTimeSpan(minute * 60));
        s.Cal()->RelayoutDays();
        EXPECT_EQ(s.Row(1)->GetEntryCount(), entries) << minute;
    }
    EXPECT_EQ(s.Row(kThu)->GetEntryCount(), 1);
}

TEST(CalendarDay, GripsAndCursors) {
    CalScene s;
    // 23:54 to 00:30: a 4-pixel bar at the end of Tuesday's line.
    ASSERT_TRUE(s.screen->SetProgram(Single(1, 2025, 1, 7, 23, 54, 0, 30)));
    ASSERT_TRUE(s.screen->SetProgram(Single(2, 2025, 1, 8, 10, 0, 12, 0)));
    const CalDayEntry* narrow = s.Row(kTue)->GetEntry(0);
    ASSERT_EQ(narrow->GetBarRect(), CRect(971, 0, 975, 24));
    const int grips[] = {-1, 0, 1, 1, 0};  // from x = 970
    for (int i = 0; i < 5; ++i) EXPECT_EQ(narrow->HitGrip(970 + i, 12), grips[i]) << i;

    // {row, x, the cursor there}
    const int moves[][3] = {
        {kTue, 971, kResize}, {kTue, 972, kHand},   {kTue, 973, kHand},  {kTue, 974, kResize},
        {kWed, 471, kResize}, {kWed, 476, kResize}, {kWed, 477, kHand},  {kWed, 507, kHand},
        {kWed, 538, kResize}, {kWed, 542, kResize}, {kWed, 543, kArrow}, {kWed, 300, kArrow},
    };
    for (const auto& [row, x, cursor] : moves) {
        s.h.MouseMove(CalScene::X(x), CalScene::RowY(row));
        EXPECT_EQ(s.h.CursorId(), cursor) << row << " " << x;
    }
    // While dragging: the grip's cursor where the result is good, "no"
    // where it breaks a rule or finds no row.
    s.h.Hold({CalScene::X(507), CalScene::RowY(kWed)},
             {CalScene::LineX(16, 0), CalScene::RowY(kWed)});
    EXPECT_EQ(s.h.CursorId(), kHand);
    EXPECT_TRUE(s.Cal()->GetDragInfo()->shown);
    s.h.MouseMove(CalScene::LineX(23, 0), CalScene::RowY(kTue), MK_LBUTTON);
    EXPECT_EQ(s.h.CursorId(), kNo);  // onto the other program
    EXPECT_TRUE(s.Cal()->GetDragInfo()->shown);
    s.h.MouseMove(CalScene::X(500), CalScene::Y(5), MK_LBUTTON);  // the scale band
    EXPECT_EQ(s.h.CursorId(), kNo);
    EXPECT_FALSE(s.Cal()->GetDragInfo()->shown);
    s.h.LButtonUp(CalScene::X(500), CalScene::Y(5));
    EXPECT_EQ(s.h.CursorId(), kArrow);
    EXPECT_EQ(s.Cal()->GetDragInfo(), nullptr);
    EXPECT_EQ(s.ProgStr(2), "2025-01-08 10:00-12:00");
}

TEST(CalendarDay, DraggingBarsChangesProgramsWithConsent) {
    CalScene s;
    auto drag = [&](int row, int fromD, int toRow, int toD) {
        s.h.Drop({CalScene::LineX(fromD), CalScene::RowY(row)},
                 {CalScene::LineX(toD), CalScene::RowY(toRow)});
    };
    // The body keeps its length, centred on the pointer.
    ASSERT_TRUE(s.screen->SetProgram(Single(1, 2025, 1, 8, 10, 0, 12, 0)));
    drag(kWed, CalScene::At(11, 0), kWed, CalScene::At(15, 0));
    EXPECT_EQ(s.TakeLog(), (Log{"change 1 2025-01-08 14:00-16:00"}));
    EXPECT_EQ(s.ProgStr(1), "2025-01-08 14:00-16:00");
    // A single program may go to another date.
    drag(kWed, CalScene::At(15, 0), kThu, CalScene::At(9, 0));
    EXPECT_EQ(s.ProgStr(1), "2025-01-09 08:00-10:00");
    // The left edge dragged to or past the end: nothing.
    drag(kThu, CalScene::At(8, 0) + 1, kThu, CalScene::At(11, 0));
    EXPECT_EQ(s.ProgStr(1), "2025-01-09 08:00-10:00");
    EXPECT_TRUE(s.TakeLog().size() == 1);  // only the move above asked the host
    // The left edge earlier.
    drag(kThu, CalScene::At(8, 0) + 1, kThu, CalScene::At(6, 30));
    EXPECT_EQ(s.ProgStr(1), "2025-01-09 06:30-10:00");
    // The right edge past 23 h 59 min stops there, on the next day's row.
    ASSERT_TRUE(s.screen->SetProgram(Single(2, 2025, 1, 7, 1, 0, 2, 0)));
    drag(kTue, CalScene::At(2, 0) - 2, kWed, CalScene::At(1, 5));
    EXPECT_EQ(s.ProgStr(2), "2025-01-07 01:00-00:59");
    CQProg p;
    ASSERT_TRUE(s.screen->GetProgram(2, &p));
    EXPECT_EQ((p.GetTime().GetEnd() - p.GetTime().GetBegin()).GetTotalSeconds(), 86340);

    // A weekly bar keeps its day.
    ASSERT_TRUE(s.screen->SetProgram(Weekly(3, 1 << 3, 20, 0, 21, 0)));  // Wednesdays
    s.TakeLog();
    drag(kWed, CalScene::At(20, 30), kThu, CalScene::At(20, 30));
    drag(kWed, CalScene::At(20, 30), kWed, CalScene::At(22, 30));
    EXPECT_EQ(s.TakeLog().size(), 1u);
    EXPECT_EQ(s.ProgStr(3), "1971-01-01 22:00-23:00");  // on the reference day

    // Refused by a rule (slot 1 onto the weekly one) or by the host: the
    // table stays.
    drag(kThu, CalScene::At(8, 15), kWed, CalScene::At(22, 30));
    EXPECT_TRUE(s.TakeLog().empty());
    EXPECT_EQ(s.ProgStr(1), "2025-01-09 06:30-10:00");
    s.screen->consent = false;
    drag(kWed, CalScene::At(22, 30), kWed, CalScene::At(19, 0));
    EXPECT_EQ(s.TakeLog().size(), 1u);
    EXPECT_EQ(s.ProgStr(3), "1971-01-01 22:00-23:00");
    EXPECT_EQ(s.Cal()->GetDragInfo(), nullptr);

    // The host's callback may rebuild the rows, the dragging row among them.
    s.screen->consent = true;
    ASSERT_TRUE(s.screen->SetProgram(Single(1, 2025, 1, 8, 10, 0, 12, 0)));
    s.screen->onChange = [&] { s.screen->SetViewMode(0); };
    drag(kWed, CalScene::At(11, 0), kWed, CalScene::At(15, 0));
    EXPECT_EQ(s.ProgStr(1), "2025-01-08 14:00-16:00");
    EXPECT_EQ(s.Cal()->GetDragInfo(), nullptr);
    s.screen->SetViewMode(2);
    s.screen->onChange = [&] { s.screen->DeleteProgram(1); };
    drag(kWed, CalScene::At(15, 0), kWed, CalScene::At(18, 0));
    EXPECT_EQ(s.ProgStr(1), "2025-01-08 17:00-19:00");  // stored again on consent
}

TEST(CalendarDay, GoldenCalendarWithProgramsLogsSelectionAndGhost) {
    CalScene s;
    ASSERT_TRUE(s.screen->SetProgram(Single(1, 2025, 1, 7, 10, 0, 12, 0)));
    ASSERT_TRUE(s.screen->SetProgram(Single(2, 2025, 1, 8, 6, 0, 6, 10)));
    ASSERT_TRUE(s.screen->SetProgram(Weekly(3, 0x7F, 19, 0, 21, 30)));
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(s.screen->AddLog(
            LogOf(Single(4, 2025, 1, 5, 13, 0, 15, 0),
                  CTimeRect(Date(2025, 1, 5 + i, 13), Date(2025, 1, 5 + i, 15)), i)));
    // Slot 1 selected and dragged to 15:00 on Thursday, not yet dropped.
    s.h.Hold({CalScene::LineX(11, 0), CalScene::RowY(kTue)},
             {CalScene::LineX(15, 0), CalScene::RowY(kThu)});
    EXPECT_TRUE(s.h.MatchesGolden(
        std::string(QUILLON_SOURCE_DIR) + "/tests/calendar/golden/calendar_drag.png", 2));
    s.h.LButtonUp(CalScene::LineX(15, 0), CalScene::RowY(kThu));
}
