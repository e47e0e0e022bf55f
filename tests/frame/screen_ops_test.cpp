// The main screen's own operations on a built screen: view mode, background
// picture and drawing mode, colours, sound effects, the opening animation,
// and the order in which the items are told and deleted.
#include <climits>

#include "platform/gdi/DC.h"
#include "screen_fixture.h"

using screentest::Events;
using screentest::FakeDevice;
using screentest::FakeItem;
using screentest::ScreenScene;
using screentest::StandIns;

namespace {

constexpr int kArrow = 32512;
constexpr int kWait = 32514;

std::vector<std::string> EventsSince(std::size_t from) {
    return std::vector<std::string>(Events().begin() + static_cast<std::ptrdiff_t>(from),
                                    Events().end());
}

}  // namespace

TEST(ScreenOpsTest, BackgroundPictureTilesStretchesAndChanges) {
    ScreenScene s;
    const COLORREF red = RGB(255, 0, 0), green = RGB(0, 255, 0), blue = RGB(0, 0, 255),
                   white = RGB(255, 255, 255);
    s.dir.Write("bg.bmp", picturetest::MakeBmp24(2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}));
    s.dir.Write("yellow.bmp", picturetest::MakeBmp24(1, 1, {0xFFFF00}));
    CQMainScreen& screen = s.Build("BG\nBMP\t\"bg.bmp\"\nEND\n");
    EXPECT_EQ(screen.GetBgBmp(), s.PictureDir() + "bg.bmp");
    s.h.AdvanceMs(0);
    // Mode 0 tiles from the top-left corner over the whole client area.
    EXPECT_EQ(s.Pixel(0, 0), red);
    EXPECT_EQ(s.Pixel(1, 0), green);
    EXPECT_EQ(s.Pixel(0, 1), blue);
    EXPECT_EQ(s.Pixel(1, 1), white);
    EXPECT_EQ(s.Pixel(2, 0), red);
    EXPECT_EQ(s.Pixel(123, 77), white);
    EXPECT_EQ(s.Pixel(198, 148), red);

    // Mode 1 stretches it over the background (206 x 156).
    EXPECT_FALSE(screen.SetDrawBgMode(2));
    EXPECT_EQ(screen.GetDrawBgMode(), 0);
    EXPECT_TRUE(screen.SetDrawBgMode(1));
    s.h.AdvanceMs(0);
    EXPECT_EQ(s.Pixel(1, 0), red);
    EXPECT_EQ(s.Pixel(150, 10), green);
    EXPECT_EQ(s.Pixel(10, 120), blue);
    EXPECT_EQ(s.Pixel(150, 120), white);

    // A picture that fails: one box, no picture, the last good name kept.
    const std::string missing = s.PictureDir() + "nope.bmp";
    EXPECT_FALSE(screen.ChangeBgBmp(CString(missing)));
    auto boxes = s.h.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, missing);
    EXPECT_EQ(boxes[0].caption, "FileError");
    EXPECT_EQ(screen.GetBgBmp(), s.PictureDir() + "bg.bmp");
    s.h.AdvanceMs(0);
    EXPECT_EQ(s.Pixel(150, 10), GetSysColor(COLOR_WINDOW));

    // The path is used as given, without the picture directory.
    const std::string yellow = s.PictureDir() + "yellow.bmp";
    EXPECT_TRUE(screen.ChangeBgBmp(CString(yellow)));
    EXPECT_EQ(screen.GetBgBmp(), yellow);
    s.h.AdvanceMs(0);
    EXPECT_EQ(s.Pixel(150, 10), RGB(255, 255, 0));
    EXPECT_FALSE(screen.ChangeBgBmp("yellow.bmp"));
    EXPECT_EQ(s.h.MessageBoxes().size(), 2u);
}

