// The stretch copy. Same-depth true-colour copies without scaling go row by
// row with memcpy or word operations; everything else converts the source
// in chunks of up to kChunk pixels through a buffer on the stack, so no call
// allocates.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/gdi/DC.h"
#include "platform/gdi/Pixels.h"

using namespace quillon::platform::gdi;  // NOLINT(google-build-using-namespace)

namespace {

constexpr int kChunk = 256;

struct Source {
    const std::uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
    int bitCount = 0;
    int stride = 0;
    ColorLut lut;

    const std::uint8_t* StoredRow(int stored) const {
        return bits + static_cast<std::ptrdiff_t>(stored) * stride;
    }
};

// n pixels from sx on, one after another.
void ReadRun(const Source& s, const std::uint8_t* row, int sx, int n, std::uint32_t* out) {
    switch (s.bitCount) {
        case 32:
            for (int i = 0; i < n; ++i) {
                std::uint32_t v;
                std::memcpy(&v, row + 4 * (sx + i), 4);
                out[i] = v & kBgrMask;
            }
            break;
        case 24:
            for (int i = 0; i < n; ++i) {
                const std::uint8_t* p = row + 3 * (sx + i);
                out[i] = p[0] | (p[1] << 8) | (static_cast<std::uint32_t>(p[2]) << 16);
            }
            break;
        case 8:
            for (int i = 0; i < n; ++i) out[i] = s.lut.bgrx[row[sx + i]];
            break;
        default:
            for (int i = 0; i < n; ++i) out[i] = ReadBgrx(s.bitCount, row, sx + i, s.lut);
            break;
    }
}

template <DWORD Rop>
std::uint32_t Combine(std::uint32_t src, std::uint32_t dst) {
    if (Rop == SRCAND) return src & dst;
    if (Rop == SRCINVERT) return (src ^ dst) & kBgrMask;
    return src;
}

// Combines n converted source pixels into the destination row from x on.
template <DWORD Rop>
void ApplyRun(HBITMAP dib, std::uint8_t* row, int x, const std::uint32_t* src, int n,
              const ColorLut& dstLut, NearestCache* nearest) {
    const int bits = dib->bitCount;
    if (bits == 32) {
        auto* p = reinterpret_cast<std::uint32_t*>(row) + x;
        for (int i = 0; i < n; ++i) {
            if (Rop == SRCAND)
                p[i] &= src[i] | 0xFF000000u;
            else if (Rop == SRCINVERT)
                p[i] ^= src[i];
            else
                p[i] = (p[i] & 0xFF000000u) | src[i];
        }
        return;
    }
    for (int i = 0; i < n; ++i) {
        std::uint32_t d = Rop == SRCCOPY ? 0 : ReadBgrx(bits, row, x + i, dstLut);
        WriteBgrx(bits, row, x + i, Combine<Rop>(src[i], d), nearest);
    }
}

template <DWORD Rop>
void WordRows(HBITMAP dib, const Source& s, int x0, int x1, int y0, int y1, int sxAt0,
              int storedAtY0) {
    const int n = x1 - x0;
    for (int y = y0; y < y1; ++y) {
        auto* d = reinterpret_cast<std::uint32_t*>(dib->Row(y)) + x0;
        const std::uint8_t* srow = s.StoredRow(storedAtY0 - (y - y0)) + 4 * sxAt0;
        if (Rop == SRCCOPY) {
            std::memcpy(d, srow, static_cast<std::size_t>(n) * 4);
        } else {
            for (int i = 0; i < n; ++i) {
                std::uint32_t v;
                std::memcpy(&v, srow + 4 * i, 4);
                if (Rop == SRCAND)
                    d[i] &= v;
                else
                    d[i] ^= v;
            }
        }
    }
}

template <DWORD Rop>
void Blit(HBITMAP dib, const Source& s, const CRect& clip, int xDest, int yDest, int dw, int dh,
          int xSrc, int ySrc, int sw, int sh) {
    // Only indexed destinations read their table; building it is not free.
    ColorLut dstLut;
    if (dib->bitCount <= 8)
        BuildLut(dib->colors.data(), static_cast<int>(dib->colors.size()), &dstLut);
    NearestCache nearest(dib->colors.data(), static_cast<int>(dib->colors.size()));
    std::uint32_t buffer[kChunk];

    if (sw == dw && sh == dh) {
        // Source pixel (xSrc + dx, top-down row dy of the rectangle); keep only
        // the destination pixels whose source lies inside the source bits.
        std::int64_t x0 = std::max<std::int64_t>({clip.left, xDest, std::int64_t{xDest} - xSrc});
        std::int64_t x1 = std::min<std::int64_t>(
            {clip.right, std::int64_t{xDest} + dw, std::int64_t{xDest} - xSrc + s.width});
        // stored = ySrc + sh - 1 - (y - yDest) must lie in [0, height).
        std::int64_t top = std::int64_t{yDest} + ySrc + sh - s.height;
        std::int64_t bottom = std::int64_t{yDest} + ySrc + sh;
        std::int64_t y0 = std::max<std::int64_t>({clip.top, yDest, top});
        std::int64_t y1 = std::min<std::int64_t>({clip.bottom, std::int64_t{yDest} + dh, bottom});
        if (x0 >= x1 || y0 >= y1) return;
        int sxAt0 = static_cast<int>(x0 - xDest + xSrc);
        int storedAtY0 = static_cast<int>(std::int64_t{ySrc} + sh - 1 - (y0 - yDest));
        if (Rop == SRCCOPY && s.stride == dib->stride &&
            s.StoredRow(storedAtY0) + 4 * sxAt0 == dib->Row(static_cast<int>(y0)) + 4 * x0) {
            return;  // a picture copied onto itself, as a window sharing its surface paints
        }
        if (s.bitCount == dib->bitCount && s.bitCount == 32) {
            WordRows<Rop>(dib, s, static_cast<int>(x0), static_cast<int>(x1), static_cast<int>(y0),
                          static_cast<int>(y1), sxAt0, storedAtY0);
            return;
        }
        if (Rop == SRCCOPY && s.bitCount == 24 && dib->bitCount == 32) {
            // The common background copy: four pixels from three words at a
            // time, no conversion buffer. The fourth byte is left zero, as
            // a 32-bit copy leaves the source's; nothing reads it.
            for (std::int64_t y = y0; y < y1; ++y) {
                auto* d = reinterpret_cast<std::uint32_t*>(dib->Row(static_cast<int>(y))) + x0;
                const std::uint8_t* p =
                    s.StoredRow(static_cast<int>(storedAtY0 - (y - y0))) + 3 * sxAt0;
                const std::int64_t n = x1 - x0;
                std::int64_t i = 0;
                for (; i + 4 <= n; i += 4, p += 12) {
                    std::uint32_t w[3];
                    std::memcpy(w, p, 12);
                    d[i] = w[0] & kBgrMask;
                    d[i + 1] = (w[0] >> 24) | ((w[1] & 0xFFFFu) << 8);
                    d[i + 2] = (w[1] >> 16) | ((w[2] & 0xFFu) << 16);
                    d[i + 3] = w[2] >> 8;
                }
                for (; i < n; ++i, p += 3)
                    d[i] = p[0] | (p[1] << 8) | (static_cast<std::uint32_t>(p[2]) << 16);
            }
            return;
        }
        if (Rop == SRCCOPY && s.bitCount == dib->bitCount && s.bitCount >= 16) {
            const int bpp = s.bitCount / 8;
            for (std::int64_t y = y0; y < y1; ++y) {
                std::memcpy(dib->Row(static_cast<int>(y)) + bpp * x0,
                            s.StoredRow(static_cast<int>(storedAtY0 - (y - y0))) + bpp * sxAt0,
                            static_cast<std::size_t>(x1 - x0) * bpp);
            }
            return;
        }
        for (std::int64_t y = y0; y < y1; ++y) {
            std::uint8_t* drow = dib->Row(static_cast<int>(y));
            const std::uint8_t* srow = s.StoredRow(static_cast<int>(storedAtY0 - (y - y0)));
            for (std::int64_t x = x0; x < x1; x += kChunk) {
                int n = static_cast<int>(std::min<std::int64_t>(kChunk, x1 - x));
                int sx = static_cast<int>(sxAt0 + (x - x0));
                ReadRun(s, srow, sx, n, buffer);
                ApplyRun<Rop>(dib, drow, static_cast<int>(x), buffer, n, dstLut, &nearest);
            }
        }
        return;
    }

    // Scaled: each destination pixel takes the source pixel under its centre.
    const int x0 = std::max<int>(clip.left, xDest);
    const int x1 = static_cast<int>(std::min<std::int64_t>(clip.right, std::int64_t{xDest} + dw));
    const int y0 = std::max<int>(clip.top, yDest);
    const int y1 = static_cast<int>(std::min<std::int64_t>(clip.bottom, std::int64_t{yDest} + dh));
    for (int y = y0; y < y1; ++y) {
        std::int64_t dy = std::int64_t{y} - yDest;
        std::int64_t syTop = (2 * dy + 1) * sh / (2 * std::int64_t{dh});
        std::int64_t stored = std::int64_t{ySrc} + sh - 1 - syTop;
        if (stored < 0 || stored >= s.height) continue;
        const std::uint8_t* srow = s.StoredRow(static_cast<int>(stored));
        std::uint8_t* drow = dib->Row(y);
        // Source x of destination x: (2 dx + 1) sw / (2 dw), stepped without division.
        const std::int64_t den = 2 * std::int64_t{dw};
        std::int64_t num = (2 * (std::int64_t{x0} - xDest) + 1) * sw;
        std::int64_t sx = std::int64_t{xSrc} + num / den;
        std::int64_t rem = num % den;
        const std::int64_t stepWhole = (2 * std::int64_t{sw}) / den;
        const std::int64_t stepRem = (2 * std::int64_t{sw}) % den;
        int x = x0;
        while (x < x1) {
            int n = 0;
            int first = x;
            while (x < x1 && n < kChunk) {
                if (sx >= 0 && sx < s.width) {
                    buffer[n++] = ReadBgrx(s.bitCount, srow, static_cast<int>(sx), s.lut);
                } else if (n > 0) {
                    break;
                } else {
                    first = x + 1;
                }
                ++x;
                sx += stepWhole;
                rem += stepRem;
                if (rem >= den) {
                    rem -= den;
                    ++sx;
                }
            }
            if (n > 0) ApplyRun<Rop>(dib, drow, first, buffer, n, dstLut, &nearest);
        }
    }
}

bool ValidBitCount(int bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

}  // namespace

int CDC::StretchDIBits(int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc,
                       int srcWidth, int srcHeight, const void* bits, const BITMAPINFO* info,
                       UINT usage, DWORD rop) {
    if (!m_bitmap || !bits || !info || usage != DIB_RGB_COLORS) return 0;
    if (destWidth <= 0 || destHeight <= 0 || srcWidth <= 0 || srcHeight <= 0) return 0;
    if (rop != SRCCOPY && rop != SRCAND && rop != SRCINVERT) return 0;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biSize != sizeof(BITMAPINFOHEADER) || h.biCompression != BI_RGB ||
        !ValidBitCount(h.biBitCount) ||
        !quillon::platform::PictureSizeAllowed(h.biWidth, h.biHeight))
        return 0;
    int colors = static_cast<int>(std::min<DWORD>(h.biClrUsed, 256));
    if (h.biClrUsed == 0 && h.biBitCount <= 8) colors = 1 << h.biBitCount;

    Source s;  // the table is filled only for indexed sources
    s.bits = static_cast<const std::uint8_t*>(bits);
    s.width = h.biWidth;
    s.height = h.biHeight;
    s.bitCount = h.biBitCount;
    s.stride = quillon::platform::DibStride(h.biWidth, h.biBitCount);
    if (h.biBitCount <= 8) BuildLut(info->bmiColors, colors, &s.lut);

    switch (rop) {
        case SRCAND:
            Blit<SRCAND>(m_bitmap, s, m_clip, xDest, yDest, destWidth, destHeight, xSrc, ySrc,
                         srcWidth, srcHeight);
            break;
        case SRCINVERT:
            Blit<SRCINVERT>(m_bitmap, s, m_clip, xDest, yDest, destWidth, destHeight, xSrc, ySrc,
                            srcWidth, srcHeight);
            break;
        default:
            Blit<SRCCOPY>(m_bitmap, s, m_clip, xDest, yDest, destWidth, destHeight, xSrc, ySrc,
                          srcWidth, srcHeight);
            break;
    }
    return destHeight;
}
