// Small picture files made by the tests themselves: BMP bytes of any header
// (PNG, GIF and TGA come from the encoders), a temporary folder to put them
// and descriptions in, and checks of pixels.
#pragma once

#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "support/picture_encoders.h"

namespace picturetest {

using Bytes = std::vector<std::uint8_t>;

inline void Set32(Bytes* b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) (*b)[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Checks the colours (0x00BBGGRR) of a picture's pixels at (x, y).
template <typename Picture>
void ExpectPixels(const Picture& p,
                  std::initializer_list<std::tuple<int, int, std::uint32_t>> want) {
    for (auto [x, y, c] : want) EXPECT_EQ(p.GetPixel(x, y), c) << x << "," << y;
}

// Checks every pixel of a picture against want(x, y).
template <typename Picture, typename Want>
void ExpectEvery(const Picture& p, Want want) {
    for (int y = 0; y < p.GetSize().cy; ++y)
        for (int x = 0; x < p.GetSize().cx; ++x)
            ASSERT_EQ(p.GetPixel(x, y), want(x, y)) << x << "," << y;
}

// Compares every pixel with a map, top row first, one letter a pixel: `key`
// holds the colours of the letters, in order from 'a' on.
template <typename Picture>
void ExpectMap(const Picture& p, std::vector<std::uint32_t> key,
               std::initializer_list<const char*> rows) {
    int y = 0;
    for (const char* row : rows) {
        for (int x = 0; row[x]; ++x)
            ASSERT_EQ(p.GetPixel(x, y), key.at(std::size_t(row[x] - 'a'))) << x << "," << y;
        ++y;
    }
}

// A folder of its own under the system's temporary folder, removed at the end.
class TempDir {
public:
    TempDir() {
        static int counter = 0;
        m_path = std::filesystem::temp_directory_path() /
                 ("quillon-pictures-" + std::to_string(getpid()) + "-" + std::to_string(++counter));
        std::filesystem::create_directories(m_path);
    }
    ~TempDir() { std::filesystem::remove_all(m_path, m_ec); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string Path(const std::string& name) const { return (m_path / name).string(); }
    std::string Write(const std::string& name, const Bytes& bytes) const {
        std::ofstream(Path(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return Path(name);
    }
    std::string Write(const std::string& name, const std::string& text) const {
        return Write(name, Bytes(text.begin(), text.end()));
    }

private:
    std::filesystem::path m_path;
    std::error_code m_ec;
};

// '|' stands for the TAB that separates a description's entries.
inline std::string Tabs(std::string text) {
    for (char& c : text)
        if (c == '|') c = '\t';
    return text;
}

inline Bytes ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A file (or folder) of the public BMP test suite in the test data: "g/rgb24.bmp".
inline std::string BmpSuite(const std::string& file) {
    return std::string(QUILLON_TESTDATA_DIR) + "/bmpsuite/" + file;
}

// The description of an uncompressed BMP with a 40-byte header to write;
// fields left alone make a well-formed file. `rows` holds the pixel rows as
// stored (bottom row first, padded).
struct BmpSpec {
    int width = 1;
    int height = 1;
    int bitCount = 24;
    std::uint32_t colorsUsed = 0;
    std::vector<std::uint32_t> table;  // 0x00RRGGBB entries, written blue, green, red, 0
    Bytes rows;
    std::uint32_t offsetOverride = 0;  // 0: pixel data right after the table
};

inline Bytes MakeBmp(const BmpSpec& s) {
    Bytes b(54, 0);  // compression 0 among the zeros
    b[0] = 'B';
    b[1] = 'M';
    std::uint32_t offset = 54 + 4 * std::uint32_t(s.table.size());
    Set32(&b, 10, s.offsetOverride ? s.offsetOverride : offset);
    Set32(&b, 14, 40);
    Set32(&b, 18, static_cast<std::uint32_t>(s.width));
    Set32(&b, 22, static_cast<std::uint32_t>(s.height));
    Set32(&b, 26, 1 | std::uint32_t(s.bitCount) << 16);  // planes, bit count
    Set32(&b, 34, static_cast<std::uint32_t>(s.rows.size()));
    Set32(&b, 46, s.colorsUsed);
    for (std::uint32_t c : s.table) {
        for (int k = 0; k < 4; ++k) b.push_back(static_cast<std::uint8_t>(k < 3 ? c >> 8 * k : 0));
    }
    b.insert(b.end(), s.rows.begin(), s.rows.end());
    Set32(&b, 2, static_cast<std::uint32_t>(b.size()));
    return b;
}

// A 24-bit BMP from top-down 0x00RRGGBB pixels.
inline Bytes MakeBmp24(int width, int height, const std::vector<std::uint32_t>& topDown) {
    BmpSpec s;
    s.width = width;
    s.height = height;
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    s.rows.assign(stride * height, 0);
    for (std::size_t i = 0; i < topDown.size(); ++i) {
        std::size_t at = (height - 1 - i / width) * stride + i % width * 3;
        for (int k = 0; k < 3; ++k) s.rows[at + k] = static_cast<std::uint8_t>(topDown[i] >> 8 * k);
    }
    return MakeBmp(s);
}

// A grey-level BMP (red = green = blue = level) from top-down levels.
inline Bytes MakeGreyBmp(int width, int height, const std::vector<int>& levels) {
    std::vector<std::uint32_t> px;
    for (int v : levels) px.push_back((v & 0xFF) * 0x010101u);
    return MakeBmp24(width, height, px);
}
inline Bytes MakeFlatBmp(int width, int height, int level) {
    return MakeGreyBmp(width, height, std::vector<int>(std::size_t(width) * height, level));
}

}  // namespace picturetest
