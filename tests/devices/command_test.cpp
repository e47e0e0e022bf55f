// The command buttons on a screen with a real calendar (the calendar tests'
// layout: 975 x 252 in TIMER, 100 seconds a pixel, Monday the first weekday)
// and a stand-in device "MD"; each button a 4 x 4 white icon under it.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "calendar/cal_fixture.h"
#include "devices/QItemSlotButton.h"

namespace {

using caltest::CalScene;
using caltest::Log;
using caltest::Single;
using caltest::Str;

// A local time made a CTime only when used, under the zone the harness sets.
struct Day {
    Day(int y, int m, int d, int h = 0) : y(y), m(m), d(d), h(h) {}
    operator CTime() const { return CTime(y, m, d, h, 0, 0); }  // NOLINT
    int y, m, d, h;
};

class Host : public caltest::RecordingHost {
public:
    using RecordingHost::RecordingHost;
    std::function<void(CQProg*)> edit;  // what the host makes of a dropped program

    bool OnCalendar_ProgDelete(CQProg* p) override { return Note("delete", p); }
    void OnChange_Click(CQProg p) override { Note("click", &p); }
    bool OnChange_DropOut(CString name, CQProg* p) override {
        if (edit) edit(p);
        return Note("drop on " + name.str(), p);
    }
    void OnNewmake_Click(CString name, unsigned, CPoint pt) override {
        log.push_back("new " + name.str() + " " + std::to_string(pt.x) + std::to_string(pt.y));
    }
    void OnNewmake_DropOut(CString name) override { log.push_back("new " + name.str()); }
    bool Note(const std::string& what, CQProg* p) {
        log.push_back(what + " " + std::to_string(p->GetSlotNo()) + " " + Str(p->GetBeginTime()));
        return consent;
    }
};

// The buttons in a row at y 260 under the calendar, 10 x 10 icons.
std::string Buttons() {
    const char* const anim = "ICONANIME\t\"icon.bmp\"\n";
    const std::string buttons[][3] = {
        {"CALENDARSCROLLBUTTON", "UP", anim + std::string("KIND\tUP\n")},
        {"CALENDARSCROLLBUTTON", "DN", anim + std::string("KIND\tDOWN\n")},
        {"CHANGE", "CHG", ""},
        {"GOTODAYBUTTON", "GO", ""},
        {"NEWMAKE", "NEW", ""},
        {"TRASH", "TR", anim},
        {"SLOTBUTTON", "S1", "SLOTNO\t1\n"},
        {"SLOTBUTTON", "S2", "SLOTNO\t2\n"},
        {"SLOTBUTTON", "S3", "SLOTNO\t3\n"}};
    std::string ini;
    int x = 10;
    for (const auto& b : buttons)
        ini += b[0] + "\nNAME\t\"" + b[1] + "\"\nVIEW\tTIMER\nPOSITION\t" +
               std::to_string(x += 20) + ",260\nICON\t\"icon.bmp\"\n" + b[2] + "END\n";
    return ini + "SLOTBUTTON_ALL\tTOOLHINT\t\"free %d\"\t\"used %d %s %s %n\"\n";
}

// A bar of the first row at 10:30 and 12:30, and the stand-in device.
const CPoint kBar(CalScene::LineX(CalScene::At(10, 30)), CalScene::RowY(0));
const CPoint kBar12(CalScene::LineX(CalScene::At(12, 30)), CalScene::RowY(0));
const CPoint kDevice(CalScene::X(910), CalScene::Y(280));

struct Scene : caltest::CalSceneOf<Host> {
    explicit Scene(Day now, Day firstDay = Day(2026, 6, 8))
        : CalSceneOf(252, DefaultKeys(), nullptr, Buttons()) {
        h.SetNow(now);
        screen->SetCalendarBeginWeek(1);
        screen->SetScheduleDrawDay(firstDay);
        screen->AllRedraw(true);
    }
    CPoint At(const char* name) { return h.ItemCenter(*screen, name); }
    // Each button's colour: W normal, S selected, G gray.
    std::string Looks(std::initializer_list<const char*> names) {
        std::string out;
        for (const char* n : names) {
            const COLORREF c = h.Pixel(At(n).x, At(n).y);
            out += c == 0xFFFFFF ? 'W' : c == 0xFFFF00 ? 'S' : c == 0x808080 ? 'G' : '?';
        }
        return out;
    }
    // Clicks the buttons named; "bar>X", "bar12>X" and "md>X" drag the bar at
    // 10:30 or 12:30 or the device onto X; "del" the Delete key, "w+" and
    // "w-" a wheel notch.
    void Do(std::initializer_list<std::string> steps, unsigned holdMs = 0) {
        for (const std::string& st : steps) {
            const std::size_t to = st.find('>') + 1;
            if (st == "del") {
                h.KeyDown(VK_DELETE);
            } else if (st[0] == 'w') {
                h.Wheel(st[1] == '+' ? 120 : -120);
            } else if (to == 0) {
                CalSceneOf::Click(At(st.c_str()).x, At(st.c_str()).y);
            } else {
                const CPoint from = st[0] == 'm' ? kDevice : st[3] == '1' ? kBar12 : kBar;
                const CPoint at = At(st.c_str() + to);
                h.MouseMove(from.x, from.y);
                h.LButtonDown(from.x, from.y);
                h.MouseMove(from.x + 1, from.y + 5, MK_LBUTTON);  // past the threshold
                h.MouseMove(at.x, at.y, MK_LBUTTON);
                h.AdvanceMs(holdMs);
                h.LButtonUp(at.x, at.y);
            }
        }
    }
    std::string First() {
        CTime t;
        Cal()->GetFirstDay(&t);
        return t.Format("%Y-%m-%d").str();
    }
    std::string Begin(int slot) {
        CQProg p;
        return screen->GetProgram(slot, &p) ? Str(p.GetBeginTime()) : "none";
    }
};

TEST(CommandTest, ScrollButtonsStepByWeekOrDayAndClampToTheRange) {
    struct Case {
        Day first;
        const char* step;
        int view;
        const char* want;
    };
    const Case cases[] = {
        {Day(2026, 6, 10), "DN", 2, "2026-06-15"}, {Day(2026, 6, 10), "UP", 2, "2026-06-08"},
        {Day(2026, 6, 8), "DN", 2, "2026-06-15"},  {Day(2027, 12, 22), "DN", 2, "2027-12-25"},
        {Day(1999, 1, 4), "UP", 2, "1999-01-01"},  {Day(2026, 6, 10), "w-", 2, "2026-06-11"},
        {Day(2026, 6, 10), "w+", 2, "2026-06-09"}, {Day(2026, 6, 10), "w-", 0, "2026-06-10"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.step) + " to " + c.want);
        Scene s(Day(2026, 6, 10, 8), c.first);
        s.screen->SetViewMode(c.view);
        s.Do({c.step});
        EXPECT_EQ(s.First(), c.want);
    }
    Scene s(Day(2026, 6, 10, 8), Day(1999, 1, 1));
    EXPECT_EQ(s.Looks({"UP", "DN"}), "GW");
    s.screen->SetScheduleDrawDay(Day(2027, 12, 25));
    s.screen->AllRedraw(true);
    EXPECT_EQ(s.Looks({"UP", "DN"}), "WG");
}

