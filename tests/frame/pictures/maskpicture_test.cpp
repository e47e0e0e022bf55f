// Masks: runs from grey levels, blending by coverage and opacity, clip
// rectangles and the drawing helpers; and the bitmap font, whose glyphs are
// masks.

#include "frame/pictures/BitmapFont.h"
#include "frame/pictures/DibPicture.h"
#include "frame/pictures/MaskPicture.h"
#include "support/picture_files.h"

using picturetest::MakeGreyBmp;

namespace {

int Ref(int c, int k, int w) {
    return c + (k - c) * w / 256;
}

// Loads a mask from a grey-level BMP of top-down levels.
bool LoadGrey(CMaskPicture* m, int w, int h, const std::vector<int>& levels) {
    static picturetest::TempDir dir;
    return m->Load(dir.Write("m.bmp", MakeGreyBmp(w, h, levels)).c_str());
}

std::vector<int> Runs(const CMaskPicture& m) {
    std::vector<int> v;
    for (const MaskRun& r : m.GetRuns()) v.insert(v.end(), {r.x, r.y, r.coverage, r.length});
    return v;
}

const COLORREF kInk = RGB(200, 10, 60);

// Glyph files `prefix + name + ".bmp"`, each a full-coverage w x h block.
struct Glyphs {
    picturetest::TempDir dir;
    Glyphs(const char* prefix, std::initializer_list<std::tuple<const char*, int, int>> glyphs) {
        for (auto [name, w, h] : glyphs)
            dir.Write(std::string(prefix) + name + ".bmp", picturetest::MakeFlatBmp(w, h, 255));
    }
};

void ExpectInk(const CDibPicture& t, std::initializer_list<std::pair<int, int>> ink,
               std::initializer_list<std::pair<int, int>> bare) {
    for (auto [x, y] : ink) EXPECT_EQ(t.GetPixel(x, y), kInk) << x << "," << y;
    for (auto [x, y] : bare) EXPECT_EQ(t.GetPixel(x, y), 0u) << x << "," << y;
}

}  // namespace

TEST(MaskPicture, LoadBuildsRunsFromTheRedComponent) {
    picturetest::TempDir dir;
    CMaskPicture m;
    ASSERT_TRUE(LoadGrey(&m, 5, 2, {0, 255, 255, 128, 0, 10, 10, 0, 10, 255}));
    EXPECT_EQ(CSize(m.GetWidth(), m.GetHeight()), CSize(5, 2));
    // 255 becomes 256; a zero breaks a run even between equal levels.
    EXPECT_EQ(Runs(m), (std::vector<int>{1, 0, 256, 2, 3, 0, 128, 1,  //
                                         0, 1, 10,  2, 3, 1, 10,  1, 4, 1, 256, 1}));
    // Only red counts.
    std::string red =
        dir.Write("red.bmp", picturetest::MakeBmp24(3, 1, {0x00FFFF, 0x40FFFF, 0x400000}));
    ASSERT_TRUE(m.Load(red.c_str()));
    EXPECT_EQ(Runs(m), (std::vector<int>{1, 0, 64, 2}));
    // A failed load leaves it as it was.
    EXPECT_FALSE(m.Load(dir.Path("none.bmp").c_str()));
    EXPECT_TRUE(Runs(m) == (std::vector<int>{1, 0, 64, 2}) && m.GetWidth() == 3);
}

TEST(MaskPicture, CoverageAndOpacityBlendExactly) {
    CMaskPicture m;
    ASSERT_TRUE(LoadGrey(&m, 2, 1, {255, 128}));
    // {under, colour, opacity, over coverage 255, over 128}: 255 at full
    // opacity is the colour; 128 is half-way, truncated toward zero both ways
    // (255 -> 128, 0 -> 127); opacity is clamped to 0..256.
    const std::tuple<COLORREF, COLORREF, int, COLORREF, COLORREF> blends[] = {
        {RGB(255, 0, 200), RGB(0, 255, 100), 999, RGB(0, 255, 100), RGB(128, 127, 150)},
        {RGB(0, 0, 0), RGB(255, 255, 255), 128, RGB(127, 127, 127), RGB(63, 63, 63)},
        {RGB(9, 9, 9), RGB(255, 255, 255), -3, RGB(9, 9, 9), RGB(9, 9, 9)}};
    for (int bits : {32, 24}) {
        for (const auto& [under, colour, opacity, full, half] : blends) {
            SCOPED_TRACE(std::to_string(bits) + " bits, opacity " + std::to_string(opacity));
            CDibPicture t;
            ASSERT_TRUE(t.Create(3, 1, bits));
            for (int x : {0, 1}) t.SetPixel(x, 0, under);
            m.SetColor(colour);
            m.SetOpacity(opacity);
            EXPECT_TRUE(m.Draw(&t, 0, 0));
            picturetest::ExpectPixels(t, {{0, 0, full}, {1, 0, half}, {2, 0, 0}});
        }
    }
    // Long partial runs against the formula for many different pixels.
    ASSERT_TRUE(LoadGrey(&m, 37, 1, std::vector<int>(37, 77)));
    CDibPicture t;
    ASSERT_TRUE(t.Create(40, 1, 32));
    for (int x = 0; x < 40; ++x) t.SetPixel(x, 0, RGB(x * 7 % 256, 255 - x * 5, x * 13 % 256));
    t.GetBits()[4 * 5 + 3] = 0xA5;
    m.SetColor(RGB(30, 200, 128));
    m.SetOpacity(200);
    m.Draw(&t, 2, 0);
    int w = 77 * 256 / 255 * 200 / 256;
    picturetest::ExpectEvery(t, [&](int x, int) {
        int r = x * 7 % 256, g = 255 - x * 5, b = x * 13 % 256;
        return x >= 2 && x < 39 ? RGB(Ref(r, 30, w), Ref(g, 200, w), Ref(b, 128, w)) : RGB(r, g, b);
    });
    EXPECT_EQ(t.GetBits()[4 * 5 + 3], 0xA5);  // the fourth byte is left alone
}

