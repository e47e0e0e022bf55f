// Tiny writers of PNG, GIF and TGA files for tests: just enough of each
// format to build the pictures a test needs, byte by byte.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace quillon {
namespace testfiles {

using Bytes = std::vector<std::uint8_t>;
using Palette = std::vector<std::array<std::uint8_t, 3>>;

inline void Put32(Bytes& b, std::uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<std::uint8_t>(v >> s));
}
// The big-endian number at `at` of bytes or chars, as PNG and xwd headers hold them.
template <typename Buffer>
std::uint32_t Be32(const Buffer& b, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<std::uint8_t>(b[at + i]);
    return v;
}
inline void Put16le(Bytes& b, int v) {
    b.push_back(static_cast<std::uint8_t>(v & 0xFF));
    b.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

// Least significant bit first, as deflate and GIF's LZW pack their codes.
struct BitWriter {
    Bytes* out;
    std::uint32_t acc = 0;
    int bits = 0;
    void Put(std::uint32_t v, int n) {
        acc |= v << bits;
        for (bits += n; bits >= 8; bits -= 8, acc >>= 8) out->push_back(std::uint8_t(acc));
    }
    void Huff(std::uint32_t code, int n) {  // Huffman codes go most significant first
        for (int i = n - 1; i >= 0; --i) Put((code >> i) & 1, 1);
    }
    void Flush() {
        if (bits) out->push_back(static_cast<std::uint8_t>(acc));
        acc = 0;
        bits = 0;
    }
};

// A zlib stream of stored (uncompressed) blocks.
inline Bytes ZlibStored(const Bytes& data) {
    Bytes z = {0x78, 0x01};
    std::size_t pos = 0;
    do {
        std::size_t n = std::min<std::size_t>(65535, data.size() - pos);
        z.push_back(pos + n == data.size() ? 1 : 0);
        Put16le(z, static_cast<int>(n));
        Put16le(z, static_cast<int>(~n & 0xFFFF));
        z.insert(z.end(), data.begin() + long(pos), data.begin() + long(pos + n));
        pos += n;
    } while (pos < data.size());
    std::uint32_t a = 1, b = 0;  // Adler-32
    for (std::uint8_t c : data) b = (b + (a = (a + c) % 65521)) % 65521;
    Put32(z, (b << 16) | a);
    return z;
}

// A zlib stream that inflates to about `bytes` zero bytes in a few hundred
// kilobytes: one literal, then copies of 258 bytes at distance 1.
inline Bytes ZeroBomb(std::size_t bytes) {
    Bytes z = {0x78, 0x01};
    BitWriter w{&z};
    w.Put(1, 1);      // final block
    w.Put(1, 2);      // fixed Huffman codes
    w.Huff(0x30, 8);  // literal 0
    for (std::size_t done = 1; done + 258 <= bytes; done += 258) {
        w.Huff(0xC5, 8);  // length 258
        w.Huff(0, 5);     // distance 1
    }
    w.Huff(0, 7);  // end of block
    w.Flush();
    Put32(z, 0);  // never reached by a reader that stops in time
    return z;
}

inline void Chunk(Bytes& png, const char* type, const Bytes& data) {
    Put32(png, static_cast<std::uint32_t>(data.size()));
    std::size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    std::uint32_t crc = ~0u;
    for (std::size_t i = start; i < png.size(); ++i) {
        crc ^= png[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    Put32(png, ~crc);
}

// A PNG whose image data is the given zlib stream.
inline Bytes PngWithDeflate(int w, int h, int colorType, int depth, const Bytes& zlib,
                            bool interlaced = false) {
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes ihdr;
    Put32(ihdr, static_cast<std::uint32_t>(w));
    Put32(ihdr, static_cast<std::uint32_t>(h));
    ihdr.insert(ihdr.end(), {std::uint8_t(depth), std::uint8_t(colorType), 0, 0, interlaced});
    Chunk(png, "IHDR", ihdr);
    Chunk(png, "IDAT", zlib);
    Chunk(png, "IEND", {});
    return png;
}

// A PNG of already filtered rows (`raw`), stored without compression.
inline Bytes Png(int w, int h, int colorType, int depth, bool interlaced, const Bytes& raw) {
    return PngWithDeflate(w, h, colorType, depth, ZlibStored(raw), interlaced);
}

struct GifFrame {
    Bytes indexes;
    int transparent;  // -1: none
};

// A GIF89a with a global colour table; LZW without compression: a clear code
// before the table would grow past the first code width.
inline Bytes Gif(int w, int h, Palette palette, const std::vector<GifFrame>& frames, int frameW = 0,
                 int frameH = 0) {
    int bits = 1;
    while ((1 << bits) < static_cast<int>(palette.size())) ++bits;
    palette.resize(std::size_t(1) << bits);
    const int minCode = std::max(2, bits);
    Bytes g = {'G', 'I', 'F', '8', '9', 'a'};
    Put16le(g, w);
    Put16le(g, h);
    g.insert(g.end(), {std::uint8_t(0x80 | ((bits - 1) << 4) | (bits - 1)), 0, 0});
    for (const auto& c : palette) g.insert(g.end(), c.begin(), c.end());
    for (const GifFrame& f : frames) {
        const bool clear = f.transparent >= 0;
        g.insert(g.end(), {0x21, 0xF9, 0x04, clear, 10, 0});
        g.insert(g.end(), {std::uint8_t(clear ? f.transparent : 0), 0, 0x2C, 0, 0, 0, 0});
        Put16le(g, frameW ? frameW : w);
        Put16le(g, frameH ? frameH : h);
        g.insert(g.end(), {0, std::uint8_t(minCode)});
        Bytes data;
        BitWriter lzw{&data};
        const std::uint32_t clearCode = 1u << minCode;
        for (std::size_t i = 0; i < f.indexes.size(); ++i) {
            if (i % (clearCode - 2) == 0) lzw.Put(clearCode, minCode + 1);
            lzw.Put(f.indexes[i], minCode + 1);
        }
        lzw.Put(clearCode + 1, minCode + 1);
        lzw.Flush();
        for (std::size_t pos = 0; pos < data.size(); pos += 255) {
            std::size_t len = std::min<std::size_t>(255, data.size() - pos);
            g.push_back(static_cast<std::uint8_t>(len));
            g.insert(g.end(), data.begin() + long(pos), data.begin() + long(pos + len));
        }
        g.push_back(0);
    }
    g.push_back(0x3B);
    return g;
}

// An uncompressed true-colour TGA, bottom row first; pixels blue, green, red.
inline Bytes Tga(int w, int h, const Bytes& pixels) {
    Bytes t = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    Put16le(t, w);
    Put16le(t, h);
    t.insert(t.end(), {24, 0});
    t.insert(t.end(), pixels.begin(), pixels.end());
    return t;
}

}  // namespace testfiles
}  // namespace quillon
