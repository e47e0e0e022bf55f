// The calendar: rows from its height, the hour scale, the draw window and its
// range of first days, week jumps, daylight saving, and the mended faults of
// the time line (overflow far from a row, a row too narrow for one).
#include "cal_fixture.h"

#include <cstdlib>

using namespace caltest;

namespace {

struct Number {
    int centre;
    std::string text;
};

// The numbers of the hour scale, left to right, read from the glyphs' grey
// levels along one line of the band above the rows (what ScaleHours gives,
// drawn).
std::vector<Number> ReadScale(CalScene& s, int width) {
    std::vector<Number> out;
    auto digitAt = [&](int x) {
        const int level = GetRValue(s.Pixel(CalScene::X(x), CalScene::Y(11)));
        for (int d = 0; d < 10; ++d)
            if (std::abs(level - DigitLevel(d)) <= 3) return d;
        return -1;
    };
    for (int x = 0; x < width; ++x) {  // (the pixel after a number is no digit)
        if (digitAt(x) < 0) continue;
        const int start = x;
        std::string text;
        for (; x < width && digitAt(x) >= 0; x += 3) text += static_cast<char>('0' + digitAt(x));
        out.push_back({start + static_cast<int>(text.size()) * 3 / 2, text});
    }
    return out;
}

}  // namespace

TEST(Calendar, RowsFollowTheHeight) {
    // {the calendar's height, the rows' tops}
    const std::pair<int, std::vector<int>> cases[] = {
        {38, {}}, {39, {14}}, {73, {14, 48}}, {252, {14, 48, 82, 116, 150, 184, 218}}};
    for (const auto& [height, tops] : cases) {
        CalScene s(height);
        CQItemCal* cal = s.Cal();
        ASSERT_NE(cal, nullptr);
        ASSERT_EQ(cal->GetDayCount(), static_cast<int>(tops.size())) << height;
        for (int i = 0; i < cal->GetDayCount(); ++i)
            EXPECT_EQ(cal->GetDay(i)->GetRect(), CRect(0, tops[i], 975, tops[i] + 24));
        CTime t;
        EXPECT_EQ(cal->PointToTime(200, 20, &t), height > 38) << height;
        // Without rows there is no scale either.
        EXPECT_EQ(ReadScale(s, 975).empty(), height <= 38) << height;
    }
}

TEST(Calendar, DaylightSavingWeekShowsWholeLocalDays) {
    CalScene s(252, CalScene::DefaultKeys(), "America/New_York");
    s.h.SetNow(CTime(2025, 3, 5, 9, 0, 0));
    s.Cal()->GotoWeek(CTime(2025, 3, 10, 12, 0, 0));  // clocks go forward on Sunday the 9th
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(Str(s.Row(i)->GetDayTimeRect()),
                  Str(CTimeRect(Date(2025, 3, 9 + i), Date(2025, 3, 10 + i))));
    EXPECT_EQ(s.Row(0)->GetDayTimeRect().GetSpan().GetTotalSeconds(), 23 * 3600);
    s.screen->ChangeCalendarDrawTimeRect(CTime(2025, 3, 9, 6, 0, 0), CTime(2025, 3, 9, 22, 0, 0));
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(Str(s.Row(i)->GetDayTimeRect()),
                  Str(CTimeRect(Date(2025, 3, 9 + i, 6), Date(2025, 3, 9 + i, 22))));
    // The scroll steps by dates too.
    EXPECT_TRUE(s.screen->SetScheduleDrawDay(CTime(2025, 11, 2, 12, 0, 0)));
    EXPECT_EQ(Str(s.Row(1)->GetDayTimeRect().GetBegin()), "2025-11-03 06:00");
}

