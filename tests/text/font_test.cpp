// Fonts: which face a request gets, its metrics, the layout of format-0 text,
// boxes for missing characters, the glyph cache and the fallback face.
#include "platform/text/Font.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

using quillon::platform::FontInfo;
using quillon::platform::GetFontInfo;
using quillon::platform::GlyphImage;
using quillon::platform::LayoutText;

namespace {

bool Create(CFont& font, int height, const char* faceUtf8, BYTE charSet = 128, int weight = 400,
            BYTE underline = 0) {
    return font.CreateFont(height, 0, 0, 0, weight, 0, underline, 0, charSet, 3, 2, 1, 0x34,
                           Sjis(faceUtf8));
}

FontInfo Info(CFont& font) {
    FontInfo info;
    EXPECT_TRUE(GetFontInfo(&font, &info));
    return info;
}

struct Placed {
    GlyphImage image;
    int x;
    int y;
};

std::vector<Placed> Lay(CFont* font, const CString& text, int x, int y, int* height = nullptr) {
    std::vector<Placed> out;
    int h = LayoutText(font, text, x, y, [&](const GlyphImage& g, int gx, int gy) {
        out.push_back({g, gx, gy});
    });
    if (height) *height = h;
    return out;
}

int Ink(const GlyphImage& g) {
    int sum = 0;
    for (int y = 0; y < g.height; ++y) {
        for (int x = 0; x < g.width; ++x) sum += g.coverage[y * g.pitch + x] != 0;
    }
    return sum;
}

// A hollow box: every edge pixel full, every inner pixel empty.
bool IsHollowBox(const GlyphImage& g) {
    if (g.width < 3 || g.height < 3) return false;
    for (int y = 0; y < g.height; ++y) {
        for (int x = 0; x < g.width; ++x) {
            bool edge = x == 0 || y == 0 || x == g.width - 1 || y == g.height - 1;
            if ((g.coverage[y * g.pitch + x] == 255) != edge) return false;
        }
    }
    return true;
}

}  // namespace

TEST(FontTest, ResolvesJapaneseAndLatinFaces) {
    CFont gothic;
    ASSERT_TRUE(Create(gothic, -11, "ＭＳ ゴシック"));
    EXPECT_EQ(Info(gothic).family, "IPAGothic");
    EXPECT_EQ(Info(gothic).pixelHeight, 11);

    CFont ascii;
    ASSERT_TRUE(Create(ascii, -11, "MS Gothic", 0));
    EXPECT_EQ(Info(ascii).family, "IPAGothic");

    CFont proportional;
    ASSERT_TRUE(Create(proportional, -11, "ＭＳ Ｐゴシック"));
    EXPECT_EQ(Info(proportional).family, "IPAPGothic");

    // An unknown Japanese name still gets a face that can show Japanese.
    CFont unknown;
    ASSERT_TRUE(Create(unknown, -11, "ＨＧ存在しない書体"));
    EXPECT_TRUE(Info(unknown).family == "IPAGothic" || Info(unknown).family == "IPAPGothic")
        << Info(unknown).family;

    CFont latin;
    ASSERT_TRUE(Create(latin, -11, "DejaVu Sans", 0));
    EXPECT_EQ(Info(latin).family, "DejaVu Sans");
    EXPECT_TRUE(Info(latin).hasFallback);
    EXPECT_FALSE(Info(gothic).hasFallback);  // it is the fallback face itself

    // No bold IPAGothic is installed: bold keeps the regular face.
    CFont bold;
    ASSERT_TRUE(Create(bold, -11, "ＭＳ ゴシック", 128, 700));
    EXPECT_EQ(Info(bold).family, "IPAGothic");

    EXPECT_EQ(Info(*quillon::platform::DefaultGuiFont()).family, "IPAGothic");
    EXPECT_EQ(Info(*quillon::platform::DefaultGuiFont()).pixelHeight, 12);
}

