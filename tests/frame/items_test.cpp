// The item tree in a host window: hit testing, painting, drags and drops,
// capture, hover, timers, keys, wheel, tool hints and cursors, all driven
// through the harness.
#include "frame/ThreadWait.h"
#include "frame/pictures/DibPicture.h"
#include "frame_fixture.h"
#include "platform/Cursor.h"

using frametest::Log;
using frametest::RecItem;
using frametest::Scene;

namespace {

bool Contains(const Log& log, const std::string& line) {
    return std::find(log.begin(), log.end(), line) != log.end();
}

}  // namespace

TEST(HostWindowTest, CreationGivesTheRootTheWholeRectangleInsideAnInsetClientArea) {
    Scene s;
    ASSERT_NE(s.wnd->GetSafeHwnd(), nullptr);
    EXPECT_TRUE(s.wnd->GetStyle() & WS_BORDER);
    EXPECT_TRUE(s.wnd->GetStyle() & WS_CHILD);
    EXPECT_TRUE(s.wnd->GetExStyle() & WS_EX_CLIENTEDGE);
    CRect client;
    s.wnd->GetClientRect(&client);
    EXPECT_EQ(client, CRect(0, 0, Scene::kWidth - 6, Scene::kHeight - 6));
    EXPECT_EQ(s.bg->GetRect(), CRect(0, 0, Scene::kWidth, Scene::kHeight));
    EXPECT_EQ(s.bg->GetMainWnd(), s.wnd.get());
    EXPECT_EQ(s.wnd->GetOffscreen()->GetSize(), CSize(Scene::kWidth, Scene::kHeight));
    EXPECT_GE(CQMainWnd::GoOutMouseMessage(), 0xC000u);
    EXPECT_EQ(CQMainWnd::GoOutMouseMessage(), RegisterWindowMessage("MessageGoOutMouse"));
    // The screen without a description file said so once.
    ASSERT_EQ(s.h.MessageBoxes().size(), 1u);
    EXPECT_EQ(s.h.MessageBoxes()[0].text, "File Error /nonexistent/quillon/TARVIK.INI");
    // Painted, the window shows the root's fill inside its client edge.
    s.PaintAll();
    EXPECT_EQ(s.Pixel(0, 0), RGB(0, 0, 64));
    EXPECT_EQ(s.Pixel(199, 149), RGB(0, 0, 64));
    EXPECT_NE(s.h.Pixel(Scene::X(-1), Scene::Y(-1)), RGB(0, 0, 64));  // the edge
}

TEST(HitTestTest, TheDeepestVisibleHitTestableItemGetsThePressInItsCoordinates) {
    Scene s;
    RecItem* a = s.Rec("A", nullptr, 10, 10, 110, 110);
    RecItem* b = s.Rec("B", nullptr, 60, 60, 160, 140);  // later: on top of A
    RecItem* b1 = s.Rec("B1", b, 20, 20, 40, 40);
    RecItem* glass = s.Rec("glass", nullptr, 15, 15, 40, 40);
    glass->SetHitTest(false);
    RecItem* hidden = s.Rec("hidden", nullptr, 120, 10, 190, 50);
    RecItem* inHidden = s.Rec("inHidden", hidden, 0, 0, 70, 40);
    (void)a;
    (void)inHidden;

    auto pressAt = [&](int x, int y) {
        std::size_t from = s.log.size();
        s.Down(x, y);
        s.Up(x, y);
        for (const std::string& line : s.Since(from)) {
            if (line.find(":down ") != std::string::npos) return line;
        }
        return std::string("none");
    };
    EXPECT_EQ(pressAt(20, 20), "A:down 10,10");  // through the glass, which is drawn only
    EXPECT_EQ(pressAt(70, 70), "B:down 10,10");  // overlap: the later child
    EXPECT_EQ(pressAt(50, 50), "A:down 40,40");  // A alone
    EXPECT_EQ(pressAt(85, 85), "B1:down 5,5");   // nested, in its own coordinates
    hidden->SetVisible(false);
    // An invisible item takes its subtree with it: the background gets it,
    // and reports it to the host in window coordinates.
    EXPECT_EQ(pressAt(130, 20), "screen:down BG 1 130,20");
    hidden->SetVisible(true);
    EXPECT_EQ(pressAt(130, 20), "inHidden:down 10,10");
    // An item that is not hit-testable is passed over with its subtree.
    b->SetHitTest(false);
    EXPECT_EQ(pressAt(85, 85), "A:down 75,75");
    EXPECT_EQ(pressAt(70, 70), "A:down 60,60");
    glass->SetHitTest(true);
    EXPECT_EQ(pressAt(20, 20), "glass:down 5,5");

    // Forwarding: B1 hands its events to B with the point in B's terms.
    b->SetHitTest(true);
    b1->SetForwardToParent(true);
    std::size_t from = s.log.size();
    s.Down(85, 85);
    Log got = s.Since(from);
    ASSERT_GE(got.size(), 2u);
    EXPECT_EQ(got[0], "B1:down 5,5");
    EXPECT_EQ(got[1], "B:down 25,25");
    s.Up(85, 85);
}

