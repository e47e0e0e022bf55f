// Input routing, capture and focus, the mouse hook, cursors and tool tips,
// all through the harness.
#include <gtest/gtest.h>

#include "platform/Cursor.h"
#include "platform/MouseHook.h"
#include "platform/ToolTip.h"
#include "window_helpers.h"

using quillon::testing::Harness;
using wintest::MakeChild;
using wintest::Recorder;

namespace {

int IdOf(HCURSOR c) {
    return quillon::platform::CursorIdOf(c);
}

// A window with a tool tip control fed by PreTranslateMessage, as a host
// window does it.
class TipHost : public Recorder {
public:
    int OnCreate(LPCREATESTRUCT cs) override {
        if (CWnd::OnCreate(cs) == -1) return -1;
        if (!tip.Create(this, 0)) return -1;
        tip.SendMessage(TTM_ACTIVATE, TRUE, 0);
        return 0;
    }
    BOOL PreTranslateMessage(MSG* msg) override {
        tip.SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
        return FALSE;
    }
    CToolTipCtrl tip;
};

}  // namespace

TEST(InputTest, RoutingByPointCaptureAndFocus) {
    Harness h;
    CWnd* parent = h.CreateParent(200, 100);
    Recorder a;
    Recorder b;
    Recorder inner;
    ASSERT_TRUE(MakeChild(&a, parent, CRect(0, 0, 100, 100)));
    ASSERT_TRUE(MakeChild(&b, parent, CRect(50, 0, 150, 50)));  // later: on top
    ASSERT_TRUE(MakeChild(&inner, &a, CRect(10, 60, 30, 80)));

    h.LButtonDown(60, 10);
    h.LButtonUp(60, 10);
    h.MouseMove(20, 30, MK_SHIFT | MK_LBUTTON);
    h.LButtonDblClk(21, 31);
    h.RButtonDown(22, 32);
    h.RButtonUp(22, 32);
    h.LButtonDown(15, 65);
    EXPECT_EQ(b.events, (std::vector<std::string>{"ldown 10,10 f1", "lup 10,10 f0"}));
    EXPECT_EQ(a.events, (std::vector<std::string>{"move 20,30 f5", "ldbl 21,31 f1",
                                                  "rdown 22,32 f2", "rup 22,32 f0"}));
    EXPECT_EQ(inner.events, (std::vector<std::string>{"ldown 5,5 f1"}));

    // Outside every child the frame takes it; a hidden child takes nothing.
    a.Clear();
    b.Clear();
    h.LButtonDown(180, 80);
    b.ShowWindow(SW_HIDE);
    h.LButtonDown(60, 10);
    EXPECT_TRUE(b.events.empty());
    EXPECT_EQ(a.events, (std::vector<std::string>{"ldown 60,10 f1"}));
    b.ShowWindow(SW_SHOW);

    // The capture takes every mouse message, in its own coordinates.
    a.Clear();
    b.Clear();
    inner.Clear();
    EXPECT_EQ(inner.SetCapture(), nullptr);
    EXPECT_EQ(CWnd::GetCapture(), &inner);
    h.MouseMove(160, 5);
    h.LButtonUp(0, 0);
    EXPECT_EQ(inner.events, (std::vector<std::string>{"move 150,-55 f0", "lup -10,-60 f0"}));
    EXPECT_TRUE(a.events.empty());
    EXPECT_TRUE(b.events.empty());
    EXPECT_EQ(b.SetCapture(), &inner);
    EXPECT_EQ(inner.Count(WM_CAPTURECHANGED), 1);
    EXPECT_TRUE(::ReleaseCapture());
    EXPECT_EQ(b.Count(WM_CAPTURECHANGED), 1);
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    h.LButtonDown(15, 65);
    EXPECT_EQ(inner.events.back(), "ldown 5,5 f1");

    // The wheel goes to the window under the pointer and, unhandled, on to
    // its parent; its point is on the screen.
    a.Clear();
    inner.Clear();
    h.MouseMove(12, 62);
    h.Wheel(-120);
    ASSERT_EQ(inner.Count(WM_MOUSEWHEEL), 1);
    ASSERT_EQ(a.Count(WM_MOUSEWHEEL), 1);
    for (const auto& s : a.seen) {
        if (s.message != WM_MOUSEWHEEL) continue;
        EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(s.wParam), -120);
        EXPECT_EQ(GET_KEYSTATE_WPARAM(s.wParam), 0);
        EXPECT_EQ(GET_X_LPARAM(s.lParam), 12);
        EXPECT_EQ(GET_Y_LPARAM(s.lParam), 62);
    }

    // Keys go to the focus window, which changes with notices both ways.
    EXPECT_NE(a.SetFocus(), &a);
    a.Clear();
    h.KeyDown('A');
    h.KeyDown(VK_F5);
    EXPECT_EQ(a.events, (std::vector<std::string>{"key 65 x1", "key 116 x1"}));
    EXPECT_EQ(a.Count(WM_CHAR), 1);  // translated: only 'A' types something
    b.Clear();
    EXPECT_EQ(b.SetFocus(), &a);
    EXPECT_EQ(a.Count(WM_KILLFOCUS), 1);
    EXPECT_EQ(b.Count(WM_SETFOCUS), 1);
    EXPECT_EQ(CWnd::GetFocus(), &b);
    h.KeyDown(VK_ESCAPE);
    EXPECT_EQ(b.events, (std::vector<std::string>{"key 27 x1"}));
}

