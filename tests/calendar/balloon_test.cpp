// The balloon over the calendar: what it says when pointing at bars and
// while dragging them (as DrawText was given it), where it stands, and its
// shadow's colour; and what clicks at the same places report to the host.
#include "cal_fixture.h"

using namespace caltest;

namespace {

const std::string kBalloon =
    "CALENDARBALLOONHELP\nFRAME\tL\tSURFACE\t\"bl.bmp\"\nFRAME\tL\tSHADOW\t\"bs.bmp\"\n"
    "FRAME\tR\tSURFACE\t\"br.bmp\"\nFRAME\tR\tSHADOW\t\"bs.bmp\"\nICON\tCDDVD\t\"icon.bmp\"\n"
    "END\nPROGRAMMARGIN\t180\n";

Log Info(const char* title, const CQProg& p) {
    return {S(title), p.GetStrPattern().str(), p.GetStrTime().str()};
}

}  // namespace

TEST(CalendarBalloon, HoverClicksAndDragsReportWhatIsUnderThePointerOrTheBrokenRule) {
    CalScene s(252, CalScene::DefaultKeys(), nullptr, kBalloon);
    EXPECT_TRUE(s.h.MessageBoxes().empty());
    const CQProg prog = Single(3, 2025, 1, 7, 10, 0, 12, 0);
    ASSERT_TRUE(s.screen->SetProgram(prog));
    const CQProgLog log = LogOf(Single(5, 2025, 1, 8, 9, 0, 10, 0),
                                CTimeRect(Date(2025, 1, 8, 9), Date(2025, 1, 8, 10)));
    ASSERT_TRUE(s.screen->AddLog(log));
    const int bar = CalScene::LineX(11, 0), y = CalScene::RowY(kTue);
    // What the balloon says once the pointer is at (x, y).
    auto says = [&](int x, int y) {
        s.Hover(CPoint(x, y));
        return s.h.DrawnTexts();
    };

    EXPECT_EQ(says(bar, y), Info("予約番号#3", prog));
    // The L balloon stands above the row, its tail 15 pixels from its left.
    const int rowTop = CalScene::Y(14 + 34 * kTue);
    EXPECT_EQ(s.Pixel(bar - 15, rowTop - 50), RGB(255, 255, 255));
    EXPECT_EQ(s.Pixel(bar + 124, rowTop - 1), RGB(255, 255, 255));
    EXPECT_NE(s.Pixel(bar - 16, rowTop - 25), RGB(255, 255, 255));
    // A press takes the capture: no balloon; it comes back on release. The
    // click selected the program.
    s.h.LButtonDown(bar, y);
    s.h.AdvanceMs(0);
    EXPECT_TRUE(s.h.DrawnTexts().empty());
    s.h.LButtonUp(bar, y);
    EXPECT_EQ(says(bar, y + 1), Info("予約番号#3", prog));
    EXPECT_EQ(CQMainScreenInternal::GetSelectSlot(*s.screen), 3);
    EXPECT_EQ(s.Pixel(bar, y), s.screen->GetSelectColor());

    // A bar, a log, the label, an empty stretch and the gap (the calendar's):
    // what the balloon says, and what double and right clicks report.
    const std::string p3 = " 3 2025-01-07 10:00-12:00", l5 = " 5 2025-01-08 09:00-10:00";
    // {where, what the balloon says, what the clicks report}
    const std::tuple<CPoint, Log, Log> places[] = {
        {{bar, y},
         Info("予約番号#3", prog),
         {"prog dblclk" + p3, "prog rdown" + p3, "prog rup" + p3}},
        {{CalScene::LineX(9, 30), CalScene::RowY(kWed)},
         {log.GetLogStrState().str(), log.GetLogBeginDay().str(), log.GetLogStrTime().str()},
         {"log dblclk" + l5, "log rdown" + l5, "log rup" + l5}},
        {{CalScene::X(50), y}, {}, {"day 2025-01-07 00:00"}},
        {{CalScene::LineX(18, 0), y}, {}, {"day 2025-01-07 18:00"}},
        {{bar, CalScene::Y(14 + 34 * kTue + 28)}, {}, {}},
    };
    s.TakeLog();
    for (const auto& [at, balloon, reports] : places) {
        SCOPED_TRACE(std::to_string(at.x) + "," + std::to_string(at.y));
        EXPECT_EQ(says(at.x, at.y), balloon);
        s.h.LButtonDblClk(at.x, at.y);
        s.h.LButtonUp(at.x, at.y);
        s.h.RButtonDown(at.x, at.y);
        s.h.RButtonUp(at.x, at.y);
        EXPECT_EQ(s.TakeLog(), reports);
    }
    // Dragging: the change it would make, from the first move on.
    s.h.Hold({bar, y}, {CalScene::LineX(15, 0), y});
    CQProg changed = s.Cal()->GetDragInfo()->changed;
    EXPECT_EQ(Str(changed.GetBeginTime()), "2025-01-07 14:00");
    EXPECT_EQ(s.h.DrawnTexts(), Info("予約変更", changed));
    s.h.LButtonUp(CalScene::LineX(15, 0), y);

    // Drags that break a rule name it; the program stays.
    // {the rule, the row, hour and minute held over, the balloon}
    const std::tuple<const char*, int, int, int, Log> cases[] = {
        {"onto another program", kWed, 15, 0, {S("他の予約がすでに"), S("設定されています")}},
        // clang-format off
        {"closer than the margin", kWed, 13, 0,
         {S("連続した予約との間"), S("には３分間の空きが"), S("必要です")}},
        // clang-format on
        {"less than 3 minutes ahead", kMon, 10, 2, {S("開始まで３分以上の"), S("間が必要です")}},
        {"into the past", kSun, 12, 0, {S("過去への設定は"), S("出来ません")}},
    };
    ASSERT_TRUE(s.screen->SetProgram(Single(1, 2025, 1, 8, 10, 0, 12, 0)));
    ASSERT_TRUE(s.screen->SetProgram(Single(2, 2025, 1, 8, 14, 0, 16, 0)));
    for (const auto& [what, toRow, toHour, toMinute, lines] : cases) {
        SCOPED_TRACE(what);
        const CPoint to(CalScene::LineX(toHour, toMinute), CalScene::RowY(toRow));
        s.h.Hold({CalScene::LineX(11, 0), CalScene::RowY(kWed)}, to);
        EXPECT_EQ(s.h.DrawnTexts(), lines);
        s.h.LButtonUp(to.x, to.y);
        EXPECT_EQ(s.ProgStr(1), "2025-01-08 10:00-12:00");
    }

    // A personal timer's edges stay, wherever they are dragged (slot 3 has
    // left its place by now).
    CQProg nkx = Single(4, 2025, 1, 7, 10, 0, 12, 0);
    nkx.SetKind(3);
    nkx.m_bNKXMail = true;
    ASSERT_TRUE(s.screen->SetProgram(nkx));
    s.h.Hold({CalScene::LineX(10, 0) + 1, CalScene::RowY(kTue)},
             {CalScene::LineX(8, 0), CalScene::RowY(kTue)});
    EXPECT_EQ(s.h.DrawnTexts(),
              (Log{S("パーソナルタイマー"), S("は予約時間を変更で"), S("きません")}));
}

