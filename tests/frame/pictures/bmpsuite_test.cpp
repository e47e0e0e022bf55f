// The BMP reader on files built here, and on the public BMP test suite
// against an independent decoder (stb_image, used directly here and nowhere
// else in the tests).

#include <stb/stb_image.h>

#include <memory>

#include "frame/pictures/DibPicture.h"
#include "platform/LittleEndian.h"
#include "support/picture_files.h"

namespace fs = std::filesystem;
using picturetest::BmpSpec;
using picturetest::BmpSuite;
using picturetest::Bytes;
using picturetest::MakeBmp;
using quillon::platform::Le16;
using quillon::platform::Le32;

namespace {

struct CountingPicture : CDibPicture {
    void OnCreated() override { ++created; }
    int created = 0;
};

// 3 x 2 at 8 bits, a table of three colours: indexes 0 1 2 on top, 2 1 0
// below; `change` alters the description first.
Bytes Pal8(void (*change)(BmpSpec&) = nullptr) {
    BmpSpec s;
    s.width = 3;
    s.height = 2;
    s.bitCount = 8;
    s.colorsUsed = 3;
    s.table = {0xFF0000, 0x00FF00, 0x0000FF};
    s.rows = {2, 1, 0, 0, 0, 1, 2, 0};  // bottom row first
    if (change != nullptr) change(s);
    return MakeBmp(s);
}

std::vector<fs::path> Files(const char* folder) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(BmpSuite(folder), ec))
        if (e.is_regular_file()) files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

// "BM", a 40-byte information header and a bit count of 1 to 32.
bool Plain40(const Bytes& b) {
    return b.size() >= 54 && b[0] == 'B' && b[1] == 'M' && Le32(&b[14]) == 40 &&
           Le16(&b[28]) >= 1 && Le16(&b[28]) <= 32;
}

// ... with compression 0, a positive size and a bit count we read.
bool Required(const Bytes& b) {
    const int bc = Le16(&b[28]);
    return Plain40(b) && Le32(&b[30]) == 0 && std::int32_t(Le32(&b[18])) > 0 &&
           std::int32_t(Le32(&b[22])) > 0 &&
           (bc == 1 || bc == 4 || bc == 8 || bc == 16 || bc == 24 || bc == 32);
}

// The reference is decoded from a canonical copy of the file: a full colour
// table at 1, 4 and 8 bits (entries past a short table black, which stb would
// leave undefined), none at 16, 24 and 32 bits, and the pixel data right
// after it (taken from where the offset field points, if past the table).
// The pixels are still decoded by stb alone.
Bytes Canonical(const Bytes& b) {
    if (!Plain40(b)) return b;
    const int bits = Le16(&b[28]);
    std::size_t entries = Le32(&b[46]) ? Le32(&b[46]) : (bits <= 8 ? 1u << bits : 0);
    if (entries > 256) return b;
    std::size_t pixels = std::max<std::size_t>(Le32(&b[10]), 54 + 4 * entries);
    if (pixels > b.size()) return b;
    Bytes out(b.begin(), b.begin() + 54);
    for (std::size_t i = 0; bits <= 8 && i < (1u << bits); ++i)
        for (int k = 0; k < 4; ++k) out.push_back(i < entries ? b[54 + 4 * i + k] : 0);
    picturetest::Set32(&out, 46, 0);
    picturetest::Set32(&out, 10, static_cast<std::uint32_t>(out.size()));
    out.insert(out.end(), b.begin() + static_cast<std::ptrdiff_t>(pixels), b.end());
    picturetest::Set32(&out, 2, static_cast<std::uint32_t>(out.size()));
    return out;
}

// At 16 bits only the five bits a component holds are compared (we read them
// back times eight, stb replicates them).
::testing::AssertionResult SameAsStb(const fs::path& file, const CDibPicture& p) {
    Bytes ref = Canonical(picturetest::ReadAll(file.string()));
    int w = 0, h = 0, n = 0;
    std::unique_ptr<stbi_uc, void (*)(void*)> px(
        stbi_load_from_memory(ref.data(), static_cast<int>(ref.size()), &w, &h, &n, 3),
        stbi_image_free);
    if (!px) return ::testing::AssertionFailure() << "stb: " << stbi_failure_reason();
    if (p.GetSize() != CSize(w, h))
        return ::testing::AssertionFailure() << "size differs from " << w << "x" << h;
    const unsigned mask = p.GetBitCount() == 16 ? 0xF8 : 0xFF;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const stbi_uc* s = px.get() + 3 * (static_cast<std::size_t>(y) * w + x);
            COLORREF want = RGB(s[0] & mask, s[1] & mask, s[2] & mask);
            if (p.GetPixel(x, y) != want)
                return ::testing::AssertionFailure()
                       << "pixel " << x << "," << y << ": " << std::hex << p.GetPixel(x, y)
                       << " vs " << want;
        }
    }
    return ::testing::AssertionSuccess();
}

}  // namespace