TEST(PaintTest, DrawingIsClippedToThePendingRectangleAndBatchedIntoOnePaint) {
    Scene s;
    RecItem* a = s.Rec("A", nullptr, 10, 10, 110, 110, RGB(200, 0, 0));
    RecItem* b = s.Rec("B", nullptr, 120, 10, 190, 60, RGB(0, 200, 0));
    s.PaintAll();
    EXPECT_EQ(s.Pixel(50, 50), RGB(200, 0, 0));

    // A new colour with a redraw of a small part only: what lies outside
    // keeps the old colour, which acts as the sentinel.
    a->SetFillColor(RGB(0, 0, 255));
    const RECT part{20, 20, 40, 30};  // A's parent (the root) coordinates
    a->Redraw(&part);
    EXPECT_EQ(s.wnd->GetPendingPaint(), CRect(20, 20, 40, 30));
    int paints = s.wnd->paints;
    int drawsA = a->draws;
    int drawsB = b->draws;
    s.h.AdvanceMs(0);
    EXPECT_EQ(s.wnd->paints, paints + 1);
    EXPECT_EQ(a->draws, drawsA + 1);
    EXPECT_EQ(b->draws, drawsB);  // B lies outside the pending rectangle
    EXPECT_EQ(s.Pixel(25, 25), RGB(0, 0, 255));
    EXPECT_EQ(s.Pixel(39, 29), RGB(0, 0, 255));
    EXPECT_EQ(s.Pixel(40, 29), RGB(200, 0, 0));
    EXPECT_EQ(s.Pixel(19, 25), RGB(200, 0, 0));
    EXPECT_EQ(s.Pixel(25, 30), RGB(200, 0, 0));
    EXPECT_TRUE(s.wnd->GetPendingPaint().IsRectEmpty());

    // Several requests before the queue runs: one paint covers them all.
    b->SetFillColor(RGB(255, 255, 0));
    a->Redraw();
    b->Redraw();
    a->Redraw();
    EXPECT_EQ(s.wnd->GetPendingPaint(), CRect(10, 10, 190, 110));
    paints = s.wnd->paints;
    drawsA = a->draws;
    drawsB = b->draws;
    s.h.AdvanceMs(0);
    EXPECT_EQ(s.wnd->paints, paints + 1);
    EXPECT_EQ(a->draws, drawsA + 1);
    EXPECT_EQ(b->draws, drawsB + 1);
    EXPECT_EQ(s.Pixel(100, 100), RGB(0, 0, 255));
    EXPECT_EQ(s.Pixel(150, 30), RGB(255, 255, 0));

    // A child's redraw walks up its parents' offsets to window coordinates.
    RecItem* c = s.Rec("C", b, 5, 5, 15, 15, RGB(1, 2, 3));
    c->Redraw();
    EXPECT_EQ(s.wnd->GetPendingPaint(), CRect(125, 15, 135, 25));
    s.h.AdvanceMs(0);
    EXPECT_EQ(s.Pixel(125, 15), RGB(1, 2, 3));
    EXPECT_EQ(s.Pixel(124, 15), RGB(255, 255, 0));

    // "now" paints before returning, but only when asked of the root.
    paints = s.wnd->paints;
    c->Redraw(nullptr, true);
    EXPECT_EQ(s.wnd->paints, paints);
    s.bg->Redraw(nullptr, true);
    EXPECT_EQ(s.wnd->paints, paints + 1);
    s.h.AdvanceMs(0);
    EXPECT_EQ(s.wnd->paints, paints + 1);  // the child's request went with it
}