TEST(MaskPicture, ClipRectCutsRunsAtTrueColourDepthsOnly) {
    CMaskPicture m, half;
    ASSERT_TRUE(LoadGrey(&m, 6, 4, std::vector<int>(24, 255)) && LoadGrey(&half, 1, 1, {128}));
    for (int bits : {16, 24, 32}) {
        SCOPED_TRACE(bits);
        CDibPicture t;
        ASSERT_TRUE(t.Create(8, 8, bits));
        ASSERT_TRUE(t.SetClipRect(2, 2, 5, 4));
        m.Draw(&t, 1, 1);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                ASSERT_EQ(t.GetPixel(x, y) != 0, x >= 2 && x < 5 && y >= 2 && y < 4)
                    << x << "," << y;
        // Far off: nothing, no crash.
        m.Draw(&t, -30000, -30000);
        m.Draw(&t, 2147483000, 2147483000);
    }
    // 16 bits blends in 5-bit units and keeps bit 15.
    CDibPicture t16, t8, none;
    ASSERT_TRUE(t16.Create(1, 1, 16) && t8.Create(8, 8, 8));
    t16.GetBits()[1] = 0x80;
    t16.SetPixel(0, 0, RGB(248, 0, 80));
    half.SetColor(RGB(0, 255, 255));
    half.Draw(&t16, 0, 0);
    EXPECT_TRUE(t16.GetPixel(0, 0) ==
                    RGB(Ref(31, 0, 128) * 8, Ref(0, 31, 128) * 8, Ref(10, 31, 128) * 8) &&
                (t16.GetBits()[1] & 0x80));
    // At 8 bits pixels go one by one and the clip rectangle is not applied.
    t8.SetClipRect(0, 0, 1, 1);
    m.Draw(&t8, 5, 5);
    picturetest::ExpectPixels(t8, {{5, 5, 0xFFFFFF}, {7, 7, 0xFFFFFF}, {4, 4, 0}});
    EXPECT_FALSE(m.Draw(&none, 0, 0) || m.Draw(nullptr, 0, 0));
}

TEST(MaskPicture, DrawingHelpersAlignContrastAndFill) {
    // The last box is larger than the rectangle: the division truncates toward zero.
    EXPECT_EQ(
        (std::vector<CPoint>{
            GetAlignedPos(4, 2, 10, 20, 20, 30, 0, 0), GetAlignedPos(4, 2, 10, 20, 20, 30, 1, 1),
            GetAlignedPos(4, 2, 10, 20, 20, 30, 2, 2), GetAlignedPos(5, 3, 0, 0, 10, 10, 0, 0),
            GetAlignedPos(8, 8, 0, 0, 5, 5, 0, 0)}),
        (std::vector<CPoint>{{13, 24}, {10, 20}, {16, 28}, {2, 3}, {-1, -1}}));

    CMaskPicture m;
    ASSERT_TRUE(LoadGrey(&m, 2, 2, {255, 255, 255, 255}));
    CDibPicture t;
    ASSERT_TRUE(t.Create(7, 4, 32));
    m.SetColor(RGB(255, 0, 0));
    EXPECT_TRUE(m.DrawAligned(&t, 0, 0, 7, 4, 2, 0));  // right, centred
    picturetest::ExpectMap(t, {0, RGB(255, 0, 0)}, {"aaaaaaa", "aaaaabb", "aaaaabb", "aaaaaaa"});

    // The sums 249 and 250 sit either side of the threshold.
    EXPECT_EQ((std::vector<COLORREF>{GetContrastColor(0), GetContrastColor(0xFFFFFF),
                                     GetContrastColor(RGB(100, 100, 49)),
                                     GetContrastColor(RGB(100, 100, 50))}),
              (std::vector<COLORREF>{0xFFFFFF, 0, 0xFFFFFF, 0}));

    CDibPicture u;
    ASSERT_TRUE(u.Create(6, 6, 32));
    const COLORREF back = RGB(0, 100, 255), red = RGB(255, 0, 0);
    u.GetMemDC()->FillSolidRect(0, 0, 6, 6, back);
    EXPECT_TRUE(FillTranslucent(&u, 1, 1, 3, 3, red, 256, false));  // not filled
    EXPECT_TRUE(FillTranslucent(&u, 1, 1, 3, 3, red, 256, true));
    FillTranslucent(&u, 4, 0, 6, 6, red, 128, true);  // blends at 128 * 128 / 256 = 64
    // Limited to the clip rectangle.
    u.SetClipRect(0, 4, 2, 6);
    FillTranslucent(&u, 0, 0, 6, 6, RGB(1, 1, 1), 256, true);
    const COLORREF quarter = RGB(Ref(0, 255, 64), Ref(100, 0, 64), Ref(255, 0, 64));
    EXPECT_EQ(quarter, RGB(63, 75, 192));
    picturetest::ExpectMap(u, {back, red, quarter, RGB(1, 1, 1)},
                           {"aaaacc", "abbacc", "abbacc", "aaaacc", "ddaacc", "ddaacc"});
    // Harmless far outside.
    EXPECT_TRUE(
        FillTranslucent(&u, -2147483647, -2147483647, 2147483647, 2147483647, 0, 256, true));
    EXPECT_TRUE(u.GetPixel(0, 5) == 0u && u.GetPixel(2, 5) == back);
}

