// Pixel reading and writing at every depth of a DIB section, shared by the
// drawing calls. Colours travel as "BGRX" words: the 32-bit value of a
// 32-bit pixel (blue in the low byte), so that a 32-bit row needs no
// conversion at all.
#pragma once

#include <cstdint>
#include <cstring>

#include <quillon/platform/Types.h>

#include "platform/gdi/Bitmap.h"

namespace quillon {
namespace platform {
namespace gdi {

constexpr std::uint32_t kBgrMask = 0x00FFFFFF;

inline std::uint32_t ColorToBgrx(COLORREF c) {
    return (static_cast<std::uint32_t>(GetRValue(c)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}
inline COLORREF BgrxToColor(std::uint32_t v) {
    return RGB(static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF),
               static_cast<int>(v & 0xFF));
}

// The colour table as BGRX words; 256 entries, black past the table's end so
// that no index can read outside it.
struct ColorLut {
    std::uint32_t bgrx[256];
    int count = 0;
};
inline void BuildLut(const RGBQUAD* table, int count, ColorLut* lut) {
    if (count > 256) count = 256;
    if (count < 0) count = 0;
    lut->count = count;
    for (int i = 0; i < count; ++i) {
        lut->bgrx[i] = (static_cast<std::uint32_t>(table[i].rgbRed) << 16) |
                       (static_cast<std::uint32_t>(table[i].rgbGreen) << 8) | table[i].rgbBlue;
    }
    for (int i = count; i < 256; ++i) lut->bgrx[i] = 0;
}

inline int ReadIndex(const std::uint8_t* row, int x, int bits) {
    switch (bits) {
        case 1:
            return (row[x >> 3] >> (7 - (x & 7))) & 1;
        case 4:
            return (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4);
        default:
            return row[x];
    }
}

inline void WriteIndex(std::uint8_t* row, int x, int bits, int index) {
    switch (bits) {
        case 1: {
            std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (x & 7));
            if (index & 1)
                row[x >> 3] = static_cast<std::uint8_t>(row[x >> 3] | bit);
            else
                row[x >> 3] = static_cast<std::uint8_t>(row[x >> 3] & ~bit);
            break;
        }
        case 4:
            if (x & 1)
                row[x >> 1] = static_cast<std::uint8_t>((row[x >> 1] & 0xF0) | (index & 0x0F));
            else
                row[x >> 1] =
                    static_cast<std::uint8_t>((row[x >> 1] & 0x0F) | ((index & 0x0F) << 4));
            break;
        default:
            row[x] = static_cast<std::uint8_t>(index);
            break;
    }
}

// 5-5-5 words: each component read back as its five bits times eight.
inline std::uint32_t Rgb555ToBgrx(unsigned v) {
    return (((v >> 10) & 31u) << 19) | (((v >> 5) & 31u) << 11) | ((v & 31u) << 3);
}
inline unsigned BgrxTo555(std::uint32_t v) {
    return (((v >> 19) & 31u) << 10) | (((v >> 11) & 31u) << 5) | ((v >> 3) & 31u);
}

inline std::uint32_t ReadBgrx(int bits, const std::uint8_t* row, int x, const ColorLut& lut) {
    switch (bits) {
        case 1:
        case 4:
        case 8:
            return lut.bgrx[ReadIndex(row, x, bits)];
        case 16: {
            const std::uint8_t* p = row + 2 * x;
            return Rgb555ToBgrx(p[0] | (p[1] << 8));
        }
        case 24: {
            const std::uint8_t* p = row + 3 * x;
            return p[0] | (p[1] << 8) | (static_cast<std::uint32_t>(p[2]) << 16);
        }
        default: {
            std::uint32_t v;
            std::memcpy(&v, row + 4 * x, 4);
            return v & kBgrMask;
        }
    }
}

// Remembers the last colour matched against a table, so that a run of one
// colour into an indexed picture searches the table once.
class NearestCache {
public:
    NearestCache(const RGBQUAD* table, int count) : m_table(table), m_count(count) {}
    int Index(std::uint32_t bgrx) {
        bgrx &= kBgrMask;
        if (!m_valid || bgrx != m_last) {
            m_last = bgrx;
            m_index = NearestColorIndex(m_table, m_count, BgrxToColor(bgrx));
            m_valid = true;
        }
        return m_index;
    }

private:
    const RGBQUAD* m_table;
    int m_count;
    std::uint32_t m_last = 0;
    int m_index = 0;
    bool m_valid = false;
};

// Writes the colour's blue, green and red; the fourth byte of a 32-bit pixel
// and bit 15 of a 16-bit pixel are kept.
inline void WriteBgrx(int bits, std::uint8_t* row, int x, std::uint32_t v, NearestCache* nearest) {
    switch (bits) {
        case 1:
        case 4:
        case 8:
            WriteIndex(row, x, bits, nearest->Index(v));
            break;
        case 16: {
            std::uint8_t* p = row + 2 * x;
            unsigned w = (static_cast<unsigned>(p[1]) << 8 & 0x8000u) | BgrxTo555(v);
            p[0] = static_cast<std::uint8_t>(w);
            p[1] = static_cast<std::uint8_t>(w >> 8);
            break;
        }
        case 24: {
            std::uint8_t* p = row + 3 * x;
            p[0] = static_cast<std::uint8_t>(v);
            p[1] = static_cast<std::uint8_t>(v >> 8);
            p[2] = static_cast<std::uint8_t>(v >> 16);
            break;
        }
        default: {
            std::uint8_t* p = row + 4 * x;
            p[0] = static_cast<std::uint8_t>(v);
            p[1] = static_cast<std::uint8_t>(v >> 8);
            p[2] = static_cast<std::uint8_t>(v >> 16);
            break;
        }
    }
}

}  // namespace gdi
}  // namespace platform
}  // namespace quillon
