// The BMP reader on files built here; the public suite (bmpsuite_test) covers
// every depth against an independent decoder.

#include "frame/pictures/DibPicture.h"
#include "support/picture_files.h"

using picturetest::BmpSpec;
using picturetest::Bytes;
using picturetest::MakeBmp;

namespace {

class CountingPicture : public CDibPicture {
public:
    void OnCreated() override { ++created; }
    int created = 0;
};

// 3 x 2 at 8 bits, a table of three colours: indexes 0 1 2 on top, 2 1 0 below.
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

template <typename F>
Bytes Pal8With(F change) {
    BmpSpec s = Pal8();
    change(s);
    return MakeBmp(s);
}

}  // namespace

// Hostile headers are refused before anything is allocated (a mend: the
// reader used to trust the header). Other headers, top-down, run-length and
// two-bit files, negative widths and tables past the file: the BMP suite.
TEST(BmpLoad, ShortAndWrongHeadersFailAndLeaveNoImage) {
    picturetest::TempDir dir;
    Bytes good = MakeBmp(Pal8());
    Bytes ba = good;
    ba[1] = 'A';  // not read as BMP, and no other decoder takes it
    const std::pair<const char*, Bytes> cases[] = {
        {"pixel data one byte short", Bytes(good.begin(), good.end() - 1)},
        {"file header only", Bytes(good.begin(), good.begin() + 14)},
        {"information header cut", Bytes(good.begin(), good.begin() + 40)},
        {"colour table cut", Bytes(good.begin(), good.begin() + 60)},
        {"just BM", Bytes{'B', 'M'}},
        {"empty file", Bytes{}},
        {"BA signature", ba},
        {"zero width", Pal8With([](BmpSpec& s) { s.width = 0; })},
        {"table past the bits' reach", Pal8With([](BmpSpec& s) { s.colorsUsed = 257; })},
        {"three colours for one bit", Pal8With([](BmpSpec& s) { s.bitCount = 1; })},
        {"offset past the file", Pal8With([](BmpSpec& s) { s.offsetOverride = 5000; })},
        {"large but short", Pal8With([](BmpSpec& s) { s.width = s.height = 8000; })},
        {"past the pixel cap", Pal8With([](BmpSpec& s) { s.width = s.height = 16384; })},
        {"wider than the cap", Pal8With([](BmpSpec& s) { s.width = 16385; })},
        {"overflowing size", Pal8With([](BmpSpec& s) { s.width = s.height = 0x7FFFFFFF; })},
    };
    CountingPicture p;
    for (const auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        ASSERT_TRUE(p.Load(dir.Write("good.bmp", good).c_str()));
        EXPECT_FALSE(p.Load(dir.Write("bad.bmp", bytes).c_str()));
        EXPECT_TRUE(!p.IsLoaded() && p.GetPixel(0, 0) == 0u && p.GetMemDC() == nullptr);
    }
    EXPECT_EQ(p.created, 15);  // once for every good load, never for a bad one
    EXPECT_FALSE(p.Load(dir.Path("missing.bmp").c_str()) || p.Load(dir.Path("").c_str()));
    EXPECT_TRUE(p.DrawTo(&p, 0, 0));  // an empty picture draws nothing
}

TEST(BmpLoad, ShortTablesStrayIndexesAndALowOffset) {
    picturetest::TempDir dir;
    CDibPicture p;
    // Indexes past a short table read black rather than past the table (a mend).
    ASSERT_TRUE(p.Load(
        dir.Write("a.bmp", Pal8With([](BmpSpec& s) { s.rows = {7, 200, 255, 0, 0, 1, 3, 0}; }))
            .c_str()));
    EXPECT_EQ(p.GetPixel(1, 0), RGB(0, 255, 0));
    for (auto [x, y] : {std::pair{2, 0}, {0, 1}, {2, 1}}) EXPECT_EQ(p.GetPixel(x, y), 0u);
    BmpSpec four;
    four.width = 2;
    four.bitCount = 4;
    four.colorsUsed = 1;
    four.table = {0x808080};
    four.rows = {0x0E, 0, 0, 0};  // high nibble first
    ASSERT_TRUE(p.Load(dir.Write("b.bmp", MakeBmp(four)).c_str()));
    EXPECT_TRUE(p.GetPixel(0, 0) == RGB(128, 128, 128) && p.GetPixel(1, 0) == 0u);

    // An offset field pointing into the table is not followed. (Gaps and
    // tables in true-colour files: the BMP suite.)
    auto low = Pal8With([](BmpSpec& s) { s.offsetOverride = 20; });
    ASSERT_TRUE(p.Load(dir.Write("d.bmp", low).c_str()));
    EXPECT_EQ(p.GetPixel(1, 1), RGB(0, 255, 0));
}
