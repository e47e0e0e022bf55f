#include <gtest/gtest.h>

#include "frame/pictures/DibPicture.h"
#include "platform/gdi/DC.h"
#include "platform/text/Font.h"

namespace {

const COLORREF kSentinel = RGB(12, 34, 56);

void Fill(CDibPicture* p, COLORREF c) {
    CSize s = p->GetSize();
    CRect clip(p->GetClipRect());
    p->GetMemDC()->SetClipBox(nullptr);
    p->GetMemDC()->FillSolidRect(0, 0, s.cx, s.cy, c);
    p->GetMemDC()->SetClipBox(&clip);
}

// Every pixel outside `keep` still holds the sentinel.
void ExpectSentinelOutside(const CDibPicture& p, const CRect& keep) {
    CSize s = p.GetSize();
    for (int y = 0; y < s.cy; ++y) {
        for (int x = 0; x < s.cx; ++x) {
            if (!keep.PtInRect(CPoint(x, y))) {
                ASSERT_EQ(p.GetPixel(x, y), kSentinel) << x << "," << y;
            }
        }
    }
}

}  // namespace

TEST(DrawingSurface, FillsAndFramesStayInTheClipBox) {
    CDibPicture p;
    ASSERT_TRUE(p.Create(10, 10, 32));
    Fill(&p, kSentinel);
    CDC* dc = p.GetMemDC();
    p.SetClipRect(2, 2, 8, 8);
    dc->FillSolidRect(0, 0, 10, 4, RGB(255, 0, 0));
    EXPECT_EQ(p.GetPixel(2, 2), RGB(255, 0, 0));
    EXPECT_EQ(p.GetPixel(7, 3), RGB(255, 0, 0));
    EXPECT_EQ(p.GetPixel(1, 2), kSentinel);
    EXPECT_EQ(p.GetPixel(2, 1), kSentinel);
    EXPECT_EQ(p.GetPixel(2, 4), kSentinel);

    CBrush brush(RGB(0, 0, 255));
    CRect frame(3, 4, 7, 8);
    dc->FrameRect(&frame, &brush);
    for (int x = 3; x < 7; ++x) {
        EXPECT_EQ(p.GetPixel(x, 4), RGB(0, 0, 255));
        EXPECT_EQ(p.GetPixel(x, 7), RGB(0, 0, 255));
    }
    for (int y = 4; y < 8; ++y) {
        EXPECT_EQ(p.GetPixel(3, y), RGB(0, 0, 255));
        EXPECT_EQ(p.GetPixel(6, y), RGB(0, 0, 255));
    }
    EXPECT_EQ(p.GetPixel(4, 5), kSentinel);
    EXPECT_EQ(p.GetPixel(5, 6), kSentinel);
    CRect empty(5, 5, 5, 9);
    dc->FrameRect(&empty, &brush);
    EXPECT_EQ(p.GetPixel(5, 6), kSentinel);

    // Indexed surfaces fill with the nearest entry.
    CDibPicture mono;
    ASSERT_TRUE(mono.Create(12, 2, 1));
    mono.GetMemDC()->FillSolidRect(3, 0, 6, 1, RGB(240, 240, 240));
    EXPECT_EQ(mono.GetPixel(2, 0), 0u);
    EXPECT_EQ(mono.GetPixel(3, 0), RGB(255, 255, 255));
    EXPECT_EQ(mono.GetPixel(8, 0), RGB(255, 255, 255));
    EXPECT_EQ(mono.GetPixel(9, 0), 0u);
    EXPECT_EQ(mono.GetPixel(3, 1), 0u);
}

