// Tiny writers of PNG, GIF and TGA files for tests: just enough of each
// format to build the pictures a test needs, byte by byte.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace quillon {
namespace testfiles {

using Bytes = std::vector<std::uint8_t>;
using Palette = std::vector<std::array<std::uint8_t, 3>>;

inline void Put32(Bytes& b, std::uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<std::uint8_t>(v >> s));
}
inline void Put16le(Bytes& b, int v) {
    b.push_back(static_cast<std::uint8_t>(v & 0xFF));
    b.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

inline std::uint32_t Crc32(const std::uint8_t* p, std::size_t n, std::uint32_t crc = 0) {
    crc = ~crc;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

inline std::uint32_t Adler32(const Bytes& data) {
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (std::uint8_t c : data) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

// A zlib stream of stored (uncompressed) blocks.
inline Bytes ZlibStored(const Bytes& data) {
    Bytes z = {0x78, 0x01};
    std::size_t pos = 0;
    do {
        std::size_t n = std::min<std::size_t>(65535, data.size() - pos);
        bool last = pos + n == data.size();
        z.push_back(last ? 1 : 0);
        Put16le(z, static_cast<int>(n));
        Put16le(z, static_cast<int>(~n & 0xFFFF));
        z.insert(z.end(), data.begin() + static_cast<long>(pos),
                 data.begin() + static_cast<long>(pos + n));
        pos += n;
    } while (pos < data.size());
    Put32(z, Adler32(data));
    return z;
}

// A zlib stream that inflates to about `bytes` zero bytes in a few hundred
// kilobytes: one literal, then copies of 258 bytes at distance 1.
inline Bytes ZeroBomb(std::size_t bytes) {
    Bytes z = {0x78, 0x01};
    std::uint32_t acc = 0;
    int bits = 0;
    auto put = [&](std::uint32_t v, int n) {  // least significant bit first
        acc |= v << bits;
        bits += n;
        while (bits >= 8) {
            z.push_back(static_cast<std::uint8_t>(acc));
            acc >>= 8;
            bits -= 8;
        }
    };
    auto huff = [&](std::uint32_t code, int n) {  // Huffman codes go most significant first
        for (int i = n - 1; i >= 0; --i) put((code >> i) & 1, 1);
    };
    put(1, 1);      // final block
    put(1, 2);      // fixed Huffman codes
    huff(0x30, 8);  // literal 0
    for (std::size_t done = 1; done + 258 <= bytes; done += 258) {
        huff(0xC5, 8);  // length 258
        huff(0, 5);     // distance 1
    }
    huff(0, 7);  // end of block
    if (bits) put(0, 8 - bits);
    Put32(z, 0);  // never reached by a reader that stops in time
    return z;
}

inline void Chunk(Bytes& png, const char* type, const Bytes& data) {
    Put32(png, static_cast<std::uint32_t>(data.size()));
    std::size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    Put32(png, Crc32(&png[start], png.size() - start));
}

// A PNG whose image data is the given zlib stream.
inline Bytes PngWithDeflate(int w, int h, int colorType, int depth, const Bytes& zlib,
                            bool interlaced = false) {
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes ihdr;
    Put32(ihdr, static_cast<std::uint32_t>(w));
    Put32(ihdr, static_cast<std::uint32_t>(h));
    ihdr.push_back(static_cast<std::uint8_t>(depth));
    ihdr.push_back(static_cast<std::uint8_t>(colorType));
    ihdr.push_back(0);
    ihdr.push_back(0);
    ihdr.push_back(interlaced ? 1 : 0);
    Chunk(png, "IHDR", ihdr);
    Chunk(png, "IDAT", zlib);
    Chunk(png, "IEND", {});
    return png;
}

// A PNG of already filtered rows (`raw`), stored without compression.
inline Bytes Png(int w, int h, int colorType, int depth, bool interlaced, const Bytes& raw) {
    return PngWithDeflate(w, h, colorType, depth, ZlibStored(raw), interlaced);
}

// Rows of `channels` bytes a pixel, each behind filter byte 0.
inline Bytes Rows(int w, int h, int channels, const Bytes& pixels) {
    Bytes raw;
    for (int y = 0; y < h; ++y) {
        raw.push_back(0);
        auto row = pixels.begin() + static_cast<long>(y) * w * channels;
        raw.insert(raw.end(), row, row + static_cast<long>(w) * channels);
    }
    return raw;
}

struct GifFrame {
    Bytes indexes;
    int transparent;  // -1: none
};

// A GIF89a with a global colour table; LZW without compression: a clear code
// before the table would grow past the first code width.
inline Bytes Gif(int w, int h, Palette palette, const std::vector<GifFrame>& frames, int frameW = 0,
                 int frameH = 0) {
    if (frameW == 0) frameW = w;
    if (frameH == 0) frameH = h;
    int bits = 1;
    while ((1 << bits) < static_cast<int>(palette.size())) ++bits;
    palette.resize(static_cast<std::size_t>(1) << bits);
    const int minCode = std::max(2, bits);
    Bytes g = {'G', 'I', 'F', '8', '9', 'a'};
    Put16le(g, w);
    Put16le(g, h);
    g.push_back(static_cast<std::uint8_t>(0x80 | ((bits - 1) << 4) | (bits - 1)));
    g.push_back(0);
    g.push_back(0);
    for (const auto& c : palette) g.insert(g.end(), c.begin(), c.end());
    for (const GifFrame& f : frames) {
        g.insert(g.end(), {0x21, 0xF9, 0x04});
        g.push_back(f.transparent >= 0 ? 0x01 : 0x00);
        Put16le(g, 10);
        g.push_back(static_cast<std::uint8_t>(f.transparent >= 0 ? f.transparent : 0));
        g.push_back(0);
        g.push_back(0x2C);
        Put16le(g, 0);
        Put16le(g, 0);
        Put16le(g, frameW);
        Put16le(g, frameH);
        g.push_back(0);
        g.push_back(static_cast<std::uint8_t>(minCode));
        const std::uint32_t clear = 1u << minCode;
        const int width = minCode + 1;
        Bytes data;
        std::uint32_t acc = 0;
        int n = 0;
        auto put = [&](std::uint32_t code) {
            acc |= code << n;
            n += width;
            while (n >= 8) {
                data.push_back(static_cast<std::uint8_t>(acc));
                acc >>= 8;
                n -= 8;
            }
        };
        const std::size_t run = (static_cast<std::size_t>(1) << minCode) - 2;
        for (std::size_t i = 0; i < f.indexes.size(); ++i) {
            if (i % run == 0) put(clear);
            put(f.indexes[i]);
        }
        put(clear + 1);
        if (n) data.push_back(static_cast<std::uint8_t>(acc));
        for (std::size_t pos = 0; pos < data.size(); pos += 255) {
            std::size_t len = std::min<std::size_t>(255, data.size() - pos);
            g.push_back(static_cast<std::uint8_t>(len));
            g.insert(g.end(), data.begin() + static_cast<long>(pos),
                     data.begin() + static_cast<long>(pos + len));
        }
        g.push_back(0);
    }
    g.push_back(0x3B);
    return g;
}

// An uncompressed true-colour TGA; pixels blue, green, red (, alpha).
inline Bytes Tga(int w, int h, int bpp, bool topDown, const Bytes& pixels) {
    Bytes t = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    Put16le(t, w);
    Put16le(t, h);
    t.push_back(static_cast<std::uint8_t>(bpp));
    t.push_back(static_cast<std::uint8_t>((topDown ? 0x20 : 0) | (bpp == 32 ? 8 : 0)));
    t.insert(t.end(), pixels.begin(), pixels.end());
    return t;
}

}  // namespace testfiles
}  // namespace quillon