TEST(BitmapFont, DrawsGlyphsSideBySideAlignedAndFramesOrSharesTheMissingOnes) {
    Glyphs g("f", {{"1", 3, 5}, {"2", 4, 5}, {"slash", 2, 7}, {"5", 5, 5}});
    CBitmapFont font(g.dir.Path("f").c_str());
    EXPECT_TRUE(font.GetGlyph('/') != nullptr && font.GetGlyph('3') == nullptr &&
                font.GetGlyph('A') == nullptr);
    CDibPicture t, c, missing, clipped, e;
    ASSERT_TRUE(t.Create(40, 20, 32) && c.Create(40, 20, 32) && missing.Create(40, 20, 24) &&
                clipped.Create(40, 20, 32) && e.Create(8, 8, 32));
    EXPECT_TRUE(font.DrawString(&t, kInk, "12/5", RECT{0, 0, 40, 20}, 1, 1));
    // 1 at 0..2, 2 at 3..6, / at 7..8 (the tallest), 5 at 9..13, from the top.
    ExpectInk(t, {{0, 0}, {2, 0}, {3, 0}, {6, 0}, {7, 0}, {8, 0}, {9, 0}, {13, 0}, {8, 6}, {13, 4}},
              {{14, 0}, {6, 5}});
    // Centred: the 14 x 7 box lands at ((40 - 14) / 2, (20 - 7) / 2).
    font.DrawString(&c, kInk, "12/5", RECT{0, 0, 40, 20}, 0, 0);
    ExpectInk(c, {{13, 6}, {26, 6}}, {{12, 6}, {13, 5}, {27, 6}});

    // A missing glyph is a frame spanning x 3..18, y 0..15; the second 1 follows at 19.
    font.DrawString(&missing, kInk, "1x1", RECT{0, 0, 40, 20}, 1, 1);
    ExpectInk(missing, {{3, 0}, {18, 0}, {3, 15}, {18, 15}, {10, 0}, {3, 8}, {18, 8}, {19, 0}},
              {{4, 1}, {17, 14}, {3, 16}, {22, 0}});
    // The frame honours the target's clip rectangle.
    clipped.SetClipRect(0, 0, 10, 20);
    font.DrawString(&clipped, kInk, "1x", RECT{0, 0, 40, 20}, 1, 1);
    ExpectInk(clipped, {{3, 0}}, {{18, 0}});
    // Nothing at all for the empty text; a long text does not overflow.
    EXPECT_TRUE(font.DrawString(&e, kInk, "", RECT{0, 0, 8, 8}, 0, 0) && e.GetPixel(4, 4) == 0u);
    EXPECT_TRUE(font.DrawString(&e, kInk, CString('x', 100000), RECT{0, 0, 8, 8}, 0, 0));

    // Every other code shares the prefix file.
    Glyphs prefix("h", {{"", 6, 2}, {"0", 1, 1}});
    CBitmapFont shared(prefix.dir.Path("h").c_str());
    ASSERT_NE(shared.GetGlyph('A'), nullptr);
    EXPECT_TRUE(shared.GetGlyph('A') == shared.GetGlyph(0) &&
                shared.GetGlyph('A') == shared.GetGlyph(0xFF));
    // A digit never falls back.
    EXPECT_TRUE(shared.GetGlyph('7') == nullptr && shared.GetGlyph('/') == nullptr);
    CDibPicture u;
    ASSERT_TRUE(u.Create(20, 4, 32));
    shared.DrawString(&u, kInk, "A0B", RECT{0, 0, 20, 4}, 1, 1);
    ExpectInk(u, {{5, 1}, {6, 0}, {7, 1}}, {{6, 1}, {13, 0}});
}
