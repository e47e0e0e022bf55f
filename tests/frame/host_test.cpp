// The host interface: the callbacks' slots and library bodies, and the
// device state, connection and calendar operations, which reach their items
// by name (or as the TOP and CALENDAR items) and do nothing without them.
#include <cstdint>
#include <cstring>

#include "frame_fixture.h"

using namespace frametest;

namespace {

// The virtual table index of a virtual member function, as the Itanium C++
// ABI (gcc, clang) encodes a pointer to it: 1 + the byte offset in the table.
template <class F>
std::ptrdiff_t Slot(F member) {
    struct {
        std::uintptr_t ptr;
        std::ptrdiff_t adj;
    } raw{};
    static_assert(sizeof(F) == sizeof(raw), "an Itanium pointer to member function");
    std::memcpy(&raw, &member, sizeof raw);
    return (raw.ptr & 1) == 0 ? -1 : static_cast<std::ptrdiff_t>((raw.ptr - 1) / sizeof(void*));
}

const std::string kDevices =
    "BG\nEND\nDEVICE\nNAME\t\"CD/DVD\"\nEND\nDEVICE\nNAME\t\"MD\"\nEND\n"
    "DEVICE\nNAME\t\"FM TUNER\"\nEND\nDEVICE\nNAME\t\"NKX\"\nEND\n"
    "DEVICE\nNAME\t\"SOUND CHIP\"\nEND\nDEVICE\nNAME\t\"SPEAKER\"\nEND\n";

}  // namespace

TEST(HostTest, CallbacksFollowTheObjectSlotsInSlotOrder) {
    using S = CQMainScreen;
    // The object's own operations come first; its destructor takes two
    // entries (complete and deleting).
    EXPECT_EQ((std::vector<std::ptrdiff_t>{Slot(&S::GetRuntimeClass), Slot(&S::Serialize),
                                           Slot(&S::AssertValid), Slot(&S::Dump)}),
              (std::vector<std::ptrdiff_t>{0, 3, 4, 5}));
    // clang-format off
    const std::ptrdiff_t slots[] = {
        Slot(&S::OnClick), Slot(&S::OnLButtonDblClk), Slot(&S::OnLButtonDown),
        Slot(&S::OnLButtonUp), Slot(&S::OnRButtonDown), Slot(&S::OnRButtonUp), Slot(&S::OnDropOut),
        Slot(&S::OnCalendar_DayLButtonDblClk), Slot(&S::OnCalendar_ProgLButtonDblClk),
        Slot(&S::OnCalendar_ProgRButtonDown), Slot(&S::OnCalendar_ProgRButtonUp),
        Slot(&S::OnCalendar_LogLButtonDblClk), Slot(&S::OnCalendar_LogRButtonDown),
        Slot(&S::OnCalendar_LogRButtonUp), Slot(&S::OnCalendar_DropOut),
        Slot(&S::OnCalendar_ProgChange), Slot(&S::OnCalendar_ProgDelete), Slot(&S::OnNewmake_Click),
        Slot(&S::OnNewmake_DropOut), Slot(&S::OnChange_DropOut), Slot(&S::OnChange_Click),
        Slot(&S::OnSliderChange)};
    // clang-format on
    for (std::size_t i = 0; i < std::size(slots); ++i)
        EXPECT_EQ(slots[i], static_cast<std::ptrdiff_t>(6 + i)) << i;
    // (Their default behaviour: the library bodies' case.)
}

