// The program table and the items it keeps up to date: the slot buttons
// (which slot is free, their stacking), the devices' reservation length and
// the calendar's day rows.
#include "frame/QMainScreenInternal.h"
#include "frame_fixture.h"
#include "tests/schedule/sched_helpers.h"

using namespace frametest;

namespace {

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

TEST(SlotsTest, ProgramTableKeepsSlotButtonsDevicesAndCalendarInStep) {
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
    CQProgLog log;
    static_cast<CQProg&>(log) = Program(2, 12, 9);
    log.SetLogTime(CTimeRect(CTime(2025, 2, 12, 9, 0, 0), CTime(2025, 2, 12, 9, 30, 0)));
    ASSERT_TRUE(screen.AddLog(log));
    EXPECT_EQ(Events(), Log{"calendar:CAL rebuild"});

    // Only a device takes a reservation length.
    Events().clear();
    EXPECT_TRUE(screen.SetProgDefaultTime("MD", CTimeSpan(0, 0, 45, 0)));
    EXPECT_FALSE(screen.SetProgDefaultTime("S1", CTimeSpan(600)) ||
                 screen.SetProgDefaultTime("CD/DVD", CTimeSpan(600)));
    EXPECT_EQ(Events(), Log{"device:MD length 2700"});
    // A day row reaches a dropped device from its drawing side, and the
    // tables and the selection through the items' access to the screen.
    CItem* md = screen.CQItemName2pCQItem("MD")->GetOwner();
    EXPECT_NE(CQDeviceRole::Of(md), nullptr);
    EXPECT_EQ(CQDeviceRole::Of(screen.CQItemName2pCQItem("S1")->GetOwner()), nullptr);
    using In = CQMainScreenInternal;
    EXPECT_TRUE(In::GetProgTable(screen).GetSize() == 2 && In::GetLogTable(screen).GetSize() == 1);
    EXPECT_TRUE(!In::SetSelectSlot(screen, 1) && In::GetSelectSlot(screen) == -1);
    EXPECT_TRUE(In::SetSelectSlot(screen, 2) && In::GetSelectSlot(screen) == 2);
    EXPECT_TRUE(screen.DeleteProgram(2) && In::GetSelectSlot(screen) == -1);
}