TEST(ScreenOpsTest, ViewModeAndColoursReachTheItemsInTableOrder) {
    ScreenScene s;
    StandIns fakes;
    // File order differs from the table's: devices, slot buttons, calendar,
    // ..., trash, ..., top.
    CQMainScreen& screen = s.Build(
        "BG\nEND\n"
        "TOP\nNAME\t\"T\"\nEND\n"
        "TRASH\nNAME\t\"R\"\nEND\n"
        "CALENDAR\nNAME\t\"C\"\nEND\n"
        "SLOTBUTTON\nNAME\t\"S\"\nEND\n"
        "DEVICE\nNAME\t\"D1\"\nEND\n"
        "DEVICE\nNAME\t\"D2\"\nEND\n");
    EXPECT_EQ(screen.GetViewMode(), 3);
    const std::vector<std::string> order = {"device:D1",  "device:D2", "slot:S",
                                            "calendar:C", "plain:R",   "top:T"};
    auto expect = [&order](const std::string& what) {
        std::vector<std::string> v;
        for (const std::string& item : order) v.push_back(item + " " + what);
        return v;
    };
    EXPECT_EQ(std::vector<std::string>(Events().end() - 6, Events().end()), expect("view 3"));

    std::size_t mark = Events().size();
    EXPECT_FALSE(screen.SetViewMode(4));
    EXPECT_FALSE(screen.SetViewMode(-1));
    EXPECT_EQ(screen.GetViewMode(), 3);
    EXPECT_TRUE(EventsSince(mark).empty());
    EXPECT_TRUE(screen.SetViewMode(1));
    EXPECT_EQ(screen.GetViewMode(), 1);
    EXPECT_EQ(EventsSince(mark), expect("view 1"));

    mark = Events().size();
    screen.ChangeColor(RGB(1, 2, 3));
    EXPECT_EQ(screen.GetColor(), RGB(1, 2, 3));
    EXPECT_EQ(EventsSince(mark), expect("color"));
    mark = Events().size();
    screen.ChangeSelectColor(RGB(4, 5, 6));
    EXPECT_EQ(screen.GetSelectColor(), RGB(4, 5, 6));
    EXPECT_EQ(screen.GetColor(), RGB(1, 2, 3));
    EXPECT_EQ(EventsSince(mark), expect("color"));

    // Deleted in table order while the background and window still exist.
    mark = Events().size();
    s.screen.reset();
    EXPECT_EQ(EventsSince(mark), expect("deleted parent=bg wnd=yes"));
}

TEST(ScreenOpsTest, PlayWavFollowsTheSoundSwitch) {
    ScreenScene s;
    const std::string click = s.dir.Write("click.wav", picturetest::Bytes{'R', 'I', 'F', 'F'});
    CQMainScreen& screen = s.Build("BG\nEND\n");
    EXPECT_TRUE(screen.IsSe());
    screen.SeOn(false);
    EXPECT_FALSE(screen.IsSe());
    EXPECT_TRUE(screen.PlayWav(CString(click)));
    EXPECT_TRUE(screen.PlayWav(""));
    EXPECT_TRUE(s.h.Sounds().empty());

    screen.SeOn(true);
    EXPECT_TRUE(screen.PlayWav(CString(click)));
    EXPECT_EQ(s.h.Sounds(), std::vector<std::string>{click});
    // A missing file, or none, plays nothing, not even the default sound.
    EXPECT_FALSE(screen.PlayWav(CString(s.PictureDir() + "missing.wav")));
    EXPECT_FALSE(screen.PlayWav(""));
    EXPECT_EQ(s.h.Sounds().size(), 1u);
}

TEST(ScreenOpsTest, OpeningWaitsSeventyOneStepsWithoutDevices) {
    ScreenScene s;
    StandIns fakes;
    CQMainScreen& screen = s.Build("BG\nEND\nTRASH\nNAME\t\"R\"\nEND\n");
    auto* trash = s.Item<FakeItem>("R");
    ASSERT_NE(trash, nullptr);
    EXPECT_EQ(s.h.CursorId(), kArrow);
    const unsigned start = s.h.Tick();
    const std::size_t mark = Events().size();
    screen.Opening();
    const unsigned spent = s.h.Tick() - start;
    EXPECT_GE(spent, 71u * 10u);
    EXPECT_LT(spent, 71u * 20u);
    // Timers ran during the animation, under the wait cursor.
    EXPECT_GE(trash->ticks.size(), 6u);
    for (int cursor : trash->cursors) EXPECT_EQ(cursor, kWait);
    // It ends by putting every item back in the current view.
    EXPECT_EQ(EventsSince(mark), std::vector<std::string>{"plain:R view 3"});
    EXPECT_EQ(s.h.CursorId(), kArrow);
}

