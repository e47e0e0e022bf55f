// Device-independent pictures: the header and table they are made with,
// pixels at every depth, drawing into a clip rectangle, fill and brightness.

#include <cstdlib>

#include "frame/pictures/DibPicture.h"
#include "platform/headless/HeadlessBackend.h"
#include "support/picture_files.h"

using picturetest::ExpectEvery;

TEST(DibPicture, EveryDepthHasItsHeaderTableBlackBitsAndPixelsInside) {
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        SCOPED_TRACE(bits);
        CDibPicture p;
        ASSERT_TRUE(p.Create(13, 5, bits));
        const BITMAPINFOHEADER& h = p.GetBitmapInfo()->bmiHeader;
        const int colors = bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0;
        EXPECT_EQ((std::vector<long>{long(h.biSize), h.biWidth, h.biHeight, h.biBitCount,
                                     long(h.biClrUsed), p.GetColorCount(), p.GetStride()}),
                  (std::vector<long>{40, 13, 5, bits, colors, colors, (13 * bits + 31) / 32 * 4}));
        EXPECT_EQ(p.GetPalette() != nullptr, colors != 0);
        ExpectEvery(p, [](int, int) { return 0u; });
        // Our halftone table at 8 bits: 256 distinct colours.
        std::vector<std::uint32_t> seen;
        for (int i = 0; i < colors; ++i) {
            const RGBQUAD& q = p.GetBitmapInfo()->bmiColors[i];
            seen.push_back(q.rgbRed << 16 | q.rgbGreen << 8 | q.rgbBlue);
        }
        std::sort(seen.begin(), seen.end());
        EXPECT_EQ(std::unique(seen.begin(), seen.end()), seen.end());
        for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {13, 0}, {0, 5}, {13, 5}}) {
            EXPECT_FALSE(p.SetPixel(x, y, RGB(255, 255, 255)));
            EXPECT_EQ(p.GetPixel(x, y), 0u);
        }
        // (12, 4), the bottom-right pixel, lies in the first stored row.
        EXPECT_TRUE(p.SetPixel(12, 4, RGB(255, 255, 255)));
        EXPECT_EQ(p.GetPixel(12, 4) & 0xF8F8F8, 0xF8F8F8u);
        EXPECT_TRUE(p.GetPixel(11, 4) == 0u && p.GetPixel(12, 3) == 0u);
        const BYTE* first = p.GetBits();
        EXPECT_TRUE(std::any_of(first, first + p.GetStride(), [](BYTE b) { return b != 0; }));
    }
}

TEST(DibPicture, DefaultSizesRefusalsAndTheBytesOfEachDepth) {
    // No size takes the screen's, no depth its depth.
    CDibPicture p;
    ASSERT_TRUE(p.Create(0, 99, 0));
    EXPECT_TRUE(p.GetSize() == CSize(1024, 768) && p.GetBitCount() == 32);
    struct SmallScreen : quillon::platform::HeadlessBackend {
        SmallScreen() : HeadlessBackend(false) {}
        int ScreenWidth() const override { return 320; }
        int ScreenHeight() const override { return 200; }
        int ScreenBitsPerPixel() const override { return 24; }
    } screen;
    quillon::platform::SetBackend(&screen);
    EXPECT_TRUE(p.Create(-1, 5, -1));
    quillon::platform::SetBackend(nullptr);
    EXPECT_TRUE(p.GetSize() == CSize(320, 200) && p.GetBitCount() == 24);
    // An empty picture has no pixels; what cannot be made is refused.
    CDibPicture bad;
    EXPECT_TRUE(bad.GetPixel(0, 0) == 0u && !bad.SetPixel(0, 0, RGB(255, 255, 255)));
    for (auto [w, h, bits] :
         {std::tuple{10, 10, 2}, {10, 0, 32}, {20000, 10, 32}, {16384, 16384, 32}})
        EXPECT_FALSE(bad.Create(w, h, bits)) << w << "x" << h << "x" << bits;
    EXPECT_FALSE(bad.IsLoaded());
    // Indexed pictures write the nearest table entry.
    CDibPicture mono, four, eight, sixteen, p32;
    ASSERT_TRUE(mono.Create(8, 1, 1) && four.Create(3, 1, 4) && eight.Create(2, 2, 8));
    mono.SetPixel(0, 0, RGB(200, 190, 180));
    mono.SetPixel(1, 0, RGB(60, 50, 40));
    EXPECT_TRUE(mono.GetPixel(0, 0) == RGB(255, 255, 255) && mono.GetPixel(1, 0) == 0u);
    EXPECT_EQ(mono.GetBits()[0], 0x80);
    four.SetPixel(1, 0, RGB(250, 5, 3));
    EXPECT_EQ(four.GetPixel(1, 0), RGB(255, 0, 0));
    EXPECT_EQ(four.GetBits()[0] & 0xF0, 0);   // x = 0 stays in the high nibble
    eight.SetPixel(0, 0, RGB(102, 153, 51));  // on the 6-level cube
    EXPECT_EQ(eight.GetPixel(0, 0), RGB(102, 153, 51));
    eight.SetPixel(1, 1, RGB(100, 100, 100));
    COLORREF grey = eight.GetPixel(1, 1);
    EXPECT_EQ(GetRValue(grey), GetGValue(grey));
    EXPECT_LE(std::abs(GetRValue(grey) - 100), 4);
    // 16 bits: 5-5-5 read back times eight, bit 15 kept; 32: the fourth byte kept.
    ASSERT_TRUE(sixteen.Create(1, 1, 16) && p32.Create(1, 1, 32));
    sixteen.GetBits()[1] = 0x80;
    sixteen.SetPixel(0, 0, RGB(255, 130, 7));
    EXPECT_TRUE((sixteen.GetBits()[1] & 0x80) && sixteen.GetPixel(0, 0) == RGB(248, 128, 0));
    p32.GetBits()[3] = 0x5A;
    p32.SetPixel(0, 0, RGB(1, 2, 3));
    EXPECT_TRUE(p32.GetBits()[0] == 3 && p32.GetBits()[3] == 0x5A);
}