TEST(FontTest, HeightsAndLimits) {
    CFont font;
    ASSERT_TRUE(Create(font, 0, "ＭＳ ゴシック"));
    EXPECT_EQ(Info(font).pixelHeight, 12);  // the default size
    // IPAGothic's cell is exactly its em, so a cell of 12 is 12 pixels.
    ASSERT_TRUE(Create(font, 12, "ＭＳ ゴシック"));
    EXPECT_EQ(Info(font).pixelHeight, 12);
    // DejaVu Sans's cell is 2384/2048 em: a cell of 14 is a 12-pixel em.
    ASSERT_TRUE(Create(font, 14, "DejaVu Sans", 0));
    EXPECT_EQ(Info(font).pixelHeight, 12);
    ASSERT_TRUE(Create(font, -14, "DejaVu Sans", 0));
    EXPECT_EQ(Info(font).pixelHeight, 14);

    // A width is the average character width: IPAGothic's is half its em,
    // so a width of 12 at a height of 12 makes every glyph twice as wide.
    ASSERT_TRUE(
        font.CreateFont(-12, 12, 0, 0, 400, 0, 0, 0, 128, 0, 0, 0, 0, Sjis("ＭＳ ゴシック")));
    EXPECT_EQ(Info(font).pixelWidth, 24);
    EXPECT_EQ(Info(font).pixelHeight, 12);
    int w = 0;
    quillon::platform::MeasureText(&font, "A", &w, nullptr);
    EXPECT_EQ(w, 12);
    ASSERT_TRUE(
        font.CreateFont(-12, 6, 0, 0, 400, 0, 0, 0, 128, 0, 0, 0, 0, Sjis("ＭＳ ゴシック")));
    EXPECT_EQ(Info(font).pixelWidth, 12);
    ASSERT_TRUE(Create(font, -14, "DejaVu Sans", 0));

    // Absurd sizes fail and leave the font as it was.
    EXPECT_FALSE(Create(font, -5000, "ＭＳ ゴシック"));
    EXPECT_FALSE(Create(font, INT_MIN, "ＭＳ ゴシック"));
    EXPECT_FALSE(font.CreateFont(-11, INT_MIN, 0, 0, 400, 0, 0, 0, 128, 0, 0, 0, 0, "x"));
    EXPECT_TRUE(font.IsCreated());
    EXPECT_EQ(Info(font).pixelHeight, 14);
    font.DeleteObject();
    EXPECT_FALSE(font.IsCreated());

    // A null face name is the default face.
    EXPECT_TRUE(font.CreateFont(-11, 0, 0, 0, 400, 0, 0, 0, 128, 0, 0, 0, 0, nullptr));
    EXPECT_FALSE(Info(font).family.empty());
}