// Without the items, or with an item of another kind under a device's name,
// the operations do nothing.
TEST(HostTest, DeviceStatesAndConnectionsReachTheirItemsOrNothing) {
    for (bool items : {true, false}) {
        SCOPED_TRACE(items);
        ScreenScene s;
        CQMainScreen& screen = s.Build(items ? kDevices + "TOP\nNAME\t\"lines\"\nEND\n"
                                             : "BG\nEND\nTRASH\nNAME\t\"NKX\"\nEND\n");
        Fresh();
        // A state out of the device's range is ignored.
        using S = CQMainScreen;
        const std::pair<void (S::*)(int), int> states[] = {
            {&S::SetStateMD, 6},    {&S::SetStateMD, 7},      {&S::SetStateMD, -1},
            {&S::SetStateCDDVD, 5}, {&S::SetStateCDDVD, 6},   {&S::SetStateFM, 2},
            {&S::SetStateSOUND, 1}, {&S::SetStateSpeaker, 4}, {&S::SetStateSpeaker, 5}};
        for (const auto& [set, state] : states) (screen.*set)(state);
        screen.SetStateNKX(1, "3 mails");
        screen.SetStateNKX(2, "ignored");
        screen.SetStateFM(1);
        screen.SetStateSpeakerMute(true);  // kept apart from the speaker's state
        screen.SetStateDubbing("CD/DVD", "MD");
        screen.SetStateConnect("FM TUNER", "SPEAKER");
        screen.SetStateDubbingEnd();
        screen.DeleteAllConnect();
        const Log log{"device:MD state 6 ''",         "device:CD/DVD state 5 ''",
                      "device:SOUND CHIP state 1 ''", "device:SPEAKER state 4 ''",
                      "device:NKX state 1 '3 mails'", "device:FM TUNER state 1 ''",
                      "top:lines dubbing CD/DVD>MD",  "top:lines connect FM TUNER>SPEAKER",
                      "top:lines dubbing end",        "top:lines connect clear"};
        EXPECT_EQ(Fresh(), items ? log : Log());
        const std::vector<int> set{6, 5, 1, 1, 4, 1}, unset{-1, -1, -1, -1, -1, 0};
        EXPECT_EQ((std::vector<int>{screen.GetStateMD(), screen.GetStateCDDVD(),
                                    screen.GetStateFM(), screen.GetStateSOUND(),
                                    screen.GetStateSpeaker(), screen.GetStateSpeakerMute()}),
                  items ? set : unset);
        CString text("untouched");
        EXPECT_EQ(screen.GetStateNKX(&text), items ? 1 : -1);
        EXPECT_TRUE(text == (items ? "3 mails" : "untouched") &&
                    screen.GetStateNKX(nullptr) == (items ? 1 : -1));
        EXPECT_TRUE(s.h.MessageBoxes().empty());
    }
}

TEST(HostTest, LibraryBodiesConsentAndRedrawAfterADropTheCalendarWindowAndFirstWeekday) {
    ScreenScene s;
    CQMainScreen& bare = s.Build("BG\nEND\n");
    // The object operations: CObject's class, nothing serialised, a dump
    // that names the class.
    EXPECT_STREQ(bare.GetRuntimeClass()->m_lpszClassName, "CObject");
    EXPECT_TRUE(bare.IsKindOf(RUNTIME_CLASS(CObject)) && !bare.IsSerializable());
    CArchive archive;
    bare.Serialize(archive);
    bare.AssertValid();
    CDumpContext dump;
    bare.Dump(dump);
    EXPECT_EQ(dump.GetText().rfind("a CObject at ", 0), 0u) << dump.GetText();
    CQProg prog;
    EXPECT_TRUE(bare.OnCalendar_ProgChange(&prog) && bare.OnCalendar_ProgDelete(&prog) &&
                bare.OnChange_DropOut("CHANGE", &prog) && bare.OnChange_DropOut("CHANGE", nullptr));
    bare.OnClick("CD/DVD", 0, CPoint(1, 2));
    bare.OnDropOut("MD", 0, CPoint(1, 2), "CD/DVD");
    auto* wnd = static_cast<CQMainWnd*>(bare.GetpCWnd());
    s.h.AdvanceMs(0);
    EXPECT_TRUE(wnd->GetPendingPaint().IsRectEmpty());
    bare.OnCalendar_DropOut("CD/DVD", CTime(1000), CTime(2000));
    EXPECT_EQ(wnd->GetPendingPaint(), CRect(0, 0, 206, 156));
    // No calendar: outputs left alone, no scrolling.
    CTime begin(5), end(6);
    bare.ChangeCalendarDrawTimeRect(CTime(1000), CTime(2000));
    bare.GetCalendarDrawTimeRect(&begin, &end);
    EXPECT_TRUE(begin == CTime(5) && end == CTime(6));
    EXPECT_FALSE(bare.SetScheduleDrawDay(CTime(86400 * 10)));
    CQMainScreen& screen = s.Build("BG\nEND\nCALENDAR\nNAME\t\"cal\"\nEND\n");
    auto* cal = s.Item<FakeCalendar>("cal");
    ASSERT_NE(cal, nullptr);
    // An end before the begin is on the next day. (Equal times, the
    // window read back and scrolling: the calendar's window and first-day cases.)
    screen.ChangeCalendarDrawTimeRect(CTime(2025, 1, 6, 22, 0, 0), CTime(2025, 1, 6, 2, 0, 0));
    EXPECT_EQ(cal->window.GetEnd(), CTime(2025, 1, 7, 2, 0, 0));
    EXPECT_EQ(screen.GetCalendarBeginWeek(), 0);
    screen.SetCalendarBeginWeek(6);
    EXPECT_EQ(screen.GetCalendarBeginWeek(), 6);
    EXPECT_TRUE(CQMainScreen::IsCalendarCItem(cal));
    EXPECT_FALSE(CQMainScreen::IsCalendarCItem(screen.GetRootItem()) ||
                 CQMainScreen::IsCalendarCItem(nullptr));
}
