// Items deleted while the host window is dispatching to them or to others:
// the calendar rebuilds its day rows from host callbacks, so every path of
// the dispatch must skip what has gone and keep the order of the rest.

#include "frame/frame_fixture.h"

namespace frametest {
namespace {

struct LifetimeScene : Scene {
    // A fresh item at the deleted one's place in memory would be called in
    // its stead: make one at once, as a rebuild does.
    RecItem* EraseAndReplace(CItem* item) {
        Erase(item);
        RecItem* fresh = Rec("new", nullptr, 150, 100, 160, 110);
        fresh->logMoves = false;
        fresh->SetTimer(100);
        return fresh;
    }
    // D at the top left of `under` (or of the background), dragged to
    // (x, y) and held.
    RecItem* DragD(int x, int y, CItem* under = nullptr) {
        RecItem* d = Rec("D", under, 0, 0, 40, 40);
        d->AddDragArea(DragArea{});
        h.Hold(InParent(5, 5), InParent(x, y));
        EXPECT_TRUE(d->IsDragging());
        return d;
    }
};

// A deletes B from its tick, its item timer or its wheel: B is not called,
// the rest keep their order and go on; an item made in the same handler,
// possibly where B was, gets its first timer only from the next tick on.
TEST(ItemLifetime, ItemDeletedByAnotherDuringTheTickTheTimersOrTheWheelIsNotCalled) {
    for (const std::string what : {"tick", "timer", "wheel"}) {
        SCOPED_TRACE(what);
        LifetimeScene s;
        RecItem* a = s.Rec("A", nullptr, 0, 0, 10, 10);
        RecItem* b = s.Rec("B", nullptr, 20, 0, 30, 10);
        RecItem* c = s.Rec("C", nullptr, 40, 0, 50, 10);
        RecItem* fresh = nullptr;
        a->hooks[what] = [&] { fresh = s.EraseAndReplace(b); };
        for (RecItem* item : {a, b, c}) item->SetTimer(100);
        s.Move(5, 5);
        const std::string tail = what == "wheel" ? " 120" : "";
        for (int pass = 0; pass < 2; ++pass) {
            Fresh();
            if (what == "wheel") s.h.Wheel(120);
            if (what != "wheel") s.h.AdvanceMs(100);
            Log want{"A:" + what + tail, "C:" + what + tail};
            if (pass == 1) want.push_back("new:" + what + tail);
            EXPECT_EQ(Filter(Fresh(), ":" + what), want);
            ASSERT_NE(fresh, nullptr);
            EXPECT_EQ(fresh->timerTicks.size(), std::size_t(what == "wheel" ? 0 : pass));
        }
    }
}

// The host deletes the background from the background's own press report.
TEST(ItemLifetime, ItemDeletedByTheHostFromItsOwnClick) {
    LifetimeScene s;
    s.screen.onDown = [&] {
        delete s.bg;
        s.bg = nullptr;
    };
    s.Down(5, 5);
    EXPECT_EQ(Filter(Events(), "screen:down"), Log{"screen:down BG 1 5,5"});
    EXPECT_EQ(s.wnd->GetRootItem(), nullptr);
    // Input without a tree reaches nothing and breaks nothing.
    s.Up(5, 5);
    s.Move(6, 6);
    s.h.Wheel(120);
    s.h.KeyDown('A');
    s.h.AdvanceMs(200);
    s.h.MouseLeave();
}

// A dragged item deleted: by the host from the drop (a program bar dropped
// on a day row: the calendar rebuilds its rows); during its drag by itself
// while it handles a move (the items under the pointer then hear of no
// captured item); by the host while it is held over a button (whose
// repeat then stops), where the release is no drop; and by the host after
// its parent, while it is hovered and timed.
TEST(ItemLifetime, DraggedItemDeletedByTheDropDuringTheDragOrAfterItsParent) {
    LifetimeScene s;
    RecItem* under = s.Rec("U", nullptr, 100, 0, 150, 40);
    auto* button = s.Add(std::make_unique<RecButton>("B"), nullptr, 0, 100, 40, 140);
    RecItem* dragged = s.DragD(120, 20);
    under->hooks["dropin"] = [&] { s.EraseAndReplace(dragged); };
    Fresh();
    s.Up(120, 20);
    // No end of drag on what is gone.
    EXPECT_EQ(Fresh(), (Log{"D:up 120,20", "U:dropin 0 20,20 from=D"}));
    EXPECT_EQ(s.wnd->GetCaptureItem(), nullptr);
    // The screen goes on working.
    s.Click(125, 25);
    EXPECT_EQ(Filter(Fresh(), "U:down"), Log{"U:down 25,25"});

    dragged = s.DragD(120, 20);
    dragged->hooks["move"] = [&] { s.EraseAndReplace(dragged); };
    Fresh();
    s.Move(121, 21, MK_LBUTTON);
    EXPECT_EQ(Fresh(), (Log{"D:move 121,21 cap=D", "U:move 21,21 cap=-"}));
    EXPECT_EQ(s.wnd->GetCaptureItem(), nullptr);
    s.Up(121, 21);
    Log got = Fresh();
    EXPECT_EQ(got.back(), "U:up 21,21");

    dragged = s.DragD(20, 120);
    ASSERT_EQ(button->GetHeldItem(), dragged);
    s.Erase(dragged);
    EXPECT_EQ(button->GetHeldItem(), nullptr);
    s.h.AdvanceMs(1500);
    s.Up(20, 120);
    for (const std::string& e : Fresh()) got.push_back(e);
    EXPECT_TRUE(Filter(got, "repeat").empty() && Filter(got, "dropin").empty());

    // The parent of a dragged, hovered, timed item goes first: the child is
    // cut off, not left pointing at it; then the child goes.
    auto* parent = new RecItem("P", RGB(1, 1, 1));
    parent->Create(s.bg, 0, 0, 60, 60);
    dragged = s.DragD(20, 20, parent);
    dragged->SetTimer(100);
    ASSERT_EQ(s.wnd->GetHoverItem(), dragged);
    const int children = s.bg->GetChildCount();
    delete parent;
    EXPECT_TRUE(dragged->GetParent() == nullptr && s.bg->GetChildCount() == children - 1);
    s.Erase(dragged);
    EXPECT_TRUE(s.wnd->GetCaptureItem() == nullptr && s.wnd->GetHoverItem() == nullptr &&
                CWnd::GetCapture() == nullptr);
    s.Move(40, 40, MK_LBUTTON);
    s.Up(40, 40);
    s.h.AdvanceMs(300);
    EXPECT_EQ(s.wnd->GetHoverItem(), s.bg);
}

// The item that is left deletes the one being entered (a balloon closing
// deletes the row it pointed at).
TEST(ItemLifetime, ItemDeletedByTheLeaveOfTheHoveredItem) {
    LifetimeScene s;
    RecItem* a = s.Rec("A", nullptr, 0, 0, 40, 40);
    RecItem* b = s.Rec("B", nullptr, 100, 0, 150, 40);
    s.Move(5, 5);
    a->hooks["leave"] = [&] { s.EraseAndReplace(b); };
    Fresh();
    s.Move(120, 20);
    const Log got = Fresh();
    EXPECT_TRUE(Filter(got, "A:leave") == Log{"A:leave cap=-"} && Filter(got, "B:").empty());
    EXPECT_EQ(s.wnd->GetHoverItem(), nullptr);
    // The next move finds the background and hovers it.
    s.Move(121, 21);
    EXPECT_EQ(s.wnd->GetHoverItem(), s.bg);
}

}  // namespace
}  // namespace frametest