TEST(DrawingSurface, EdgesInTheClassicColours) {
    EXPECT_EQ(GetSysColor(COLOR_3DFACE), RGB(192, 192, 192));
    EXPECT_EQ(GetSysColor(COLOR_3DHILIGHT), RGB(255, 255, 255));
    EXPECT_EQ(GetSysColor(COLOR_3DSHADOW), RGB(128, 128, 128));
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), RGB(0, 0, 0));
    EXPECT_EQ(GetSysColor(COLOR_3DLIGHT), RGB(223, 223, 223));

    const COLORREF light = RGB(223, 223, 223), hi = RGB(255, 255, 255), shadow = RGB(128, 128, 128),
                   dark = 0;
    CDibPicture p;
    ASSERT_TRUE(p.Create(6, 6, 32));
    Fill(&p, kSentinel);
    CRect r(0, 0, 6, 6);
    EXPECT_TRUE(p.GetMemDC()->DrawEdge(&r, EDGE_RAISED, BF_RECT));
    EXPECT_EQ(p.GetPixel(0, 0), light);
    EXPECT_EQ(p.GetPixel(4, 0), light);
    EXPECT_EQ(p.GetPixel(0, 4), light);
    EXPECT_EQ(p.GetPixel(5, 0), dark);  // the corner belongs to the right side
    EXPECT_EQ(p.GetPixel(0, 5), dark);
    EXPECT_EQ(p.GetPixel(5, 5), dark);
    EXPECT_EQ(p.GetPixel(1, 1), hi);
    EXPECT_EQ(p.GetPixel(3, 1), hi);
    EXPECT_EQ(p.GetPixel(4, 1), shadow);
    EXPECT_EQ(p.GetPixel(1, 4), shadow);
    EXPECT_EQ(p.GetPixel(4, 4), shadow);
    EXPECT_EQ(p.GetPixel(2, 2), kSentinel);
    EXPECT_EQ(p.GetPixel(3, 3), kSentinel);
    EXPECT_EQ(r, CRect(0, 0, 6, 6));

    Fill(&p, kSentinel);
    EXPECT_TRUE(p.GetMemDC()->DrawEdge(&r, EDGE_SUNKEN, BF_RECT | BF_ADJUST));
    EXPECT_EQ(p.GetPixel(0, 0), shadow);
    EXPECT_EQ(p.GetPixel(5, 0), hi);
    EXPECT_EQ(p.GetPixel(2, 5), hi);
    EXPECT_EQ(p.GetPixel(1, 1), dark);
    EXPECT_EQ(p.GetPixel(1, 3), dark);
    EXPECT_EQ(p.GetPixel(4, 2), light);
    EXPECT_EQ(p.GetPixel(2, 4), light);
    EXPECT_EQ(p.GetPixel(2, 2), kSentinel);
    EXPECT_EQ(r, CRect(2, 2, 4, 4));
}

