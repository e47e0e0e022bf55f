#include "platform/gdi/Bitmap.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

#include <sys/mman.h>

#include "platform/decode/PictureDecoder.h"

namespace quillon {
namespace platform {

int DibStride(int width, int bitCount) {
    if (width <= 0 || bitCount <= 0) return -1;
    std::int64_t bits = std::int64_t{width} * bitCount;
    std::int64_t stride = (bits + 31) / 32 * 4;
    return stride > INT_MAX ? -1 : static_cast<int>(stride);
}

int NearestColorIndex(const RGBQUAD* table, int count, COLORREF color) {
    int best = 0;
    long bestDistance = LONG_MAX;
    int r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
    for (int i = 0; i < count; ++i) {
        long dr = table[i].rgbRed - r, dg = table[i].rgbGreen - g, db = table[i].rgbBlue - b;
        long d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
            if (d == 0) break;
        }
    }
    return best;
}

namespace {

// 256 entries: cube corners, eight greys, the rest of the 6-level cube, then
// greys between those already present.
std::vector<PALETTEENTRY> MakeHalftone() {
    std::vector<PALETTEENTRY> entries;
    entries.reserve(256);
    auto add = [&entries](int r, int g, int b) {
        entries.push_back(
            PALETTEENTRY{static_cast<BYTE>(r), static_cast<BYTE>(g), static_cast<BYTE>(b), 0});
    };
    for (int i = 0; i < 8; ++i) add(i & 1 ? 255 : 0, i & 2 ? 255 : 0, i & 4 ? 255 : 0);
    for (int i = 1; i <= 8; ++i) {
        int v = (255 * i + 4) / 9;
        add(v, v, v);
    }
    for (int r = 0; r < 6; ++r) {
        for (int g = 0; g < 6; ++g) {
            for (int b = 0; b < 6; ++b) {
                bool corner = (r == 0 || r == 5) && (g == 0 || g == 5) && (b == 0 || b == 5);
                if (!corner) add(r * 51, g * 51, b * 51);
            }
        }
    }
    auto present = [&entries](int v) {
        return std::any_of(entries.begin(), entries.end(), [v](const PALETTEENTRY& e) {
            return e.peRed == v && e.peGreen == v && e.peBlue == v;
        });
    };
    for (int v = 4; entries.size() < 256 && v < 256; v += 8) {
        int grey = v;
        while (grey < 255 && present(grey)) ++grey;
        if (!present(grey)) add(grey, grey, grey);
    }
    for (int v = 1; entries.size() < 256 && v < 255; ++v) {
        if (!present(v)) add(v, v, v);
    }
    return entries;
}

// Large pictures (the off-screen frame) are drawn into in short rows a page
// apart; huge pages keep that from missing the TLB on nearly every row. The
// memory is zeroed (a new section is black) and given back with free().
constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::uint32_t* AllocateDibMemory(std::size_t words) {
    const std::size_t bytes = words * sizeof(std::uint32_t);
    if (bytes < kHugePage)
        return static_cast<std::uint32_t*>(std::calloc(words, sizeof(std::uint32_t)));
    const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* p = std::aligned_alloc(kHugePage, rounded);
    if (!p) return nullptr;
#if defined(MADV_HUGEPAGE)
    madvise(p, rounded, MADV_HUGEPAGE);
#endif
    std::memset(p, 0, bytes);
    return static_cast<std::uint32_t*>(p);
}

}  // namespace

}  // namespace platform
}  // namespace quillon

void quillon::platform::DibSection::FreeMemory::operator()(std::uint32_t* p) const {
    std::free(p);
}

using quillon::platform::DibSection;
using quillon::platform::PaletteObject;

HBITMAP CreateDIBSection(CDC* /*dc*/, const BITMAPINFO* info, UINT usage, void** bits,
                         void* /*section*/, DWORD /*offset*/) {
    if (bits) *bits = nullptr;
    if (!info || usage != DIB_RGB_COLORS) return nullptr;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    int bitCount = h.biBitCount;
    if (h.biSize != sizeof(BITMAPINFOHEADER) || h.biCompression != BI_RGB) return nullptr;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
        bitCount != 32)
        return nullptr;
    if (!quillon::platform::PictureSizeAllowed(h.biWidth, h.biHeight)) return nullptr;
    DWORD colors = h.biClrUsed;
    if (colors == 0 && bitCount <= 8) colors = 1u << bitCount;
    if (colors > 256) return nullptr;

    auto dib = std::unique_ptr<DibSection>(new (std::nothrow) DibSection);
    if (!dib) return nullptr;
    dib->header = h;
    dib->colors.assign(info->bmiColors, info->bmiColors + colors);
    dib->width = h.biWidth;
    dib->height = h.biHeight;
    dib->bitCount = bitCount;
    dib->stride = quillon::platform::DibStride(dib->width, bitCount);
    std::size_t words =
        static_cast<std::size_t>(dib->stride / 4) * static_cast<std::size_t>(dib->height);
    // Zeroed: a new section is black (index 0 of its table).
    dib->memory.reset(quillon::platform::AllocateDibMemory(words));
    if (!dib->memory) return nullptr;
    dib->bits = reinterpret_cast<std::uint8_t*>(dib->memory.get());
    if (bits) *bits = dib->bits;
    return dib.release();
}

HPALETTE CreatePalette(const LOGPALETTE* palette) {
    if (!palette || palette->palVersion != 0x300 || palette->palNumEntries > 256) return nullptr;
    auto* p = new PaletteObject;
    p->entries.assign(palette->palPalEntry, palette->palPalEntry + palette->palNumEntries);
    return p;
}

HPALETTE CreateHalftonePalette(CDC* /*dc*/) {
    static const std::vector<PALETTEENTRY> halftone = quillon::platform::MakeHalftone();
    auto* p = new PaletteObject;
    p->entries = halftone;
    return p;
}

UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries) {
    if (!palette || start >= palette->entries.size()) return 0;
    UINT n = std::min<UINT>(count, static_cast<UINT>(palette->entries.size()) - start);
    if (entries) std::copy_n(palette->entries.begin() + start, n, entries);
    return n;
}

BOOL DeleteObject(HBITMAP bitmap) {
    if (!bitmap) return FALSE;
    delete bitmap;
    return TRUE;
}

BOOL DeleteObject(HPALETTE palette) {
    if (!palette) return FALSE;
    delete palette;
    return TRUE;
}