TEST(CommandTest, ABarOrDeviceHeldOverAScrollButtonScrollsADayPerSecond) {
    for (const char* step : {"bar>DN", "md>DN"}) {
        Scene s(Day(2026, 6, 8, 8));
        ASSERT_TRUE(s.screen->SetProgram(Single(1, 2026, 6, 8, 10, 0, 11, 0)));
        s.Do({step}, 2300);   // repeats after 1.1 s and 2.2 s
        s.h.AdvanceMs(2000);  // released: no more
        EXPECT_EQ(s.First() + " " + s.Begin(1), "2026-06-10 2026-06-08 10:00");
        EXPECT_EQ(s.TakeLog(), Log());
    }
}

TEST(CommandTest, ChangeAndTrashTakeTheSelectionOrADroppedBarWithConsent) {
    Scene s(Day(2026, 6, 8, 8));
    ASSERT_TRUE(s.screen->SetProgram(Single(1, 2026, 6, 8, 10, 0, 11, 0)));
    EXPECT_EQ(s.Looks({"CHG", "TR"}), "GG");
    s.Do({"CHG", "TR", "S1"});  // nothing to do before S1 selects
    EXPECT_EQ(s.Looks({"CHG", "TR"}), "WW");
    s.screen->consent = false;
    s.Do({"CHG", "TR", "bar>TR", "md>TR", "md>CHG"});  // a device means nothing to either
    EXPECT_EQ(s.Begin(1), "2026-06-08 10:00");
    s.screen->consent = true;  // and a dropped program goes to 12:00
    s.screen->edit = [](CQProg* p) { p->SetTime(Day(2026, 6, 8, 12), Day(2026, 6, 8, 13)); };
    s.Do({"bar>CHG"});
    EXPECT_EQ(s.Begin(1), "2026-06-08 12:00");
    s.Do({"bar12>TR"});
    ASSERT_TRUE(s.screen->SetProgram(Single(2, 2026, 6, 8, 10, 0, 11, 0)));
    s.Do({"S2", "TR"});
    EXPECT_EQ(s.Begin(1) + s.Begin(2) + s.Looks({"CHG", "TR"}), "nonenoneGG");
    EXPECT_EQ(s.TakeLog(), Log({"click 1 2026-06-08 10:00", "delete 1 2026-06-08 10:00",
                                "delete 1 2026-06-08 10:00", "drop on CHG 1 2026-06-08 12:00",
                                "delete 1 2026-06-08 12:00", "delete 2 2026-06-08 10:00"}));
}