TEST(PaintTest, AnEmptyRedrawInvalidatesNothing) {
    Scene s;
    RecItem* a = s.Rec("A", nullptr, 10, 10, 110, 110);
    s.PaintAll();
    int paints = s.wnd->paints;
    const RECT empty{50, 50, 50, 80};
    a->Redraw(&empty);
    EXPECT_TRUE(s.wnd->GetPendingPaint().IsRectEmpty());
    CRect update;
    EXPECT_FALSE(s.wnd->GetUpdateRect(&update));
    s.h.AdvanceMs(0);
    EXPECT_EQ(s.wnd->paints, paints);
    // An empty item asks for nothing either, and does not grow a pending one.
    RecItem* flat = s.Rec("flat", nullptr, 5, 5, 5, 5);
    a->Redraw();
    flat->Redraw();
    EXPECT_EQ(s.wnd->GetPendingPaint(), CRect(10, 10, 110, 110));
    // SetVisible repaints only when the flag changes.
    s.h.AdvanceMs(0);
    paints = s.wnd->paints;
    a->SetVisible(true);
    s.h.AdvanceMs(0);
    EXPECT_EQ(s.wnd->paints, paints);
    a->SetVisible(false);
    s.h.AdvanceMs(0);
    EXPECT_EQ(s.wnd->paints, paints + 1);
    EXPECT_EQ(s.Pixel(50, 50), RGB(0, 0, 64));
}

TEST(DragTest, ADragStartsPastTenPixelsRightOrDownButElevenLeftOrUp) {
    Scene s;
    RecItem* d = s.Rec("D", nullptr, 50, 50, 150, 130);
    d->logMoves = false;
    EXPECT_EQ(d->AddDragArea(DragArea()), 0);

    // Press at (100, 90); move by (dx, dy) and report whether a drag began.
    auto starts = [&](int dx, int dy) {
        std::size_t from = s.log.size();
        s.Down(100, 90);
        s.Move(100 + dx, 90 + dy, MK_LBUTTON);
        bool began = Contains(s.Since(from), "D:begindrag 0");
        bool dragging = d->IsDragging();
        s.Up(100 + dx, 90 + dy);
        EXPECT_EQ(began, dragging);
        EXPECT_FALSE(d->IsCaptured());
        return began;
    };
    EXPECT_FALSE(starts(9, 0));
    EXPECT_TRUE(starts(10, 0));
    EXPECT_FALSE(starts(0, 9));
    EXPECT_TRUE(starts(0, 10));
    EXPECT_FALSE(starts(-10, 0));
    EXPECT_TRUE(starts(-11, 0));
    EXPECT_FALSE(starts(0, -10));
    EXPECT_TRUE(starts(0, -11));
    EXPECT_FALSE(starts(-10, -10));
    EXPECT_TRUE(starts(10, 10));
    // Without the button going down nothing is captured and nothing starts.
    std::size_t from = s.log.size();
    s.Move(100, 90);
    s.Move(130, 90);
    EXPECT_FALSE(Contains(s.Since(from), "D:begindrag 0"));

    // Areas: ids are the smallest unused; the later area is tried first and
    // a press outside an area cannot start it.
    DragArea small;
    small.area = {0, 0, 20, 20};
    small.threshold = {-2, -3, 2, 3};
    EXPECT_EQ(d->AddDragArea(small), 1);
    from = s.log.size();
    s.Down(55, 55);  // (5, 5) of D: inside the small area
    s.Move(57, 55, MK_LBUTTON);
    s.Up(57, 55);
    EXPECT_TRUE(Contains(s.Since(from), "D:begindrag 1"));
    from = s.log.size();
    s.Down(100, 90);  // outside it: only the whole-item area applies
    s.Move(103, 90, MK_LBUTTON);
    EXPECT_TRUE(s.Since(from).size() >= 1 && !Contains(s.Since(from), "D:begindrag 1"));
    s.Up(103, 90);
}