TEST(InputTest, MouseHookTellsEachLeaveOnce) {
    Harness h;
    CWnd* parent = h.CreateParent(200, 100);
    Recorder host;
    ASSERT_TRUE(host.CreateEx(WS_EX_CLIENTEDGE, nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER,
                              CRect(10, 10, 110, 60), parent, 0));
    Recorder cover;
    ASSERT_TRUE(MakeChild(&cover, parent, CRect(90, 40, 130, 80)));
    UINT goOut = RegisterWindowMessage("MessageGoOutMouse");
    h.MouseMove(50, 30);  // inside before the hook is set
    ASSERT_TRUE(MouseHook_Set(&host));
    ASSERT_TRUE(MouseHook_MessageGoOutMouse(&host, goOut));

    h.MouseMove(60, 30);
    EXPECT_EQ(host.Count(goOut), 0);
    h.MouseMove(150, 80);  // onto the frame
    EXPECT_EQ(host.Count(goOut), 1);
    h.MouseMove(160, 90);
    EXPECT_EQ(host.Count(goOut), 1);
    h.MouseMove(50, 30);
    h.MouseLeave();  // out of the top-level window
    h.MouseLeave();
    EXPECT_EQ(host.Count(goOut), 2);
    h.MouseMove(50, 30);
    h.MouseMove(11, 30);  // onto the border: no longer the client area
    EXPECT_EQ(host.Count(goOut), 3);
    h.MouseMove(50, 30);
    h.MouseMove(95, 45);  // onto a window lying over it
    EXPECT_EQ(host.Count(goOut), 4);

    // Capture changes nothing: leaving is leaving.
    h.MouseMove(50, 30);
    host.SetCapture();
    h.MouseMove(180, 90, MK_LBUTTON);
    EXPECT_EQ(host.Count(goOut), 5);
    ::ReleaseCapture();

    ASSERT_TRUE(MouseHook_Release(&host));
    h.MouseMove(50, 30);
    h.MouseLeave();
    EXPECT_EQ(host.Count(goOut), 5);
    CWnd none;
    EXPECT_FALSE(MouseHook_Set(&none));
}

TEST(InputTest, CursorsAndTheWaitCursor) {
    Harness h;
    EXPECT_EQ(h.CursorId(), 32512);
    HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
    HCURSOR no = LoadCursor(nullptr, IDC_NO);
    HCURSOR wait = LoadCursor(nullptr, IDC_WAIT);
    HCURSOR hand = LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(1004));
    HCURSOR resize = LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(1006));
    EXPECT_EQ(IdOf(arrow), 32512);
    EXPECT_EQ(IdOf(no), 32648);
    EXPECT_EQ(IdOf(wait), 32514);
    EXPECT_EQ(IdOf(hand), 1004);
    EXPECT_EQ(IdOf(resize), 1006);
    // Each module has its own cursors.
    EXPECT_EQ(LoadCursor(nullptr, MAKEINTRESOURCE(1004)), nullptr);
    EXPECT_EQ(LoadCursor(AfxGetResourceHandle(), IDC_ARROW), nullptr);
    EXPECT_EQ(LoadCursor(nullptr, MAKEINTRESOURCE(1)), nullptr);
    EXPECT_EQ(LoadCursor(nullptr, "NAMED"), nullptr);

    EXPECT_EQ(SetCursor(hand), arrow);
    EXPECT_EQ(h.CursorId(), 1004);
    EXPECT_EQ(SetCursor(no), hand);
    EXPECT_EQ(h.CursorId(), 32648);

    // The window under the pointer picks the cursor on every move; the
    // default is the arrow.
    struct Grabbing : Recorder {
        BOOL OnSetCursor(CWnd*, UINT hitTest, UINT) override {
            if (hitTest != HTCLIENT) return FALSE;
            ::SetCursor(LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(1006)));
            return TRUE;
        }
    } grabbing;
    CWnd* parent = h.CreateParent(100, 100);
    ASSERT_TRUE(MakeChild(&grabbing, parent, CRect(0, 0, 50, 50)));
    h.MouseMove(10, 10);
    EXPECT_EQ(h.CursorId(), 1006);
    h.MouseMove(70, 70);
    EXPECT_EQ(h.CursorId(), 32512);
    // Not while a window holds the capture: it keeps what it set.
    grabbing.SetCapture();
    SetCursor(hand);
    h.MouseMove(10, 10);
    EXPECT_EQ(h.CursorId(), 1004);
    ::ReleaseCapture();

    // The wait cursor shows while begun more often than ended, over any
    // cursor set meanwhile, which shows after.
    grabbing.BeginWaitCursor();
    EXPECT_EQ(h.CursorId(), 32514);
    {
        CWaitCursor nested;
        SetCursor(resize);
        EXPECT_EQ(h.CursorId(), 32514);
    }
    EXPECT_EQ(h.CursorId(), 32514);
    grabbing.EndWaitCursor();
    EXPECT_EQ(h.CursorId(), 1006);
    grabbing.EndWaitCursor();  // one too many does not go below none
    grabbing.BeginWaitCursor();
    EXPECT_EQ(h.CursorId(), 32514);
    grabbing.EndWaitCursor();
    EXPECT_EQ(h.CursorId(), 1006);
    // The free functions the picture loader uses are the same counter.
    BeginWaitCursor();
    grabbing.BeginWaitCursor();
    EndWaitCursor();
    EXPECT_EQ(h.CursorId(), 32514);
    EndWaitCursor();
    EXPECT_EQ(h.CursorId(), 1006);
    SetCursor(nullptr);
    EXPECT_EQ(h.CursorId(), 0);
}

