// The item tree in a host window: hit testing, painting, drags and drops,
// capture, timers, keys, wheel, hover, buttons and tool hints, all
// driven through the harness.
#include <tuple>

#include "frame/ThreadWait.h"
#include "frame_fixture.h"

using namespace frametest;

TEST(HitTestTest, TheBackgroundReportsToTheScreenAndTheDeepestVisibleItemGetsThePress) {
    Scene s;
    // (The client edge's inset is in every point of these tests.)
    s.PaintAll();
    EXPECT_TRUE(s.Pixel(0, 0) == RGB(0, 0, 64) && s.Pixel(199, 149) == RGB(0, 0, 64));
    // The background is no table item; its clicks reach the host.
    EXPECT_EQ(s.screen.CQItemName2pCQItem("BG"), nullptr);
    s.h.LButtonDblClk(Scene::X(5), Scene::Y(6));
    s.Up(7, 8);
    EXPECT_EQ(Fresh(), (Log{"screen:dblclk BG 1 5,6", "screen:up BG 0 7,8"}));

    // Over it the deepest visible hit-testable item gets the press, in its
    // own coordinates.
    s.Rec("A", nullptr, 10, 10, 110, 110);
    RecItem* b = s.Rec("B", nullptr, 60, 60, 160, 140);  // later: on top of A
    RecItem* b1 = s.Rec("B1", b, 20, 20, 40, 40);
    RecItem* glass = s.Rec("glass", nullptr, 15, 15, 40, 40);
    glass->SetHitTest(false);
    RecItem* hidden = s.Rec("hidden", nullptr, 120, 10, 190, 50);
    s.Rec("inHidden", hidden, 0, 0, 70, 40);
    auto pressAt = [&](int x, int y) {
        Fresh();
        s.Click(x, y);
        const Log downs = Filter(Fresh(), ":down ");
        return downs.empty() ? "none" : downs.front();
    };
    EXPECT_EQ(pressAt(20, 20), "A:down 10,10");  // through the glass, which is drawn only
    EXPECT_EQ(pressAt(70, 70), "B:down 10,10");  // overlap: the later child
    EXPECT_EQ(pressAt(85, 85), "B1:down 5,5");   // nested, in its own coordinates
    EXPECT_EQ(pressAt(130, 20), "inHidden:down 10,10");
    // An invisible item takes its subtree with it: the background reports.
    hidden->SetVisible(false);
    EXPECT_EQ(pressAt(130, 20), "screen:down BG 1 130,20");
    // An item that is not hit-testable is passed over with its subtree.
    b->SetHitTest(false);
    EXPECT_EQ(pressAt(85, 85), "A:down 75,75");
    glass->SetHitTest(true);
    EXPECT_EQ(pressAt(20, 20), "glass:down 5,5");
    // Forwarding: B1 hands its events to B with the point in B's terms.
    b->SetHitTest(true);
    b1->SetForwardToParent(true);
    s.Click(85, 85);
    EXPECT_EQ(Filter(Fresh(), ":down "), (Log{"B1:down 5,5", "B:down 25,25"}));
}

