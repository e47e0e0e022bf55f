// Fonts: which face a request gets, its metrics, the layout of format-0 text,
// boxes for missing characters, the glyph cache and the fallback face.
#include "platform/text/Font.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>

#include <unistd.h>

#include <quillon/platform/Geometry.h>

#include "support/picture_files.h"

using quillon::platform::GlyphImage;
using quillon::platform::MeasureText;

namespace {

// A Japanese face name asks for the Japanese character set, a Latin one for ANSI.
bool Create(CFont& font, int height, const char* faceUtf8, int weight = 400, BYTE underline = 0,
            int width = 0) {
    const BYTE charSet = static_cast<unsigned char>(faceUtf8[0]) >= 0x80 ? 128 : 0;
    return font.CreateFont(height, width, 0, 0, weight, 0, underline, 0, charSet, 3, 2, 1, 0x34,
                           Sjis(faceUtf8));
}

quillon::platform::FontInfo Info(CFont& font) {
    quillon::platform::FontInfo info;
    EXPECT_TRUE(quillon::platform::GetFontInfo(&font, &info));
    return info;
}

struct Placed {
    GlyphImage image;
    int x, y;
};

std::vector<Placed> Lay(CFont* font, const CString& text, int x, int y, int* height = nullptr) {
    std::vector<Placed> out;
    int h =
        quillon::platform::LayoutText(font, text, x, y, [&](const GlyphImage& g, int gx, int gy) {
            out.push_back({g, gx, gy});
        });
    if (height) *height = h;
    return out;
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

TEST(FontTest, FacesSizesMetricsLayoutAndBoxesForMissingCharacters) {
    // What a request of face, height and weight gets: the family and the em
    // in pixels. No bold is installed: the regular face. Height 0 is the
    // default size; IPAGothic's cell is exactly its em; DejaVu Sans's cell is
    // 2384/2048 em, so a cell of 14 is a 12-pixel em.
    using Request = std::tuple<const char*, int, int, const char*, int>;
    const Request requests[] = {
        // clang-format off
        {"ＭＳ ゴシック", -11, 400, "IPAGothic", 11}, {"ＭＳ ゴシック", -11, 700, "IPAGothic", 11},
        {"MS Gothic", -11, 400, "IPAGothic", 11}, {"ＭＳ Ｐゴシック", -11, 400, "IPAPGothic", 11},
        {"DejaVu Sans", -11, 400, "DejaVu Sans", 11}, {"ＭＳ ゴシック", 0, 400, "IPAGothic", 12},
        {"ＭＳ ゴシック", 12, 400, "IPAGothic", 12}, {"DejaVu Sans", 14, 400, "DejaVu Sans", 12},
        {"DejaVu Sans", -14, 400, "DejaVu Sans", 14},
        // clang-format on
    };
    for (auto [face, height, weight, family, pixels] : requests) {
        CFont font;
        ASSERT_TRUE(Create(font, height, face, weight));
        EXPECT_EQ(Info(font).family, family) << face;
        // Every face but the fallback face itself falls back to IPAGothic.
        EXPECT_EQ(Info(font).hasFallback, std::string(family) != "IPAGothic") << face;
        EXPECT_EQ(Info(font).pixelHeight, pixels) << height << " " << face;
    }
    // An unknown Japanese name still gets a face that can show Japanese.
    CFont font;
    ASSERT_TRUE(Create(font, -11, "ＨＧ存在しない書体"));
    EXPECT_EQ(Info(font).family.rfind("IPA", 0), 0u) << Info(font).family;
    const auto gui = Info(*quillon::platform::DefaultGuiFont());
    EXPECT_TRUE(gui.family == "IPAGothic" && gui.pixelHeight == 12) << gui.family;
    // Absurd sizes fail and leave the font as it was.
    EXPECT_FALSE(Create(font, -5000, "ＭＳ ゴシック") || Create(font, INT_MIN, "ＭＳ ゴシック") ||
                 Create(font, -11, "x", 400, 0, INT_MIN));
    EXPECT_EQ(Info(font).pixelHeight, 11);
    EXPECT_TRUE(font.CreateFont(-11, 0, 0, 0, 400, 0, 0, 0, 128, 0, 0, 0, 0, nullptr));
    EXPECT_FALSE(Info(font).family.empty());  // a null face name is the default face
    // A width is the average character width: IPAGothic's is half its em.
    int w = 0, h = 0;
    ASSERT_TRUE(Create(font, -12, "ＭＳ ゴシック", 400, 0, 12));
    EXPECT_EQ(Info(font).pixelWidth, 24);
    MeasureText(&font, "A", &w, nullptr);
    EXPECT_EQ(w, 12);

    // The gothic at eleven pixels: full and half widths, the wider line.
    ASSERT_TRUE(Create(font, -11, "ＭＳ ゴシック"));
    EXPECT_EQ((std::vector<int>{Info(font).ascender, Info(font).descender,
                                quillon::platform::FontLineHeight(&font)}),
              (std::vector<int>{10, -2, 12}));
    using Text = std::tuple<const char*, int, int>;
    for (auto [text, width, height] :
         {Text{"日", 11, 12}, Text{"A", 6, 12}, Text{"", 0, 0}, Text{"日A\n12345", 30, 24},
          Text{"CD再生\n毎週 月水金", 61, 24}}) {
        MeasureText(&font, Sjis(text), &w, &h);
        EXPECT_EQ(CSize(w, h), CSize(width, height)) << text;
    }

    // Layout with the same font, from the top left.
    int height = 0;
    std::vector<Placed> one = Lay(&font, "H", 0, 0);
    ASSERT_EQ(one.size(), 1u);
    const int left = one[0].x;  // the glyph's own left bearing
    const int top = one[0].y;   // ascender minus the glyph's top
    // "\r\n" is one break like "\n": the pen moves by a half width, then back
    // to the left edge one line height down.
    for (const char* text : {"HH\nH", "HH\r\nH"}) {
        std::vector<Placed> lines = Lay(&font, text, 5, 7, &height);
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_EQ(height, 24);
        const CPoint pens[] = {{5, 7}, {5 + 6, 7}, {5, 7 + 12}};
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(CPoint(lines[i].x, lines[i].y), pens[i] + CPoint(left, top)) << i;
    }
    // A lone '\r' takes no room; a space takes room, no ink; trailing and
    // empty lines count.
    using Case = std::tuple<const char*, std::size_t, int, int>;  // glyphs, height, last x
    for (auto [text, glyphs, lines, lastX] : {Case{"H\rH", 2, 12, 6}, Case{"H H", 2, 12, 12},
                                              Case{"H\n\n", 1, 36, 0}, Case{"", 0, 0, 0}}) {
        std::vector<Placed> placed = Lay(&font, text, 0, 0, &height);
        ASSERT_EQ(placed.size(), glyphs) << text;
        EXPECT_EQ(height, lines) << text;
        if (glyphs) {
            EXPECT_EQ(placed.back().x, lastX + left) << text;
        }
    }
    // A null font lays out with the default font; far-off positions do not overflow.
    EXPECT_EQ(Lay(nullptr, "H", 0, 0).size(), 1u);
    EXPECT_EQ(Lay(&font, "HHHH", INT_MAX - 3, 0).size(), 1u);

    // Missing characters are boxes. F0 40 is the first user-defined
    // character (U+E000): no face has it; 85 40 is not a character of the
    // code page at all (U+FFFD).
    for (const char* text : {"\xF0\x40", "\x85\x40"}) {
        std::vector<Placed> glyphs = Lay(&font, text, 0, 0);
        ASSERT_EQ(glyphs.size(), 1u) << text;
        const GlyphImage& box = glyphs[0].image;
        // A full-width cell less one column of space.
        EXPECT_TRUE(IsHollowBox(box) && box.width == 10) << text;
        EXPECT_TRUE(glyphs[0].y >= 0 && glyphs[0].y + box.height <= 10);  // above the baseline
        MeasureText(&font, text, &w, nullptr);
        EXPECT_EQ(w, 11);
    }
    // A lead byte cut off at the end is one box after the good text.
    std::vector<Placed> cut = Lay(&font, "A\x82", 0, 0);
    ASSERT_EQ(cut.size(), 2u);
    EXPECT_TRUE(!IsHollowBox(cut[0].image) && IsHollowBox(cut[1].image) && cut[1].x == 6);

    // A Latin face draws its own letters and the very kanji of IPAGothic.
    CFont latin;
    ASSERT_TRUE(Create(latin, -11, "DejaVu Sans"));
    std::vector<Placed> fromLatin = Lay(&latin, Sjis("A再"), 0, 0);
    std::vector<Placed> fromGothic = Lay(&font, Sjis("A再"), 0, 0);
    ASSERT_TRUE(fromLatin.size() == 2u && fromGothic.size() == 2u);
    EXPECT_NE(fromLatin[0].image.coverage, fromGothic[0].image.coverage);
    EXPECT_EQ(fromLatin[1].image.coverage, fromGothic[1].image.coverage);
    EXPECT_FALSE(IsHollowBox(fromLatin[1].image));

    // Underline: three bars one advance long each under the baseline.
    ASSERT_TRUE(Create(font, -11, "ＭＳ ゴシック", 400, 1));
    int bars = 0, covered = 0;
    for (const Placed& p : Lay(&font, "H H", 0, 0)) {
        if (p.y < 10) continue;
        ++bars;
        covered += p.image.width;
        for (int i = 0; i < p.image.height; ++i)
            for (int x = 0; x < p.image.width; ++x)
                EXPECT_EQ(p.image.coverage[i * p.image.pitch + x], 255);
    }
    EXPECT_TRUE(bars == 3 && covered == 18) << bars << " " << covered;
}

TEST(FontTest, GlyphsAreRenderedOncePerFace) {
    CFont a, b, other;
    ASSERT_TRUE(Create(a, -13, "ＭＳ ゴシック"));
    ASSERT_TRUE(Create(b, -13, "MS Gothic"));  // same file and size: same face
    EXPECT_EQ(a.Face(), b.Face());
    const CString text = Sjis("予約済");
    const std::uint64_t before = quillon::platform::GlyphRenderCount();
    std::vector<Placed> first = Lay(&a, text, 0, 0);
    const std::uint64_t afterFirst = quillon::platform::GlyphRenderCount();
    EXPECT_EQ(afterFirst - before, 3u);
    std::vector<Placed> second = Lay(&b, text, 0, 0);
    EXPECT_EQ(quillon::platform::GlyphRenderCount(), afterFirst);
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t i = 0; i < first.size(); ++i)
        EXPECT_EQ(first[i].image.coverage, second[i].image.coverage);
    // Another size is another face with glyphs of its own.
    ASSERT_TRUE(Create(other, -14, "ＭＳ ゴシック"));
    EXPECT_NE(other.Face(), a.Face());
    std::vector<Placed> third = Lay(&other, text, 0, 0);
    EXPECT_EQ(quillon::platform::GlyphRenderCount() - afterFirst, 3u);
    EXPECT_NE(third[0].image.coverage, first[0].image.coverage);
}

TEST(FontTest, WithoutJapaneseFontsTextShowsBoxesAndOneWarning) {
    picturetest::TempDir dejavuDir, emptyDir;
    ASSERT_EQ(symlink("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                      dejavuDir.Path("DejaVuSans.ttf").c_str()),
              0);

    quillon::platform::UseFontDirectoryForTesting(dejavuDir.Path("").c_str());
    testing::internal::CaptureStderr();
    CFont a, b, none, back;
    ASSERT_TRUE(Create(a, -11, "ＭＳ ゴシック"));
    ASSERT_TRUE(Create(b, -12, "ＭＳ ゴシック"));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(Info(a).family == "DejaVu Sans" && !Info(a).hasFallback) << Info(a).family;
    EXPECT_NE(err.find("quillon: no installed font covers Japanese"), std::string::npos) << err;
    EXPECT_EQ(err.find("quillon:"), err.rfind("quillon:")) << err;  // once
    std::vector<Placed> glyphs = Lay(&a, Sjis("A再"), 0, 0);
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_TRUE(!IsHollowBox(glyphs[0].image) && IsHollowBox(glyphs[1].image));

    // No fonts at all: the font still works and draws boxes.
    quillon::platform::UseFontDirectoryForTesting(emptyDir.Path("").c_str());
    testing::internal::CaptureStderr();
    ASSERT_TRUE(Create(none, -11, "ＭＳ ゴシック"));
    err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("no usable font"), std::string::npos) << err;
    EXPECT_TRUE(Info(none).family.empty() && quillon::platform::FontLineHeight(&none) == 12);
    glyphs = Lay(&none, Sjis("A再"), 0, 0);
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_TRUE(IsHollowBox(glyphs[0].image) && IsHollowBox(glyphs[1].image));
    EXPECT_LT(glyphs[0].image.width, glyphs[1].image.width);  // half and full width

    quillon::platform::UseFontDirectoryForTesting(nullptr);
    ASSERT_TRUE(Create(back, -11, "ＭＳ ゴシック"));
    EXPECT_EQ(Info(back).family, "IPAGothic");
    EXPECT_EQ(Info(a).family, "DejaVu Sans");  // fonts made before the switch keep their faces
}
