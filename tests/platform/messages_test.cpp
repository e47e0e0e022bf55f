// The message queue, painting, timers and window creation.
#include <memory>

#include "platform/WindowSystem.h"
#include "window_helpers.h"

using namespace wintest;

namespace {

constexpr UINT kMsgA = WM_APP + 1;
constexpr UINT kMsgB = WM_APP + 2;
constexpr UINT kMsgC = WM_USER + 5;

}  // namespace

TEST(MessageQueueTest, PostPeekSendDispatchRegisteredMessagesPaintsAndTimers) {
    Harness h;
    CWnd* parent = h.CreateParent(200, 100);
    Recorder a, b;
    ASSERT_TRUE(MakeChild(&a, parent, CRect(0, 0, 50, 50)) &&
                MakeChild(&b, parent, CRect(50, 0, 100, 50)));
    h.AdvanceMs(0);          // first paints out of the way
    EXPECT_EQ(a.paints, 1);  // a new visible window paints once
    // The last is a thread message.
    ASSERT_TRUE(::PostMessage(&a, kMsgA, 1, 10) && ::PostMessage(&b, kMsgB, 2, 20) &&
                ::PostMessage(&a, kMsgC, 3, 30) && ::PostMessage(nullptr, kMsgA, 4, 40));

    // "message wParam window" of the message a peek finds, or "none".
    auto peek = [&](CWnd* filter, UINT first, UINT last, UINT flags = PM_REMOVE) {
        MSG m{};
        if (!::PeekMessage(&m, filter, first, last, flags)) return std::string("none");
        const char* to = m.hwnd == &a ? "a" : m.hwnd == &b ? "b" : "-";
        return std::to_string(m.message) + " " + std::to_string(m.wParam) + " " + to;
    };
    const std::string a1 = std::to_string(kMsgA) + " 1 a";
    // Looking does not take: the message is still first below.
    EXPECT_EQ(peek(nullptr, 0, 0, PM_NOREMOVE), a1);
    // A range skips what lies outside it and keeps it in order; a window
    // filter takes only that window's messages.
    EXPECT_EQ(peek(nullptr, WM_USER, WM_USER + 10), std::to_string(kMsgC) + " 3 a");
    EXPECT_EQ(peek(&b, 0, 0), std::to_string(kMsgB) + " 2 b");
    EXPECT_EQ(peek(&b, 0, 0), "none");
    EXPECT_EQ(peek(nullptr, 0, 0), a1);
    EXPECT_EQ(peek(nullptr, 0, 0), std::to_string(kMsgA) + " 4 -");
    EXPECT_EQ(peek(nullptr, 0, 0), "none");

    // Nothing is posted to a window that does not exist; dispatching reaches
    // the window procedure with the parameters.
    MSG m{};
    CWnd never;
    EXPECT_FALSE(::PostMessage(&never, kMsgA, 0, 0));
    ::PostMessage(&a, kMsgB, 5, 50);
    ASSERT_TRUE(::GetMessage(&m, nullptr, 0, 0));
    a.Clear();
    ::DispatchMessage(&m);
    ASSERT_EQ(a.seen.size(), 1u);
    EXPECT_TRUE(a.seen[0].message == kMsgB && a.seen[0].lParam == 50);

    // Sending calls at once, before what was posted earlier.
    a.Clear();
    ::PostMessage(&a, kMsgA, 0, 0);
    EXPECT_EQ(::SendMessage(&a, kMsgB, 0, 0), 0);
    ASSERT_EQ(a.seen.size(), 1u);
    EXPECT_EQ(a.seen[0].message, kMsgB);
    h.AdvanceMs(0);
    ASSERT_EQ(a.seen.size(), 2u);
    EXPECT_EQ(a.seen[1].message, kMsgA);
    EXPECT_EQ(::SendMessage(nullptr, kMsgA, 0, 0), 0);

    // Registered messages share ids by name, case aside. (That one, posted,
    // reaching WindowProc is what the mouse hook test counts.)
    UINT go = RegisterWindowMessage("MessageGoOutMouse"),
         other = RegisterWindowMessage("QuillonTestOther");
    EXPECT_TRUE(go >= 0xC000u && go <= 0xFFFFu && other >= 0xC000u && go != other);
    EXPECT_TRUE(RegisterWindowMessage("MessageGoOutMouse") == go &&
                RegisterWindowMessage("messagegooutmouse") == go);
    EXPECT_TRUE(RegisterWindowMessage("") == 0u && RegisterWindowMessage(nullptr) == 0u);

    // Nothing to paint: no WM_PAINT however long we wait.
    a.Clear();
    h.AdvanceMs(300);
    EXPECT_EQ(a.Count(WM_PAINT), 0);

    CRect r1(1, 2, 5, 6), r2(20, 20, 30, 25);
    a.InvalidateRect(&r1, FALSE);
    a.InvalidateRect(&r2, FALSE);
    ::PostMessage(&a, kMsgA, 0, 0);
    const int frame = static_cast<quillon::platform::FrameWindow*>(parent)->BackendId();
    quillon::platform::PostInput({quillon::platform::InputKind::MouseMove, frame, 15, 15});
    // The paint comes last, after what was posted and the input.
    std::vector<UINT> order;
    while (::PeekMessage(&m, &a, 0, 0, PM_REMOVE)) {
        order.push_back(m.message);
        ::DispatchMessage(&m);
        if (order.size() > 10) break;
    }
    EXPECT_EQ(order, (std::vector<UINT>{kMsgA, WM_MOUSEMOVE, WM_PAINT}));
    // The paint got the bounding rectangle of both invalidations, and the
    // window is valid after it.
    ASSERT_EQ(a.paints, 2);
    EXPECT_EQ(a.paintRects.back(), CRect(1, 2, 30, 25));
    CRect u;
    EXPECT_FALSE(a.GetUpdateRect(&u));

    // A rectangle outside the client area invalidates nothing.
    CRect outside(100, 100, 120, 120);
    a.InvalidateRect(&outside, FALSE);
    EXPECT_FALSE(a.GetUpdateRect(&u));

    // A handler that never begins a paint is not asked again and again.
    struct Lazy : CWnd {
        int paints = 0;
        void OnPaint() override { ++paints; }
    } lazy;
    ASSERT_TRUE(MakeChild(&lazy, parent, CRect(70, 70, 90, 90)));
    h.AdvanceMs(0);
    EXPECT_EQ(lazy.paints, 1);

    // Timers follow the test clock. The firings of each since the last look:
    auto fired = [&] {
        std::pair<long, long> n{std::count(a.timers.begin(), a.timers.end(), 1u),
                                std::count(a.timers.begin(), a.timers.end(), 2u)};
        a.timers.clear();
        return n;
    };
    EXPECT_TRUE(a.SetTimer(1, 100, nullptr) == 1u && a.SetTimer(2, 250, nullptr) == 2u);
    h.AdvanceMs(99);
    EXPECT_EQ(fired(), std::pair(0L, 0L));
    h.AdvanceMs(1);
    EXPECT_EQ(fired(), std::pair(1L, 0L));
    h.AdvanceMs(900);  // to 1000 ms: the second at 300, 500, 800, 1000 in 100 ms steps
    EXPECT_EQ(fired(), std::pair(9L, 4L));
    // A late timer fires once, not once per missed period.
    for (int i = 0; i < 5; ++i) ::Sleep(100);
    while (::PeekMessage(&m, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) ::DispatchMessage(&m);
    EXPECT_EQ(fired().first, 1);
    EXPECT_TRUE(a.KillTimer(1) && !a.KillTimer(1));
    h.AdvanceMs(1000);
    EXPECT_EQ(fired(), std::pair(0L, 4L));
    EXPECT_EQ(never.SetTimer(1, 100, nullptr), 0u);

    // A busy wait on the tick ends: one millisecond per idle peek.
    EXPECT_TRUE(a.KillTimer(2));
    DWORD start = timeGetTime();
    int spins = 0;
    while (timeGetTime() - start < 500 && spins < 100000) {
        while (::PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessage(&m);
        ++spins;
    }
    EXPECT_GE(timeGetTime() - start, 500u);
    EXPECT_EQ(spins, 500);
    EXPECT_EQ(h.Tick(), start + 500);  // the wall clock went along
}

TEST(WindowTest, CreationHooksStylesTheClientEdgeAndDestruction) {
    Harness h;
    CWnd* parent = h.CreateParent(300, 200);

    // No parent, no child window.
    CWnd orphan;
    EXPECT_FALSE(orphan.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 10, 10), nullptr, 0) ||
                 orphan.GetSafeHwnd() != nullptr);

    struct Styled : Recorder {
        BOOL PreCreateWindow(CREATESTRUCT& cs) override {
            cs.style |= WS_BORDER;
            cs.dwExStyle |= WS_EX_CLIENTEDGE;
            return TRUE;
        }
        int OnCreate(LPCREATESTRUCT cs) override {
            createdStyle = static_cast<DWORD>(cs->style);
            return CWnd::OnCreate(cs);
        }
        DWORD createdStyle = 0;
    } styled;
    ASSERT_TRUE(
        styled.Create("QuillonMain", nullptr, WS_VISIBLE, CRect(20, 10, 120, 60), parent, 0));
    EXPECT_TRUE(styled.GetSafeHwnd() == &styled && styled.GetExStyle() == WS_EX_CLIENTEDGE);
    for (DWORD style : {styled.GetStyle(), styled.createdStyle})
        EXPECT_EQ(style, WS_CHILD | WS_VISIBLE | WS_BORDER);
    EXPECT_TRUE(styled.GetParent() == parent && styled.GetTopLevelParent() == parent);
    EXPECT_FALSE(styled.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 5, 5), parent, 0));

    // The border and the client edge the hook added: the inset, and the
    // pixels of each.
    h.AdvanceMs(0);
    CRect client, window;
    styled.GetClientRect(&client);
    styled.GetWindowRect(&window);
    EXPECT_TRUE(client == CRect(0, 0, 94, 44) && window == CRect(20, 10, 120, 60));
    CPoint origin(0, 0);
    styled.ClientToScreen(&origin);
    EXPECT_EQ(origin, CPoint(23, 13));

    // The frame's face around it, then the one-pixel black border, the
    // sunken edge (shadow outside the light, dark shadow 0 inside the light
    // 223) and the client area.
    const COLORREF face = RGB(192, 192, 192), shadow = RGB(128, 128, 128),
                   light = RGB(223, 223, 223), hi = RGB(255, 255, 255), fill = styled.fill;
    using Colours = std::vector<COLORREF>;
    EXPECT_EQ(PixelRun(h, 19, 30, 5), (Colours{face, 0, shadow, 0, fill}));
    EXPECT_EQ(PixelRun(h, 116, 30, 5), (Colours{fill, light, hi, 0, face}));
    EXPECT_EQ(PixelRun(h, 50, 10, 2, true), (Colours{0, shadow}));
    EXPECT_EQ(PixelRun(h, 50, 57, 3, true), (Colours{light, hi, 0}));

    // A click on the border is no client click; inside, coordinates are the
    // client area's.
    styled.Clear();
    h.LButtonDown(21, 30);
    h.LButtonDown(23, 13);
    EXPECT_EQ(styled.events, (std::vector<std::string>{"ldown 0,0 f1"}));

    // Drawing in the client area never reaches the border.
    CRect all(-5, -5, 200, 200);
    styled.InvalidateRect(&all, TRUE);
    h.AdvanceMs(0);
    EXPECT_EQ(styled.paintRects.back(), CRect(0, 0, 94, 44));
    EXPECT_EQ(h.Pixel(22, 30), 0u);

    // Hidden, the frame shows through again.
    styled.ShowWindow(SW_HIDE);
    ExpectShown(h, {{20, 30, face}, {50, 30, face}});

    struct Refusing : Recorder {
        int OnCreate(LPCREATESTRUCT) override { return -1; }
        void OnDestroy() override { ++destroyed; }
        int destroyed = 0;
    } refusing;
    EXPECT_FALSE(refusing.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 10, 10), parent, 0));
    EXPECT_TRUE(refusing.GetSafeHwnd() == nullptr && !IsWindow(&refusing) &&
                refusing.destroyed == 1 && !refusing.PostMessage(kMsgA));

    struct Declining : CWnd {
        BOOL PreCreateWindow(CREATESTRUCT&) override { return FALSE; }
    } declining;
    EXPECT_FALSE(declining.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 10, 10), parent, 0));

    // Destroying a window destroys its children; their objects stay and
    // queued messages for them are dropped.
    auto outer = std::make_unique<Recorder>();
    Recorder inner;
    ASSERT_TRUE(MakeChild(outer.get(), parent, CRect(0, 100, 100, 200)) &&
                MakeChild(&inner, outer.get(), CRect(5, 5, 20, 20)));
    inner.PostMessage(kMsgA);
    inner.Clear();
    EXPECT_TRUE(outer->DestroyWindow());
    EXPECT_TRUE(!IsWindow(&inner) && inner.Count(WM_DESTROY) == 1);
    h.AdvanceMs(0);
    EXPECT_TRUE(inner.Count(kMsgA) == 0 && !outer->DestroyWindow());
    outer.reset();
    {
        Recorder scoped;
        ASSERT_TRUE(MakeChild(&scoped, parent, CRect(0, 0, 5, 5)));
    }
    h.AdvanceMs(0);  // the destroyed object's window left nothing behind
}