TEST(FontTest, GothicMetricsAtElevenPixels) {
    CFont font;
    ASSERT_TRUE(Create(font, -11, "ＭＳ ゴシック"));
    FontInfo info = Info(font);
    EXPECT_EQ(info.ascender, 10);
    EXPECT_EQ(info.descender, -2);
    EXPECT_EQ(quillon::platform::FontLineHeight(&font), 12);

    int w = 0;
    int h = 0;
    quillon::platform::MeasureText(&font, Sjis("日"), &w, &h);
    EXPECT_EQ(w, 11);  // full width
    EXPECT_EQ(h, 12);
    quillon::platform::MeasureText(&font, "A", &w, &h);
    EXPECT_EQ(w, 6);  // half width
    quillon::platform::MeasureText(&font, Sjis("日A\n12345"), &w, &h);
    EXPECT_EQ(w, 30);  // the wider line
    EXPECT_EQ(h, 24);
    quillon::platform::MeasureText(&font, "", &w, &h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
}

TEST(FontTest, LayoutPlacesLinesFromTheTopLeft) {
    CFont font;
    ASSERT_TRUE(Create(font, -11, "ＭＳ ゴシック"));
    int height = 0;
    std::vector<Placed> one = Lay(&font, "H", 0, 0);
    ASSERT_EQ(one.size(), 1u);
    const int left = one[0].x;  // the glyph's own left bearing
    const int top = one[0].y;   // ascender minus the glyph's top

    std::vector<Placed> lines = Lay(&font, "HH\nH", 5, 7, &height);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(height, 24);
    EXPECT_EQ(lines[0].x, 5 + left);
    EXPECT_EQ(lines[0].y, 7 + top);
    EXPECT_EQ(lines[1].x, 5 + 6 + left);  // the pen moved by one half width
    EXPECT_EQ(lines[1].y, 7 + top);
    EXPECT_EQ(lines[2].x, 5 + left);      // back to the left edge
    EXPECT_EQ(lines[2].y, 7 + 12 + top);  // one line height down

    // "\r\n" is one break; a lone '\r' takes no room; a space takes room, no ink.
    std::vector<Placed> crlf = Lay(&font, "HH\r\nH", 5, 7, &height);
    ASSERT_EQ(crlf.size(), 3u);
    EXPECT_EQ(height, 24);
    EXPECT_EQ(crlf[2].x, lines[2].x);
    EXPECT_EQ(crlf[2].y, lines[2].y);
    std::vector<Placed> cr = Lay(&font, "H\rH", 0, 0, &height);
    ASSERT_EQ(cr.size(), 2u);
    EXPECT_EQ(height, 12);
    EXPECT_EQ(cr[1].x, 6 + left);
    std::vector<Placed> space = Lay(&font, "H H", 0, 0);
    ASSERT_EQ(space.size(), 2u);
    EXPECT_EQ(space[1].x, 12 + left);
    // Trailing and empty lines count.
    Lay(&font, "H\n\n", 0, 0, &height);
    EXPECT_EQ(height, 36);
    EXPECT_TRUE(Lay(&font, "", 0, 0, &height).empty());
    EXPECT_EQ(height, 0);

    // A null font lays out with the default font; far-off positions do not
    // overflow.
    EXPECT_EQ(Lay(nullptr, "H", 0, 0).size(), 1u);
    EXPECT_EQ(Lay(&font, "HHHH", INT_MAX - 3, 0).size(), 1u);
}

TEST(FontTest, JapaneseTextProducesInkInsideItsLines) {
    CFont font;
    ASSERT_TRUE(Create(font, -11, "ＭＳ ゴシック"));
    const CString text = Sjis("CD再生\n毎週 月水金");
    int w = 0;
    int h = 0;
    quillon::platform::MeasureText(&font, text, &w, &h);
    EXPECT_EQ(w, 5 * 11 + 6);  // 毎週, a space, 月水金
    EXPECT_EQ(h, 24);
    int height = 0;
    std::vector<Placed> glyphs = Lay(&font, text, 20, 30, &height);
    ASSERT_EQ(glyphs.size(), 9u);  // the space has no ink
    for (const Placed& p : glyphs) {
        EXPECT_GT(Ink(p.image), 4);
        EXPECT_FALSE(IsHollowBox(p.image));
        EXPECT_GE(p.x, 20);
        EXPECT_LE(p.x + p.image.width, 20 + w);
        EXPECT_GE(p.y, 30);
        EXPECT_LE(p.y + p.image.height, 30 + height);
    }
    // The kanji sit on the second line, one line height below the first.
    EXPECT_LT(glyphs[3].y, 42);
    EXPECT_GE(glyphs[4].y, 42);
}

TEST(FontTest, MissingCharactersAreBoxes) {
    CFont font;
    ASSERT_TRUE(Create(font, -11, "ＭＳ ゴシック"));
    // F0 40 is the first user-defined character (U+E000): no face has it.
    // 85 40 is not a character of the code page at all (U+FFFD).
    for (const char* text : {"\xF0\x40", "\x85\x40"}) {
        std::vector<Placed> glyphs = Lay(&font, text, 0, 0);
        ASSERT_EQ(glyphs.size(), 1u) << text;
        const GlyphImage& box = glyphs[0].image;
        EXPECT_TRUE(IsHollowBox(box)) << text;
        EXPECT_EQ(box.width, 10);  // a full-width cell less one column of space
        EXPECT_GE(glyphs[0].y, 0);
        EXPECT_LE(glyphs[0].y + box.height, 10);  // above the baseline
        int w = 0;
        quillon::platform::MeasureText(&font, text, &w, nullptr);
        EXPECT_EQ(w, 11);
    }
    // A lead byte cut off at the end is one box after the good text.
    std::vector<Placed> cut = Lay(&font, "A\x82", 0, 0);
    ASSERT_EQ(cut.size(), 2u);
    EXPECT_FALSE(IsHollowBox(cut[0].image));
    EXPECT_TRUE(IsHollowBox(cut[1].image));
    EXPECT_EQ(cut[1].x, 6);
}

TEST(FontTest, GlyphsAreRenderedOnce) {
    CFont a;
    CFont b;
    ASSERT_TRUE(Create(a, -13, "ＭＳ ゴシック"));
    ASSERT_TRUE(Create(b, -13, "MS Gothic", 0));  // same file and size: same face
    EXPECT_EQ(a.Face(), b.Face());

    const CString text = Sjis("予約済");
    std::uint64_t before = quillon::platform::GlyphRenderCount();
    std::vector<Placed> first = Lay(&a, text, 0, 0);
    std::uint64_t afterFirst = quillon::platform::GlyphRenderCount();
    EXPECT_EQ(afterFirst - before, 3u);
    std::vector<Placed> second = Lay(&b, text, 0, 0);
    EXPECT_EQ(quillon::platform::GlyphRenderCount(), afterFirst);
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].image.coverage, second[i].image.coverage);
    }
    // Another size is another face with glyphs of its own.
    CFont other;
    ASSERT_TRUE(Create(other, -14, "ＭＳ ゴシック"));
    EXPECT_NE(other.Face(), a.Face());
    std::vector<Placed> third = Lay(&other, text, 0, 0);
    EXPECT_EQ(quillon::platform::GlyphRenderCount() - afterFirst, 3u);
    EXPECT_NE(third[0].image.coverage, first[0].image.coverage);
}