TEST(DragTest, TheDropReachesTheTargetBeforeTheDraggedItemHearsTheEnd) {
    Scene s;
    RecItem* a = s.Rec("A", nullptr, 10, 10, 60, 60);
    RecItem* b = s.Rec("B", nullptr, 100, 20, 180, 120);
    a->AddDragArea(DragArea());
    s.Move(30, 30);
    s.Down(30, 30);
    EXPECT_TRUE(a->IsCaptured());
    EXPECT_FALSE(a->IsDragging());
    std::size_t from = s.log.size();
    s.Move(45, 30, MK_LBUTTON);  // past the threshold, still over A
    EXPECT_TRUE(a->IsDragging());
    Log got = s.Since(from);
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0], "A:move 35,20 cap=A");  // as the captured item: the drag starts
    EXPECT_EQ(got[1], "A:begindrag 0");
    EXPECT_EQ(got[2], "A:move 35,20 cap=A");  // and again as the item under the pointer

    // Over B: B hears of the dragged item, A keeps getting the moves in
    // its own coordinates.
    from = s.log.size();
    s.Move(120, 50, MK_LBUTTON);
    got = s.Since(from);
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0], "A:leave cap=A");
    EXPECT_EQ(got[1], "B:enter 20,30 cap=A");
    EXPECT_EQ(got[2], "A:move 110,40 cap=A");
    EXPECT_EQ(got[3], "B:move 20,30 cap=A");
    EXPECT_EQ(s.wnd->GetHoverItem(), b);

    // The release goes to the captured item; the drop reaches B first.
    from = s.log.size();
    s.h.LButtonUp(Scene::X(130), Scene::Y(60), MK_SHIFT);
    got = s.Since(from);
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0], "A:up 120,50");
    EXPECT_EQ(got[1], "B:dropin 4 30,40 from=A");
    EXPECT_EQ(got[2], "A:enddrag 120,50");
    EXPECT_EQ(s.wnd->GetCaptureItem(), nullptr);
    EXPECT_EQ(CWnd::GetCapture(), nullptr);

    // A release in click mode drops nothing.
    s.Move(30, 30);
    s.Down(30, 30);
    from = s.log.size();
    s.Up(32, 30);
    got = s.Since(from);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0], "A:up 22,20");
}

TEST(CaptureTest, OnlyOneItemHoldsTheCaptureAndOnlyItCanReleaseIt) {
    Scene s;
    RecItem* a = s.Rec("A", nullptr, 10, 10, 60, 60);
    RecItem* b = s.Rec("B", nullptr, 100, 20, 180, 120);
    EXPECT_TRUE(a->SetCapture(false));
    EXPECT_FALSE(b->SetCapture(true));
    EXPECT_FALSE(b->ReleaseCapture());
    EXPECT_TRUE(a->IsCaptured());
    EXPECT_EQ(CWnd::GetCapture(), s.wnd.get());
    // A press anywhere goes to the capturing item in its coordinates.
    std::size_t from = s.log.size();
    s.Down(150, 100);
    EXPECT_EQ(s.Since(from), Log{"A:down 140,90"});
    EXPECT_TRUE(a->SetCapture(true));  // the holder may switch to drag mode
    EXPECT_TRUE(a->IsDragging());
    // Letting go of a drag delivers the drop even without a button message.
    from = s.log.size();
    EXPECT_TRUE(a->ReleaseCapture());
    EXPECT_EQ(s.Since(from), Log{"B:dropin 1 50,80 from=A"});
    EXPECT_FALSE(a->IsCaptured());
    s.Up(150, 100);
}

