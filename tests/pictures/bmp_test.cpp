#include <gtest/gtest.h>

#include "frame/pictures/DibPicture.h"
#include "picture_files.h"

using picturetest::BmpSpec;
using picturetest::Bytes;
using picturetest::MakeBmp;
using picturetest::Stride;
using picturetest::TempDir;

namespace {

class CountingPicture : public CDibPicture {
public:
    void OnCreated() override { ++created; }
    int created = 0;
};

// A 3 x 2 picture at 8 bits: a table of three colours, indexes 0 1 2 on the
// top row and 2 1 0 below.
BmpSpec Pal8() {
    BmpSpec s;
    s.width = 3;
    s.height = 2;
    s.bitCount = 8;
    s.colorsUsed = 3;
    s.table = {0xFF0000, 0x00FF00, 0x0000FF};
    s.rows = {2, 1, 0, 0, 0, 1, 2, 0};  // bottom row first
    return s;
}

}  // namespace

TEST(BmpLoad, EveryDepthReadsBottomUpRows) {
    TempDir dir;
    // 1 bit: black/white table, a 10-pixel row pattern.
    BmpSpec one;
    one.width = 10;
    one.height = 2;
    one.bitCount = 1;
    one.table = {0x000000, 0xFFFFFF};
    one.rows = {0xC0, 0x40, 0, 0, 0x81, 0x00, 0, 0};  // bottom: 1100000001, top: 1000000100
    CountingPicture p;
    ASSERT_TRUE(p.Load(dir.Write("one.bmp", MakeBmp(one)).c_str()));
    EXPECT_EQ(p.created, 1);
    EXPECT_EQ(p.GetSize(), CSize(10, 2));
    EXPECT_EQ(p.GetPixel(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(p.GetPixel(1, 0), 0u);
    EXPECT_EQ(p.GetPixel(7, 0), RGB(255, 255, 255));
    EXPECT_EQ(p.GetPixel(1, 1), RGB(255, 255, 255));
    EXPECT_EQ(p.GetPixel(9, 1), RGB(255, 255, 255));
    EXPECT_EQ(p.GetPixel(8, 1), 0u);

    // 4 bits: two pixels a byte, high nibble first.
    BmpSpec four;
    four.width = 3;
    four.height = 1;
    four.bitCount = 4;
    four.table.assign(16, 0);
    four.table[1] = 0x102030;
    four.table[15] = 0xA0B0C0;
    four.rows = {0x1F, 0x10, 0, 0};
    ASSERT_TRUE(p.Load(dir.Write("four.bmp", MakeBmp(four)).c_str()));
    EXPECT_EQ(p.GetPixel(0, 0), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(p.GetPixel(1, 0), RGB(0xA0, 0xB0, 0xC0));
    EXPECT_EQ(p.GetPixel(2, 0), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(p.GetColorCount(), 16);
    EXPECT_NE(p.GetPalette(), nullptr);

    ASSERT_TRUE(p.Load(dir.Write("pal8.bmp", MakeBmp(Pal8())).c_str()));
    EXPECT_EQ(p.GetPixel(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(p.GetPixel(2, 0), RGB(0, 0, 255));
    EXPECT_EQ(p.GetPixel(0, 1), RGB(0, 0, 255));
    EXPECT_EQ(p.GetBitmapInfo()->bmiHeader.biClrUsed, 3u);

    BmpSpec s16;
    s16.width = 2;
    s16.height = 1;
    s16.bitCount = 16;
    s16.rows = {0x1F, 0x7C, 0xE0, 0x03};  // red 31, green 31
    ASSERT_TRUE(p.Load(dir.Write("s16.bmp", MakeBmp(s16)).c_str()));
    EXPECT_EQ(p.GetPixel(0, 0), RGB(248, 0, 248));
    EXPECT_EQ(p.GetPixel(1, 0), RGB(0, 248, 0));

    std::vector<std::uint32_t> px = {0x112233, 0x445566, 0x778899, 0xAABBCC};
    ASSERT_TRUE(p.Load(dir.Write("s24.bmp", picturetest::MakeBmp24(2, 2, px)).c_str()));
    EXPECT_EQ(p.GetPixel(0, 0), RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(p.GetPixel(1, 1), RGB(0xAA, 0xBB, 0xCC));
    EXPECT_EQ(p.GetPalette(), nullptr);

    BmpSpec s32;
    s32.width = 1;
    s32.height = 2;
    s32.bitCount = 32;
    s32.rows = {1, 2, 3, 0, 4, 5, 6, 0};
    ASSERT_TRUE(p.Load(dir.Write("s32.bmp", MakeBmp(s32)).c_str()));
    EXPECT_EQ(p.GetPixel(0, 0), RGB(6, 5, 4));
    EXPECT_EQ(p.GetPixel(0, 1), RGB(3, 2, 1));
    EXPECT_EQ(p.created, 6);
    EXPECT_EQ(CRect(p.GetClipRect()), CRect(0, 0, 1, 2));
}

TEST(BmpLoad, ShortAndWrongHeadersFailAndLeaveNoImage) {
    TempDir dir;
    Bytes good = MakeBmp(Pal8());
    CountingPicture p;
    ASSERT_TRUE(p.Load(dir.Write("good.bmp", good).c_str()));

    auto fails = [&](const char* what, const Bytes& bytes) {
        SCOPED_TRACE(what);
        EXPECT_FALSE(p.Load(dir.Write("bad.bmp", bytes).c_str()));
        EXPECT_FALSE(p.IsLoaded());
        EXPECT_EQ(p.GetPixel(0, 0), 0u);
        EXPECT_EQ(p.GetMemDC(), nullptr);
        ASSERT_TRUE(p.Load(dir.Write("good.bmp", good).c_str()));
    };
    fails("pixel data one byte short", Bytes(good.begin(), good.end() - 1));
    fails("file header only", Bytes(good.begin(), good.begin() + 14));
    fails("information header cut", Bytes(good.begin(), good.begin() + 40));
    fails("colour table cut", Bytes(good.begin(), good.begin() + 60));
    fails("just BM", Bytes{'B', 'M'});
    fails("empty file", Bytes{});

    BmpSpec s = Pal8();
    s.headerSize = 12;
    fails("core header", MakeBmp(s));
    s.headerSize = 108;
    fails("v4 header", MakeBmp(s));
    s = Pal8();
    s.height = -2;
    fails("top-down", MakeBmp(s));
    s = Pal8();
    s.width = -3;
    fails("negative width", MakeBmp(s));
    s = Pal8();
    s.width = 0;
    fails("zero width", MakeBmp(s));
    s = Pal8();
    s.compression = 1;
    fails("run-length", MakeBmp(s));
    s = Pal8();
    s.bitCount = 2;
    fails("two bits", MakeBmp(s));
    s = Pal8();
    s.colorsUsed = 257;
    fails("table larger than the bits index", MakeBmp(s));
    s = Pal8();
    s.colorsUsed = 0x10000000;
    fails("table larger than the file", MakeBmp(s));
    s = Pal8();
    s.bitCount = 1;
    s.colorsUsed = 3;
    fails("three colours for one bit", MakeBmp(s));

    // A header claiming a huge picture fails from the header alone.
    s = Pal8();
    s.width = 8000;
    s.height = 8000;
    fails("large but short", MakeBmp(s));
    s.width = 16384;
    s.height = 16384;
    fails("past the pixel cap", MakeBmp(s));
    s.width = 16385;
    s.height = 1;
    fails("wider than the cap", MakeBmp(s));
    s.width = 0x7FFFFFFF;
    s.height = 0x7FFFFFFF;
    fails("overflowing size", MakeBmp(s));

    // Wrong signature: not read as BMP (and no other decoder takes it).
    Bytes ba = good;
    ba[1] = 'A';
    fails("BA signature", ba);
    EXPECT_FALSE(p.Load(dir.Path("missing.bmp").c_str()));
    EXPECT_FALSE(p.Load(dir.Path("").c_str()));  // a folder
    EXPECT_FALSE(p.IsLoaded());
    EXPECT_TRUE(p.DrawTo(&p, 0, 0));
}

TEST(BmpLoad, ShortTablesGapsAndStrayIndexes) {
    TempDir dir;
    CDibPicture p;
    // Indexes past a short table read black rather than past the table.
    BmpSpec s = Pal8();
    s.rows = {7, 200, 255, 0, 0, 1, 3, 0};
    ASSERT_TRUE(p.Load(dir.Write("stray.bmp", MakeBmp(s)).c_str()));
    EXPECT_EQ(p.GetPixel(1, 0), RGB(0, 255, 0));
    EXPECT_EQ(p.GetPixel(2, 0), 0u);
    EXPECT_EQ(p.GetPixel(0, 1), 0u);
    EXPECT_EQ(p.GetPixel(2, 1), 0u);

    BmpSpec four;
    four.width = 2;
    four.height = 1;
    four.bitCount = 4;
    four.colorsUsed = 1;
    four.table = {0x808080};
    four.rows = {0x0E, 0, 0, 0};
    ASSERT_TRUE(p.Load(dir.Write("four.bmp", MakeBmp(four)).c_str()));
    EXPECT_EQ(p.GetPixel(0, 0), RGB(128, 128, 128));
    EXPECT_EQ(p.GetPixel(1, 0), 0u);

    // Pixel data after a gap that the offset field steps over.
    s = Pal8();
    s.gap = 37;
    ASSERT_TRUE(p.Load(dir.Write("gap.bmp", MakeBmp(s)).c_str()));
    EXPECT_EQ(p.GetPixel(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(p.GetPixel(0, 1), RGB(0, 0, 255));
    // An offset pointing before the end of the table is not followed.
    s = Pal8();
    s.offsetOverride = 20;
    ASSERT_TRUE(p.Load(dir.Write("low.bmp", MakeBmp(s)).c_str()));
    EXPECT_EQ(p.GetPixel(1, 1), RGB(0, 255, 0));
    // ... and one past the end of the file fails.
    s.offsetOverride = 5000;
    EXPECT_FALSE(p.Load(dir.Write("far.bmp", MakeBmp(s)).c_str()));

    // A true-colour file may carry a table, which changes nothing.
    BmpSpec t;
    t.width = 1;
    t.height = 1;
    t.bitCount = 24;
    t.colorsUsed = 2;
    t.table = {0x123456, 0x654321};
    t.rows = {9, 8, 7, 0};
    ASSERT_TRUE(p.Load(dir.Write("t.bmp", MakeBmp(t)).c_str()));
    EXPECT_EQ(p.GetPixel(0, 0), RGB(7, 8, 9));
    EXPECT_EQ(p.GetPalette(), nullptr);
    t.colorsUsed = 300;
    t.table.assign(300, 0);
    EXPECT_FALSE(p.Load(dir.Write("t300.bmp", MakeBmp(t)).c_str()));
}
