#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "frame/pictures/DibPicture.h"
#include "platform/Backend.h"

namespace {

class CountingPicture : public CDibPicture {
public:
    void OnCreated() override { ++created; }
    int created = 0;
};

class SmallScreen : public quillon::platform::Backend {
public:
    int MessageBox(CWnd*, const CString&, const CString&, UINT) override { return IDOK; }
    int ScreenWidth() const override { return 320; }
    int ScreenHeight() const override { return 200; }
    int ScreenBitsPerPixel() const override { return 24; }
};

}  // namespace

TEST(DibPicture, CreateWritesHeaderTableAndBlackBits) {
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        SCOPED_TRACE(bits);
        CountingPicture p;
        ASSERT_TRUE(p.Create(13, 5, bits));
        EXPECT_TRUE(p.IsLoaded());
        EXPECT_EQ(p.created, 1);
        const BITMAPINFOHEADER& h = p.GetBitmapInfo()->bmiHeader;
        EXPECT_EQ(h.biSize, 40u);
        EXPECT_EQ(h.biWidth, 13);
        EXPECT_EQ(h.biHeight, 5);
        EXPECT_EQ(h.biPlanes, 1);
        EXPECT_EQ(h.biBitCount, bits);
        EXPECT_EQ(h.biCompression, 0u);
        EXPECT_EQ(h.biSizeImage, 0u);
        int colors = bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0;
        EXPECT_EQ(p.GetColorCount(), colors);
        EXPECT_EQ(h.biClrUsed, static_cast<DWORD>(colors));
        EXPECT_EQ(h.biClrImportant, static_cast<DWORD>(colors));
        EXPECT_EQ(p.GetStride(), (13 * bits + 31) / 32 * 4);
        EXPECT_EQ(p.GetPalette() != nullptr, colors != 0);
        EXPECT_EQ(CRect(p.GetClipRect()), CRect(0, 0, 13, 5));
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 13; ++x) ASSERT_EQ(p.GetPixel(x, y), 0u) << x << "," << y;
    }
    CDibPicture one;
    ASSERT_TRUE(one.Create(4, 4, 1));
    const RGBQUAD* t = one.GetBitmapInfo()->bmiColors;
    EXPECT_EQ(t[0].rgbRed + t[0].rgbGreen + t[0].rgbBlue, 0);
    EXPECT_EQ(t[1].rgbRed & t[1].rgbGreen & t[1].rgbBlue, 255);

    // Our halftone table: black and white among the first sixteen, 256
    // distinct colours in all.
    CDibPicture eight;
    ASSERT_TRUE(eight.Create(4, 4, 8));
    const RGBQUAD* ht = eight.GetBitmapInfo()->bmiColors;
    std::vector<std::uint32_t> seen;
    for (int i = 0; i < 256; ++i)
        seen.push_back(ht[i].rgbRed << 16 | ht[i].rgbGreen << 8 | ht[i].rgbBlue);
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(std::unique(seen.begin(), seen.end()), seen.end());
    CDibPicture four;
    ASSERT_TRUE(four.Create(4, 4, 4));
    EXPECT_EQ(four.GetBitmapInfo()->bmiColors[7].rgbRed, 255);
    EXPECT_EQ(four.GetBitmapInfo()->bmiColors[7].rgbBlue, 255);
    EXPECT_EQ(four.GetBitmapInfo()->bmiColors[0].rgbGreen, 0);
}

TEST(DibPicture, CreateTakesTheScreenAndRefusesWhatCannotBe) {
    CDibPicture p;
    ASSERT_TRUE(p.Create(0, 99, 0));
    EXPECT_EQ(p.GetSize(), CSize(1024, 768));
    EXPECT_EQ(p.GetBitCount(), 32);

    SmallScreen screen;
    quillon::platform::SetBackend(&screen);
    EXPECT_TRUE(p.Create(-1, 5, -1));
    EXPECT_EQ(p.GetSize(), CSize(320, 200));
    EXPECT_EQ(p.GetBitCount(), 24);
    quillon::platform::SetBackend(nullptr);

    CountingPicture bad;
    EXPECT_FALSE(bad.Create(10, 10, 2));
    EXPECT_FALSE(bad.Create(10, 0, 32));
    EXPECT_FALSE(bad.Create(20000, 10, 32));
    EXPECT_FALSE(bad.Create(16384, 16384, 32));
    EXPECT_FALSE(bad.IsLoaded());
    EXPECT_EQ(bad.created, 0);
    EXPECT_EQ(bad.GetPixel(0, 0), 0u);
    EXPECT_FALSE(bad.SetPixel(0, 0, RGB(1, 2, 3)));
}

