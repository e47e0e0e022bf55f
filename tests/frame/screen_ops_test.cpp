// The main screen's own operations on a built screen: the background picture
// (tiled, stretched, dimmed, changed), sound effects, the order in which the
// items are told and deleted, the program table and the items it keeps up to
// date (which slot is free, the slot buttons' stacking, the devices'
// reservation length, the calendar's day rows), and the opening animation.
#include <climits>

#include "frame/QMainScreenInternal.h"
#include "platform/gdi/DC.h"
#include "frame_fixture.h"
#include "tests/schedule/sched_helpers.h"

using namespace frametest;

namespace {

constexpr int kArrow = 32512;
constexpr int kWait = 32514;

CQProg Program(int slot, int day, int hour) {
    return schedtest::Single(slot, 2025, 2, day, hour, 0, hour + 1, 0);
}

// The names of the root's children, bottom to top.
Log Stacking(CQMainScreen& screen) {
    Log names;
    CItem* root = screen.GetRootItem();
    for (int i = 0; i < root->GetChildCount(); ++i) {
        auto* item = dynamic_cast<CQItem*>(root->GetChild(i));
        names.push_back(item != nullptr ? item->GetName().str() : "?");
    }
    return names;
}

}  // namespace

TEST(ScreenOpsTest, BackgroundPictureTilesStretchesDimsAndChangesAndSoundsFollowTheSwitch) {
    ScreenScene s;
    const COLORREF red = RGB(255, 0, 0), green = RGB(0, 255, 0), blue = RGB(0, 0, 255),
                   white = RGB(255, 255, 255);
    s.dir.Write("bg.bmp", picturetest::MakeBmp24(2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}));
    s.dir.Write("yellow.bmp", picturetest::MakeBmp24(1, 1, {0xFFFF00}));
    CQMainScreen& screen = s.Build("BG\nBMP\t\"bg.bmp\"\nEND\n");
    s.h.AdvanceMs(0);
    // Mode 0 tiles from the top-left corner over the whole client area.
    const std::pair<CPoint, COLORREF> tiled[] = {
        {{0, 0}, red}, {{1, 0}, green},    {{0, 1}, blue},   {{1, 1}, white},
        {{2, 0}, red}, {{123, 77}, white}, {{198, 148}, red}};
    for (const auto& [p, c] : tiled) EXPECT_EQ(s.Pixel(p.x, p.y), c) << p.x << "," << p.y;
    // The dimmed copy: every component at 70 percent.
    auto* bg = dynamic_cast<CItemBackground*>(screen.GetRootItem());
    bg->SetNormalPicture(false);
    bg->Redraw();
    s.h.AdvanceMs(0);
    EXPECT_EQ(s.Pixel(1, 1), RGB(178, 178, 178));  // the picture's own brightness rule
    bg->SetNormalPicture(true);
    // Mode 1 stretches it over the background (206 x 156).
    EXPECT_TRUE(!screen.SetDrawBgMode(2) && screen.GetDrawBgMode() == 0);
    EXPECT_TRUE(screen.SetDrawBgMode(1));
    s.h.AdvanceMs(0);
    const std::pair<CPoint, COLORREF> stretched[] = {
        {{1, 0}, red}, {{95, 70}, red}, {{150, 10}, green}, {{10, 120}, blue}, {{150, 120}, white}};
    for (const auto& [p, c] : stretched) EXPECT_EQ(s.Pixel(p.x, p.y), c) << p.x << "," << p.y;

    // A picture that fails: one box, no picture, the last good name kept.
    const std::string missing = s.PictureDir() + "nope.bmp";
    EXPECT_FALSE(screen.ChangeBgBmp(CString(missing)));
    EXPECT_EQ(s.NewBoxes(), Log{"FileError: " + missing});
    EXPECT_EQ(screen.GetBgBmp(), s.PictureDir() + "bg.bmp");
    s.h.AdvanceMs(0);
    EXPECT_EQ(s.Pixel(150, 10), GetSysColor(COLOR_WINDOW));
    // The path is used as given, without the picture directory.
    const std::string yellow = s.PictureDir() + "yellow.bmp";
    EXPECT_TRUE(screen.ChangeBgBmp(CString(yellow)) && screen.GetBgBmp() == yellow);
    s.h.AdvanceMs(0);
    EXPECT_EQ(s.Pixel(150, 10), RGB(255, 255, 0));
    EXPECT_FALSE(screen.ChangeBgBmp("yellow.bmp"));

    // PlayWav follows the sound switch.
    const std::string click = s.dir.Write("click.wav", picturetest::Bytes{'R', 'I', 'F', 'F'});
    EXPECT_TRUE(screen.IsSe());
    screen.SeOn(false);
    EXPECT_TRUE(screen.PlayWav(CString(click)) && s.h.Sounds().empty());
    screen.SeOn(true);
    EXPECT_TRUE(screen.PlayWav(CString(click)));
    // A missing file plays nothing, not even the default sound (an empty
    // name is PlaySound's own refusal, tested with the harness).
    EXPECT_FALSE(screen.PlayWav(CString(s.PictureDir() + "missing.wav")));
    EXPECT_EQ(s.h.Sounds(), std::vector<std::string>{click});
}