TEST(PaintTest, DrawingIsClippedToThePendingRectangleAndBatchedIntoOnePaint) {
    Scene s;
    RecItem* a = s.Rec("A", nullptr, 10, 10, 110, 110, RGB(200, 0, 0));
    RecItem* b = s.Rec("B", nullptr, 120, 10, 190, 60, RGB(0, 200, 0));
    s.PaintAll();
    // A new colour with a redraw of a small part only: outside it the old
    // colour survives as the sentinel, and B is not drawn.
    a->SetFillColor(RGB(0, 0, 255));
    const RECT part{20, 20, 40, 30};  // the root's coordinates
    a->Redraw(&part);
    auto paintsNow = [&] {  // the paints and draws of A and B that the queue makes
        const int paints = s.wnd->paints, drawsA = a->draws, drawsB = b->draws;
        s.h.AdvanceMs(0);
        return std::vector<int>{s.wnd->paints - paints, a->draws - drawsA, b->draws - drawsB};
    };
    EXPECT_EQ(paintsNow(), (std::vector<int>{1, 1, 0}));
    for (auto [x, y, c] : {std::tuple{20, 20, RGB(0, 0, 255)},
                           {39, 29, RGB(0, 0, 255)},
                           {40, 29, RGB(200, 0, 0)},
                           {19, 25, RGB(200, 0, 0)},
                           {25, 30, RGB(200, 0, 0)}})
        EXPECT_EQ(s.Pixel(x, y), c) << x << "," << y;
    // Several requests before the queue runs: one paint covers them all.
    b->SetFillColor(RGB(255, 255, 0));
    a->Redraw();
    b->Redraw();
    a->Redraw();
    EXPECT_EQ(s.wnd->GetPendingPaint(), CRect(10, 10, 190, 110));
    EXPECT_EQ(paintsNow(), (std::vector<int>{1, 1, 1}));
    EXPECT_TRUE(s.Pixel(100, 100) == RGB(0, 0, 255) && s.Pixel(150, 30) == RGB(255, 255, 0));
    // A child's redraw walks up its parents' offsets to window coordinates.
    RecItem* c = s.Rec("C", b, 5, 5, 15, 15, RGB(1, 2, 3));
    c->Redraw();
    EXPECT_EQ(s.wnd->GetPendingPaint(), CRect(125, 15, 135, 25));
    // "now" paints before returning, but only when asked of the root.
    const int paints = s.wnd->paints;
    c->Redraw(nullptr, true);
    EXPECT_EQ(s.wnd->paints, paints);
    s.bg->Redraw(nullptr, true);
    EXPECT_TRUE(s.wnd->paints == paints + 1 && s.Pixel(125, 15) == RGB(1, 2, 3));
    EXPECT_EQ(paintsNow()[0], 0);  // the child's request went with it

    // An empty rectangle, or an empty item, invalidates nothing.
    const RECT empty{50, 50, 50, 80};
    a->Redraw(&empty);
    s.Rec("flat", nullptr, 5, 5, 5, 5)->Redraw();
    EXPECT_TRUE(s.wnd->GetPendingPaint().IsRectEmpty());
    EXPECT_EQ(paintsNow()[0], 0);
}

TEST(DragTest, ADragStartsPastTenPixelsRightOrDownButElevenLeftOrUp) {
    Scene s;
    RecItem* d = s.Rec("D", nullptr, 50, 50, 150, 130);
    d->logMoves = false;
    EXPECT_EQ(d->AddDragArea(DragArea()), 0);
    // {dx, dy, whether the drag starts}
    const std::tuple<int, int, bool> cases[] = {
        {9, 0, false},  {10, 0, true},   {0, 9, false},  {0, 10, true},  {-10, 0, false},
        {-11, 0, true}, {0, -10, false}, {0, -11, true}, {10, 10, true}, {-10, -10, false}};
    // The drags that a press at (x, y) and a move by (dx, dy) start.
    auto started = [&](int x, int y, int dx, int dy) {
        Fresh();
        s.Down(x, y);
        s.Move(x + dx, y + dy, MK_LBUTTON);
        const Log drags = Filter(Fresh(), "begindrag");
        EXPECT_EQ(d->IsDragging(), !drags.empty());
        s.Up(x + dx, y + dy);
        EXPECT_FALSE(d->IsCaptured());
        return drags;
    };
    for (const auto& [dx, dy, starts] : cases) {
        SCOPED_TRACE(Pt(dx, dy));
        EXPECT_EQ(started(100, 90, dx, dy), starts ? Log{"D:begindrag 0"} : Log());
    }
    // Without the button going down nothing starts.
    s.Move(100, 90);
    s.Move(130, 90);
    EXPECT_TRUE(Filter(Fresh(), "begindrag").empty());
    // The later area is tried first; a press outside it cannot start it.
    EXPECT_EQ(d->AddDragArea(DragArea{0, {0, 0, 20, 20}, {-2, -3, 2, 3}}), 1);
    // A press at (5, 5) of D is inside the small area; one outside it can
    // only start the whole item's.
    EXPECT_EQ(started(55, 55, 2, 0), Log{"D:begindrag 1"});
    EXPECT_TRUE(started(100, 90, 3, 0).empty());
}