TEST(CommandTest, NewReservationAndGoToday) {
    Scene s(Day(2026, 6, 8, 8), Day(2026, 7, 1));
    EXPECT_EQ(s.Looks({"NEW", "GO"}), "WW");
    s.Do({"NEW", "md>NEW", "GO"});
    EXPECT_EQ(s.TakeLog(), Log({"new NEW 55", "new MD"}));
    EXPECT_EQ(s.First(), "2026-06-08");
    for (int slot = 1; slot <= 3; ++slot)
        ASSERT_TRUE(
            s.screen->SetProgram(Single(slot, 2026, 6, 8, 2 * slot + 8, 0, 2 * slot + 9, 0)));
    s.Do({"bar12>NEW"});  // a bar is no device
    EXPECT_EQ(s.TakeLog(), Log());
    EXPECT_EQ(s.Looks({"NEW", "GO"}), "GW");
}

TEST(CommandTest, SlotButtonsSelectRestackShowTheNextWeekAndDeleteOnDelete) {
    struct Case {
        Day now;
        CQProg prog;
        const char* want;  // first day after the click
    };
    const int monThu = 1 << 1 | 1 << 4;
    const Case cases[] = {
        {Day(2026, 6, 11, 8), caltest::Weekly(3, monThu, 7, 0, 8, 0), "2026-06-15"},
        {Day(2026, 6, 11, 6), caltest::Weekly(3, monThu, 7, 0, 8, 0), "2026-06-08"},
        {Day(2026, 6, 11, 6), Single(3, 2026, 7, 2, 7, 0, 8, 0), "2026-06-29"},
        {Day(2026, 6, 11, 6), caltest::Weekly(3, 0x80, 7, 0, 8, 0), "2026-07-20"}};  // never runs
    for (const Case& c : cases) {
        SCOPED_TRACE(c.want);
        Scene s(c.now, Day(2026, 7, 20));
        ASSERT_TRUE(s.screen->SetProgram(Single(1, 2026, 6, 12, 9, 0, 10, 0)));
        ASSERT_TRUE(s.screen->SetProgram(c.prog));
        s.Do({"S3"});
        EXPECT_EQ(s.First() + s.Looks({"S1", "S2", "S3"}), c.want + std::string("WGS"));
        CItem* root = s.screen->GetRootItem();
        EXPECT_EQ(root->GetChild(root->GetChildCount() - 1),
                  s.screen->CQItemName2pCQItem("S3")->GetOwner());
    }
    Scene s(Day(2026, 6, 11, 6));
    ASSERT_TRUE(s.screen->SetProgram(Single(3, 2026, 6, 12, 9, 0, 10, 0)));
    s.h.MouseMove(s.At("S3").x, s.At("S3").y);
    s.h.AdvanceMs(600);
    EXPECT_EQ(s.h.ToolTipText(), "used 3 " + Sjis("CD再生").str() + "  %n");
    s.screen->consent = false;
    s.Do({"S3", "del"});
    EXPECT_EQ(s.Begin(3), "2026-06-12 09:00");
    s.screen->consent = true;
    s.Do({"del", "del"});  // the second with nothing selected
    EXPECT_EQ(s.Begin(3), "none");
    EXPECT_EQ(s.TakeLog(), Log({"delete 3 2026-06-12 09:00", "delete 3 2026-06-12 09:00"}));
}

TEST(CommandTest, ToolHintFormatsTakeOnlyTheValuesGiven) {
    EXPECT_EQ(CQItemSlotButton::FormatHint("%d: %s", 4, "MD").str(), "4: MD");
    EXPECT_EQ(CQItemSlotButton::FormatHint("%03d|%-4s|%%|%x|%s", 7, "ab").str(), "007|ab  |%|%x|");
    EXPECT_EQ(CQItemSlotButton::FormatHint("%s %d", 5, nullptr).str(), "5 ");
}

}  // namespace