TEST(HoverTest, LeavingTheWindowGivesTheHoveredItemOneLeave) {
    Scene s;
    RecItem* a = s.Rec("A", nullptr, 10, 10, 60, 60);
    s.Move(20, 20);
    EXPECT_TRUE(a->IsMouseIn());
    std::size_t from = s.log.size();
    s.h.MouseLeave();
    EXPECT_EQ(s.Since(from), Log{"A:leave cap=-"});
    EXPECT_FALSE(a->IsMouseIn());
    EXPECT_EQ(s.wnd->GetHoverItem(), nullptr);
    const MouseEventRec& m = s.wnd->GetLastMouseEvent();
    EXPECT_EQ(m.inside, 0);
    EXPECT_EQ(m.x, MouseEventRec::kNoPosition);
    EXPECT_EQ(m.y, MouseEventRec::kNoPosition);
    s.h.MouseLeave();
    EXPECT_EQ(s.Since(from).size(), 1u);
    // Coming back enters again; moving within an item enters it once.
    from = s.log.size();
    s.Move(30, 30);
    s.Move(31, 30);
    EXPECT_EQ(s.Since(from),
              (Log{"A:enter 20,20 cap=-", "A:move 20,20 cap=-", "A:move 21,20 cap=-"}));
    // Moving from the item to the background leaves it, and to another item.
    from = s.log.size();
    s.Move(100, 100);
    EXPECT_EQ(s.Since(from), Log{"A:leave cap=-"});
    EXPECT_TRUE(s.wnd->GetLastMouseEvent().inside);
}

TEST(TimerTest, ItemTimersRunInStepsOfTheHundredMillisecondTick) {
    Scene s;
    RecItem* a = s.Rec("A", nullptr, 10, 10, 60, 60);
    RecItem* fast = s.Rec("fast", nullptr, 70, 10, 90, 30);
    RecItem* idle = s.Rec("idle", nullptr, 100, 10, 120, 30);
    idle->SetTimer(0);  // no timer: nothing changes
    EXPECT_EQ(idle->GetTimer(), -1);
    a->SetTimer(250);
    fast->SetTimer(40);
    EXPECT_EQ(a->GetTimer(), 250);
    s.h.AdvanceMs(1000);
    EXPECT_EQ(a->ticks, 10);
    EXPECT_EQ(idle->ticks, 10);  // every item ticks
    EXPECT_EQ(a->timerTicks, (std::vector<int>{3, 5, 8, 10}));
    // 40 ms: twice a tick, and a third time when the remainders add up.
    EXPECT_EQ(fast->timerTicks.size(), 25u);
    EXPECT_EQ(fast->timerTicks[0], 1);
    EXPECT_EQ(fast->timerTicks[1], 1);
    EXPECT_EQ(fast->timerTicks[2], 2);
    EXPECT_EQ(fast->timerTicks[3], 2);
    EXPECT_EQ(fast->timerTicks[4], 2);
    // A new period keeps what was accumulated; below 1 ms removes the timer.
    a->timerTicks.clear();
    s.h.AdvanceMs(100);  // accumulated 100
    a->SetTimer(200);
    s.h.AdvanceMs(100);
    EXPECT_EQ(a->timerTicks, std::vector<int>{12});
    a->SetTimer(0);
    EXPECT_EQ(a->GetTimer(), -1);
    s.h.AdvanceMs(500);
    EXPECT_EQ(a->timerTicks.size(), 1u);
    // A deleted item leaves the timer list.
    fast->SetTimer(100);
    s.items.erase(std::find_if(s.items.begin(), s.items.end(),
                               [&](const auto& p) { return p.get() == fast; }));
    s.h.AdvanceMs(300);
    EXPECT_EQ(s.bg->GetChildCount(), 2);
}