TEST(ScreenOpsTest, ItemsAreToldInTableOrderAndProgramsKeepSlotsDevicesAndCalendarInStep) {
    ScreenScene scene;
    CQMainScreen& screen = scene.Build(
        "BG\nEND\n"
        "DEVICE\nNAME\t\"MD\"\nEND\n"
        "CALENDAR\nNAME\t\"CAL\"\nEND\n"
        "SLOTBUTTON\nNAME\t\"S3\"\nSLOTNO\t3\nEND\n"
        "SLOTBUTTON\nNAME\t\"S1\"\nSLOTNO\t1\nEND\n"
        "SLOTBUTTON\nNAME\t\"S2\"\nSLOTNO\t2\nEND\n"
        "TOP\nNAME\t\"TOP\"\nEND\n"
        "TRASH\nNAME\t\"TRASH\"\nEND\n");
    EXPECT_EQ(Stacking(screen), (Log{"MD", "CAL", "S3", "S1", "S2", "TOP", "TRASH"}));
    // The table's order differs from the file's: devices, slot buttons,
    // calendar, ..., trash, ..., top.
    auto told = [](const std::string& what) {
        Log v;
        for (const char* item : {"device:MD", "slot:S3", "slot:S1", "slot:S2", "calendar:CAL",
                                 "plain:TRASH", "top:TOP"})
            v.push_back(item + (" " + what));
        return v;
    };
    EXPECT_EQ(Log(Events().end() - 7, Events().end()), told("view 3"));
    Fresh();
    EXPECT_FALSE(screen.SetViewMode(4) || screen.SetViewMode(-1));
    EXPECT_EQ(screen.GetViewMode(), 3);
    EXPECT_TRUE(screen.SetViewMode(1) && screen.GetViewMode() == 1);
    EXPECT_EQ(Fresh(), told("view 1"));
    screen.ChangeColor(RGB(1, 2, 3));
    EXPECT_EQ(Fresh(), told("color"));
    screen.ChangeSelectColor(RGB(4, 5, 6));
    EXPECT_EQ(Fresh(), told("color"));

    // The first free slot in the buttons' order, not the smallest number.
    EXPECT_EQ(screen.GetEmptySlotNo(), 3);
    Events().clear();
    ASSERT_TRUE(screen.SetProgram(Program(3, 10, 9)));
    EXPECT_EQ(screen.GetEmptySlotNo(), 1);
    // The calendar lays out its days again, every button renews its hint,
    // the occupied one comes to the front, and the lines above it all.
    EXPECT_EQ(Events(), (Log{"calendar:CAL rebuild", "slot:S3 tip", "slot:S1 tip", "slot:S2 tip"}));
    EXPECT_EQ(Stacking(screen), (Log{"MD", "CAL", "S1", "S2", "TRASH", "S3", "TOP"}));
    ASSERT_TRUE(screen.SetProgram(Program(1, 11, 9)));
    ASSERT_TRUE(screen.SetProgram(Program(2, 12, 9)));
    EXPECT_EQ(screen.GetEmptySlotNo(), -1);
    EXPECT_EQ(Stacking(screen), (Log{"MD", "CAL", "TRASH", "S3", "S1", "S2", "TOP"}));

    // Deleting frees the slot and rebuilds the calendar; a free button stays
    // where it is, behind the occupied ones.
    Events().clear();
    ASSERT_TRUE(screen.DeleteProgram(1));
    EXPECT_EQ(Events().front(), "calendar:CAL rebuild");
    EXPECT_EQ(screen.GetEmptySlotNo(), 1);
    EXPECT_EQ(Stacking(screen), (Log{"MD", "CAL", "TRASH", "S1", "S3", "S2", "TOP"}));

    // A log rebuilds the calendar too.
    Events().clear();
    ASSERT_TRUE(screen.AddLog(schedtest::LogOf(
        Program(2, 12, 9), CTimeRect(CTime(2025, 2, 12, 9, 0, 0), CTime(2025, 2, 12, 9, 30, 0)))));
    EXPECT_EQ(Events(), Log{"calendar:CAL rebuild"});

    // Only a device takes a reservation length.
    Events().clear();
    EXPECT_TRUE(screen.SetProgDefaultTime("MD", CTimeSpan(0, 0, 45, 0)));
    EXPECT_FALSE(screen.SetProgDefaultTime("S1", CTimeSpan(600)) ||
                 screen.SetProgDefaultTime("CD/DVD", CTimeSpan(600)));
    EXPECT_EQ(Events(), Log{"device:MD length 2700"});
    // A day row reaches a dropped device from its drawing side, and the
    // tables and the selection through the items' access to the screen.
    EXPECT_NE(CQDeviceRole::Of(screen.CQItemName2pCQItem("MD")->GetOwner()), nullptr);
    EXPECT_EQ(CQDeviceRole::Of(screen.CQItemName2pCQItem("S1")->GetOwner()), nullptr);
    using In = CQMainScreenInternal;
    EXPECT_TRUE(In::GetProgTable(screen).GetSize() == 2 && In::GetLogTable(screen).GetSize() == 1);
    EXPECT_TRUE(!In::SetSelectSlot(screen, 1) && In::GetSelectSlot(screen) == -1);
    EXPECT_TRUE(In::SetSelectSlot(screen, 2) && In::GetSelectSlot(screen) == 2);
    EXPECT_TRUE(screen.DeleteProgram(2) && In::GetSelectSlot(screen) == -1);
    // Deleted in table order while the background and window still exist.
    Fresh();
    scene.screen.reset();
    EXPECT_EQ(Fresh(), told("deleted parent=bg wnd=yes"));
}

