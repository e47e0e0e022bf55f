// The press cycle of buttons: what counts as a click, and the repeat while a
// dragged item is held over a button.
#include "frame_fixture.h"

using frametest::Log;
using frametest::RecButton;
using frametest::RecItem;
using frametest::Scene;

namespace {

int Count(const Log& log, const std::string& line) {
    return static_cast<int>(std::count(log.begin(), log.end(), line));
}

}  // namespace

TEST(ButtonTest, AClickIsAPressAndAReleaseInsideWithoutLeaving) {
    Scene s;
    RecButton* b = s.Add(std::make_unique<RecButton>("btn", &s.log), nullptr, 20, 20, 80, 60);
    EXPECT_EQ(b->GetButtonState(), 0);
    s.Move(30, 30);
    EXPECT_EQ(b->GetButtonState(), 1);
    s.Down(30, 30);
    EXPECT_TRUE(b->IsPressed());
    EXPECT_TRUE(b->IsCaptured());
    EXPECT_FALSE(b->IsDragging());
    EXPECT_EQ(b->GetButtonState(), 2);
    std::size_t from = s.log.size();
    s.h.LButtonUp(Scene::X(79), Scene::Y(59), MK_SHIFT);
    EXPECT_EQ(s.Since(from), Log{"btn:click 4 59,39"});
    EXPECT_FALSE(b->IsPressed());
    EXPECT_FALSE(b->IsCaptured());
    EXPECT_EQ(b->GetButtonState(), 1);

    // Released outside: no click, and the capture is gone.
    from = s.log.size();
    s.Move(30, 30);
    s.Down(30, 30);
    s.Up(80, 30);  // the right edge is outside
    EXPECT_EQ(Count(s.Since(from), "btn:click 0 60,10"), 0);
    EXPECT_TRUE(s.Since(from).empty());
    EXPECT_FALSE(b->IsCaptured());

    // Out and back in with the button held: leaving let go of the press.
    s.Move(30, 30);
    s.Down(30, 30);
    s.Move(120, 100, MK_LBUTTON);
    EXPECT_FALSE(b->IsPressed());
    EXPECT_EQ(b->GetButtonState(), 0);
    s.Move(40, 40, MK_LBUTTON);
    EXPECT_EQ(b->GetButtonState(), 1);
    from = s.log.size();
    s.Up(40, 40);
    EXPECT_TRUE(s.Since(from).empty());
    EXPECT_FALSE(b->IsCaptured());

    // Pressed elsewhere, released on the button: not a click either.
    s.Move(150, 100);
    s.Down(150, 100);
    s.Move(40, 40, MK_LBUTTON);
    from = s.log.size();
    s.Up(40, 40);  // reaches the button, which was never pressed
    EXPECT_TRUE(s.Since(from).empty());

    // And a plain click still works after all that.
    from = s.log.size();
    s.Down(40, 40);
    s.Up(41, 40);
    EXPECT_EQ(s.Since(from), Log{"btn:click 0 21,20"});
}

TEST(ButtonTest, ADragThatEndsOnItsOwnButtonIsNoClick) {
    Scene s;
    RecButton* b = s.Add(std::make_unique<RecButton>("btn", &s.log), nullptr, 20, 20, 120, 100);
    b->AddDragArea(DragArea());
    s.Move(30, 30);
    s.Down(30, 30);
    s.Move(60, 30, MK_LBUTTON);
    EXPECT_TRUE(b->IsDragging());
    EXPECT_EQ(b->GetButtonState(), 3);
    std::size_t from = s.log.size();
    s.Up(60, 30);
    EXPECT_EQ(Count(s.Since(from), "btn:click 0 40,10"), 0);
    EXPECT_FALSE(b->IsPressed());
    EXPECT_EQ(b->GetButtonState(), 1);
}

TEST(ButtonTest, ADraggedItemHeldOverAButtonRepeatsOncePerInterval) {
    Scene s;
    RecItem* d = s.Rec("D", nullptr, 10, 10, 60, 60);
    d->logMoves = false;
    d->AddDragArea(DragArea());
    RecButton* b = s.Add(std::make_unique<RecButton>("btn", &s.log), nullptr, 100, 20, 160, 80);
    EXPECT_EQ(b->GetRepeatInterval(), 1000);

    // Plain hovering holds nothing.
    s.Move(120, 40);
    EXPECT_EQ(b->GetHeldItem(), nullptr);
    s.h.AdvanceMs(3000);
    EXPECT_EQ(Count(s.log, "btn:repeat D"), 0);

    s.Move(30, 30);
    s.Down(30, 30);
    s.Move(45, 30, MK_LBUTTON);
    ASSERT_TRUE(d->IsDragging());
    s.Move(120, 40, MK_LBUTTON);
    EXPECT_EQ(b->GetHeldItem(), d);
    EXPECT_EQ(b->GetButtonState(), 1);
    std::size_t from = s.log.size();
    s.h.AdvanceMs(1000);  // not more than one interval yet
    EXPECT_EQ(Count(s.Since(from), "btn:repeat D"), 0);
    s.h.AdvanceMs(200);
    EXPECT_EQ(Count(s.Since(from), "btn:repeat D"), 1);
    s.h.AdvanceMs(1200);
    EXPECT_EQ(Count(s.Since(from), "btn:repeat D"), 2);
    s.h.AdvanceMs(1100);
    EXPECT_EQ(Count(s.Since(from), "btn:repeat D"), 3);

    // Dropped on the button, the item is no longer held: the repeat stops.
    s.Up(120, 40);
    EXPECT_FALSE(d->IsCaptured());
    from = s.log.size();
    s.h.AdvanceMs(3000);
    EXPECT_EQ(Count(s.Since(from), "btn:repeat D"), 0);
    EXPECT_EQ(b->GetHeldItem(), nullptr);

    // Leaving the button with the item ends it as well.
    s.Move(30, 30);
    s.Down(30, 30);
    s.Move(45, 30, MK_LBUTTON);
    s.Move(120, 40, MK_LBUTTON);
    EXPECT_EQ(b->GetHeldItem(), d);
    s.Move(180, 40, MK_LBUTTON);
    EXPECT_EQ(b->GetHeldItem(), nullptr);
    from = s.log.size();
    s.h.AdvanceMs(3000);
    EXPECT_EQ(Count(s.Since(from), "btn:repeat D"), 0);
    s.Up(180, 40);

    // A shorter interval repeats sooner.
    b->SetRepeatInterval(250);
    s.Move(30, 30);
    s.Down(30, 30);
    s.Move(45, 30, MK_LBUTTON);
    s.Move(120, 40, MK_LBUTTON);
    from = s.log.size();
    s.h.AdvanceMs(1000);
    int n = Count(s.Since(from), "btn:repeat D");
    EXPECT_GE(n, 3);
    EXPECT_LE(n, 4);
    s.Up(120, 40);
}
