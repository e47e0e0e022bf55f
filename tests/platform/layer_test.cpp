// A child that covers most of its frame is shown over the frame's backing
// instead of being copied into it; whatever happens to the windows around
// it, the frame must show what a copy would have shown.
#include <memory>

#include "frame/pictures/DibPicture.h"
#include "window_helpers.h"

using namespace wintest;

namespace {

const COLORREF kRed = RGB(200, 0, 0), kGreen = RGB(0, 200, 0), kBlue = RGB(0, 0, 200);

}  // namespace

TEST(LayerTest, TheFrameShowsWhatACopyWouldShowAndAWindowGoneLeavesNothingBehind) {
    Harness h;
    CWnd* parent = h.CreateParent(100, 60);
    h.AdvanceMs(0);
    const COLORREF frame = h.Pixel(90, 55);
    const COLORREF border = GetSysColor(COLOR_WINDOWFRAME) & 0xFFFFFF;

    auto a = std::make_unique<Recorder>(kRed);
    ASSERT_TRUE(MakeChild(a.get(), parent, CRect(0, 0, 80, 50), WS_VISIBLE | WS_BORDER));
    ExpectShown(h,
                {{0, 0, border}, {1, 1, kRed}, {78, 48, kRed}, {79, 30, border}, {90, 55, frame}});

    // It paints again: the new pixels show, and only where it painted.
    a->fill = kGreen;
    CRect part(10, 10, 20, 20);
    a->InvalidateRect(&part, FALSE);
    ExpectShown(h, {{11, 11, kGreen}, {20, 20, kGreen}, {21, 21, kRed}, {5, 5, kRed}});

    // A later sibling over it shows on top of it, and so does a child of its own.
    a->fill = kRed;
    a->InvalidateRect(nullptr, FALSE);
    {
        Recorder over(kBlue);
        ASSERT_TRUE(MakeChild(&over, parent, CRect(60, 30, 90, 58)));
        ExpectShown(h, {{70, 40, kBlue}, {85, 55, kBlue}, {30, 30, kRed}});
    }
    {
        Recorder inner(kGreen);
        ASSERT_TRUE(MakeChild(&inner, a.get(), CRect(4, 4, 8, 8)));
        ExpectShown(h, {{6, 6, kGreen}, {70, 40, kRed}, {85, 55, frame}});
    }
    ExpectShown(h, {{6, 6, kRed}});

    // Painting on the frame leaves the window as it is.
    {
        CClientDC dc(parent);
        dc.FillSolidRect(0, 0, 100, 60, kBlue);
    }
    ExpectShown(h, {{40, 20, kRed}, {0, 0, border}, {90, 55, kBlue}});

    // Moved, hidden, resized and shown again: the frame shows through where
    // it left, and until the frame repaints, what was presented stays.
    a->MoveWindow(20, 10, 80, 50, FALSE);
    ExpectShown(h, {{10, 5, frame}, {20, 10, border}, {50, 30, kRed}, {98, 58, kRed}});
    a->InvalidateRect(nullptr, FALSE);
    h.AdvanceMs(0);
    a->ShowWindow(SW_HIDE);
    a->MoveWindow(0, 0, 40, 30, FALSE);
    EXPECT_EQ(h.Pixel(50, 30), kRed);
    ExpectShown(h, {{50, 30, frame}});
    a->ShowWindow(SW_SHOW);
    ExpectShown(h, {{10, 10, kRed}, {50, 30, frame}});

    // Over the whole frame, with a picture shared as its surface: what was
    // shown stays when the sharing ends and the picture goes before the next
    // paint, and before the harness reads.
    a->MoveWindow(0, 0, 100, 60, FALSE);
    auto picture = std::make_unique<CDibPicture>();
    ASSERT_TRUE(picture->Create(98, 58, 32));
    picture->GetMemDC()->FillSolidRect(0, 0, 98, 58, kGreen);
    ASSERT_TRUE(ShareClientSurface(a.get(), picture->GetMemDC()->GetCurrentBitmap()));
    a->fill = kBlue;
    a->InvalidateRect(nullptr, FALSE);
    h.AdvanceMs(0);
    ASSERT_TRUE(ShareClientSurface(a.get(), nullptr));
    picture.reset();
    EXPECT_EQ(h.Pixel(30, 20), kBlue);
    a->fill = kRed;
    a->InvalidateRect(nullptr, FALSE);
    ExpectShown(h, {{30, 20, kRed}});

    // Destroyed while it shows: read before and after the frame repaints.
    a->fill = kGreen;
    a->InvalidateRect(nullptr, FALSE);
    h.AdvanceMs(0);
    a->DestroyWindow();
    a.reset();
    EXPECT_EQ(h.Pixel(30, 20), kGreen);
    ExpectShown(h, {{30, 20, frame}});
}
