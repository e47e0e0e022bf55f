// The top-level frame: pictures copied to a child through its paint context,
// windows moving over the frame, the message loop and the backend choice.
#include <cstdlib>
#include <tuple>

#include "frame/pictures/DibPicture.h"
#include "platform/Backend.h"
#include "window_helpers.h"

using namespace wintest;

TEST(FrameTest, PicturesLandInTheClientAreaTheLoopRunsOnTheTestClockAndFramesRefuseBadSizes) {
    Harness h;
    CWnd* parent = h.CreateParent(120, 80);
    // Copies its off-screen picture to the update area, as the host window does.
    struct PictureWnd : CWnd {
        void OnPaint() override {
            CPaintDC dc(this);
            rcPaint = dc.m_ps.rcPaint;
            CRect r = rcPaint;
            CSize size = r.Size();
            picture.Draw(&dc, r.left, r.top, &size, &r);
        }
        CDibPicture picture;
        CRect rcPaint;
    } wnd;
    // A picture of a gradient the window's size, larger than its client, and
    // the window with a client edge at (30, 20, 76, 56).
    ASSERT_TRUE(wnd.picture.Create(46, 36, 32));
    for (int y = 0; y < 36; ++y)
        for (int x = 0; x < 46; ++x) wnd.picture.SetPixel(x, y, RGB(x * 5, y * 5, 77));
    ASSERT_TRUE(wnd.CreateEx(WS_EX_CLIENTEDGE, "QuillonMain", nullptr,
                             WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(30, 20, 76, 56), parent, 0));
    // The client area starts 3 pixels inside the window: picture (0, 0) is
    // at (33, 23) of the frame, and (39, 29) at (72, 52).
    ExpectShown(h,
                {{33, 23, RGB(0, 0, 77)}, {72, 52, RGB(195, 145, 77)}, {45, 30, RGB(60, 35, 77)}});

    // Only the invalidated part is copied; UpdateWindow paints what is
    // pending at once, and nothing when nothing is.
    wnd.picture.SetPixel(1, 1, RGB(255, 255, 255));
    wnd.picture.SetPixel(30, 20, RGB(255, 255, 255));
    CRect part(25, 15, 35, 25);
    wnd.InvalidateRect(&part, FALSE);
    wnd.UpdateWindow();
    EXPECT_EQ(wnd.rcPaint, part);
    // Read without letting paints run: UpdateWindow painted them.
    EXPECT_EQ(h.Pixel(63, 43), RGB(255, 255, 255));
    EXPECT_EQ(h.Pixel(34, 24), RGB(5, 5, 77));
    wnd.UpdateWindow();
    EXPECT_EQ(wnd.rcPaint, part);
    wnd.Invalidate(FALSE);
    wnd.UpdateWindow();
    EXPECT_TRUE(wnd.rcPaint == CRect(0, 0, 40, 30) && h.Pixel(34, 24) == RGB(255, 255, 255));

    // Moved, it shows at its new place and the frame fills the old one.
    wnd.MoveWindow(60, 40, 46, 36);
    // (60, 40): the border came along.
    ExpectShown(h, {{33, 23, RGB(192, 192, 192)}, {63, 43, RGB(0, 0, 77)}, {60, 40, 0}});
    // Partly past the frame's edge it is cut there.
    wnd.MoveWindow(100, 60, 46, 36);
    ExpectShown(h,
                {{119, 79, RGB(80, 80, 77)} /* picture (16, 16) */, {63, 43, RGB(192, 192, 192)}});

    // A window may paint from its own picture as its client surface: the
    // paint copies nothing, the frame shows the picture, and the sharing ends
    // safely with a null picture, a new size or the window's end.
    wnd.MoveWindow(30, 20, 46, 36);
    h.AdvanceMs(0);
    HBITMAP own = wnd.picture.GetMemDC()->GetCurrentBitmap();
    CDibPicture small, deep;
    ASSERT_TRUE(small.Create(39, 30, 32) && deep.Create(46, 36, 24));
    EXPECT_FALSE(ShareClientSurface(&wnd, small.GetMemDC()->GetCurrentBitmap()));
    EXPECT_FALSE(ShareClientSurface(&wnd, deep.GetMemDC()->GetCurrentBitmap()));
    EXPECT_FALSE(ShareClientSurface(parent, own));
    ASSERT_TRUE(ShareClientSurface(&wnd, own));
    wnd.Invalidate(FALSE);
    ExpectShown(h, {{33, 23, RGB(0, 0, 77)}, {72, 52, RGB(195, 145, 77)}});
    // Drawn into the picture and invalidated, it shows without a copy.
    wnd.picture.SetPixel(2, 2, RGB(255, 255, 255));
    part = CRect(0, 0, 5, 5);
    wnd.InvalidateRect(&part, FALSE);
    ExpectShown(h, {{35, 25, RGB(255, 255, 255)}});
    // Unshared, the window has a black surface of its own until it paints.
    ASSERT_TRUE(ShareClientSurface(&wnd, nullptr));
    wnd.Invalidate(FALSE);
    ExpectShown(h, {{35, 25, RGB(255, 255, 255)}});
    // A new size ends the sharing; so does the window's end: the picture
    // stays the picture's.
    ASSERT_TRUE(ShareClientSurface(&wnd, own));
    wnd.MoveWindow(30, 20, 40, 30);
    h.AdvanceMs(0);
    ASSERT_TRUE(ShareClientSurface(&wnd, own));
    wnd.DestroyWindow();
    EXPECT_EQ(wnd.picture.GetPixel(2, 2), RGB(255, 255, 255));

    // The message loop runs on the test clock until a quit.
    struct Quitter : CWnd {
        void OnTimer(UINT_PTR) override {
            if (++ticks == 3) PostQuitMessage(7);
        }
        int ticks = 0;
    } quitter;
    ASSERT_TRUE(quitter.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 10, 10), parent, 0));
    quitter.SetTimer(1, 100, nullptr);
    DWORD start = timeGetTime();
    EXPECT_EQ(quillon::platform::RunMessageLoop(), 7);
    EXPECT_EQ(quitter.ticks, 3);
    // Waiting for the timer moved the test clock instead of sleeping.
    EXPECT_EQ(timeGetTime() - start, 300u);
    // With nothing left to wait for the loop ends instead of hanging.
    quitter.KillTimer(1);
    EXPECT_EQ(quillon::platform::RunMessageLoop(), -1);
    // A pump that meets WM_QUIT leaves it for the loop that owns it, whose
    // GetMessage it ends with its code.
    PostQuitMessage(9);
    EXPECT_FALSE(quillon::platform::PumpMessages());
    MSG m{};
    EXPECT_FALSE(GetMessage(&m, nullptr, 0, 0));
    EXPECT_TRUE(m.message == WM_QUIT && m.wParam == 9u);

    // Frames refuse sizes that cannot be.
    quillon::platform::FrameWindow frame;
    EXPECT_FALSE(frame.Create("x", 0, 10) || frame.Create("x", 20000, 20000));
    EXPECT_EQ(h.CreateParent(-1, 5), nullptr);
    ASSERT_TRUE(frame.Create("x", 10, 10));
    EXPECT_FALSE(frame.Create("x", 10, 10));
    CRect r;
    frame.GetClientRect(&r);
    EXPECT_EQ(r, CRect(0, 0, 10, 10));
    EXPECT_NE(frame.BackendId(), 0);
    EXPECT_TRUE(frame.DestroyWindow() && frame.BackendId() == 0);
}