// Hostile headers are refused before anything is allocated (a mend: the
// reader used to trust the header). Other headers, top-down, run-length and
// two-bit files, negative widths and tables past the file: the BMP suite.
TEST(BmpLoad, ShortAndWrongHeadersFailAndLeaveNoImage) {
    ASSERT_GE(Files("b").size(), 10u) << "bmpsuite missing under " << BmpSuite("");
    picturetest::TempDir dir;
    Bytes good = Pal8();
    Bytes ba = good;
    ba[1] = 'A';  // not read as BMP, and no other decoder takes it
    std::vector<std::pair<std::string, Bytes>> cases = {
        {"pixel data one byte short", Bytes(good.begin(), good.end() - 1)},
        {"file header only", Bytes(good.begin(), good.begin() + 14)},
        {"information header cut", Bytes(good.begin(), good.begin() + 40)},
        {"colour table cut", Bytes(good.begin(), good.begin() + 60)},
        {"just BM", Bytes{'B', 'M'}},
        {"empty file", Bytes{}},
        {"BA signature", ba},
        {"zero width", Pal8([](BmpSpec& s) { s.width = 0; })},
        {"table past the bits' reach", Pal8([](BmpSpec& s) { s.colorsUsed = 257; })},
        {"three colours for one bit", Pal8([](BmpSpec& s) { s.bitCount = 1; })},
        {"offset past the file", Pal8([](BmpSpec& s) { s.offsetOverride = 5000; })},
        {"large but short", Pal8([](BmpSpec& s) { s.width = s.height = 8000; })},
        {"past the pixel cap", Pal8([](BmpSpec& s) { s.width = s.height = 16384; })},
        {"wider than the cap", Pal8([](BmpSpec& s) { s.width = 16385; })},
        {"overflowing size", Pal8([](BmpSpec& s) { s.width = s.height = 0x7FFFFFFF; })},
    };
    // That every bad file of the suite loads cleanly or fails, and draws
    // without harm, is the bmp fuzz target's replay of the folder; here: the
    // files that claim what they cannot hold, and tables larger than the bits
    // can index or than 256 entries. (Short files, no width, a table too large
    // for the file, run-length top-down and two bits a pixel fail, each with
    // its reason, in the tools' LoadReasons test, as do a missing file and a
    // folder.)
    for (const char* name : {"b/reallybig.bmp", "b/badbitcount.bmp", "b/badheadersize.bmp",
                             "q/pal8oversizepal.bmp", "q/rgb24largepal.bmp"})
        cases.emplace_back(name, picturetest::ReadAll(BmpSuite(name)));
    CountingPicture p;
    for (const auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        ASSERT_TRUE(p.Load(dir.Write("good.bmp", good).c_str()));
        EXPECT_FALSE(p.Load(dir.Write("bad.bmp", bytes).c_str()));
        EXPECT_TRUE(!p.IsLoaded() && p.GetPixel(0, 0) == 0u && p.GetMemDC() == nullptr);
    }
    EXPECT_EQ(p.created, 20);         // once for every good load, never for a bad one
    EXPECT_TRUE(p.DrawTo(&p, 0, 0));  // an empty picture draws nothing
}

TEST(BmpLoad, ShortTablesStrayIndexesAndALowOffset) {
    picturetest::TempDir dir;
    CDibPicture p;
    // Indexes past a short table read black rather than past the table (a mend).
    ASSERT_TRUE(
        p.Load(dir.Write("a.bmp", Pal8([](BmpSpec& s) { s.rows = {7, 200, 255, 0, 0, 1, 3, 0}; }))
                   .c_str()));
    picturetest::ExpectPixels(p, {{1, 0, RGB(0, 255, 0)}, {2, 0, 0}, {0, 1, 0}, {2, 1, 0}});
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
    auto low = Pal8([](BmpSpec& s) { s.offsetOverride = 20; });
    ASSERT_TRUE(p.Load(dir.Write("d.bmp", low).c_str()));
    EXPECT_EQ(p.GetPixel(1, 1), RGB(0, 255, 0));
}

TEST(BmpSuite, GoodQuestionableAndRelatedFilesLoadLikeAnIndependentDecoderOrFail) {
    ASSERT_GE(Files("g").size(), 20u) << "bmpsuite missing under " << BmpSuite("");
    int required = 0, loaded = 0, total = 0;
    for (const char* folder : {"g", "q", "x"}) {
        for (const fs::path& f : Files(folder)) {
            SCOPED_TRACE(f.string());
            ++total;
            CDibPicture p;
            const bool ok = p.Load(f.c_str());
            EXPECT_EQ(ok, p.IsLoaded());
            // Of the good folder, exactly the plain files load.
            if (folder[0] == 'g') {
                bool plain = Required(picturetest::ReadAll(f.string()));
                required += plain;
                EXPECT_EQ(ok, plain);
            }
            // A gap before the pixels is stepped over.
            EXPECT_TRUE(ok || f.filename() != "pal8offs.bmp");
            if (ok) {
                ++loaded;
                EXPECT_TRUE(SameAsStb(f, p));
                // A table of a true-colour file changes nothing.
                EXPECT_EQ(p.GetPalette() != nullptr, p.GetBitCount() <= 8);
            }
        }
    }
    // 1, 4 and 8 bits with full and short tables, 16, 24 (with a table) and 32.
    EXPECT_TRUE(required >= 15 && total > 60 && loaded > 20) << required << total << loaded;
}