TEST(DragTest, CaptureRoutingAndTheDropBeforeTheEnd) {
    Scene s;
    RecItem* a = s.Rec("A", nullptr, 10, 10, 60, 60);
    RecItem* b = s.Rec("B", nullptr, 100, 20, 180, 120);
    a->AddDragArea(DragArea());
    s.Press(30, 30);
    EXPECT_TRUE(a->IsCaptured());
    Fresh();
    s.Move(45, 30, MK_LBUTTON);  // past the threshold, still over A
    EXPECT_TRUE(a->IsDragging());
    // As the captured item the drag starts, then again as the item under it.
    EXPECT_EQ(Fresh(), (Log{"A:move 35,20 cap=A", "A:begindrag 0", "A:move 35,20 cap=A"}));
    // Over B: B hears of the dragged item, A keeps the moves in its terms.
    s.Move(120, 50, MK_LBUTTON);
    EXPECT_EQ(Fresh(), (Log{"A:leave cap=A", "B:enter 20,30 cap=A", "A:move 110,40 cap=A",
                            "B:move 20,30 cap=A"}));
    EXPECT_EQ(s.wnd->GetHoverItem(), b);
    // The release goes to the captured item; the drop reaches B first.
    s.h.LButtonUp(Scene::X(130), Scene::Y(60), MK_SHIFT);
    EXPECT_EQ(Fresh(), (Log{"A:up 120,50", "B:dropin 4 30,40 from=A", "A:enddrag 120,50"}));
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    // A release in click mode drops nothing.
    s.Press(30, 30);
    Fresh();
    s.Up(32, 30);
    EXPECT_EQ(Fresh(), Log{"A:up 22,20"});

    // One holder only, and only it can let go; a press anywhere goes to it.
    EXPECT_TRUE(a->SetCapture(false) && !b->SetCapture(true) && !b->ReleaseCapture());
    s.Down(150, 100);
    EXPECT_EQ(Fresh(), Log{"A:down 140,90"});
    EXPECT_TRUE(a->SetCapture(true));  // the holder may switch to drag mode
    // Letting go of a drag delivers the drop even without a button message.
    EXPECT_TRUE(a->ReleaseCapture());
    EXPECT_EQ(Fresh(), Log{"B:dropin 1 50,80 from=A"});
    EXPECT_FALSE(a->IsCaptured());
    s.Up(150, 100);
}

TEST(TimerTest, ItemTimersRunInStepsOfTheHundredMillisecondTick) {
    Scene s;
    RecItem* a = s.Rec("A", nullptr, 10, 10, 60, 60);
    RecItem* fast = s.Rec("fast", nullptr, 70, 10, 90, 30);
    RecItem* idle = s.Rec("idle", nullptr, 100, 10, 120, 30);
    a->SetTimer(250);
    fast->SetTimer(40);
    s.h.AdvanceMs(1000);
    EXPECT_EQ(idle->ticks, 10);  // every item ticks
    EXPECT_EQ(a->timerTicks, (std::vector<int>{3, 5, 8, 10}));
    // 40 ms: twice a tick, and a third time when the remainders add up.
    ASSERT_EQ(fast->timerTicks.size(), 25u);
    EXPECT_EQ(std::vector<int>(fast->timerTicks.begin(), fast->timerTicks.begin() + 5),
              (std::vector<int>{1, 1, 2, 2, 2}));
    // A new period keeps what was accumulated; below 1 ms removes the timer.
    a->timerTicks.clear();
    s.h.AdvanceMs(100);
    a->SetTimer(200);
    s.h.AdvanceMs(100);
    EXPECT_EQ(a->timerTicks, std::vector<int>{12});
    a->SetTimer(0);
    s.h.AdvanceMs(500);
    EXPECT_TRUE(a->GetTimer() == -1 && a->timerTicks.size() == 1u);
    // (A deleted item leaves the timer list: the lifetime cases.)
}