TEST(InputTest, KeysGoDownTheVisibleTreeAndTheWheelToEveryItem) {
    Scene s;
    RecItem* a = s.Rec("A", nullptr, 10, 10, 60, 60);
    RecItem* a1 = s.Rec("A1", a, 5, 5, 10, 10);
    RecItem* hidden = s.Rec("H", nullptr, 100, 10, 120, 30);
    RecItem* h1 = s.Rec("H1", hidden, 0, 0, 5, 5);
    RecItem* far = s.Rec("far", nullptr, 500, 500, 510, 510);  // off the window
    (void)a1;
    (void)h1;
    (void)far;
    hidden->SetVisible(false);
    s.Down(150, 140);  // the window takes the focus
    s.Up(150, 140);
    std::size_t from = s.log.size();
    s.h.KeyDown(VK_RETURN);
    EXPECT_EQ(s.Since(from), (Log{"A:key 13", "A1:key 13", "far:key 13"}));
    from = s.log.size();
    s.h.Wheel(-120);
    EXPECT_EQ(s.Since(from), (Log{"A:wheel -120", "A1:wheel -120", "H:wheel -120", "H1:wheel -120",
                                  "far:wheel -120"}));
    CPtrArray tree;
    s.bg->CollectTree(&tree);
    ASSERT_EQ(tree.GetSize(), 6);
    EXPECT_EQ(tree[0], s.bg);
    EXPECT_EQ(tree[2], a1);
    EXPECT_EQ(tree[4], h1);
}

TEST(GuardTest, APressWhileACallbackShowsABoxReachesNoItem) {
    Scene s;
    RecItem* a = s.Rec("A", nullptr, 10, 10, 60, 60);
    (void)a;
    // The host answers a press on the background with a box; the user
    // clicks A while it is up.
    s.screen.onDown = [&] { s.parent->MessageBox("busy", "Host"); };
    s.h.OnMessageBox([&](const std::string& text, const std::string&) {
        if (text != "busy") return;
        EXPECT_TRUE(CThreadWait::IsBusy(0));
        s.Down(20, 20);
        s.Up(20, 20);
        s.Move(25, 25);
        s.h.Wheel(120);
    });
    std::size_t from = s.log.size();
    s.Down(150, 100);
    EXPECT_EQ(s.Since(from), (Log{"screen:down BG 1 150,100"}));
    EXPECT_FALSE(CThreadWait::IsBusy(0));
    s.screen.onDown = nullptr;
    s.Up(150, 100);
    // Afterwards A is reachable again.
    from = s.log.size();
    s.Down(20, 20);
    EXPECT_TRUE(Contains(s.Since(from), "A:down 10,10"));
    s.Up(20, 20);

    // The guard itself: id 0 only, and a second guard on the same thread
    // passes instead of waiting for itself.
    {
        CThreadWait outer(0);
        EXPECT_TRUE(CThreadWait::IsBusy(0));
        {
            CThreadWait inner(0);
            EXPECT_TRUE(CThreadWait::IsBusy(0));
        }
        EXPECT_TRUE(CThreadWait::IsBusy(0));
    }
    EXPECT_FALSE(CThreadWait::IsBusy(0));
    std::size_t boxes = s.h.MessageBoxes().size();
    {
        CThreadWait bad(3);
        EXPECT_FALSE(CThreadWait::IsBusy(3));
        EXPECT_FALSE(CThreadWait::IsBusy(0));
    }
    auto all = s.h.MessageBoxes();
    ASSERT_EQ(all.size(), boxes + 1);
    EXPECT_EQ(all.back().text, "CThreadWait Illegal ID");
    EXPECT_EQ(all.back().caption, "Errro");
    EXPECT_EQ(all.back().type, MB_OK);
    EXPECT_FALSE(CThreadWait::IsBusy(-1));
    EXPECT_FALSE(CThreadWait::IsBusy(16));
}