TEST(InputTest, ToolTipShowsAfterRestAndHides) {
    Harness h;
    CWnd* parent = h.CreateParent(200, 100);
    TipHost host;
    ASSERT_TRUE(MakeChild(&host, parent, CRect(100, 0, 200, 100)));
    CRect one(0, 0, 40, 40);
    CRect two(50, 0, 90, 40);
    ASSERT_TRUE(host.tip.AddTool(&host, Sjis("予約"), &one, 1));
    ASSERT_TRUE(host.tip.AddTool(&host, "two", &two, 2));
    EXPECT_EQ(host.tip.GetToolCount(), 2);
    const std::string yoyaku = "\x97\x5C\x96\xF1";

    h.MouseMove(110, 10);
    h.AdvanceMs(400);
    EXPECT_EQ(h.ToolTipText(), "");
    h.MouseMove(111, 10);  // still moving: the rest starts again
    h.AdvanceMs(400);
    EXPECT_EQ(h.ToolTipText(), "");
    h.AdvanceMs(100);
    EXPECT_EQ(h.ToolTipText(), yoyaku);
    h.MouseMove(120, 20);  // moving on the same tool keeps it
    EXPECT_EQ(h.ToolTipText(), yoyaku);

    // Straight onto another tool: hidden at once, shown again sooner.
    h.MouseMove(160, 10);
    EXPECT_EQ(h.ToolTipText(), "");
    h.AdvanceMs(100);
    EXPECT_EQ(h.ToolTipText(), "two");

    // Off every tool: hidden, and it stays so.
    h.MouseMove(145, 60);
    EXPECT_EQ(h.ToolTipText(), "");
    h.AdvanceMs(1000);
    EXPECT_EQ(h.ToolTipText(), "");

    // A press hides it until the pointer goes to another tool.
    h.MouseMove(110, 10);
    h.AdvanceMs(500);
    EXPECT_EQ(h.ToolTipText(), yoyaku);
    h.LButtonDown(110, 10);
    EXPECT_EQ(h.ToolTipText(), "");
    h.MouseMove(112, 12);
    h.AdvanceMs(1000);
    EXPECT_EQ(h.ToolTipText(), "");
    h.MouseMove(160, 10);
    h.AdvanceMs(500);
    EXPECT_EQ(h.ToolTipText(), "two");

    // New text shows at once; empty text, removal and leaving the window
    // hide it.
    host.tip.UpdateTipText("zwei", &host, 2);
    EXPECT_EQ(h.ToolTipText(), "zwei");
    host.tip.UpdateTipText("", &host, 2);
    EXPECT_EQ(h.ToolTipText(), "");
    h.MouseMove(110, 10);
    h.AdvanceMs(500);
    ASSERT_EQ(h.ToolTipText(), yoyaku);
    host.tip.DelTool(&host, 1);
    EXPECT_EQ(h.ToolTipText(), "");
    EXPECT_EQ(host.tip.GetToolCount(), 1);
    host.tip.UpdateTipText("back", &host, 2);
    h.MouseMove(170, 10);
    h.AdvanceMs(500);
    ASSERT_EQ(h.ToolTipText(), "back");
    h.MouseLeave();
    EXPECT_EQ(h.ToolTipText(), "");

    // A tool moved elsewhere shows there; deactivated, nothing shows.
    CRect moved(0, 50, 40, 90);
    host.tip.SetToolRect(&host, 2, &moved);
    h.MouseMove(110, 60);
    h.AdvanceMs(500);
    EXPECT_EQ(h.ToolTipText(), "back");
    host.tip.Activate(FALSE);
    EXPECT_EQ(h.ToolTipText(), "");
    h.MouseMove(111, 61);
    h.AdvanceMs(1000);
    EXPECT_EQ(h.ToolTipText(), "");
    EXPECT_FALSE(host.tip.AddTool(nullptr, "x", &one, 3));
}