TEST(InputTest, KeysGoDownTheVisibleTreeTheWheelToEveryItemLeavingLeavesOnceAndBoxesGuard) {
    Scene s;
    RecItem* a = s.Rec("A", nullptr, 10, 10, 60, 60);
    s.Rec("A1", a, 5, 5, 10, 10);
    RecItem* hidden = s.Rec("H", nullptr, 100, 10, 120, 30);
    s.Rec("H1", hidden, 0, 0, 5, 5);
    s.Rec("far", nullptr, 500, 500, 510, 510);  // off the window
    hidden->SetVisible(false);
    s.Click(150, 140);  // the window takes the focus
    Fresh();
    s.h.KeyDown(VK_RETURN);
    EXPECT_EQ(Fresh(), (Log{"A:key 13", "A1:key 13", "far:key 13"}));
    s.h.Wheel(-120);
    EXPECT_EQ(Fresh(), (Log{"A:wheel -120", "A1:wheel -120", "H:wheel -120", "H1:wheel -120",
                            "far:wheel -120"}));

    // Leaving the window gives the hovered item one leave.
    s.Move(30, 30);
    EXPECT_TRUE(a->IsMouseIn());
    Fresh();
    s.h.MouseLeave();
    s.h.MouseLeave();
    EXPECT_EQ(Fresh(), Log{"A:leave cap=-"});
    EXPECT_TRUE(!a->IsMouseIn() && s.wnd->GetHoverItem() == nullptr &&
                s.wnd->GetLastMouseEvent().x == MouseEventRec::kNoPosition);
    // Coming back enters again, once; moving onto the background leaves.
    s.Move(30, 30);
    s.Move(31, 30);
    s.Move(100, 100);
    EXPECT_EQ(Fresh(), (Log{"A:enter 20,20 cap=-", "A:move 20,20 cap=-", "A:move 21,20 cap=-",
                            "A:leave cap=-"}));

    // The host answers a press on the background with a box; the user
    // moves onto A and clicks it while it is up, and no item hears of it.
    s.screen.onDown = [&] { s.parent->MessageBox("busy", "Host"); };
    s.h.OnMessageBox([&](const std::string& text, const std::string&) {
        if (text != "busy") return;
        EXPECT_TRUE(CThreadWait::IsBusy(0));
        s.Click(20, 20);
        s.h.Wheel(120);
    });
    Fresh();
    s.Down(150, 100);
    EXPECT_EQ(Fresh(), (Log{"screen:down BG 1 150,100"}));
    EXPECT_FALSE(CThreadWait::IsBusy(0));
    s.screen.onDown = nullptr;
    s.Up(150, 100);
    s.Click(20, 20);  // afterwards A is reachable again
    EXPECT_EQ(Filter(Fresh(), ":down"), Log{"A:down 10,10"});

    // A second guard on the same thread passes instead of waiting for itself.
    {
        CThreadWait outer(0);
        { CThreadWait inner(0); }
        EXPECT_TRUE(CThreadWait::IsBusy(0));
    }
    EXPECT_FALSE(CThreadWait::IsBusy(0));
    s.NewBoxes();
    { CThreadWait bad(3); }  // id 0 only
    EXPECT_EQ(s.NewBoxes(), Log{"Errro: CThreadWait Illegal ID"});
    EXPECT_FALSE(CThreadWait::IsBusy(3) || CThreadWait::IsBusy(16));
}

TEST(ButtonTest, AClickIsAPressAndAReleaseInsideWithoutLeaving) {
    Scene s;
    auto* b = s.Add(std::make_unique<RecButton>("btn"), nullptr, 20, 20, 80, 60);
    EXPECT_EQ(b->GetButtonState(), 0);
    s.Move(30, 30);
    EXPECT_EQ(b->GetButtonState(), 1);
    s.Down(30, 30);
    EXPECT_EQ(b->GetButtonState(), 2);
    Fresh();
    s.h.LButtonUp(Scene::X(79), Scene::Y(59), MK_SHIFT);
    EXPECT_EQ(Fresh(), Log{"btn:click 4 59,39"});
    EXPECT_EQ(b->GetButtonState(), 1);
    // None of these is a click: released outside (the right edge), out and
    // back in with the button held, pressed elsewhere and released on it.
    s.Press(30, 30);
    s.Up(80, 30);
    EXPECT_FALSE(b->IsCaptured());
    s.h.Hold(Scene::InParent(30, 30), Scene::InParent(120, 100));
    EXPECT_FALSE(b->IsPressed());
    s.Move(40, 40, MK_LBUTTON);
    s.Up(40, 40);
    EXPECT_FALSE(b->IsCaptured());
    s.h.Drop(Scene::InParent(150, 100), Scene::InParent(40, 40));
    EXPECT_EQ(Fresh(), Log{"screen:down BG 1 150,100"});
    // A plain click still works after all that. (That a click carries the
    // release's point: the shifted click above.)
    s.Click(40, 40);
    EXPECT_EQ(Fresh(), Log{"btn:click 0 20,20"});
    // A drag that ends on its own button is no click.
    b->AddDragArea(DragArea());
    s.h.Hold(Scene::InParent(30, 30), Scene::InParent(50, 30));
    EXPECT_EQ(b->GetButtonState(), 3);
    s.Up(50, 30);
    EXPECT_TRUE(Fresh().empty() && b->GetButtonState() == 1);
}