TEST(ToolHintTest, AHintShowsAfterHalfASecondOfRest) {
    Scene s;
    RecItem* a = s.Rec("A", nullptr, 10, 10, 60, 60);
    RecItem* b = s.Rec("B", nullptr, 100, 10, 160, 60);
    EXPECT_EQ(a->GetToolId(), -1);
    EXPECT_TRUE(a->SetToolHint(Sjis("再生します")));
    EXPECT_EQ(a->GetToolId(), 1);
    EXPECT_TRUE(b->SetToolHint("B hint"));
    EXPECT_EQ(b->GetToolId(), 2);
    s.Move(30, 30);
    s.h.AdvanceMs(400);
    EXPECT_EQ(s.h.ToolTipText(), "");
    s.h.AdvanceMs(200);
    EXPECT_EQ(s.h.ToolTipText(), Sjis("再生します").str());
    s.Move(80, 30);  // off every tool
    EXPECT_EQ(s.h.ToolTipText(), "");
    // A later call changes the text only.
    EXPECT_TRUE(b->SetToolHint("B again"));
    EXPECT_EQ(b->GetToolId(), 2);
    s.Move(120, 30);
    s.h.AdvanceMs(600);
    EXPECT_EQ(s.h.ToolTipText(), "B again");
    // Hidden, the item's tool is out of the control; moved, the tool follows.
    s.Move(80, 30);
    b->SetVisible(false);
    s.Move(120, 30);
    s.h.AdvanceMs(600);
    EXPECT_EQ(s.h.ToolTipText(), "");
    b->SetVisible(true);
    b->SetRect(CRect(10, 80, 70, 120));
    s.Move(80, 30);
    s.Move(120, 30);
    s.h.AdvanceMs(600);
    EXPECT_EQ(s.h.ToolTipText(), "");
    s.Move(40, 100);
    s.h.AdvanceMs(600);
    EXPECT_EQ(s.h.ToolTipText(), "B again");
    // An item that goes away takes its tool with it.
    s.Move(80, 30);
    s.items.erase(
        std::find_if(s.items.begin(), s.items.end(), [&](const auto& p) { return p.get() == b; }));
    EXPECT_EQ(s.wnd->GetToolHint().FindHint(2), nullptr);
    s.Move(40, 100);
    s.h.AdvanceMs(600);
    EXPECT_EQ(s.h.ToolTipText(), "");
}

TEST(CursorTest, AStoredCursorAnswersEveryCursorRequest) {
    Scene s;
    s.Move(30, 30);
    EXPECT_EQ(s.h.CursorId(), 32512);
    s.wnd->SetItemCursor(LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(1004)));
    EXPECT_EQ(s.h.CursorId(), 1004);
    s.Move(40, 30);
    EXPECT_EQ(s.h.CursorId(), 1004);
    s.wnd->SetItemCursor(LoadCursor(nullptr, IDC_NO));
    s.Move(50, 30);
    EXPECT_EQ(s.h.CursorId(), 32648);
    s.wnd->ResetItemCursor();
    EXPECT_EQ(s.h.CursorId(), 32512);
    s.Move(60, 30);
    EXPECT_EQ(s.h.CursorId(), 32512);
}

TEST(ClassChainTest, IsKindOfSearchesTheClassNameChain) {
    Scene s;
    CItem plain;
    CItemBase base;
    CItemButton button;
    CItemAnimation animation;
    auto chain = [](CItem& item) {
        CStringArray out;
        item.GetClassNameChain(&out);
        std::string joined;
        for (const CString& n : out) joined += n.str() + ";";
        return joined;
    };
    EXPECT_EQ(chain(plain), "CItem;");
    EXPECT_EQ(chain(base), "CItem;CItemBase;");
    EXPECT_EQ(chain(button), "CItem;CItemButton;");
    EXPECT_EQ(chain(animation), "CItem;");
    EXPECT_EQ(chain(*s.bg), "CItem;CItemBase;");
    EXPECT_TRUE(button.IsKindOf("CItemButton"));
    EXPECT_TRUE(button.IsKindOf("CItem"));
    EXPECT_FALSE(s.bg->IsKindOf("CItemButton"));
    EXPECT_TRUE(s.bg->IsKindOf("CItemBase"));
    EXPECT_FALSE(base.IsKindOf("citembase"));  // exact bytes
    EXPECT_FALSE(base.IsKindOf("CItemBas"));
    EXPECT_FALSE(animation.IsKindOf("CItemAnimation"));
}

