// Input routing, capture and focus, the mouse hook, cursors and tool tips
// (with the picture drawn for the backend and the focus lost to another
// program), all through the harness.
#include <algorithm>

#include "platform/Cursor.h"
#include "platform/MouseHook.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/text/Font.h"
#include "window_helpers.h"

using namespace wintest;
using quillon::platform::CursorIdOf;
using quillon::platform::HeadlessBackend;
using Texts = std::vector<std::string>;

TEST(InputTest, RoutingByPointCaptureFocusAndCursors) {
    Harness h;
    EXPECT_EQ(h.CursorId(), 32512);
    CWnd* parent = h.CreateParent(200, 100);
    Recorder a, b, inner;
    // b comes later: on top.
    ASSERT_TRUE(MakeChild(&a, parent, CRect(0, 0, 100, 100)) &&
                MakeChild(&b, parent, CRect(50, 0, 150, 50)) &&
                MakeChild(&inner, &a, CRect(10, 60, 30, 80)));
    auto clear = [&] {
        for (Recorder* r : {&a, &b, &inner}) r->Clear();
    };

    h.Click(CPoint(60, 10));
    h.MouseMove(20, 30, MK_SHIFT | MK_LBUTTON);
    h.LButtonDblClk(21, 31);
    h.RButtonDown(22, 32);
    h.RButtonUp(22, 32);
    h.LButtonDown(15, 65);
    EXPECT_EQ(b.events, (Texts{"move 10,10 f0", "ldown 10,10 f1", "lup 10,10 f0"}));
    EXPECT_EQ(a.events,
              (Texts{"move 20,30 f5", "ldbl 21,31 f1", "rdown 22,32 f2", "rup 22,32 f0"}));
    EXPECT_EQ(inner.events, (Texts{"ldown 5,5 f1"}));

    // Outside every child the frame takes it; a hidden child takes nothing.
    clear();
    h.LButtonDown(180, 80);
    b.ShowWindow(SW_HIDE);
    h.LButtonDown(60, 10);
    EXPECT_TRUE(b.events.empty());
    EXPECT_EQ(a.events, (Texts{"ldown 60,10 f1"}));
    b.ShowWindow(SW_SHOW);

    // The capture takes every mouse message, in its own coordinates.
    clear();
    EXPECT_EQ(inner.SetCapture(), nullptr);
    EXPECT_EQ(CWnd::GetCapture(), &inner);
    h.MouseMove(160, 5);
    h.LButtonUp(0, 0);
    EXPECT_EQ(inner.events, (Texts{"move 150,-55 f0", "lup -10,-60 f0"}));
    EXPECT_TRUE(a.events.empty() && b.events.empty());
    EXPECT_EQ(b.SetCapture(), &inner);
    EXPECT_EQ(inner.Count(WM_CAPTURECHANGED), 1);
    EXPECT_TRUE(::ReleaseCapture());
    EXPECT_TRUE(b.Count(WM_CAPTURECHANGED) == 1 && CWnd::GetCapture() == nullptr);
    h.LButtonDown(15, 65);
    EXPECT_EQ(inner.events.back(), "ldown 5,5 f1");

    // The wheel goes to the window under the pointer and, unhandled, on to
    // its parent; its point is on the screen.
    clear();
    h.MouseMove(12, 62);
    h.Wheel(-120);
    ASSERT_TRUE(inner.Count(WM_MOUSEWHEEL) == 1 && a.Count(WM_MOUSEWHEEL) == 1);
    for (const auto& s : a.seen) {
        if (s.message != WM_MOUSEWHEEL) continue;
        EXPECT_EQ((std::vector<int>{GET_WHEEL_DELTA_WPARAM(s.wParam), GET_KEYSTATE_WPARAM(s.wParam),
                                    GET_X_LPARAM(s.lParam), GET_Y_LPARAM(s.lParam)}),
                  (std::vector<int>{-120, 0, 12, 62}));
    }

    // Keys go to the focus window, which changes with notices both ways.
    EXPECT_NE(a.SetFocus(), &a);
    clear();
    h.KeyDown('A');
    h.KeyDown(VK_F5);
    EXPECT_EQ(a.events, (Texts{"key 65 x1", "key 116 x1"}));
    EXPECT_EQ(a.Count(WM_CHAR), 1);  // translated: only 'A' types something
    // The shift state comes with the key: an upper-case letter, and
    // GetKeyState tells it while the key is handled.
    h.KeyDown('B', MK_SHIFT);
    EXPECT_LT(GetKeyState(VK_SHIFT), 0);
    h.KeyDown('C');
    EXPECT_EQ(GetKeyState(VK_SHIFT), 0);
    Texts chars;
    for (const auto& s : a.seen)
        if (s.message == WM_CHAR) chars.push_back(std::string(1, static_cast<char>(s.wParam)));
    EXPECT_EQ(chars, (Texts{"a", "B", "c"}));
    EXPECT_EQ(b.SetFocus(), &a);
    EXPECT_TRUE(a.Count(WM_KILLFOCUS) == 1 && b.Count(WM_SETFOCUS) == 1 && CWnd::GetFocus() == &b);
    h.KeyDown(VK_ESCAPE);
    EXPECT_EQ(b.events, (Texts{"key 27 x1"}));

    // The cursors by module and id.
    HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW), no = LoadCursor(nullptr, IDC_NO),
            wait = LoadCursor(nullptr, IDC_WAIT),
            hand = LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(1004)),
            resize = LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(1006));
    EXPECT_EQ((std::vector<int>{CursorIdOf(arrow), CursorIdOf(no), CursorIdOf(wait),
                                CursorIdOf(hand), CursorIdOf(resize)}),
              (std::vector<int>{32512, 32648, 32514, 1004, 1006}));
    // Each module has its own cursors.
    for (HCURSOR none :
         {LoadCursor(nullptr, MAKEINTRESOURCE(1004)), LoadCursor(AfxGetResourceHandle(), IDC_ARROW),
          LoadCursor(nullptr, MAKEINTRESOURCE(1)), LoadCursor(nullptr, "NAMED")})
        EXPECT_EQ(none, nullptr);
    EXPECT_EQ(SetCursor(hand), arrow);
    EXPECT_EQ(h.CursorId(), 1004);
    EXPECT_TRUE(SetCursor(no) == hand && h.CursorId() == 32648);

    // The window under the pointer picks the cursor on every move; the
    // default is the arrow.
    struct Grabbing : Recorder {
        BOOL OnSetCursor(CWnd*, UINT hitTest, UINT) override {
            if (hitTest != HTCLIENT) return FALSE;
            ::SetCursor(LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(1006)));
            return TRUE;
        }
    } grabbing;
    ASSERT_TRUE(MakeChild(&grabbing, parent, CRect(150, 50, 200, 100)));
    h.MouseMove(160, 60);
    EXPECT_EQ(h.CursorId(), 1006);
    h.MouseMove(70, 70);
    EXPECT_EQ(h.CursorId(), 32512);
    // Not while a window holds the capture: it keeps what it set.
    grabbing.SetCapture();
    SetCursor(hand);
    h.MouseMove(160, 60);
    EXPECT_EQ(h.CursorId(), 1004);
    ::ReleaseCapture();

    // The wait cursor shows while begun more often than ended, over any
    // cursor set meanwhile, which shows after. One too many ends do not go
    // below none; the free functions the picture loader uses are the same
    // counter.
    std::vector<int> seen;
    auto look = [&] { seen.push_back(h.CursorId()); };
    grabbing.BeginWaitCursor();
    look();
    {
        CWaitCursor nested;
        SetCursor(resize);
        look();
    }
    look();
    grabbing.EndWaitCursor();
    look();
    grabbing.EndWaitCursor();
    grabbing.BeginWaitCursor();
    look();
    grabbing.EndWaitCursor();
    look();
    BeginWaitCursor();
    grabbing.BeginWaitCursor();
    EndWaitCursor();
    look();
    EndWaitCursor();
    look();
    SetCursor(nullptr);
    look();
    EXPECT_EQ(seen, (std::vector<int>{32514, 32514, 32514, 1006, 32514, 1006, 32514, 1006, 0}));
}

