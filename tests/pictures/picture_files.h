// Small picture files made by the tests themselves: BMP bytes of any header,
// GIFs from a tiny encoder, and a temporary folder to put them in.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "support/picture_encoders.h"

namespace picturetest {

using Bytes = std::vector<std::uint8_t>;

inline void Put16(Bytes* b, unsigned v) {
    b->push_back(static_cast<std::uint8_t>(v));
    b->push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void Put32(Bytes* b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b->push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
inline void Set32(Bytes* b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) (*b)[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
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
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string Path(const std::string& name) const { return (m_path / name).string(); }
    std::string Write(const std::string& name, const Bytes& bytes) const {
        std::string path = Path(name);
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (f) {
            if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
        return path;
    }

private:
    std::filesystem::path m_path;
};

inline Bytes ReadAll(const std::string& path) {
    Bytes bytes;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return bytes;
    std::uint8_t buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof(buf), f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
    std::fclose(f);
    return bytes;
}

// The description of a BMP to write; fields left alone make a well-formed
// file. `rows` holds the pixel rows as stored (bottom row first, padded).
struct BmpSpec {
    int width = 1;
    int height = 1;
    int bitCount = 24;
    std::uint32_t headerSize = 40;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    std::vector<std::uint32_t> table;  // 0x00RRGGBB entries, written blue, green, red, 0
    Bytes rows;
    std::uint32_t offsetOverride = 0;  // 0: pixel data right after the table
    std::size_t gap = 0;               // bytes between table and pixels
};

inline int Stride(int width, int bitCount) {
    return (width * bitCount + 31) / 32 * 4;
}

inline Bytes MakeBmp(const BmpSpec& s) {
    Bytes b{'B', 'M'};
    Put32(&b, 0);  // file size, patched below
    Put32(&b, 0);
    std::uint32_t offset = 14 + s.headerSize + 4 * static_cast<std::uint32_t>(s.table.size()) +
                           static_cast<std::uint32_t>(s.gap);
    Put32(&b, s.offsetOverride ? s.offsetOverride : offset);
    Put32(&b, s.headerSize);
    Put32(&b, static_cast<std::uint32_t>(s.width));
    Put32(&b, static_cast<std::uint32_t>(s.height));
    Put16(&b, 1);
    Put16(&b, static_cast<unsigned>(s.bitCount));
    Put32(&b, s.compression);
    Put32(&b, static_cast<std::uint32_t>(s.rows.size()));
    Put32(&b, 2835);
    Put32(&b, 2835);
    Put32(&b, s.colorsUsed);
    Put32(&b, 0);
    while (b.size() < 14 + s.headerSize) b.push_back(0);
    for (std::uint32_t c : s.table) {
        b.push_back(static_cast<std::uint8_t>(c));
        b.push_back(static_cast<std::uint8_t>(c >> 8));
        b.push_back(static_cast<std::uint8_t>(c >> 16));
        b.push_back(0);
    }
    b.insert(b.end(), s.gap, 0xEE);
    b.insert(b.end(), s.rows.begin(), s.rows.end());
    Set32(&b, 2, static_cast<std::uint32_t>(b.size()));
    return b;
}

// A 24-bit BMP from top-down 0x00RRGGBB pixels.
inline Bytes MakeBmp24(int width, int height, const std::vector<std::uint32_t>& topDown) {
    BmpSpec s;
    s.width = width;
    s.height = height;
    s.bitCount = 24;
    int stride = Stride(width, 24);
    s.rows.assign(static_cast<std::size_t>(stride) * height, 0);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = s.rows.data() + static_cast<std::size_t>(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            std::uint32_t c = topDown[static_cast<std::size_t>(y) * width + x];
            row[3 * x] = static_cast<std::uint8_t>(c);
            row[3 * x + 1] = static_cast<std::uint8_t>(c >> 8);
            row[3 * x + 2] = static_cast<std::uint8_t>(c >> 16);
        }
    }
    return MakeBmp(s);
}

// A grey-level BMP (red = green = blue = level) from top-down levels.
inline Bytes MakeGreyBmp(int width, int height, const std::vector<int>& levels) {
    std::vector<std::uint32_t> px(levels.size());
    for (std::size_t i = 0; i < levels.size(); ++i) {
        std::uint32_t v = static_cast<std::uint32_t>(levels[i]) & 0xFF;
        px[i] = v | (v << 8) | (v << 16);
    }
    return MakeBmp24(width, height, px);
}

// A one-frame GIF89a: a palette of up to 256 0x00RRGGBB colours, indexes top
// row first, and optionally a transparent index.
inline Bytes MakeGif(int width, int height, const std::vector<std::uint32_t>& palette,
                     const std::vector<int>& indexes, int transparent = -1) {
    quillon::testfiles::Palette table;
    for (std::uint32_t c : palette) {
        table.push_back({static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                         static_cast<std::uint8_t>(c)});
    }
    if (table.empty()) table.push_back({0, 0, 0});
    quillon::testfiles::GifFrame frame;
    for (int index : indexes) frame.indexes.push_back(static_cast<std::uint8_t>(index));
    frame.transparent = transparent;
    return quillon::testfiles::Gif(width, height, table, {frame});
}

}  // namespace picturetest
