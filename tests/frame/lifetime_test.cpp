// Items deleted while the host window is dispatching to them or to others:
// the calendar rebuilds its day rows from host callbacks, so every path of
// the dispatch must skip what has gone and keep the order of the rest.

#include "frame/frame_fixture.h"

namespace frametest {
namespace {

// A recording item with a one-shot hook in each handler that may delete
// items.
class HookItem : public RecItem {
public:
    using RecItem::RecItem;
    void OnTick() override {
        RecItem::OnTick();
        Note("tick");
        if (onTick) std::exchange(onTick, nullptr)();
    }
    void OnMouseWheel(UINT f, short delta) override {
        RecItem::OnMouseWheel(f, delta);
        if (onWheel) std::exchange(onWheel, nullptr)();
    }
    void OnDropIn(UINT f, int x, int y, CItem* dragged) override {
        RecItem::OnDropIn(f, x, y, dragged);
        if (onDrop) std::exchange(onDrop, nullptr)();
    }
    void OnMouseMove(UINT f, int x, int y, CItem* cap) override {
        RecItem::OnMouseMove(f, x, y, cap);
        if (onMove) std::exchange(onMove, nullptr)();
    }
    void OnMouseLeave(CItem* cap) override {
        RecItem::OnMouseLeave(cap);
        if (onLeave) std::exchange(onLeave, nullptr)();
    }
    std::function<void()> onTick, onWheel, onDrop, onMove, onLeave;
};

struct LifetimeScene : Scene {
    HookItem* Hook(const std::string& name, int l, int t, int r, int b) {
        return Add(std::make_unique<HookItem>(name, RGB(0, 120, 0)), nullptr, l, t, r, b);
    }
    // A fresh item at the deleted one's place in memory would be called in
    // its stead: make one at once, as a rebuild does.
    void EraseAndReplace(CItem* item) {
        Erase(item);
        Rec("new", nullptr, 150, 100, 160, 110)->logMoves = false;
    }
};

TEST(ItemLifetime, ItemDeletedByAnotherDuringTheTickIsNotCalled) {
    LifetimeScene s;
    HookItem* a = s.Hook("A", 0, 0, 10, 10);
    HookItem* b = s.Hook("B", 20, 0, 30, 10);
    s.Hook("C", 40, 0, 50, 10);
    a->onTick = [&] { s.EraseAndReplace(b); };
    s.Hook("T", 60, 0, 70, 10);
    Fresh();
    s.h.AdvanceMs(100);
    // No tick for B; the order of the rest stays: A, C, T.
    EXPECT_EQ(Filter(Fresh(), ":tick"), (Log{"A:tick", "C:tick", "T:tick"}));
    // Later ticks go on for the survivors.
    s.h.AdvanceMs(100);
    EXPECT_EQ(Count(Fresh(), "C:tick"), 1);
}

TEST(ItemLifetime, ItemTimerDeletingAnItemWhoseTimerIsDue) {
    LifetimeScene s;
    struct TimerItem : HookItem {
        using HookItem::HookItem;
        void OnItemTimer() override {
            Note("timer");
            if (onTimer) std::exchange(onTimer, nullptr)();
        }
        std::function<void()> onTimer;
    };
    auto* a = s.Add(std::make_unique<TimerItem>("A", RGB(0, 0, 0)), nullptr, 0, 0, 10, 10);
    auto* b = s.Add(std::make_unique<TimerItem>("B", RGB(0, 0, 0)), nullptr, 20, 0, 30, 10);
    a->SetTimer(100);
    b->SetTimer(100);
    a->onTimer = [&] {
        s.Erase(b);
        // An item made in the same handler, possibly where B was, gets its
        // first firing only from the next tick on.
        auto* n = s.Add(std::make_unique<TimerItem>("N", RGB(0, 0, 0)), nullptr, 40, 0, 50, 10);
        n->SetTimer(100);
    };
    Fresh();
    s.h.AdvanceMs(100);
    EXPECT_EQ(Filter(Fresh(), ":timer"), Log{"A:timer"});
    s.h.AdvanceMs(100);
    EXPECT_EQ(Count(Fresh(), "N:timer"), 1);
}

TEST(ItemLifetime, ItemDeletedFromTheWheelIsNotCalled) {
    LifetimeScene s;
    HookItem* a = s.Hook("A", 0, 0, 10, 10);
    HookItem* b = s.Hook("B", 20, 0, 30, 10);
    s.Hook("C", 40, 0, 50, 10);
    a->onWheel = [&] { s.EraseAndReplace(b); };
    s.Move(5, 5);
    Fresh();
    s.h.Wheel(120);
    EXPECT_EQ(Fresh(), (Log{"A:wheel 120", "C:wheel 120"}));
}

// A drag whose drop makes the host delete the dragged item (a program bar
// dropped on a day row: the calendar rebuilds its rows).
TEST(ItemLifetime, DraggedItemDeletedByTheDropCallback) {
    LifetimeScene s;
    HookItem* dragged = s.Hook("D", 0, 0, 40, 40);
    HookItem* target = s.Hook("T", 100, 0, 150, 40);
    dragged->AddDragArea(DragArea{});
    target->onDrop = [&] { s.EraseAndReplace(dragged); };
    s.Down(5, 5);
    s.Move(120, 20, MK_LBUTTON);
    ASSERT_TRUE(dragged->IsDragging());
    Fresh();
    s.Up(120, 20);
    // No end of drag on what is gone.
    EXPECT_EQ(Fresh(), (Log{"D:up 120,20", "T:dropin 0 20,20 from=D"}));
    EXPECT_EQ(s.wnd->GetCaptureItem(), nullptr);
    // The screen goes on working.
    s.Move(125, 25);
    s.Down(125, 25);
    EXPECT_EQ(Fresh().back(), "T:down 25,25");
}

// The host deletes the background from the background's own press report.
TEST(ItemLifetime, ItemDeletedByTheHostFromItsOwnClick) {
    LifetimeScene s;
    s.screen.onDown = [&] {
        delete s.bg;
        s.bg = nullptr;
    };
    s.Down(5, 5);
    EXPECT_EQ(Count(Events(), "screen:down BG 1 5,5"), 1);
    EXPECT_EQ(s.wnd->GetRootItem(), nullptr);
    // Input without a tree reaches nothing and breaks nothing.
    s.Up(5, 5);
    s.Move(6, 6);
    s.h.Wheel(120);
    s.h.KeyDown('A');
    s.h.AdvanceMs(200);
    s.h.MouseLeave();
}

// A dragged item deleted during its drag: by itself while it handles a
// move (the items under the pointer then hear of no captured item), and by
// the host while it is held over a button (whose repeat then stops); the
// release is no drop.
TEST(ItemLifetime, CapturedItemDeletedDuringADrag) {
    LifetimeScene s;
    HookItem* dragged = s.Hook("D", 0, 0, 40, 40);
    dragged->AddDragArea(DragArea{});
    s.Hook("U", 100, 0, 150, 40);
    auto* button = s.Add(std::make_unique<RecButton>("B"), nullptr, 0, 100, 40, 140);
    s.Down(5, 5);
    s.Move(120, 20, MK_LBUTTON);
    ASSERT_TRUE(dragged->IsDragging());
    dragged->onMove = [&] { s.EraseAndReplace(dragged); };
    Fresh();
    s.Move(121, 21, MK_LBUTTON);
    EXPECT_EQ(Fresh(), (Log{"D:move 121,21 cap=D", "U:move 21,21 cap=-"}));
    EXPECT_EQ(s.wnd->GetCaptureItem(), nullptr);
    s.Up(121, 21);
    Log got = Fresh();
    EXPECT_EQ(got.back(), "U:up 21,21");

    HookItem* second = s.Hook("E", 60, 60, 90, 90);
    second->AddDragArea(DragArea{});
    s.Down(65, 65);
    s.Move(20, 120, MK_LBUTTON);
    ASSERT_TRUE(second->IsDragging());
    ASSERT_EQ(button->GetHeldItem(), second);
    s.Erase(second);
    EXPECT_EQ(button->GetHeldItem(), nullptr);
    s.h.AdvanceMs(1500);
    s.Up(20, 120);
    for (const std::string& e : Fresh()) got.push_back(e);
    EXPECT_TRUE(Filter(got, "repeat").empty() && Filter(got, "dropin").empty());
}

// The item that is left deletes the one being entered (a balloon closing
// deletes the row it pointed at).
TEST(ItemLifetime, ItemDeletedByTheLeaveOfTheHoveredItem) {
    LifetimeScene s;
    HookItem* a = s.Hook("A", 0, 0, 40, 40);
    HookItem* b = s.Hook("B", 100, 0, 150, 40);
    s.Move(5, 5);
    a->onLeave = [&] { s.EraseAndReplace(b); };
    Fresh();
    s.Move(120, 20);
    const Log got = Fresh();
    EXPECT_TRUE(Count(got, "A:leave cap=-") == 1 && Filter(got, "B:").empty());
    EXPECT_EQ(s.wnd->GetHoverItem(), nullptr);
    // The next move finds the background and hovers it.
    s.Move(121, 21);
    EXPECT_EQ(s.wnd->GetHoverItem(), s.bg);
}

}  // namespace
}  // namespace frametest