TEST(MainScreenItemsTest, TheBackgroundIsNotInTheItemTable) {
    Scene s;
    CTypedPtrArray<CPtrArray, CQItem*> items;
    s.screen.GetTblpCQItem(&items);
    EXPECT_EQ(items.GetSize(), 0);
    EXPECT_EQ(s.screen.CQItemName2pCQItem("BG"), nullptr);
    EXPECT_EQ(s.h.ItemCenter(s.screen, "BG"), CPoint(-1, -1));
    // The description part of the background.
    EXPECT_EQ(s.bg->GetOwner(), static_cast<CItem*>(s.bg));
    EXPECT_EQ(s.bg->GetMainScreen(), &s.screen);
    EXPECT_TRUE(s.bg->IsEnabled());
    for (int v = 0; v < CQItem::kViews; ++v) {
        ASSERT_NE(s.bg->GetViewPlacement(v), nullptr);
        EXPECT_TRUE(s.bg->GetViewPlacement(v)->visible);
        EXPECT_TRUE(s.bg->GetViewPlacement(v)->rect.IsRectEmpty());
    }
    EXPECT_EQ(s.bg->GetViewPlacement(4), nullptr);
    EXPECT_EQ(s.bg->GetViewPlacement(-1), nullptr);
    EXPECT_EQ(s.bg->GetColor(), 0xFFFFFFu);
    EXPECT_EQ(s.bg->GetSelectColor(), 0xFFFF00u);
    EXPECT_EQ(s.bg->GetGrayColor(), 0x808080u);
    CItemBackground loose(nullptr);
    EXPECT_EQ(loose.GetName(), "UNTITLED");
    EXPECT_EQ(loose.GetColor(), 0xFFFFFFu);
    // Double clicks and releases on the background reach the host too.
    std::size_t from = s.log.size();
    s.h.LButtonDblClk(Scene::X(5), Scene::Y(6));
    s.Up(7, 8);
    EXPECT_EQ(s.Since(from), (Log{"screen:dblclk BG 1 5,6", "screen:up BG 0 7,8"}));
}

TEST(LifetimeTest, DeletedItemsLeaveNoTracesInTheWindowOrTheTree) {
    Scene s;
    auto* parent = new RecItem("P", &s.log, RGB(1, 1, 1));
    parent->Create(s.bg, 10, 10, 100, 100);
    RecItem* child = s.Rec("C", parent, 10, 10, 50, 50);
    child->AddDragArea(DragArea());
    child->SetTimer(100);
    s.Move(30, 30);
    s.Down(30, 30);
    s.Move(50, 30, MK_LBUTTON);
    ASSERT_TRUE(child->IsDragging());
    ASSERT_EQ(s.wnd->GetHoverItem(), child);
    // The parent goes first: the child is cut off, not left pointing at it.
    delete parent;
    EXPECT_EQ(child->GetParent(), nullptr);
    EXPECT_EQ(s.bg->GetChildCount(), 0);
    s.items.clear();  // the dragged, hovered, timed child
    EXPECT_EQ(s.wnd->GetCaptureItem(), nullptr);
    EXPECT_EQ(s.wnd->GetHoverItem(), nullptr);
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    s.Move(40, 40, MK_LBUTTON);
    s.Up(40, 40);
    s.h.AdvanceMs(300);
    EXPECT_EQ(s.wnd->GetHoverItem(), s.bg);
}