TEST(DrawingSurface, InvertAtTrueColourAndIndexedDepths) {
    CDibPicture p;
    ASSERT_TRUE(p.Create(4, 4, 24));
    Fill(&p, kSentinel);
    p.SetClipRect(0, 0, 4, 2);
    CRect r(1, 1, 3, 4);
    p.GetMemDC()->InvertRect(&r);
    EXPECT_EQ(p.GetPixel(1, 1), RGB(255 - 12, 255 - 34, 255 - 56));
    EXPECT_EQ(p.GetPixel(2, 1), RGB(255 - 12, 255 - 34, 255 - 56));
    EXPECT_EQ(p.GetPixel(1, 2), kSentinel);  // clipped
    EXPECT_EQ(p.GetPixel(0, 1), kSentinel);
    p.GetMemDC()->InvertRect(&r);
    EXPECT_EQ(p.GetPixel(1, 1), kSentinel);

    CDibPicture q;
    ASSERT_TRUE(q.Create(3, 1, 32));
    q.GetBits()[3] = 0x77;
    CRect all(0, 0, 3, 1);
    q.GetMemDC()->InvertRect(&all);
    EXPECT_EQ(q.GetPixel(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(q.GetBits()[3], 0x77);

    CDibPicture mono;
    ASSERT_TRUE(mono.Create(3, 1, 1));
    mono.SetPixel(1, 0, RGB(255, 255, 255));
    mono.GetMemDC()->InvertRect(&all);
    EXPECT_EQ(mono.GetPixel(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(mono.GetPixel(1, 0), 0u);
    EXPECT_EQ(mono.GetPixel(2, 0), RGB(255, 255, 255));
}

TEST(DrawingSurface, StretchCopyWithRasterOperationsAndBottomUpSource) {
    // 2 x 2 source: top row red, green; bottom row blue, white.
    CDibPicture src;
    ASSERT_TRUE(src.Create(2, 2, 32));
    src.SetPixel(0, 0, RGB(255, 0, 0));
    src.SetPixel(1, 0, RGB(0, 255, 0));
    src.SetPixel(0, 1, RGB(0, 0, 255));
    src.SetPixel(1, 1, RGB(255, 255, 255));

    CDibPicture dst;
    ASSERT_TRUE(dst.Create(5, 5, 32));
    Fill(&dst, kSentinel);
    CDC* dc = dst.GetMemDC();
    EXPECT_EQ(dc->SetStretchBltMode(COLORONCOLOR), BLACKONWHITE);
    // Whole source doubled into (1, 1)-(5, 5).
    EXPECT_EQ(dc->StretchDIBits(1, 1, 4, 4, 0, 0, 2, 2, src.GetBits(), src.GetBitmapInfo(),
                                DIB_RGB_COLORS, SRCCOPY),
              4);
    EXPECT_EQ(dst.GetPixel(1, 1), RGB(255, 0, 0));
    EXPECT_EQ(dst.GetPixel(2, 2), RGB(255, 0, 0));
    EXPECT_EQ(dst.GetPixel(3, 1), RGB(0, 255, 0));
    EXPECT_EQ(dst.GetPixel(2, 3), RGB(0, 0, 255));
    EXPECT_EQ(dst.GetPixel(4, 4), RGB(255, 255, 255));
    EXPECT_EQ(dst.GetPixel(0, 0), kSentinel);

    // Source y counts from the bottom stored row: ySrc 1 is the top row.
    Fill(&dst, kSentinel);
    dc->StretchDIBits(0, 0, 2, 1, 0, 1, 2, 1, src.GetBits(), src.GetBitmapInfo(), DIB_RGB_COLORS,
                      SRCCOPY);
    EXPECT_EQ(dst.GetPixel(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(dst.GetPixel(1, 0), RGB(0, 255, 0));
    EXPECT_EQ(dst.GetPixel(0, 1), kSentinel);

    // AND and XOR with a 1-bit source and with true colour.
    CDibPicture mask;
    ASSERT_TRUE(mask.Create(2, 1, 1));
    mask.SetPixel(1, 0, RGB(255, 255, 255));
    Fill(&dst, RGB(0x0F, 0xF0, 0x3C));
    dc->StretchDIBits(0, 0, 2, 1, 0, 0, 2, 1, mask.GetBits(), mask.GetBitmapInfo(), DIB_RGB_COLORS,
                      SRCAND);
    EXPECT_EQ(dst.GetPixel(0, 0), 0u);
    EXPECT_EQ(dst.GetPixel(1, 0), RGB(0x0F, 0xF0, 0x3C));
    dc->StretchDIBits(0, 0, 2, 2, 0, 0, 2, 2, src.GetBits(), src.GetBitmapInfo(), DIB_RGB_COLORS,
                      SRCINVERT);
    EXPECT_EQ(dst.GetPixel(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(dst.GetPixel(1, 0), RGB(0x0F ^ 0, 0xF0 ^ 255, 0x3C));
    EXPECT_EQ(dst.GetPixel(1, 1), RGB(0xF0, 0x0F, 0xC3));

    // Into a 24-bit and an 8-bit surface, shrinking.
    CDibPicture d24;
    ASSERT_TRUE(d24.Create(1, 1, 24));
    d24.GetMemDC()->StretchDIBits(0, 0, 1, 1, 0, 0, 2, 2, src.GetBits(), src.GetBitmapInfo(),
                                  DIB_RGB_COLORS, SRCCOPY);
    EXPECT_NE(d24.GetPixel(0, 0), 0u);
    CDibPicture d8;
    ASSERT_TRUE(d8.Create(2, 2, 8));
    d8.GetMemDC()->StretchDIBits(0, 0, 2, 2, 0, 0, 2, 2, src.GetBits(), src.GetBitmapInfo(),
                                 DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(d8.GetPixel(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(d8.GetPixel(1, 1), RGB(255, 255, 255));

    // Bad arguments draw nothing.
    EXPECT_EQ(dc->StretchDIBits(0, 0, 0, 1, 0, 0, 2, 2, src.GetBits(), src.GetBitmapInfo(),
                                DIB_RGB_COLORS, SRCCOPY),
              0);
    EXPECT_EQ(dc->StretchDIBits(0, 0, 1, 1, 0, 0, 2, 2, src.GetBits(), src.GetBitmapInfo(),
                                DIB_RGB_COLORS, 0x00EE0086),
              0);
    // A source rectangle partly outside the source bits copies what exists.
    Fill(&dst, kSentinel);
    dc->StretchDIBits(0, 0, 3, 3, -1, -1, 3, 3, src.GetBits(), src.GetBitmapInfo(), DIB_RGB_COLORS,
                      SRCCOPY);
    EXPECT_EQ(dst.GetPixel(0, 0), kSentinel);
    EXPECT_EQ(dst.GetPixel(1, 0), RGB(255, 0, 0));
    EXPECT_EQ(dst.GetPixel(2, 1), RGB(255, 255, 255));
    EXPECT_EQ(dst.GetPixel(1, 2), kSentinel);
}

TEST(DrawingSurface, TilingAndStretchingIntoAClippedTarget) {
    CDibPicture tile;
    ASSERT_TRUE(tile.Create(3, 3, 24));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) tile.SetPixel(x, y, RGB(x * 100, y * 100, 7));

    CDibPicture target;
    ASSERT_TRUE(target.Create(10, 10, 32));
    Fill(&target, kSentinel);
    const CRect clip(2, 1, 7, 8);
    ASSERT_TRUE(target.SetClipRect(clip.left, clip.top, clip.right, clip.bottom));
    for (int y = 0; y < 10; y += 3)
        for (int x = 0; x < 10; x += 3) EXPECT_TRUE(tile.DrawTo(&target, x, y));
    ExpectSentinelOutside(target, clip);
    for (int y = clip.top; y < clip.bottom; ++y)
        for (int x = clip.left; x < clip.right; ++x)
            ASSERT_EQ(target.GetPixel(x, y), RGB(x % 3 * 100, y % 3 * 100, 7)) << x << "," << y;

    // Stretching the tile over the whole target: each source pixel becomes
    // a block, only inside the clip.
    CDibPicture big;
    ASSERT_TRUE(big.Create(9, 9, 32));
    Fill(&big, kSentinel);
    const CRect bigClip(1, 2, 8, 6);
    big.SetClipRect(bigClip.left, bigClip.top, bigClip.right, bigClip.bottom);
    EXPECT_TRUE(tile.StretchTo(&big, RECT{0, 0, 9, 9}, RECT{0, 0, 3, 3}));
    ExpectSentinelOutside(big, bigClip);
    for (int y = bigClip.top; y < bigClip.bottom; ++y)
        for (int x = bigClip.left; x < bigClip.right; ++x)
            ASSERT_EQ(big.GetPixel(x, y), RGB(x / 3 * 100, y / 3 * 100, 7)) << x << "," << y;

    // Part of the source, placed off the origin.
    Fill(&big, kSentinel);
    big.SetClipRect(0, 0, 9, 9);
    tile.StretchTo(&big, RECT{4, 4, 8, 6}, RECT{1, 1, 3, 2});
    EXPECT_EQ(big.GetPixel(4, 4), RGB(100, 100, 7));
    EXPECT_EQ(big.GetPixel(5, 5), RGB(100, 100, 7));
    EXPECT_EQ(big.GetPixel(6, 4), RGB(200, 100, 7));
    EXPECT_EQ(big.GetPixel(7, 5), RGB(200, 100, 7));
    ExpectSentinelOutside(big, CRect(4, 4, 8, 6));
    // Empty rectangles draw nothing.
    EXPECT_TRUE(tile.StretchTo(&big, RECT{4, 4, 4, 8}, RECT{0, 0, 3, 3}));
    ExpectSentinelOutside(big, CRect(4, 4, 8, 6));
}

TEST(DrawingSurface, TextStaysInsideItsRectangleAndTheClipBox) {
    CDibPicture p;
    ASSERT_TRUE(p.Create(80, 40, 32));
    Fill(&p, kSentinel);
    CDC* dc = p.GetMemDC();
    CFont font;
    EXPECT_EQ(dc->SelectObject(&font), nullptr);
    EXPECT_EQ(dc->SelectObject(static_cast<CFont*>(nullptr)), &font);
    EXPECT_EQ(dc->SetBkMode(TRANSPARENT), OPAQUE);
    dc->SetTextColor(RGB(255, 255, 255));
    const CString text = "MWMWMWMWMWMWMWMWMWMW\nMWMWMWMWMWMWMW\n\nWWWWWWWWWWWW";
    CRect box(10, 6, 50, 30);
    dc->DrawText(text, &box, 0);
    ExpectSentinelOutside(p, box);

    int glyphs = 0;
    quillon::platform::LayoutText(quillon::platform::DefaultGuiFont(), text, 0, 0,
                                  [&glyphs](const quillon::platform::GlyphImage& g, int, int) {
                                      glyphs += g.width > 0 && g.height > 0;
                                  });
    bool ink = false;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x) ink |= p.GetPixel(x, y) != kSentinel;
    EXPECT_EQ(ink, glyphs > 0);

    // The picture's clip rectangle cuts the text further; opaque mode fills
    // line boxes within both.
    Fill(&p, kSentinel);
    p.SetClipRect(0, 0, 30, 12);
    dc->SetBkMode(OPAQUE);
    dc->SetBkColor(RGB(0, 0, 0));
    dc->DrawText(text, &box, 0);
    ExpectSentinelOutside(p, CRect(10, 6, 30, 12));
    if (glyphs > 0) {
        EXPECT_NE(p.GetPixel(10, 6), kSentinel);
    }
}