TEST(Calendar, TimeLineDrawWindowHourScaleAndFirstDaysOnTheDefaultScene) {
    CalScene s;
    CQItemCal* cal = s.Cal();
    // The row under a point: the gap belongs to the row above it; the band
    // above the first row and below the last belongs to none.
    for (auto [y, row] : {std::pair{13, -1}, {14, 0}, {47, 0}, {48, 1}, {242, 6}, {243, -1}})
        EXPECT_EQ(cal->GetDayAtY(y), row < 0 ? nullptr : cal->GetDay(row)) << y;
    EXPECT_EQ(CQCalendarRole::Of(static_cast<CQItem*>(cal))->GetDayAtY(20), cal->GetDay(0));

    s.screen->SetViewMode(0);  // 1000 pixels wide: a time line of 889
    // The day before the first row and up to four days after the last use
    // the end rows; further days are nowhere (-1, -1).
    const std::pair<CTime, CPoint> points[] = {
        {Date(2025, 1, 5, 12), {555, 14}},       {Date(2025, 1, 8, 12), {555, 116}},
        {Date(2025, 1, 4, 12), {111 - 444, 14}}, {Date(2025, 1, 15), {111 + 4 * 889, 218}},
        {Date(2025, 1, 16), {-1, -1}},           {Date(2025, 1, 3, 12), {-1, -1}}};
    for (const auto& [t, want] : points) {
        CPoint p(-1, -1);
        EXPECT_EQ(cal->TimeToPoint(t, &p) ? p : CPoint(-1, -1), want) << Str(t);
    }
    CTime t;
    ASSERT_TRUE(cal->PointToTime(555, 30, &t));
    EXPECT_EQ(Str(t), "2025-01-05 11:59");      // 444 pixels: just short of noon
    ASSERT_TRUE(cal->PointToTime(11, 50, &t));  // left of the line: before the row's begin
    EXPECT_LT(t, Date(2025, 1, 6));
    // With no bar grabbed the occurrence stands, and the rules judge it.
    CalDragInfo proposal;
    proposal.initial = Single(2, 2025, 1, 6, 10, 0, 11, 0);
    proposal.occurrence = CTimeRect(Date(2025, 1, 6, 10), Date(2025, 1, 6, 11));
    ASSERT_NE(cal->BeginProgDrag(proposal), nullptr);
    CQProg out;
    EXPECT_EQ(cal->CalcDragProg(555, 30, &out), 0);
    EXPECT_EQ(Str(out.GetTime()), "2025-01-06 10:00 2025-01-06 11:00");
    cal->EndProgDrag();

    // Far from a row the products leave 32 bits; the results stay exact.
    s.screen->SetViewMode(2);
    CQItemCalDay* row = s.Row(0);
    EXPECT_EQ(row->TimeToX(Date(2025, 2, 4)), 30 * 864);
    row->XToTime(30 * 864, &t);
    EXPECT_EQ(t, Date(2025, 2, 4));
    EXPECT_EQ(row->TimeToX(Date(2024, 12, 6)), -30 * 864);

    CTime b, e;
    auto window = [&] {
        s.screen->GetCalendarDrawTimeRect(&b, &e);
        return Str(b) + " " + Str(e);
    };
    EXPECT_EQ(window(), "2025-01-05 00:00 2025-01-06 00:00");
    // Only the times of day count; the dates shown stay.
    s.screen->ChangeCalendarDrawTimeRect(Date(2030, 5, 1, 8), Date(2030, 5, 1, 20));
    EXPECT_EQ(window(), "2025-01-05 08:00 2025-01-05 20:00");
    EXPECT_EQ(Str(s.Row(3)->GetDayTimeRect().GetBegin()), "2025-01-08 08:00");
    // Equal times: the end becomes the same time of the same date, refused.
    s.screen->ChangeCalendarDrawTimeRect(Date(2025, 1, 5, 8), Date(2025, 1, 5, 8));
    EXPECT_EQ(window(), "2025-01-05 08:00 2025-01-05 20:00");
    // A window across midnight is refused too: it may only end at 24:00.
    EXPECT_FALSE(s.Cal()->SetDrawTimeRect(CTimeRect(Date(2025, 1, 5, 22), Date(2025, 1, 6, 2))));
    s.screen->ChangeCalendarDrawTimeRect(Date(2025, 1, 5, 22), Date(2025, 1, 6, 2));
    EXPECT_EQ(window(), "2025-01-05 08:00 2025-01-05 20:00");
    s.screen->ChangeCalendarDrawTimeRect(Date(2025, 1, 9), Date(2025, 1, 9));
    EXPECT_EQ(window(), "2025-01-05 00:00 2025-01-06 00:00");

    auto expect = [&](std::vector<Number> want, const char* what) {
        s.h.AdvanceMs(0);
        std::vector<Number> got = ReadScale(s, 975);
        ASSERT_EQ(got.size(), want.size()) << what;
        for (std::size_t i = 0; i < want.size(); ++i) {
            EXPECT_EQ(got[i].text, want[i].text) << what;
            EXPECT_NEAR(got[i].centre, want[i].centre, 2) << what << " " << want[i].text;
        }
    };
    // The whole day: 0, 6, 12, 18, and the 24 right-aligned at the edge.
    expect({{111, "0"}, {327, "6"}, {543, "12"}, {759, "18"}, {972, "24"}}, "00:00-24:00");

    s.screen->ChangeCalendarDrawTimeRect(Date(2025, 1, 5, 10), Date(2025, 1, 5, 12, 30));
    expect({{111, "10"}, {456, "11"}, {802, "12"}}, "10:00-12:30");

    s.screen->ChangeCalendarDrawTimeRect(Date(2025, 1, 5, 6, 30), Date(2025, 1, 5, 22));
    expect({{138, "7"}, {417, "12"}, {752, "18"}, {972, "22"}}, "06:30-22:00");

    auto first = [&] {
        CTime d;
        cal->GetFirstDay(&d);
        return Str(d);
    };
    EXPECT_TRUE(s.screen->SetScheduleDrawDay(Date(2025, 3, 7, 15)));
    EXPECT_EQ(first(), "2025-03-07 00:00");
    // (The window is still 06:30 to 22:00.)
    EXPECT_EQ(s.Row(6)->GetDayTimeRect().GetBegin(), Date(2025, 3, 13, 6, 30));
    EXPECT_FALSE(s.screen->SetScheduleDrawDay(Date(1998, 12, 31)));
    EXPECT_EQ(first(), "2025-03-07 00:00");
    // The week jumps clamp instead.
    cal->GotoWeek(Date(1998, 12, 31));
    EXPECT_EQ(first(), "1999-01-01 00:00");
    EXPECT_TRUE(cal->ClampDrawDay(Date(1999, 1, 1, 12), &t) && t == Date(1999, 1, 1, 12));

    // The latest first day: a week before January 1 two years ahead, at
    // most 2038.
    s.h.SetNow(Date(2026, 6, 1, 9));
    EXPECT_TRUE(cal->ClampDrawDay(Date(2027, 12, 25, 23), &t));
    EXPECT_FALSE(cal->ClampDrawDay(Date(2027, 12, 26), &t));
    EXPECT_EQ(Str(t), "2027-12-25 00:00");
    cal->GotoWeek(Date(2030, 1, 1));
    EXPECT_EQ(first(), "2027-12-25 00:00");
    for (int year : {2036, 2037}) {
        s.h.SetNow(Date(year, 3, 1, 9));
        EXPECT_FALSE(cal->ClampDrawDay(Date(2037, 12, 26), &t));
        EXPECT_EQ(Str(t), "2037-12-25 00:00") << year;
    }

    // The first weekday counts at the next jump only.
    s.h.SetNow(Date(2025, 1, 8, 9));  // a Wednesday
    s.screen->SetCalendarBeginWeek(1);
    EXPECT_EQ(first(), "2027-12-25 00:00");
    cal->GotoThisWeek();
    EXPECT_EQ(first(), "2025-01-06 00:00");
    cal->GotoWeek(Date(2025, 1, 12, 23));  // a Sunday belongs to the week before
    EXPECT_EQ(first(), "2025-01-06 00:00");
    cal->GotoWeek(Date(2025, 1, 13));
    EXPECT_EQ(first(), "2025-01-13 00:00");
    // A first weekday that is none: the date itself, and no hang.
    s.screen->SetCalendarBeginWeek(9);
    EXPECT_EQ(s.screen->GetCalendarBeginWeek(), 9);
    cal->GotoWeek(Date(2025, 1, 16, 23));
    EXPECT_EQ(first(), "2025-01-16 00:00");
    s.screen->SetCalendarBeginWeek(1);
    // Day states against today.
    cal->GotoThisWeek();
    for (int row : {1, 2, 3}) EXPECT_EQ(s.Row(row)->GetDayState(), row - 1) << row;

    // A calendar too narrow for a time line maps everything to its edge, the
    // first row's begin.
    cal->SetRect(CRect(0, 0, 100, 252));
    row = s.Row(0);
    EXPECT_EQ(row->TimeToX(Date(2025, 1, 6, 18)), 0);
    ASSERT_TRUE(cal->PointToTime(90, 20, &t));
    EXPECT_EQ(t, Date(2025, 1, 6, 6, 30));
    s.h.AdvanceMs(0);  // and draws without dividing by zero
}

TEST(Calendar, WeekdayPicturesByLocalWeekday) {
    // Row 3 is Wednesday 8 January; its picture sits at the label's right.
    // (All seven are the golden calendar's.)
    const int x = CalScene::X(108), y = CalScene::Y(14 + 34 * 3 + 11);
    // With two pictures only Sunday and Monday have one; a missing picture
    // file still takes its weekday's place.
    CalScene s(252, "BMPTEXT\t\"day0.bmp\"\nBMPTEXT\t\"nothing.bmp\"\nBMPTEXT\t\"day2.bmp\"\n");
    EXPECT_EQ(schedtest::BoxTexts(s.h), schedtest::Texts{s.dir.Path("nothing.bmp")});
    EXPECT_EQ(s.Pixel(x, y), 0u);
    EXPECT_NE(s.Pixel(x, CalScene::Y(14 + 34 * 2 + 11)), 0u);  // Tuesday
    EXPECT_EQ(s.Pixel(x, CalScene::Y(14 + 34 * 1 + 11)), 0u);  // Monday: the empty picture
    EXPECT_EQ(s.Cal()->GetWeekdayPicture(3), nullptr);
}