TEST(FrameTest, TheBackendComesFromTheEnvironment) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // {QUILLON_BACKEND, DISPLAY, SDL_VIDEODRIVER, all that is printed}: each
    // case runs in a fresh process, where the choice is made once, and a
    // window opens (SDL's offscreen driver needs no display).
    using Case = std::tuple<const char*, const char*, const char*, const char*>;
    const Case cases[] = {
        {"sdl", "", "",
         "quillon: (the sdl backend is not built in|no window can be opened \\(.+\\)); using "
         "headless\n$"},
        {"vulkan", "", "", "^quillon: unknown QUILLON_BACKEND \"vulkan\"; using headless\n$"},
        {"headless", ":0", "", "^$"},
        {"", "", "", "^$"},
        {"sdl", "", "offscreen",
         "^(quillon: the sdl backend is not built in; using headless\n)?$"}};
    for (auto [backend, display, driver, printed] : cases) {
        EXPECT_EXIT(
            {
                setenv("QUILLON_BACKEND", backend, 1);
                setenv("DISPLAY", display, 1);
                unsetenv("WAYLAND_DISPLAY");
                setenv("SDL_VIDEODRIVER", driver, 1);
                setenv("SDL_AUDIODRIVER", "dummy", 1);
                quillon::platform::CurrentBackend();
                std::exit(quillon::platform::CurrentBackend().CreateWindow("x", 5, 5) > 0 ? 0 : 1);
            },
            ::testing::ExitedWithCode(0), printed)
            << backend << " " << driver;
    }
}