TEST(InputTest, MouseHookTellsEachLeaveOnce) {
    Harness h;
    CWnd* parent = h.CreateParent(200, 100);
    Recorder host, cover;
    ASSERT_TRUE(host.CreateEx(WS_EX_CLIENTEDGE, nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER,
                              CRect(10, 10, 110, 60), parent, 0) &&
                MakeChild(&cover, parent, CRect(90, 40, 130, 80)));
    UINT goOut = RegisterWindowMessage("MessageGoOutMouse");
    h.MouseMove(50, 30);  // inside before the hook is set
    ASSERT_TRUE(MouseHook_Set(&host) && MouseHook_MessageGoOutMouse(&host, goOut));
    // The leaves told so far after moving from inside to (x, y).
    auto outsAfter = [&](int x, int y) {
        h.MouseMove(50, 30);
        h.MouseMove(x, y);
        return host.Count(goOut);
    };
    EXPECT_EQ(outsAfter(60, 30), 0);
    EXPECT_EQ(outsAfter(150, 80), 1);  // onto the frame
    // Further out: no second leave, or the count of 2 below would be 3.
    h.MouseMove(160, 90);
    h.MouseMove(50, 30);
    h.MouseLeave();  // out of the top-level window
    h.MouseLeave();
    EXPECT_EQ(host.Count(goOut), 2);
    EXPECT_EQ(outsAfter(11, 30), 3);  // onto the border: no longer the client area
    EXPECT_EQ(outsAfter(95, 45), 4);  // onto a window lying over it
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

TEST(InputTest, ToolTipShowsAfterRestHidesAndWaitsForTheFocusToComeBack) {
    Harness h;
    CWnd* parent = h.CreateParent(200, 100);
    TipHost host;
    Recorder typing;
    ASSERT_TRUE(MakeChild(&host, parent, CRect(100, 0, 200, 100)) &&
                MakeChild(&typing, parent, CRect(0, 0, 100, 100)));
    CRect one(0, 0, 40, 40), two(50, 0, 90, 40);
    ASSERT_TRUE(host.tip.AddTool(&host, Sjis("予約"), &one, 1) &&
                host.tip.AddTool(&host, "two", &two, 2));
    EXPECT_EQ(host.tip.GetToolCount(), 2);
    const std::string yoyaku = "\x97\x5C\x96\xF1";
    EXPECT_EQ(TipAfter(h, 110, 10, 400), "");
    EXPECT_EQ(TipAfter(h, 111, 10, 400), "");  // still moving: the rest starts again
    h.AdvanceMs(100);
    EXPECT_EQ(h.ToolTipText(), yoyaku);
    h.MouseMove(120, 20);  // moving on the same tool keeps it
    EXPECT_EQ(h.ToolTipText(), yoyaku);
    // Straight onto another tool: hidden at once, shown again sooner.
    EXPECT_EQ(TipAfter(h, 160, 10, 0), "");
    EXPECT_EQ(TipAfter(h, 160, 10, 100), "two");
    // Off every tool: hidden, and it stays so.
    EXPECT_EQ(TipAfter(h, 145, 60, 0), "");
    EXPECT_EQ(TipAfter(h, 145, 60, 1000), "");

    // A press hides it until the pointer goes to another tool.
    EXPECT_EQ(TipAfter(h, 110, 10, 500), yoyaku);
    h.LButtonDown(110, 10);
    EXPECT_EQ(h.ToolTipText(), "");
    EXPECT_EQ(TipAfter(h, 112, 12, 1000), "");
    EXPECT_EQ(TipAfter(h, 160, 10, 500), "two");

    // New text shows at once; empty text, removal and leaving the window
    // hide it.
    host.tip.UpdateTipText("zwei", &host, 2);
    EXPECT_EQ(h.ToolTipText(), "zwei");
    host.tip.UpdateTipText("", &host, 2);
    EXPECT_EQ(h.ToolTipText(), "");
    ASSERT_EQ(TipAfter(h, 110, 10, 500), yoyaku);
    host.tip.DelTool(&host, 1);
    EXPECT_TRUE(h.ToolTipText() == "" && host.tip.GetToolCount() == 1);
    host.tip.UpdateTipText("Ab\nCd", &host, 2);
    ASSERT_EQ(TipAfter(h, 170, 10, 500), "Ab\nCd");
    h.MouseLeave();
    EXPECT_EQ(h.ToolTipText(), "");

    // A tool moved elsewhere shows there, here in the frame's corner: the
    // picture, framed, with no room below or to the right, lies inside.
    CRect moved(50, 50, 100, 100);
    host.tip.SetToolRect(&host, 2, &moved);
    ASSERT_EQ(TipAfter(h, 195, 95, 500), "Ab\nCd");
    const auto& headless =
        dynamic_cast<const HeadlessBackend&>(quillon::platform::CurrentBackend());
    const auto* tip = headless.TipPicture();
    ASSERT_TRUE(tip != nullptr && tip->width > 8);
    const int line = quillon::platform::FontLineHeight(quillon::platform::DefaultGuiFont());
    EXPECT_GE(tip->height, 2 * line) << "one line for each LF-separated part";
    POINT at = headless.ToolTipPoint();
    EXPECT_TRUE(at.x >= 0 && at.x + tip->width <= 200) << at.x;
    EXPECT_LE(at.y + tip->height, 95) << "above the pointer, not over it";
    // One pixel of black edge, one of the tip colour, the ink inside.
    const std::uint32_t background = 0xFFFFE1;  // COLOR_INFOBK, as BGRX
    ASSERT_EQ(GetSysColor(COLOR_INFOBK), 0xE1FFFFu);
    int ink = 0;
    for (int y = 0; y < tip->height; ++y) {
        for (int x = 0; x < tip->width; ++x) {
            // 0 on the edge, 1 on the padding inside it.
            const int ring = std::min({x, y, tip->width - 1 - x, tip->height - 1 - y});
            std::uint32_t c = tip->bgrx[static_cast<std::size_t>(y * tip->width + x)] & 0xFFFFFF;
            if (ring < 2) {
                ASSERT_EQ(c, ring == 0 ? 0u : background) << x << "," << y;
            } else if ((c & 0xFF) + (c >> 8 & 0xFF) + (c >> 16 & 0xFF) < 300) {
                ++ink;
            }
        }
    }
    EXPECT_GT(ink, 10);
    EXPECT_EQ(quillon::platform::DrawToolTip(""), nullptr);

    // Another program takes the focus: the capture is released, the tip
    // hides and waits for the pointer to come back.
    typing.SetFocus();
    host.SetCapture();
    host.Clear();
    typing.Clear();
    h.LoseFocus();
    ASSERT_EQ(host.Count(WM_CAPTURECHANGED), 1);
    EXPECT_TRUE(CWnd::GetCapture() == nullptr && host.seen.back().lParam == 0);
    EXPECT_TRUE(typing.Count(WM_KILLFOCUS) == 1 && CWnd::GetFocus() == nullptr);
    EXPECT_TRUE(h.ToolTipText() == "" && headless.TipPicture() == nullptr);
    h.AdvanceMs(1000);
    EXPECT_EQ(h.ToolTipText(), "") << "the tip waits for the pointer to come back";
    h.LoseFocus();  // already lost: nothing more to tell
    EXPECT_EQ(typing.Count(WM_KILLFOCUS), 1);
    // The next key goes to the window that had the focus, which is told
    // first; the mouse capture stays released.
    h.KeyDown('Q');
    EXPECT_EQ(typing.events, (Texts{"key 81 x1"}));
    EXPECT_TRUE(typing.Count(WM_SETFOCUS) == 1 && CWnd::GetFocus() == &typing &&
                CWnd::GetCapture() == nullptr);
    // Back on the tool, the tip shows again.
    EXPECT_EQ(TipAfter(h, 196, 96, 500), "Ab\nCd");

    // Deactivated, nothing shows.
    host.tip.Activate(FALSE);
    EXPECT_TRUE(h.ToolTipText() == "" && TipAfter(h, 195, 95, 1000) == "");
    EXPECT_FALSE(host.tip.AddTool(nullptr, "x", &one, 3));
}
