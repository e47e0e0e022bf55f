#include <gtest/gtest.h>

#include "frame/pictures/BitmapFont.h"
#include "frame/pictures/DibPicture.h"
#include "frame/pictures/MaskPicture.h"
#include "picture_files.h"

using picturetest::MakeGreyBmp;
using picturetest::TempDir;

namespace {

void WriteGlyph(const TempDir& dir, const std::string& name, int w, int h) {
    dir.Write(name, MakeGreyBmp(w, h, std::vector<int>(static_cast<std::size_t>(w * h), 255)));
}

const COLORREF kInk = RGB(200, 10, 60);

}  // namespace

TEST(BitmapFont, DrawsGlyphsSideBySideAligned) {
    TempDir dir;
    WriteGlyph(dir, "f1.bmp", 3, 5);
    WriteGlyph(dir, "f2.bmp", 4, 5);
    WriteGlyph(dir, "fslash.bmp", 2, 7);
    WriteGlyph(dir, "f5.bmp", 5, 5);
    CBitmapFont font(dir.Path("f").c_str());
    ASSERT_NE(font.GetGlyph('1'), nullptr);
    ASSERT_NE(font.GetGlyph('/'), nullptr);
    EXPECT_EQ(font.GetGlyph('3'), nullptr);
    EXPECT_EQ(font.GetGlyph('A'), nullptr);

    CDibPicture t;
    ASSERT_TRUE(t.Create(40, 20, 32));
    EXPECT_TRUE(font.DrawString(&t, kInk, "12/5", RECT{0, 0, 40, 20}, 1, 1));
    // 1 at 0..2, 2 at 3..6, / at 7..8, 5 at 9..13, all from the top.
    for (int x : {0, 2, 3, 6, 7, 8, 9, 13}) EXPECT_EQ(t.GetPixel(x, 0), kInk) << x;
    EXPECT_EQ(t.GetPixel(14, 0), 0u);
    EXPECT_EQ(t.GetPixel(8, 6), kInk);  // the slash is the tallest
    EXPECT_EQ(t.GetPixel(6, 5), 0u);
    EXPECT_EQ(t.GetPixel(13, 4), kInk);

    // Centred: the 14 x 7 box lands at ((40 - 14) / 2, (20 - 7) / 2).
    CDibPicture c;
    ASSERT_TRUE(c.Create(40, 20, 32));
    font.DrawString(&c, kInk, "12/5", RECT{0, 0, 40, 20}, 0, 0);
    EXPECT_EQ(c.GetPixel(13, 6), kInk);
    EXPECT_EQ(c.GetPixel(12, 6), 0u);
    EXPECT_EQ(c.GetPixel(13, 5), 0u);
    EXPECT_EQ(c.GetPixel(26, 6), kInk);
    EXPECT_EQ(c.GetPixel(27, 6), 0u);
}

TEST(BitmapFont, MissingGlyphIsASixteenPixelFrame) {
    TempDir dir;
    WriteGlyph(dir, "g1.bmp", 3, 5);
    CBitmapFont font(dir.Path("g").c_str());
    CDibPicture t;
    ASSERT_TRUE(t.Create(40, 20, 24));
    font.DrawString(&t, kInk, "1x1", RECT{0, 0, 40, 20}, 1, 1);
    // The frame spans x 3..18, y 0..15; the second 1 follows at 19.
    for (auto [x, y] : {std::pair{3, 0}, {18, 0}, {3, 15}, {18, 15}, {10, 0}, {3, 8}, {18, 8}})
        EXPECT_EQ(t.GetPixel(x, y), kInk) << x << "," << y;
    EXPECT_EQ(t.GetPixel(4, 1), 0u);
    EXPECT_EQ(t.GetPixel(17, 14), 0u);
    EXPECT_EQ(t.GetPixel(3, 16), 0u);
    EXPECT_EQ(t.GetPixel(19, 0), kInk);
    EXPECT_EQ(t.GetPixel(22, 0), 0u);

    // The frame honours the target's clip rectangle.
    CDibPicture clipped;
    ASSERT_TRUE(clipped.Create(40, 20, 32));
    clipped.SetClipRect(0, 0, 10, 20);
    font.DrawString(&clipped, kInk, "1x", RECT{0, 0, 40, 20}, 1, 1);
    EXPECT_EQ(clipped.GetPixel(3, 0), kInk);
    EXPECT_EQ(clipped.GetPixel(18, 0), 0u);

    // Nothing at all for the empty text; a long text does not overflow.
    CDibPicture e;
    ASSERT_TRUE(e.Create(8, 8, 32));
    EXPECT_TRUE(font.DrawString(&e, kInk, "", RECT{0, 0, 8, 8}, 0, 0));
    EXPECT_EQ(e.GetPixel(4, 4), 0u);
    EXPECT_TRUE(font.DrawString(&e, kInk, CString('x', 100000), RECT{0, 0, 8, 8}, 0, 0));
}

TEST(BitmapFont, EveryOtherCodeSharesThePrefixFile) {
    TempDir dir;
    WriteGlyph(dir, "h.bmp", 6, 2);
    WriteGlyph(dir, "h0.bmp", 1, 1);
    CBitmapFont font(dir.Path("h").c_str());
    ASSERT_NE(font.GetGlyph('A'), nullptr);
    EXPECT_EQ(font.GetGlyph('A'), font.GetGlyph(0));
    EXPECT_EQ(font.GetGlyph('A'), font.GetGlyph(0xFF));
    EXPECT_EQ(font.GetGlyph('A')->GetWidth(), 6);
    EXPECT_EQ(font.GetGlyph('0')->GetWidth(), 1);
    EXPECT_EQ(font.GetGlyph('7'), nullptr);  // a digit never falls back
    EXPECT_EQ(font.GetGlyph('/'), nullptr);

    CDibPicture t;
    ASSERT_TRUE(t.Create(20, 4, 32));
    font.DrawString(&t, kInk, "A0B", RECT{0, 0, 20, 4}, 1, 1);
    EXPECT_EQ(t.GetPixel(5, 1), kInk);
    EXPECT_EQ(t.GetPixel(6, 0), kInk);
    EXPECT_EQ(t.GetPixel(6, 1), 0u);
    EXPECT_EQ(t.GetPixel(7, 1), kInk);
    EXPECT_EQ(t.GetPixel(13, 0), 0u);
}