TEST(ButtonTest, ADraggedItemHeldOverAButtonRepeatsOncePerInterval) {
    Scene s;
    RecItem* d = s.Rec("D", nullptr, 10, 10, 60, 60);
    d->logMoves = false;
    d->AddDragArea(DragArea());
    auto* b = s.Add(std::make_unique<RecButton>("btn"), nullptr, 100, 20, 160, 80);
    auto repeatsIn = [&](uint32_t ms) {
        Fresh();
        s.h.AdvanceMs(ms);
        return static_cast<int>(Filter(Fresh(), "btn:repeat D").size());
    };
    auto dragOver = [&] { s.h.Hold(Scene::InParent(30, 30), Scene::InParent(120, 40)); };
    s.Move(120, 40);  // plain hovering holds nothing
    EXPECT_EQ(repeatsIn(3000), 0);
    dragOver();
    EXPECT_EQ(b->GetHeldItem(), d);
    // Not more than one interval yet, then one a second.
    EXPECT_EQ((std::vector<int>{repeatsIn(1000), repeatsIn(200), repeatsIn(1200), repeatsIn(1100)}),
              (std::vector<int>{0, 1, 1, 1}));
    // Dropped on the button, or taken off it, the item is no longer held.
    s.Up(120, 40);
    EXPECT_EQ(repeatsIn(3000), 0);
    dragOver();
    s.Move(180, 40, MK_LBUTTON);
    EXPECT_EQ(b->GetHeldItem(), nullptr);
    EXPECT_EQ(repeatsIn(3000), 0);
    s.Up(180, 40);
    // A shorter interval repeats sooner; -1, compared unsigned, never.
    for (auto [interval, least, most] : {std::tuple{250, 3, 4}, {-1, 0, 0}}) {
        b->SetRepeatInterval(interval);
        dragOver();
        const int n = repeatsIn(1000);
        EXPECT_TRUE(n >= least && n <= most) << interval << ": " << n;
        s.Up(120, 40);
    }
}

TEST(ToolHintTest, AnItemsToolFollowsItsTextVisibilityPlaceAndLife) {
    Scene s;
    RecItem* a = s.Rec("A", nullptr, 10, 10, 60, 60);
    RecItem* b = s.Rec("B", nullptr, 100, 10, 160, 60);
    // A later call changes the text only.
    EXPECT_TRUE(a->SetToolHint(Sjis("再生します")) && b->SetToolHint("B hint") &&
                b->SetToolHint("B again"));
    EXPECT_EQ(b->GetToolId(), 2);
    // Long enough a rest for any tip (the delay is the platform tool tip's).
    auto tipAt = [&](int x, int y) {
        s.Move(80, 30);  // off every tool first
        s.Move(x, y);
        s.h.AdvanceMs(600);
        return s.h.ToolTipText();
    };
    EXPECT_EQ(tipAt(30, 30), Sjis("再生します").str());
    EXPECT_EQ(tipAt(120, 30), "B again");
    // Hidden, the item's tool is out; moved, the tool follows.
    b->SetVisible(false);
    EXPECT_EQ(tipAt(120, 30), "");
    b->SetVisible(true);
    b->SetRect(CRect(10, 80, 70, 120));
    EXPECT_EQ(tipAt(120, 30), "");
    EXPECT_EQ(tipAt(40, 100), "B again");
    // An item that goes away takes its tool with it.
    s.Move(80, 30);
    s.Erase(b);
    EXPECT_EQ(s.wnd->GetToolHint().FindHint(2), nullptr);
    EXPECT_EQ(tipAt(40, 100), "");
    // (The stored cursor is the device drags'.)
}

TEST(ClassChainTest, IsKindOfSearchesTheClassNameChain) {
    Scene s;
    CItem plain;
    CItemButton button;
    CItemAnimation animation;  // adds no name of its own
    // {item, its chain, names it is not of}
    const std::tuple<CItem*, const char*, std::vector<const char*>> cases[] = {
        {&plain, "CItem;", {"CItemBase"}},
        {s.bg, "CItem;CItemBase;", {"CItemButton", "citembase", "CItemBas"}},  // exact bytes
        {&button, "CItem;CItemButton;", {"CItemBase"}},
        {&animation, "CItem;", {"CItemAnimation"}}};
    for (const auto& [item, chain, others] : cases) {
        CStringArray out;
        item->GetClassNameChain(&out);
        std::string joined;
        for (const CString& n : out) {
            joined += n.str() + ";";
            EXPECT_TRUE(item->IsKindOf(n)) << n.str();
        }
        EXPECT_EQ(joined, chain);
        for (const char* other : others) EXPECT_FALSE(item->IsKindOf(other)) << other;
    }
}
