
#include "frame/pictures/BitmapFont.h"
#include "frame/pictures/DibPicture.h"
#include "frame/pictures/MaskPicture.h"
#include "support/picture_files.h"

namespace {

const COLORREF kInk = RGB(200, 10, 60);

// Glyph files `prefix + name + ".bmp"`, each a full-coverage w x h block.
struct Glyphs {
    picturetest::TempDir dir;
    Glyphs(const char* prefix, std::initializer_list<std::tuple<const char*, int, int>> glyphs) {
        for (auto [name, w, h] : glyphs)
            dir.Write(std::string(prefix) + name + ".bmp",
                      picturetest::MakeGreyBmp(w, h, std::vector<int>(std::size_t(w * h), 255)));
    }
};

void ExpectInk(const CDibPicture& t, std::initializer_list<std::pair<int, int>> ink,
               std::initializer_list<std::pair<int, int>> bare) {
    for (auto [x, y] : ink) EXPECT_EQ(t.GetPixel(x, y), kInk) << x << "," << y;
    for (auto [x, y] : bare) EXPECT_EQ(t.GetPixel(x, y), 0u) << x << "," << y;
}

}  // namespace

TEST(BitmapFont, DrawsGlyphsSideBySideAligned) {
    Glyphs g("f", {{"1", 3, 5}, {"2", 4, 5}, {"slash", 2, 7}, {"5", 5, 5}});
    CBitmapFont font(g.dir.Path("f").c_str());
    EXPECT_TRUE(font.GetGlyph('/') != nullptr && font.GetGlyph('3') == nullptr &&
                font.GetGlyph('A') == nullptr);
    CDibPicture t, c;
    ASSERT_TRUE(t.Create(40, 20, 32) && c.Create(40, 20, 32));
    EXPECT_TRUE(font.DrawString(&t, kInk, "12/5", RECT{0, 0, 40, 20}, 1, 1));
    // 1 at 0..2, 2 at 3..6, / at 7..8 (the tallest), 5 at 9..13, from the top.
    ExpectInk(t, {{0, 0}, {2, 0}, {3, 0}, {6, 0}, {7, 0}, {8, 0}, {9, 0}, {13, 0}, {8, 6}, {13, 4}},
              {{14, 0}, {6, 5}});
    // Centred: the 14 x 7 box lands at ((40 - 14) / 2, (20 - 7) / 2).
    font.DrawString(&c, kInk, "12/5", RECT{0, 0, 40, 20}, 0, 0);
    ExpectInk(c, {{13, 6}, {26, 6}}, {{12, 6}, {13, 5}, {27, 6}});
}

TEST(BitmapFont, MissingGlyphIsASixteenPixelFrameOrThePrefixFile) {
    Glyphs g("g", {{"1", 3, 5}});
    CBitmapFont font(g.dir.Path("g").c_str());
    CDibPicture t, clipped, e;
    ASSERT_TRUE(t.Create(40, 20, 24) && clipped.Create(40, 20, 32) && e.Create(8, 8, 32));
    font.DrawString(&t, kInk, "1x1", RECT{0, 0, 40, 20}, 1, 1);
    // The frame spans x 3..18, y 0..15; the second 1 follows at 19.
    ExpectInk(t, {{3, 0}, {18, 0}, {3, 15}, {18, 15}, {10, 0}, {3, 8}, {18, 8}, {19, 0}},
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
