// The drawing surface over a picture: fills, frames, inversion and edges in
// the clip box, and stretched copies with the raster operations.
#include "frame/pictures/DibPicture.h"
#include "platform/gdi/DC.h"
#include "support/picture_files.h"

using picturetest::ExpectPixels;

namespace {

const COLORREF kSentinel = RGB(12, 34, 56);

void Fill(CDibPicture* p, COLORREF c) {
    CRect clip(p->GetClipRect());
    p->GetMemDC()->SetClipBox(nullptr);
    p->GetMemDC()->FillSolidRect(0, 0, p->GetSize().cx, p->GetSize().cy, c);
    p->GetMemDC()->SetClipBox(&clip);
}

}  // namespace

TEST(DrawingSurface, FillsFramesAndInversionStayInTheClipBox) {
    CDibPicture p, mono;
    ASSERT_TRUE(p.Create(10, 10, 32) && mono.Create(12, 2, 1));
    Fill(&p, kSentinel);
    CDC* dc = p.GetMemDC();
    p.SetClipRect(2, 2, 8, 8);
    dc->FillSolidRect(0, 0, 10, 4, RGB(255, 0, 0));
    CBrush brush(RGB(0, 0, 255));
    CRect frame(3, 4, 7, 8), empty(5, 5, 5, 9), inv(1, 0, 3, 8);
    dc->FrameRect(&frame, &brush);
    dc->FrameRect(&empty, &brush);
    // Inversion, clipped; the fourth byte at 32 bits stays.
    p.SetClipRect(0, 0, 10, 5);
    p.GetBits()[(9 * 10 + 1) * 4 + 3] = 0x77;  // pixel (1, 0)
    dc->InvertRect(&inv);
    EXPECT_EQ(p.GetBits()[(9 * 10 + 1) * 4 + 3], 0x77);
    picturetest::ExpectMap(
        p, {kSentinel, RGB(255, 0, 0), RGB(0, 0, 255), RGB(243, 221, 199), RGB(0, 255, 255)},
        {"addaaaaaaa", "addaaaaaaa", "adebbbbbaa", "adebbbbbaa", "addccccaaa",  //
         "aaacaacaaa", "aaacaacaaa", "aaaccccaaa", "aaaaaaaaaa", "aaaaaaaaaa"});

    // Indexed surfaces fill with the nearest entry and invert the index.
    mono.GetMemDC()->FillSolidRect(3, 0, 6, 1, RGB(240, 240, 240));
    CRect row(2, 0, 4, 1);
    mono.GetMemDC()->InvertRect(&row);
    picturetest::ExpectMap(mono, {0, RGB(255, 255, 255)}, {"aababbbbbaaa", "aaaaaaaaaaaa"});
}

TEST(DrawingSurface, EdgesInTheClassicColours) {
    // DrawEdge takes these from GetSysColor, so the maps check its table too;
    // COLOR_3DFACE, the frames' background, shows in the window tests' pixels.
    const COLORREF light = RGB(223, 223, 223), hi = RGB(255, 255, 255), shadow = RGB(128, 128, 128);
    CDibPicture p;
    ASSERT_TRUE(p.Create(6, 6, 32));
    Fill(&p, kSentinel);
    CRect r(0, 0, 6, 6);
    EXPECT_TRUE(p.GetMemDC()->DrawEdge(&r, EDGE_RAISED, BF_RECT));
    EXPECT_EQ(r, CRect(0, 0, 6, 6));
    // The corners belong to the right and bottom sides.
    const std::vector<std::uint32_t> key = {kSentinel, light, hi, shadow, 0};
    picturetest::ExpectMap(p, key, {"bbbbbe", "bcccde", "bcaade", "bcaade", "bdddde", "eeeeee"});
    Fill(&p, kSentinel);
    EXPECT_TRUE(p.GetMemDC()->DrawEdge(&r, EDGE_SUNKEN, BF_RECT | BF_ADJUST));
    EXPECT_EQ(r, CRect(2, 2, 4, 4));
    picturetest::ExpectMap(p, key, {"dddddc", "deeebc", "deaabc", "deaabc", "dbbbbc", "cccccc"});
}