TEST(ScreenOpsTest, OpeningFliesTheDevicesInFromTheCentreAlongTheEaseCurves) {
    ScreenScene s;
    CQMainScreen& screen = s.Build(
        "BG\nEND\nTRASH\nNAME\t\"R\"\nEND\n"
        "DEVICE\nNAME\t\"CD/DVD\"\nPOSITION\t100,50\nSIZE\t40,31\n"
        "VIEW\tTIMER\nPOSITION\t5,5\nSIZE\t20,20\nEND\n"
        "DEVICE\nNAME\t\"MD\"\nVISIBLE\tFALSE\nPOSITION\t10,10\nSIZE\t10,10\nEND\n");
    auto* cd = s.Item<FakeDevice>("CD/DVD");
    auto* md = s.Item<FakeDevice>("MD");
    auto* trash = s.Item<FakeItem>("R");
    ASSERT_TRUE(cd != nullptr && md != nullptr && trash != nullptr);
    EXPECT_EQ(s.h.CursorId(), kArrow);
    const unsigned start = s.h.Tick();
    Fresh();
    screen.Opening();
    EXPECT_LT(s.h.Tick() - start, 71u * 20u);
    // From the centre of the background (206 x 156) less half the size.
    ASSERT_EQ(cd->fades.size(), 73u);  // the start, 71 steps, the end
    EXPECT_TRUE(cd->fades[0].level == 0 && cd->fades[0].rect == CRect(83, 63, 123, 94));
    unsigned last = start;
    for (int i = 0; i <= 70; ++i) {
        SCOPED_TRACE(i);
        const auto& f = cd->fades[static_cast<std::size_t>(i) + 1];
        EXPECT_EQ(f.level, 256 * i / 70);
        EXPECT_EQ(f.rect.TopLeft(), CPoint(CQMainScreen::Ease(83, 100, i, 70, -1),
                                           CQMainScreen::Ease(63, 50, i, 70, -1)));
        EXPECT_EQ(f.rect.Size(), CSize(40, 31));
        EXPECT_GE(f.tick - last, 10u);  // each step waits 10 ms at least
        EXPECT_EQ(f.cursor, kWait);
        last = f.tick;
    }
    EXPECT_TRUE(cd->fades[71].rect == CRect(100, 50, 140, 81) && cd->fades[72].level == 256);
    // A device hidden in view 0 only gets its full fade level.
    ASSERT_EQ(md->fades.size(), 1u);
    EXPECT_EQ(md->fades[0].level, 256);
    // Timers ran during the animation, under the wait cursor.
    EXPECT_GE(trash->cursors.size(), 6u);
    for (int cursor : trash->cursors) EXPECT_EQ(cursor, kWait);
    // It ends by putting every item back in the current view (3: the default).
    EXPECT_EQ(Fresh(), (Log{"device:CD/DVD view 3", "device:MD view 3", "plain:R view 3"}));
    EXPECT_TRUE(cd->GetRect() == CRect(0, 0, 0, 0) && s.h.CursorId() == kArrow);
    ASSERT_TRUE(screen.SetViewMode(0));
    screen.Opening();
    EXPECT_EQ(cd->GetRect(), CRect(100, 50, 140, 81));
    EXPECT_TRUE(cd->IsVisible() && !md->IsVisible());

    // The curves of the steps. (Straight from 0 to 256 at every step: the
    // fade levels above.)
    // {from, to, step, steps, curve, the value}
    const std::tuple<int, int, int, int, int, int> cases[] = {
        {10, 10, 3, 70, -1, 10},
        {0, 100, 35, 70, 0, 50},
        {0, 100, 35, 70, 1, 25},   // 50 * 50 / 100
        {0, 100, 35, 70, 2, 6},    // 25 * 25 / 100
        {0, 100, 35, 70, -1, 75},  // 100 - 2500 / 100: slowing down
        {0, 100, 35, 70, -2, 94},  // 150 - 5625 / 100
        {100, 0, 35, 70, -1, 25},  // downwards
        // The whole int range, at its ends and in the middle, without overflow.
        {INT_MIN, INT_MAX, 70, 70, -3, INT_MAX},
        {INT_MAX, INT_MIN, 70, 70, 5, INT_MIN},
        {INT_MIN, INT_MAX, 1, 2, 0, -1},
        {0, 100, 1, 0, -1, 100},  // no steps: there already
    };
    for (const auto& [from, to, step, steps, curve, want] : cases) {
        EXPECT_EQ(CQMainScreen::Ease(from, to, step, steps, curve), want)
            << from << ">" << to << " " << step << "/" << steps << " " << curve;
    }
}