TEST(CalendarBalloon, SideEdgesAndShadowColour) {
    // Near the right edge the R balloon, its tail 15 pixels from its right;
    // near the top it is pushed down to 0. A dark colour casts a white shadow.
    CalScene s(252, CalScene::DefaultKeys(), nullptr, kBalloon + "COLOR\tNORMAL\t0,0,64\n");
    ASSERT_TRUE(s.screen->SetProgram(Single(1, 2025, 1, 5, 22, 0, 23, 50)));
    const int x = CalScene::LineX(23, 40), y = CalScene::RowY(kSun);
    s.Hover(CPoint(x, y));
    ASSERT_EQ(s.h.DrawnTexts().size(), 3u);
    const int left = x - 140 + 15;  // in the parent: window and parent differ by the inset
    const COLORREF half = s.Pixel(left + 2, CalScene::Y(2));
    EXPECT_EQ(GetBValue(half), GetBValue(s.Pixel(left + 60, CalScene::Y(40))));
    EXPECT_NE(half, RGB(0, 0, 64));  // the R surface covers half
    EXPECT_NE(s.Pixel(left - 1, CalScene::Y(2)), half);
    // The shadow's strip beyond the surface: white at half opacity on black.
    const COLORREF shadow = s.Pixel(left + 142, CalScene::Y(52));
    EXPECT_NEAR(GetRValue(shadow), 128, 2);
    EXPECT_EQ(GetRValue(shadow), GetBValue(shadow));
}