TEST(DrawingSurface, StretchCopyWithRasterOperationsAndBottomUpSource) {
    // 2 x 2 source: top row red, green; bottom row blue, white.
    const COLORREF red = RGB(255, 0, 0), green = RGB(0, 255, 0), blue = RGB(0, 0, 255),
                   white = RGB(255, 255, 255);
    CDibPicture src, dst, mask, d8;
    ASSERT_TRUE(src.Create(2, 2, 32) && dst.Create(5, 5, 32) && mask.Create(2, 1, 1) &&
                d8.Create(2, 2, 8));
    src.SetPixel(0, 0, red);
    src.SetPixel(1, 0, green);
    src.SetPixel(0, 1, blue);
    src.SetPixel(1, 1, white);
    CDC* dc = dst.GetMemDC();
    auto stretch = [&](CDC* to, int x, int y, int w, int h, int sx, int sy, int sw, int sh,
                       const CDibPicture& from, DWORD rop) {
        return to->StretchDIBits(x, y, w, h, sx, sy, sw, sh, from.GetBits(), from.GetBitmapInfo(),
                                 DIB_RGB_COLORS, rop);
    };
    Fill(&dst, kSentinel);
    EXPECT_EQ(dc->SetStretchBltMode(COLORONCOLOR), BLACKONWHITE);
    EXPECT_EQ(stretch(dc, 1, 1, 4, 4, 0, 0, 2, 2, src, SRCCOPY), 4);  // doubled
    ExpectPixels(
        dst,
        {{1, 1, red}, {2, 2, red}, {3, 1, green}, {2, 3, blue}, {4, 4, white}, {0, 0, kSentinel}});
    // Source y counts from the bottom stored row: ySrc 1 is the top row.
    Fill(&dst, kSentinel);
    stretch(dc, 0, 0, 2, 1, 0, 1, 2, 1, src, SRCCOPY);
    ExpectPixels(dst, {{0, 0, red}, {1, 0, green}, {0, 1, kSentinel}});

    // AND with a 1-bit source, then XOR with true colour.
    mask.SetPixel(1, 0, white);
    Fill(&dst, RGB(0x0F, 0xF0, 0x3C));
    stretch(dc, 0, 0, 2, 1, 0, 0, 2, 1, mask, SRCAND);
    ExpectPixels(dst, {{0, 0, 0}, {1, 0, RGB(0x0F, 0xF0, 0x3C)}});
    stretch(dc, 0, 0, 2, 2, 0, 0, 2, 2, src, SRCINVERT);
    ExpectPixels(dst, {{0, 0, red}, {1, 0, RGB(0x0F, 0x0F, 0x3C)}, {1, 1, RGB(0xF0, 0x0F, 0xC3)}});
    // Into an 8-bit surface: the table holds these colours exactly.
    stretch(d8.GetMemDC(), 0, 0, 2, 2, 0, 0, 2, 2, src, SRCCOPY);
    ExpectPixels(d8, {{0, 0, red}, {1, 1, white}});

    // Bad arguments draw nothing; a source rectangle partly outside the
    // source copies what exists.
    EXPECT_EQ(stretch(dc, 0, 0, 0, 1, 0, 0, 2, 2, src, SRCCOPY), 0);
    EXPECT_EQ(stretch(dc, 0, 0, 1, 1, 0, 0, 2, 2, src, 0x00EE0086), 0);
    Fill(&dst, kSentinel);
    stretch(dc, 0, 0, 3, 3, -1, -1, 3, 3, src, SRCCOPY);
    ExpectPixels(dst, {{0, 0, kSentinel}, {1, 0, red}, {2, 1, white}, {1, 2, kSentinel}});
}