TEST(FontTest, LatinFaceFallsBackToTheJapaneseFace) {
    CFont latin;
    CFont gothic;
    ASSERT_TRUE(Create(latin, -11, "DejaVu Sans", 0));
    ASSERT_TRUE(Create(gothic, -11, "ＭＳ ゴシック"));
    std::vector<Placed> fromLatin = Lay(&latin, Sjis("A再"), 0, 0);
    std::vector<Placed> fromGothic = Lay(&gothic, Sjis("A再"), 0, 0);
    ASSERT_EQ(fromLatin.size(), 2u);
    ASSERT_EQ(fromGothic.size(), 2u);
    // The Latin letter is DejaVu's, the kanji is the very glyph of IPAGothic.
    EXPECT_NE(fromLatin[0].image.coverage, fromGothic[0].image.coverage);
    EXPECT_EQ(fromLatin[1].image.coverage, fromGothic[1].image.coverage);
    EXPECT_FALSE(IsHollowBox(fromLatin[1].image));
}

TEST(FontTest, UnderlineAndStrikeOutAreBars) {
    CFont font;
    ASSERT_TRUE(Create(font, -11, "ＭＳ ゴシック", 128, 400, 1));
    std::vector<Placed> glyphs = Lay(&font, "H H", 0, 0);
    // Three bars one advance long each, under the baseline, plus two letters.
    int bars = 0;
    int covered = 0;
    for (const Placed& p : glyphs) {
        if (p.y >= 10) {
            ++bars;
            covered += p.image.width;
            EXPECT_EQ(Ink(p.image), p.image.width * p.image.height);
        }
    }
    EXPECT_EQ(bars, 3);
    EXPECT_EQ(covered, 18);
}

TEST(FontTest, WithoutJapaneseFontsTextShowsBoxesAndOneWarning) {
    char dejavuDir[] = "/tmp/quillon-fonts-XXXXXX";
    char emptyDir[] = "/tmp/quillon-nofonts-XXXXXX";
    ASSERT_NE(mkdtemp(dejavuDir), nullptr);
    ASSERT_NE(mkdtemp(emptyDir), nullptr);
    const std::string dejavu = std::string(dejavuDir) + "/DejaVuSans.ttf";
    ASSERT_EQ(symlink("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", dejavu.c_str()), 0);

    quillon::platform::UseFontDirectoryForTesting(dejavuDir);
    testing::internal::CaptureStderr();
    CFont a;
    CFont b;
    ASSERT_TRUE(Create(a, -11, "ＭＳ ゴシック"));
    ASSERT_TRUE(Create(b, -12, "ＭＳ ゴシック"));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Info(a).family, "DejaVu Sans");
    EXPECT_FALSE(Info(a).hasFallback);
    EXPECT_NE(err.find("quillon: no installed font covers Japanese"), std::string::npos) << err;
    EXPECT_EQ(err.find("quillon:"), err.rfind("quillon:")) << err;  // once
    std::vector<Placed> glyphs = Lay(&a, Sjis("A再"), 0, 0);
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_FALSE(IsHollowBox(glyphs[0].image));
    EXPECT_TRUE(IsHollowBox(glyphs[1].image));

    // No fonts at all: the font still works and draws boxes.
    quillon::platform::UseFontDirectoryForTesting(emptyDir);
    testing::internal::CaptureStderr();
    CFont none;
    ASSERT_TRUE(Create(none, -11, "ＭＳ ゴシック"));
    err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("no usable font"), std::string::npos) << err;
    EXPECT_EQ(Info(none).family, "");
    EXPECT_EQ(quillon::platform::FontLineHeight(&none), 12);
    glyphs = Lay(&none, Sjis("A再"), 0, 0);
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_TRUE(IsHollowBox(glyphs[0].image));
    EXPECT_TRUE(IsHollowBox(glyphs[1].image));
    EXPECT_LT(glyphs[0].image.width, glyphs[1].image.width);  // half and full width

    quillon::platform::UseFontDirectoryForTesting(nullptr);
    CFont back;
    ASSERT_TRUE(Create(back, -11, "ＭＳ ゴシック"));
    EXPECT_EQ(Info(back).family, "IPAGothic");
    // Fonts made before the switch kept their faces.
    EXPECT_EQ(Info(a).family, "DejaVu Sans");
    unlink(dejavu.c_str());
    rmdir(dejavuDir);
    rmdir(emptyDir);
}
