// The public BMP test suite against an independent decoder (stb_image, used
// directly here and nowhere else in the tests).
#include <gtest/gtest.h>

#include <stb/stb_image.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "frame/pictures/DibPicture.h"
#include "picture_files.h"

namespace fs = std::filesystem;
using picturetest::Bytes;

namespace {

const fs::path kSuite = fs::path(QUILLON_TESTDATA_DIR) / "bmpsuite";

std::vector<fs::path> Files(const char* folder) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(kSuite / folder, ec))
        if (e.is_regular_file()) files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::uint32_t Le32(const Bytes& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t(b[at + 3]) << 24);
}

struct Header {
    bool bm = false;
    std::uint32_t size = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    int bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
};

Header Parse(const Bytes& b) {
    Header h;
    if (b.size() < 54) return h;
    h.bm = b[0] == 'B' && b[1] == 'M';
    h.size = Le32(b, 14);
    h.width = static_cast<std::int32_t>(Le32(b, 18));
    h.height = static_cast<std::int32_t>(Le32(b, 22));
    h.bitCount = b[28] | (b[29] << 8);
    h.compression = Le32(b, 30);
    h.colorsUsed = Le32(b, 46);
    return h;
}

bool Required(const Header& h) {
    int bc = h.bitCount;
    return h.bm && h.size == 40 && h.compression == 0 && h.height > 0 && h.width > 0 &&
           (bc == 1 || bc == 4 || bc == 8 || bc == 16 || bc == 24 || bc == 32);
}

// The reference decoding is made from a canonical copy of the file: a full
// colour table at 1, 4 and 8 bits (entries past a short table black, which
// stb would leave undefined), no table at 16, 24 and 32 bits, and the pixel
// data right after it (where the offset field points past the table, the
// data is taken from there). This stb cannot do by itself; the pixels are
// still decoded by stb alone.
Bytes Canonical(const Bytes& b, const Header& h) {
    if (!h.bm || h.size != 40 || h.bitCount < 1 || h.bitCount > 32) return b;
    std::size_t entries =
        h.colorsUsed != 0 ? h.colorsUsed : (h.bitCount <= 8 ? 1u << h.bitCount : 0);
    if (entries > 256) return b;
    std::size_t tableEnd = 54 + 4 * entries;
    std::size_t offset = Le32(b, 10);
    std::size_t pixels = std::max(offset, tableEnd);
    if (pixels > b.size()) return b;
    Bytes out(b.begin(), b.begin() + 54);
    if (h.bitCount <= 8) {
        std::size_t full = 1u << h.bitCount;
        for (std::size_t i = 0; i < full; ++i)
            for (int k = 0; k < 4; ++k) out.push_back(i < entries ? b[54 + 4 * i + k] : 0);
    }
    picturetest::Set32(&out, 46, 0);
    picturetest::Set32(&out, 10, static_cast<std::uint32_t>(out.size()));
    out.insert(out.end(), b.begin() + static_cast<std::ptrdiff_t>(pixels), b.end());
    picturetest::Set32(&out, 2, static_cast<std::uint32_t>(out.size()));
    return out;
}

// Compares our picture with stb's decoding; at 16 bits only the five bits a
// component holds are compared (we read them back times eight, stb
// replicates them).
::testing::AssertionResult SameAsStb(const fs::path& file, const CDibPicture& p) {
    Bytes bytes = picturetest::ReadAll(file.string());
    Header h = Parse(bytes);
    Bytes ref = Canonical(bytes, h);
    int w = 0, hgt = 0, n = 0;
    stbi_uc* px = stbi_load_from_memory(ref.data(), static_cast<int>(ref.size()), &w, &hgt, &n, 3);
    if (!px)
        return ::testing::AssertionFailure() << "stb cannot decode it: " << stbi_failure_reason();
    CSize size = p.GetSize();
    ::testing::AssertionResult result = ::testing::AssertionSuccess();
    if (size.cx != w || size.cy != hgt) {
        result = ::testing::AssertionFailure()
                 << "size " << size.cx << "x" << size.cy << " vs " << w << "x" << hgt;
    } else {
        const unsigned mask = p.GetBitCount() == 16 ? 0xF8 : 0xFF;
        for (int y = 0; y < hgt && result; ++y) {
            for (int x = 0; x < w; ++x) {
                const stbi_uc* s = px + 3 * (static_cast<std::size_t>(y) * w + x);
                COLORREF want = RGB(s[0] & mask, s[1] & mask, s[2] & mask);
                if (p.GetPixel(x, y) != want) {
                    result = ::testing::AssertionFailure()
                             << "pixel " << x << "," << y << ": " << std::hex << p.GetPixel(x, y)
                             << " vs " << want;
                    break;
                }
            }
        }
    }
    stbi_image_free(px);
    return result;
}

}  // namespace

TEST(BmpSuite, GoodFilesWeReadLoadLikeAnIndependentDecoder) {
    std::vector<fs::path> files = Files("g");
    ASSERT_GE(files.size(), 20u) << "bmpsuite missing under " << kSuite;
    int required = 0, loaded = 0;
    for (const fs::path& f : files) {
        SCOPED_TRACE(f.filename().string());
        Header h = Parse(picturetest::ReadAll(f.string()));
        CDibPicture p;
        bool ok = p.Load(f.c_str());
        if (Required(h)) {
            ++required;
            ASSERT_TRUE(ok);
        }
        if (ok) {
            ++loaded;
            EXPECT_TRUE(SameAsStb(f, p));
        }
    }
    // 1, 4 and 8 bits with full and short tables, 16, 24 (with a table) and 32.
    EXPECT_GE(required, 15);
    EXPECT_EQ(loaded, required);
}

TEST(BmpSuite, QuestionableAndRelatedFilesLoadCorrectlyOrFail) {
    int loaded = 0, total = 0;
    for (const char* folder : {"g", "q", "x"}) {
        for (const fs::path& f : Files(folder)) {
            SCOPED_TRACE(f.string());
            ++total;
            CDibPicture p;
            if (!p.Load(f.c_str())) {
                EXPECT_FALSE(p.IsLoaded());
                continue;
            }
            ++loaded;
            EXPECT_TRUE(SameAsStb(f, p));
        }
    }
    EXPECT_GT(total, 60);
    EXPECT_GT(loaded, 20);
}

TEST(BmpSuite, BadFilesNeverCrash) {
    std::vector<fs::path> files = Files("b");
    ASSERT_GE(files.size(), 10u);
    for (const fs::path& f : files) {
        SCOPED_TRACE(f.filename().string());
        CDibPicture p;
        bool ok = p.Load(f.c_str());
        EXPECT_EQ(ok, p.IsLoaded());
        if (ok) {
            // Whatever was read can be drawn and read back in full.
            CDibPicture target;
            ASSERT_TRUE(target.Create(64, 64, 32));
            p.DrawTo(&target, -3, -3);
            CSize s = p.GetSize();
            COLORREF sum = 0;
            for (int y = 0; y < s.cy; ++y)
                for (int x = 0; x < s.cx; ++x) sum ^= p.GetPixel(x, y);
            (void)sum;
        }
    }
    // The ones that claim what the file cannot hold fail.
    for (const char* name : {"reallybig.bmp", "shortfile.bmp", "badwidth.bmp", "badbitcount.bmp",
                             "badpalettesize.bmp", "badheadersize.bmp", "rletopdown.bmp"}) {
        CDibPicture p;
        EXPECT_FALSE(p.Load((kSuite / "b" / name).c_str())) << name;
    }
}