TEST(ScreenOpsTest, OpeningFliesTheDevicesInFromTheCentre) {
    ScreenScene s;
    StandIns fakes;
    CQMainScreen& screen = s.Build(
        "BG\nEND\n"
        "DEVICE\nNAME\t\"CD/DVD\"\nPOSITION\t100,50\nSIZE\t40,31\n"
        "VIEW\tTIMER\nPOSITION\t5,5\nSIZE\t20,20\nEND\n"
        "DEVICE\nNAME\t\"MD\"\nVISIBLE\tFALSE\nPOSITION\t10,10\nSIZE\t10,10\nEND\n");
    auto* cd = s.Item<FakeDevice>("CD/DVD");
    auto* md = s.Item<FakeDevice>("MD");
    ASSERT_NE(cd, nullptr);
    ASSERT_NE(md, nullptr);
    const unsigned start = s.h.Tick();
    screen.Opening();

    // From the centre of the background (206 x 156) less half the size.
    ASSERT_EQ(cd->fades.size(), 73u);  // the start, 71 steps, the end
    EXPECT_EQ(cd->fades[0].level, 0);
    EXPECT_EQ(cd->fades[0].rect, CRect(83, 63, 123, 94));
    unsigned last = start;
    for (int i = 0; i <= 70; ++i) {
        const auto& f = cd->fades[static_cast<std::size_t>(i) + 1];
        EXPECT_EQ(f.level, 256 * i / 70) << i;
        EXPECT_EQ(f.rect.left, CQMainScreen::Ease(83, 100, i, 70, -1)) << i;
        EXPECT_EQ(f.rect.top, CQMainScreen::Ease(63, 50, i, 70, -1)) << i;
        EXPECT_EQ(f.rect.Size(), CSize(40, 31)) << i;
        EXPECT_GE(f.tick - last, 10u) << i;  // each step waits 10 ms at least
        EXPECT_EQ(f.cursor, kWait) << i;
        last = f.tick;
    }
    EXPECT_EQ(cd->fades[71].rect, CRect(100, 50, 140, 81));
    EXPECT_EQ(cd->fades[72].level, 256);
    // Slowing down: half the way is covered well before half the steps.
    EXPECT_GT(CQMainScreen::Ease(83, 100, 35, 70, -1), 83 + 17 / 2);

    // A device hidden in view 0 only gets its full fade level.
    ASSERT_EQ(md->fades.size(), 1u);
    EXPECT_EQ(md->fades[0].level, 256);
    // The view mode is put back: in mode 3 the default placement.
    EXPECT_EQ(cd->GetRect(), CRect(0, 0, 0, 0));

    ASSERT_TRUE(screen.SetViewMode(0));
    cd->fades.clear();
    screen.Opening();
    EXPECT_EQ(cd->fades.size(), 73u);
    EXPECT_EQ(cd->GetRect(), CRect(100, 50, 140, 81));
    EXPECT_TRUE(cd->IsVisible());
    EXPECT_FALSE(md->IsVisible());
    EXPECT_EQ(s.h.CursorId(), kArrow);
}

TEST(ScreenOpsTest, EaseCurves) {
    EXPECT_EQ(CQMainScreen::Ease(10, 10, 3, 70, -1), 10);
    EXPECT_EQ(CQMainScreen::Ease(0, 100, 35, 70, 0), 50);
    EXPECT_EQ(CQMainScreen::Ease(0, 100, 35, 70, 1), 25);   // 50 * 50 / 100
    EXPECT_EQ(CQMainScreen::Ease(0, 100, 35, 70, 2), 6);    // 25 * 25 / 100
    EXPECT_EQ(CQMainScreen::Ease(0, 100, 35, 70, -1), 75);  // 100 - 2500 / 100
    EXPECT_EQ(CQMainScreen::Ease(0, 100, 35, 70, -2), 94);  // 150 - 5625 / 100
    EXPECT_EQ(CQMainScreen::Ease(100, 0, 35, 70, -1), 25);  // downwards
    EXPECT_EQ(CQMainScreen::Ease(0, 256, 70, 70, 0), 256);
    EXPECT_EQ(CQMainScreen::Ease(0, 256, 1, 70, 0), 3);
    // The whole int range, at its ends and in the middle, without overflow.
    EXPECT_EQ(CQMainScreen::Ease(INT_MIN, INT_MAX, 70, 70, -3), INT_MAX);
    EXPECT_EQ(CQMainScreen::Ease(INT_MAX, INT_MIN, 70, 70, 5), INT_MIN);
    EXPECT_EQ(CQMainScreen::Ease(INT_MIN, INT_MAX, 1, 2, 0), -1);
    EXPECT_EQ(CQMainScreen::Ease(0, 100, 1, 0, -1), 100);  // no steps: there already
}
