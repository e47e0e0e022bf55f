// Device-independent bitmaps and palettes with the window system's layouts:
// the 40-byte information header, colour tables of blue, green, red, 0, and
// DIB sections whose pixel rows are stored bottom row first, each row padded
// to four bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include <quillon/platform/Types.h>

// PictureSizeAllowed: the caps every bitmap keeps.
#include "platform/decode/PictureDecoder.h"

struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40, "the information header is 40 bytes");

struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};

// The header and its colour table. The table always has room for 256
// entries; the header says how many are in use (biClrUsed, or 2^bits when
// that is 0 and bits <= 8).
struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[256];
};

struct PALETTEENTRY {
    BYTE peRed;
    BYTE peGreen;
    BYTE peBlue;
    BYTE peFlags;
};

// A logical palette: version, count and room for 256 entries.
struct LOGPALETTE {
    WORD palVersion;
    WORD palNumEntries;
    PALETTEENTRY palPalEntry[256];
};

constexpr DWORD BI_RGB = 0;
constexpr UINT DIB_RGB_COLORS = 0;

namespace quillon {
namespace platform {

// A DIB section: the header it was made from, its own copy of the colour
// table and the pixel memory.
struct DibSection {
    BITMAPINFOHEADER header{};
    std::vector<RGBQUAD> colors;  // what the creating block held, possibly fewer than 2^bits
    int width = 0;
    int height = 0;
    int bitCount = 0;
    int stride = 0;
    // Words, so that 32-bit rows can be read as words; see DibMemory.
    struct FreeMemory {
        void operator()(std::uint32_t* p) const;
    };
    std::unique_ptr<std::uint32_t[], FreeMemory> memory;
    std::uint8_t* bits = nullptr;

    // Stored row for a top-down y (0 is the top row, kept last).
    std::uint8_t* Row(int y) const {
        return bits + static_cast<std::ptrdiff_t>(height - 1 - y) * stride;
    }
};

struct PaletteObject {
    std::vector<PALETTEENTRY> entries;
};

// Bytes per stored row: the bits of a row rounded up to whole 32-bit words.
// Negative when the arguments make no row (or the row does not fit an int).
int DibStride(int width, int bitCount);

// The nearest entry of a colour table to an RGB colour (squared distance,
// the first of equals wins). 0 for an empty table.
int NearestColorIndex(const RGBQUAD* table, int count, COLORREF color);

}  // namespace platform
}  // namespace quillon

using HBITMAP = quillon::platform::DibSection*;
using HPALETTE = quillon::platform::PaletteObject*;

class CDC;

// A DIB section for the header (positive height, bit count 1, 4, 8, 16, 24 or
// 32, BI_RGB) and the colour table that follows it in the block: biClrUsed
// entries, or 2^bits when that is 0 and bits <= 8. Its bits start black.
// Null (and *bits null) when the header cannot make a picture or it is larger
// than the picture size cap. The caller deletes it with DeleteObject.
HBITMAP CreateDIBSection(CDC* dc, const BITMAPINFO* info, UINT usage, void** bits, void* section,
                         DWORD offset);
HPALETTE CreatePalette(const LOGPALETTE* palette);
// Our halftone palette: 256 entries, the eight corners of the colour cube and
// eight greys first (so the first sixteen make a useful 4-bit table), then
// the rest of a 6 x 6 x 6 colour cube, then more greys.
HPALETTE CreateHalftonePalette(CDC* dc);
UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries);
BOOL DeleteObject(HBITMAP bitmap);
BOOL DeleteObject(HPALETTE palette);
