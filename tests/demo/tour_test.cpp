// The demo on the default skin: the tour's first pictures match their
// goldens, its two device drags show a balloon with something to say, and a
// double-clicked bar becomes a weekly reservation when the rules allow.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include <quillon/testing.h>

#include "demo/DemoHost.h"
#include "demo/SkinSize.h"
#include "demo/Tour.h"
#include "support/picture_files.h"

namespace {

TEST(DemoTour, FirstPicturesMatchAndDragsSpeak) {
    picturetest::TempDir dir;
    const std::string golden = std::string(QUILLON_SOURCE_DIR) + "/tests/demo/golden/";
    std::map<std::string, std::size_t> texts;
    int seen = 0;
    auto look = [&](quillon::testing::Harness& h, const std::string& name) {
        if (++seen <= 4) {
            EXPECT_TRUE(h.MatchesGolden(golden + name + ".png", 2)) << name;
        }
        texts[name] = h.DrawnTexts().size();
    };
    EXPECT_EQ(demo::RunTour(QUILLON_DEMO_SKIN, dir.Path("tour"), look), 9);  // pictures written
    EXPECT_EQ(seen, 9);
    const char* names[] = {"opening",  "audio",        "luncher",      "timer",  "device-drag",
                           "reserved", "refused-drag", "program-drag", "dubbing"};
    for (int i = 0; i < 9; ++i) {
        std::string file = "tour/0" + std::to_string(i + 1) + "-" + names[i] + ".png";
        EXPECT_TRUE(std::filesystem::exists(dir.Path(file))) << file;
    }
    EXPECT_GT(texts["device-drag"], 0u) << "no balloon over the calendar";
    EXPECT_GT(texts["refused-drag"], 0u) << "no balloon naming the rule";
}

TEST(DemoScreen, ADoubleClickedOnceOnlyBarRepeatsWeeklyWhenTheRulesAllow) {
    quillon::testing::Harness h;  // Monday 2025-01-06 09:00
    picturetest::TempDir dir;
    const std::string skin = QUILLON_DEMO_SKIN;
    const CSize size = demo::SkinSize(skin);
    demo::Store store(dir.Path("schedule.txt"));
    demo::DemoScreen screen(h.CreateParent(size.cx, size.cy), CRect(0, 0, size.cx, size.cy),
                            CString((skin + "TARVIK.INI").c_str()), CString(skin.c_str()), &store);
    screen.SetViewMode(2);
    const CTime tuesday(2025, 1, 7, 15, 0, 0), next(2025, 1, 14, 15, 10, 0);
    ASSERT_EQ(screen.Reserve("MD", tuesday, tuesday + CTimeSpan(1800)), 1);
    ASSERT_EQ(screen.Reserve("CD/DVD", next, next + CTimeSpan(600)), 2);
    // The weekly form of slot 1 after a double click on its bar answered `answer`.
    auto weeklyAfter = [&](int answer) {
        h.SetMessageBoxAnswer(answer);
        const CPoint bar = h.CalendarPoint(screen, tuesday + CTimeSpan(900));
        h.Click(bar);
        h.LButtonDblClk(bar.x, bar.y);
        h.LButtonUp(bar.x, bar.y);
        CQProg p;
        EXPECT_TRUE(screen.GetProgram(1, &p));
        return p.IsSinglePlan() ? 0 : p.GetWeekly();
    };
    // Every Tuesday would meet CD/DVD's next week: refused, still once only.
    EXPECT_EQ(weeklyAfter(IDYES), 0);
    ASSERT_FALSE(h.MessageBoxes().empty());
    EXPECT_EQ(h.MessageBoxes().back().text, Sjis("他の予約と重なっています").str());
    ASSERT_TRUE(screen.DeleteProgram(2));
    EXPECT_EQ(weeklyAfter(IDNO), 0);
    EXPECT_EQ(weeklyAfter(IDYES), 1 << 2);  // Tuesday
    std::vector<CQProg> kept;
    std::vector<CQProgLog> logs;
    std::string why;
    ASSERT_TRUE(store.Load(&kept, &logs, &why)) << why;
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].GetWeekly(), 1 << 2);
}

}  // namespace
