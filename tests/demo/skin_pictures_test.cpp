// The skin generator's drawing kit: its shapes cover what their areas say,
// and what it encodes reads back through the screen's own loaders level for
// level, with black as the GIF's transparent colour.
#include <gtest/gtest.h>

#include <numeric>

#include "frame/pictures/DibPicture.h"
#include "skins/default/SkinPictures.h"
#include "support/picture_files.h"

namespace {

float Sum(const skin::Canvas& c) {
    return std::accumulate(c.v.begin(), c.v.end(), 0.f);
}

TEST(SkinPictures, ShapesCoverTheirAreaAndErase) {
    skin::Canvas c(64, 64);
    skin::Paint(c, skin::Circle(.5, .5, .25), 1.f);
    const float circle = 3.14159265f * 16 * 16;  // a radius of a quarter of 64 pixels
    EXPECT_NEAR(Sum(c), circle, 8);
    EXPECT_EQ(c.At(32, 32), 1.f);
    EXPECT_EQ(c.At(2, 2), 0.f);
    // Erasing by a shape leaves only what lies outside it.
    skin::Paint(c, skin::RRect(0, 0, .5, 1, 0), -1.f);
    EXPECT_NEAR(Sum(c), circle / 2, 8);
    EXPECT_EQ(c.At(20, 32), 0.f);

    // In pixels: an edge through the middle of a pixel covers half of it,
    // and a lower level laid over full coverage takes its place.
    skin::Canvas p(4, 2);
    skin::PaintPx(p, skin::RRect(0, 0, 1.5, 2, 0), .8f);
    EXPECT_FLOAT_EQ(p.At(0, 0), .8f);
    EXPECT_FLOAT_EQ(p.At(1, 1), .4f);
    EXPECT_FLOAT_EQ(p.At(2, 0), 0.f);
    skin::PaintPx(p, skin::RRect(0, 0, 4, 2, 0), .2f);
    EXPECT_FLOAT_EQ(p.At(0, 0), .2f);
}

TEST(SkinPictures, EncodedMasksLoadLevelForLevel) {
    // An odd width (padded BMP rows) and more pixels than one GIF code run.
    skin::Canvas c(41, 19);
    for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < c.w; ++x)
            c.At(x, y) = x % 7 == 0 ? 0.f : ((x * 13 + y * 7) % 256) / 255.f;
    picturetest::TempDir dir;
    const std::string bmp = dir.Write("m.bmp", skin::EncodeMaskBmp(c));
    const std::string gif = dir.Write("m.gif", skin::EncodeGif(c));
    const std::string png = dir.Path("m.png");
    ASSERT_TRUE(skin::WritePngMask(png, c));
    for (const std::string& path : {bmp, gif, png}) {
        SCOPED_TRACE(path);
        CDibPicture pic;
        ASSERT_TRUE(pic.Load(path.c_str()));
        ASSERT_EQ(pic.GetSize(), CSize(c.w, c.h));
        picturetest::ExpectEvery(pic, [&](int x, int y) {
            const int v = skin::Level(c.At(x, y));
            return RGB(v, v, v);
        });
        // Only the GIF says which pixels are transparent: exactly the black ones.
        ASSERT_EQ(pic.GetMask() != nullptr, path == gif);
        if (path == gif) {
            for (int x = 0; x < c.w; ++x)
                EXPECT_EQ(pic.GetMask()->GetPixel(x, 3) != 0, c.At(x, 3) == 0.f) << x;
        }
    }
}

}  // namespace
