// The command buttons on a screen with a real calendar (the calendar tests'
// layout: 975 x 252 in TIMER, 100 seconds a pixel, Monday the first weekday)
// and a stand-in device "MD"; each button a 10 x 10 white icon under it.
#include <gtest/gtest.h>

#include <tuple>

#include "calendar/cal_fixture.h"

namespace {

using namespace caltest;

// Records the buttons' callbacks; a program dropped on the change button it
// moves by a quarter of an hour.
class Host : public RecordingHost {
public:
    using RecordingHost::RecordingHost;
    bool OnCalendar_ProgDelete(CQProg* p) override { return Note("delete", p); }
    void OnChange_Click(CQProg p) override { Note("click", &p); }
    bool OnChange_DropOut(CString name, CQProg* p) override {
        p->SetTime(p->GetBeginTime() + CTimeSpan(900), p->GetEndTime() + CTimeSpan(900));
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

// The buttons in a row at y 260, 10 x 10 icons (ICONANIME means nothing to
// the buttons without an animation).
std::string Buttons() {
    std::string ini;
    int x = 10;
    for (const char* b :
         {"CALENDARSCROLLBUTTON\nNAME\t\"UP\"\nKIND\tUP",
          "CALENDARSCROLLBUTTON\nNAME\t\"DN\"\nKIND\tDOWN", "CHANGE\nNAME\t\"CHG\"",
          "GOTODAYBUTTON\nNAME\t\"GO\"", "NEWMAKE\nNAME\t\"NEW\"", "TRASH\nNAME\t\"TR\"",
          "SLOTBUTTON\nNAME\t\"S1\"\nSLOTNO\t1", "SLOTBUTTON\nNAME\t\"S2\"\nSLOTNO\t2",
          "SLOTBUTTON\nNAME\t\"S3\"\nSLOTNO\t3", "CALENDARSCROLLBUTTON\nNAME\t\"NO\""})
        ini += b + ("\nVIEW\tTIMER\nPOSITION\t" + std::to_string(x += 20)) +
               ",260\nICON\t\"icon.bmp\"\nICONANIME\t\"icon.bmp\"\nEND\n";
    return ini + "SLOTBUTTON_ALL\tTOOLHINT\t\"free %d\"\t\"used %#x|%.3s|%%|%s %n\"\n";
}

// Monday 2026-06-08 08:00, the calendar from that day, Monday the first
// weekday.
struct Scene : CalSceneOf<Host> {
    Scene() : CalSceneOf(252, DefaultKeys(), nullptr, Buttons()) {
        h.SetNow(Date(2026, 6, 8, 8));
        screen->SetCalendarBeginWeek(1);
        Show(Date(2026, 6, 8));
    }
    void Show(CTime firstDay) {
        screen->SetScheduleDrawDay(firstDay);
        screen->AllRedraw(true);
    }
    CPoint Pos(const char* name) { return h.ItemCenter(*screen, name); }
    // Each button's colour: W normal, S selected, G gray.
    std::string Looks(std::initializer_list<const char*> names) {
        std::string out;
        for (const char* n : names) {
            const COLORREF c = h.Pixel(Pos(n).x, Pos(n).y);
            out += c == 0xFFFFFF ? 'W' : c == 0xFFFF00 ? 'S' : c == 0x808080 ? 'G' : '?';
        }
        return out;
    }
    // Clicks the buttons named; "bar>X" and "md>X" drag what is at 10:30 on
    // the first row, or the device, onto X; "del" is the Delete key, "w+" and "w-" wheel notches.
    void Do(std::initializer_list<std::string> steps, unsigned holdMs = 0) {
        for (const std::string& st : steps) {
            const std::size_t to = st.find('>') + 1;
            if (st == "del")
                h.KeyDown(VK_DELETE);
            else if (st[0] == 'w')
                h.Wheel(st[1] == '+' ? 120 : -120);
            else if (to == 0)
                h.Click(Pos(st.c_str()));
            else {
                const CPoint from =
                    st[0] == 'm' ? CPoint(X(910), Y(280)) : CPoint(LineX(10, 30), RowY(0));
                const CPoint at = Pos(st.c_str() + to);
                h.Hold(from, at);
                h.AdvanceMs(holdMs);
                h.LButtonUp(at.x, at.y);
            }
        }
    }
    std::string First() { return Cal()->GetDrawTimeRect().GetBegin().Format("%Y-%m-%d").str(); }
};

TEST(CommandTest, ScrollButtonsStepByWeekOrDayAndABarOrDeviceHeldOverThem) {
    Scene s;
    using Case = std::tuple<CTime, const char*, int, const char*>;  // first, step, view, want
    const Case cases[] = {
        {Date(2026, 6, 10), "DN", 2, "2026-06-15"}, {Date(2026, 6, 10), "UP", 2, "2026-06-08"},
        {Date(2026, 6, 8), "DN", 2, "2026-06-15"},  {Date(2027, 12, 22), "DN", 2, "2027-12-25"},
        {Date(1999, 1, 4), "UP", 2, "1999-01-01"},  {Date(2026, 6, 10), "w-", 2, "2026-06-11"},
        {Date(2026, 6, 10), "w+", 2, "2026-06-09"}, {Date(2026, 6, 10), "w-", 0, "2026-06-10"}};
    for (const auto& [first, step, view, want] : cases) {
        SCOPED_TRACE(std::string(step) + " to " + want);
        s.screen->SetViewMode(view);
        s.Show(first);
        s.Do({step});
        EXPECT_EQ(s.First(), want);
    }
    s.screen->SetViewMode(2);
    s.Show(Date(1999, 1, 1));
    // A button without a direction looks available and moves nothing.
    EXPECT_EQ(s.Looks({"UP", "DN", "GO", "NO"}), "GWWW");
    s.Do({"NO"});
    EXPECT_EQ(s.First(), "1999-01-01");
    s.Show(Date(2027, 12, 25));
    EXPECT_EQ(s.Looks({"UP", "DN"}), "WG");
    s.Do({"GO"});
    EXPECT_EQ(s.First(), "2026-06-08");
    // Held over DN: a day after 1.1 s and 2.2 s, and no more once released.
    ASSERT_TRUE(s.screen->SetProgram(Single(1, 2026, 6, 10, 10, 0, 11, 0)));
    for (const char* step : {"bar>DN", "md>DN"}) {
        s.Show(Date(2026, 6, 10));
        s.Do({step}, 2300);
        s.h.AdvanceMs(2000);
        EXPECT_EQ(s.First(), "2026-06-12");
    }
    EXPECT_EQ(s.TakeLog(), Log());
}

TEST(CommandTest, ChangeTrashNewAndDeleteWorkTheSelectionOrADropAndSlotButtonsSelectAndRestack) {
    Scene s;
    ASSERT_TRUE(s.screen->SetProgram(Single(1, 2026, 6, 8, 10, 0, 11, 0)));
    EXPECT_EQ(s.Looks({"CHG", "TR", "NEW"}), "GGW");
    s.h.MouseMove(s.Pos("S1").x, s.Pos("S1").y);
    s.h.AdvanceMs(600);
    // Cut to three bytes, but not through the first double-byte character.
    EXPECT_EQ(s.h.ToolTipText(), "used 0x1|CD|%| %n");
    s.Do({"CHG", "TR", "NEW", "md>NEW", "S1"});  // nothing selected before S1
    EXPECT_EQ(s.Looks({"CHG", "TR"}), "WW");
    s.screen->consent = false;
    s.Do({"CHG", "TR", "bar>TR", "md>TR", "md>CHG"});  // a device means nothing to either
    s.screen->consent = true;
    s.Do({"bar>CHG"});
    ASSERT_TRUE(s.screen->SetProgram(Single(2, 2026, 6, 8, 12, 0, 13, 0)) &&
                s.screen->SetProgram(Single(3, 2026, 6, 8, 14, 0, 15, 0)));
    s.Do({"bar>NEW"});  // a bar is no device
    EXPECT_EQ(s.Looks({"NEW"}), "G");
    s.Do({"bar>TR", "S2", "TR"});
    s.screen->consent = false;
    s.Do({"S3", "del"});
    s.screen->consent = true;
    s.Do({"del", "del"});  // the second with nothing selected
    EXPECT_EQ(CQMainScreenInternal::GetProgTable(*s.screen).GetSize(), 0);
    EXPECT_EQ(s.Looks({"CHG", "TR"}), "GG");
    EXPECT_EQ(s.TakeLog(),
              Log({"new NEW 55", "new MD", "click 1 2026-06-08 10:00", "delete 1 2026-06-08 10:00",
                   "delete 1 2026-06-08 10:00", "drop on CHG 1 2026-06-08 10:15",
                   "delete 1 2026-06-08 10:15", "delete 2 2026-06-08 12:00",
                   "delete 3 2026-06-08 14:00", "delete 3 2026-06-08 14:00"}));

    // The slot buttons, on the emptied table: a click selects, restacks and
    // shows the week of the slot's next run.
    ASSERT_TRUE(s.screen->SetProgram(Single(1, 2026, 6, 12, 9, 0, 10, 0)));
    // Now, slot 3 (0x12: Monday and Thursday), the first day after a click.
    using Case = std::tuple<CTime, CQProg, const char*>;
    const Case cases[] = {{Date(2026, 6, 11, 8), Weekly(3, 0x12, 7, 0, 8, 0), "2026-06-15"},
                          {Date(2026, 6, 11, 6), Weekly(3, 0x12, 7, 0, 8, 0), "2026-06-08"},
                          {Date(2026, 6, 11, 6), Single(3, 2026, 7, 2, 7, 0, 8, 0), "2026-06-29"},
                          {Date(2026, 6, 11, 6), Weekly(3, 0x80, 7, 0, 8, 0), "2026-07-20"}};
    for (const auto& [now, prog, want] : cases) {
        SCOPED_TRACE(want);  // the last never runs: the calendar stays
        s.h.SetNow(now);
        s.Show(Date(2026, 7, 20));
        ASSERT_TRUE(s.screen->SetProgram(prog));
        s.Do({"S3"});
        EXPECT_EQ(s.First() + s.Looks({"S1", "S2", "S3"}), want + std::string("WGS"));
        CItem* root = s.screen->GetRootItem();
        EXPECT_EQ(root->GetChild(root->GetChildCount() - 1),
                  s.screen->CQItemName2pCQItem("S3")->GetOwner());
    }
}

}  // namespace
