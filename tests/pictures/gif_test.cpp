#include <gtest/gtest.h>

#include "frame/pictures/DibPicture.h"
#include "picture_files.h"
#include "platform/decode/PictureDecoder.h"

using picturetest::Bytes;
using picturetest::MakeGif;
using picturetest::TempDir;

namespace {

const std::vector<std::uint32_t> kPalette = {0xFF0000, 0x00FF00, 0x0000FF, 0x000000, 0xFFFFFF};
// 4 x 3, top row first.
const std::vector<int> kIndexes = {0, 1, 2, 3,  //
                                   4, 0, 1, 2,  //
                                   3, 4, 0, 1};

COLORREF Expected(int index) {
    std::uint32_t c = kPalette[static_cast<std::size_t>(index)];
    return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
}

class GifLoad : public ::testing::Test {
protected:
    void SetUp() override {
        m_plain = m_dir.Write("plain.gif", MakeGif(4, 3, kPalette, kIndexes));
        quillon::platform::DecodedPicture probe;
        if (!quillon::platform::DecodePicture(m_plain.c_str(), 0, &probe))
            GTEST_SKIP() << "the platform picture decoder cannot read GIF files yet";
    }
    TempDir m_dir;
    std::string m_plain;
};

}  // namespace

TEST_F(GifLoad, WithoutTransparencyNoMaskAndOneCopy) {
    CDibPicture gif;
    ASSERT_TRUE(gif.Load(m_plain.c_str()));
    EXPECT_EQ(gif.GetSize(), CSize(4, 3));
    EXPECT_EQ(gif.GetBitCount(), 32);
    EXPECT_EQ(gif.GetMask(), nullptr);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(gif.GetPixel(x, y), Expected(kIndexes[static_cast<std::size_t>(y * 4 + x)]));

    CDibPicture target;
    ASSERT_TRUE(target.Create(6, 5, 32));
    target.GetMemDC()->FillSolidRect(0, 0, 6, 5, RGB(1, 2, 3));
    gif.DrawTo(&target, 1, 1);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 6; ++x) {
            bool inside = x >= 1 && x < 5 && y >= 1 && y < 4;
            COLORREF want = inside
                                ? Expected(kIndexes[static_cast<std::size_t>((y - 1) * 4 + x - 1)])
                                : RGB(1, 2, 3);
            ASSERT_EQ(target.GetPixel(x, y), want) << x << "," << y;
        }
    }
}

TEST_F(GifLoad, TransparentPixelsGetAMaskAndShowTheDestination) {
    // Index 1 (green) is transparent.
    std::string path = m_dir.Write("trans.gif", MakeGif(4, 3, kPalette, kIndexes, 1));
    CDibPicture gif;
    ASSERT_TRUE(gif.Load(path.c_str()));
    CDibPicture* mask = gif.GetMask();
    ASSERT_NE(mask, nullptr);
    EXPECT_EQ(mask->GetBitCount(), 1);
    EXPECT_EQ(mask->GetSize(), CSize(4, 3));
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            int index = kIndexes[static_cast<std::size_t>(y * 4 + x)];
            bool transparent = index == 1;
            EXPECT_EQ(mask->GetPixel(x, y), transparent ? RGB(255, 255, 255) : 0u);
            // Over black, a transparent pixel is black.
            EXPECT_EQ(gif.GetPixel(x, y), transparent ? 0u : Expected(index));
        }
    }

    CDibPicture target;
    ASSERT_TRUE(target.Create(4, 3, 32));
    target.GetMemDC()->FillSolidRect(0, 0, 4, 3, RGB(90, 80, 70));
    gif.DrawTo(&target, 0, 0);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            int index = kIndexes[static_cast<std::size_t>(y * 4 + x)];
            EXPECT_EQ(target.GetPixel(x, y), index == 1 ? RGB(90, 80, 70) : Expected(index))
                << x << "," << y;
        }
    }

    // A transparent index that no pixel uses makes no mask.
    std::string unused = m_dir.Write("unused.gif", MakeGif(4, 3, kPalette, kIndexes, 7));
    ASSERT_TRUE(gif.Load(unused.c_str()));
    EXPECT_EQ(gif.GetMask(), nullptr);

    // A broken GIF fails and leaves nothing behind.
    Bytes cut = MakeGif(4, 3, kPalette, kIndexes, 1);
    cut.resize(20);
    EXPECT_FALSE(gif.Load(m_dir.Write("cut.gif", cut).c_str()));
    EXPECT_FALSE(gif.IsLoaded());
    EXPECT_EQ(gif.GetMask(), nullptr);
}

TEST_F(GifLoad, OtherFormatsGoThroughThePlatformDecoder) {
    // A PNG written by the platform's own writer comes back pixel for pixel.
    std::vector<std::uint8_t> bgrx = {10, 20, 30, 0, 40, 50, 60, 0,  //
                                      70, 80, 90, 0, 1,  2,  3,  0};
    std::string path = m_dir.Path("two.png");
    ASSERT_TRUE(quillon::platform::WritePng(path.c_str(), 2, 2, bgrx.data(), 8));
    CDibPicture png;
    ASSERT_TRUE(png.Load(path.c_str()));
    EXPECT_EQ(png.GetSize(), CSize(2, 2));
    EXPECT_EQ(png.GetPixel(0, 0), RGB(30, 20, 10));
    EXPECT_EQ(png.GetPixel(1, 1), RGB(3, 2, 1));
    EXPECT_EQ(png.GetMask(), nullptr);
    EXPECT_FALSE(png.Load(m_dir.Write("junk.png", Bytes{1, 2, 3, 4, 5}).c_str()));
}