TEST(DibPicture, PixelsOutsideAndAtEveryDepth) {
    CDibPicture none;
    EXPECT_EQ(none.GetPixel(0, 0), 0u);
    EXPECT_FALSE(none.SetPixel(0, 0, RGB(255, 255, 255)));

    for (int bits : {1, 4, 8, 16, 24, 32}) {
        SCOPED_TRACE(bits);
        CDibPicture p;
        ASSERT_TRUE(p.Create(9, 7, bits));
        for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {9, 0}, {0, 7}, {9, 7}}) {
            EXPECT_FALSE(p.SetPixel(x, y, RGB(255, 255, 255)));
            EXPECT_EQ(p.GetPixel(x, y), 0u);
        }
        // White and black exist at every depth; (8, 6) is the bottom-right
        // pixel, which lies in the first stored row.
        EXPECT_TRUE(p.SetPixel(8, 6, RGB(255, 255, 255)));
        EXPECT_EQ(p.GetPixel(8, 6) & 0xF8F8F8, 0xF8F8F8u);
        EXPECT_EQ(p.GetPixel(7, 6), 0u);
        EXPECT_EQ(p.GetPixel(8, 5), 0u);
        const BYTE* first = p.GetBits();  // bottom row first
        EXPECT_TRUE(std::any_of(first, first + p.GetStride(), [](BYTE b) { return b != 0; }));
    }

    // Indexed pictures write the nearest table entry.
    CDibPicture mono;
    ASSERT_TRUE(mono.Create(8, 1, 1));
    mono.SetPixel(0, 0, RGB(200, 190, 180));
    mono.SetPixel(1, 0, RGB(60, 50, 40));
    EXPECT_EQ(mono.GetPixel(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(mono.GetPixel(1, 0), RGB(0, 0, 0));
    EXPECT_EQ(mono.GetBits()[0], 0x80);
    CDibPicture four;
    ASSERT_TRUE(four.Create(3, 1, 4));
    four.SetPixel(1, 0, RGB(250, 5, 3));
    EXPECT_EQ(four.GetPixel(1, 0), RGB(255, 0, 0));
    EXPECT_EQ(four.GetBits()[0] & 0xF0, 0);  // x = 0 stays in the high nibble
    CDibPicture eight;
    ASSERT_TRUE(eight.Create(2, 2, 8));
    eight.SetPixel(0, 0, RGB(102, 153, 51));  // on the 6-level cube
    EXPECT_EQ(eight.GetPixel(0, 0), RGB(102, 153, 51));
    eight.SetPixel(1, 1, RGB(100, 100, 100));
    COLORREF grey = eight.GetPixel(1, 1);
    EXPECT_EQ(GetRValue(grey), GetGValue(grey));
    EXPECT_LE(std::abs(GetRValue(grey) - 100), 4);

    // 16 bits: 5-5-5 read back times eight, bit 15 kept.
    CDibPicture sixteen;
    ASSERT_TRUE(sixteen.Create(1, 1, 16));
    sixteen.GetBits()[1] = 0x80;
    sixteen.SetPixel(0, 0, RGB(255, 130, 7));
    EXPECT_EQ(sixteen.GetBits()[1] & 0x80, 0x80);
    EXPECT_EQ(sixteen.GetPixel(0, 0), RGB(248, 128, 0));
    // 32 bits: the fourth byte stays as it was.
    CDibPicture p32;
    ASSERT_TRUE(p32.Create(1, 1, 32));
    p32.GetBits()[3] = 0x5A;
    p32.SetPixel(0, 0, RGB(1, 2, 3));
    EXPECT_EQ(p32.GetBits()[0], 3);
    EXPECT_EQ(p32.GetBits()[2], 1);
    EXPECT_EQ(p32.GetBits()[3], 0x5A);
}

TEST(DibPicture, ClipRectLimitsDrawToAndEmptyClipDrawsNothing) {
    CDibPicture target, tile;
    ASSERT_TRUE(target.Create(8, 8, 32));
    ASSERT_TRUE(tile.Create(4, 4, 32));
    tile.GetMemDC()->FillSolidRect(0, 0, 4, 4, RGB(10, 20, 30));

    EXPECT_FALSE(target.SetClipRect(20, 20, 30, 30));
    EXPECT_TRUE(CRect(target.GetClipRect()).IsRectEmpty());
    EXPECT_TRUE(tile.DrawTo(&target, 0, 0));
    target.GetMemDC()->FillSolidRect(0, 0, 8, 8, RGB(255, 0, 0));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) ASSERT_EQ(target.GetPixel(x, y), 0u);

    EXPECT_TRUE(target.SetClipRect(-5, 2, 3, 100));
    EXPECT_EQ(CRect(target.GetClipRect()), CRect(0, 2, 3, 8));
    tile.DrawTo(&target, 1, 1);
    EXPECT_EQ(target.GetPixel(1, 1), 0u);  // above the clip
    EXPECT_EQ(target.GetPixel(1, 2), RGB(10, 20, 30));
    EXPECT_EQ(target.GetPixel(2, 4), RGB(10, 20, 30));
    EXPECT_EQ(target.GetPixel(3, 3), 0u);  // right of the clip
    EXPECT_EQ(target.GetPixel(2, 5), 0u);  // below the tile

    // A picture that is not loaded draws nothing.
    CDibPicture empty;
    EXPECT_TRUE(empty.DrawTo(&target, 0, 0));
    EXPECT_TRUE(empty.Draw(target.GetMemDC(), 0, 0));
}

TEST(DibPicture, FillAndBrightness) {
    CDibPicture p;
    ASSERT_TRUE(p.Create(3, 2, 24));
    p.Fill(0x80);
    EXPECT_EQ(p.GetPixel(2, 1), RGB(128, 128, 128));
    EXPECT_EQ(p.GetBits()[p.GetStride() - 1], 0x80);  // padding too
    p.SetPixel(0, 0, RGB(200, 101, 3));
    EXPECT_TRUE(p.SetBrightness(70));
    EXPECT_EQ(p.GetPixel(0, 0), RGB(140, 70, 2));
    EXPECT_EQ(p.GetPixel(1, 1), RGB(89, 89, 89));
    p.SetBrightness(300);
    EXPECT_EQ(p.GetPixel(0, 0), RGB(255, 210, 6));
    p.SetBrightness(-5);
    EXPECT_EQ(p.GetPixel(0, 0), 0u);
}