TEST(DibPicture, DrawToAndStretchToKeepToTheClipRectFillAndBrightness) {
    CDibPicture tile, target, big;
    ASSERT_TRUE(tile.Create(3, 3, 24) && target.Create(10, 10, 32) && big.Create(9, 9, 32));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) tile.SetPixel(x, y, RGB(x * 100, y * 100, 7));
    // A clip rectangle off the picture is refused and left empty: nothing
    // is drawn, not even a fill; one partly off is cut to the picture.
    EXPECT_FALSE(target.SetClipRect(20, 20, 30, 30));
    EXPECT_TRUE(CRect(target.GetClipRect()).IsRectEmpty());
    EXPECT_TRUE(tile.DrawTo(&target, 0, 0));
    target.GetMemDC()->FillSolidRect(0, 0, 10, 10, RGB(255, 0, 0));
    ExpectEvery(target, [](int, int) { return 0u; });
    EXPECT_TRUE(target.SetClipRect(-5, 2, 3, 100));
    EXPECT_EQ(CRect(target.GetClipRect()), CRect(0, 2, 3, 10));

    // Tiled into a clip rectangle: inside it the tiles, outside the old
    // pixels.
    const COLORREF old = RGB(0x55, 0x55, 0x55);
    target.Fill(0x55);
    const CRect clip(2, 1, 7, 8);
    ASSERT_TRUE(target.SetClipRect(clip.left, clip.top, clip.right, clip.bottom));
    for (int y = 0; y < 10; y += 3)
        for (int x = 0; x < 10; x += 3) EXPECT_TRUE(tile.DrawTo(&target, x, y));
    ExpectEvery(target, [&](int x, int y) {
        return clip.PtInRect(CPoint(x, y)) ? RGB(x % 3 * 100, y % 3 * 100, 7) : old;
    });
    // Stretched over the whole target, each source pixel becomes a block,
    // only inside the clip.
    big.Fill(0x55);
    const CRect bigClip(1, 2, 8, 6);
    big.SetClipRect(bigClip.left, bigClip.top, bigClip.right, bigClip.bottom);
    EXPECT_TRUE(tile.StretchTo(&big, RECT{0, 0, 9, 9}, RECT{0, 0, 3, 3}));
    ExpectEvery(big, [&](int x, int y) {
        return bigClip.PtInRect(CPoint(x, y)) ? RGB(x / 3 * 100, y / 3 * 100, 7) : old;
    });
    // Part of the source, off the origin; an empty rectangle draws nothing.
    big.Fill(0x55);
    big.SetClipRect(0, 0, 9, 9);
    tile.StretchTo(&big, RECT{4, 4, 8, 6}, RECT{1, 1, 3, 2});
    EXPECT_TRUE(tile.StretchTo(&big, RECT{4, 4, 4, 8}, RECT{0, 0, 3, 3}));
    ExpectEvery(big, [&](int x, int y) {
        if (!CRect(4, 4, 8, 6).PtInRect(CPoint(x, y))) return old;
        return x < 6 ? RGB(100, 100, 7) : RGB(200, 100, 7);
    });
    // An empty source leaves the temporary picture black; a target without
    // an image takes nothing, which is no failure.
    EXPECT_TRUE(tile.StretchTo(&big, RECT{0, 0, 2, 2}, RECT{1, 1, 1, 3}));
    EXPECT_TRUE(big.GetPixel(0, 0) == 0 && big.GetPixel(1, 1) == 0 && big.GetPixel(2, 2) == old);
    CDibPicture none;
    EXPECT_TRUE(tile.DrawTo(&none, 0, 0) &&
                tile.StretchTo(&none, RECT{0, 0, 2, 2}, RECT{0, 0, 3, 3}));

    // Fill and brightness.
    CDibPicture p;
    ASSERT_TRUE(p.Create(3, 2, 24));
    p.Fill(0x80);
    // The padding too.
    EXPECT_TRUE(p.GetPixel(2, 1) == RGB(128, 128, 128) && p.GetBits()[p.GetStride() - 1] == 0x80);
    p.SetPixel(0, 0, RGB(200, 101, 3));
    EXPECT_TRUE(p.SetBrightness(70));
    EXPECT_TRUE(p.GetPixel(0, 0) == RGB(140, 70, 2) && p.GetPixel(1, 1) == RGB(89, 89, 89));
    p.SetBrightness(300);
    EXPECT_EQ(p.GetPixel(0, 0), RGB(255, 210, 6));
    p.SetBrightness(-5);
    EXPECT_EQ(p.GetPixel(0, 0), 0u);
}
