// The platform picture loader for every format that is not read directly
// (PNG, JPEG, GIF's first frame, TGA, ...), and the PNG and BMP writers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include <quillon/platform/Types.h>

namespace quillon {
namespace platform {

struct DecodedPicture {
    int width = 0;
    int height = 0;
    // width * height pixels, top row first, 4 bytes each: blue, green, red, 0.
    std::vector<std::uint8_t> bgrx;
};

// The size cap: larger pictures are refused from their header, before any
// pixel memory is taken.
constexpr int kMaxPictureSide = 16384;
constexpr long long kMaxPicturePixels = 64LL * 1024 * 1024;
constexpr std::size_t kMaxPictureFileBytes = 256u * 1024 * 1024;

// Whether a picture of this size may be made, loaded or written: the caps
// hold everywhere.
inline bool PictureSizeAllowed(std::int64_t width, std::int64_t height) {
    return width >= 1 && height >= 1 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPicturePixels;
}

// Decodes the file at its own pixel size and composites every pixel over a
// background whose three components all equal `fill` (transparent pixels come
// out as exactly the fill). False for a file that cannot be decoded or that
// exceeds the size cap.
//
// Formats: PNG, JPEG, GIF (the first frame), BMP and TGA; other formats are
// refused. A pixel of straight alpha a becomes (c * a + fill * (255 - a) +
// 127) / 255. On failure `out` is left as it was.
bool DecodePicture(const char* path, BYTE fill, DecodedPicture* out);

// The same for a file already in memory.
bool DecodePictureFromMemory(const std::uint8_t* data, std::size_t size, BYTE fill,
                             DecodedPicture* out);

// Why the last DecodePicture, DecodePictureFromMemory, WritePng or WriteBmp failed
// (empty after a success).
const char* LastDecodeError();

// Writes 32-bit pixels (blue, green, red, unused; top row first, `stride`
// bytes a row) as an RGB PNG file. False for sizes beyond the cap, a stride
// shorter than a row, or a file that cannot be written.
bool WritePng(const char* path, int width, int height, const std::uint8_t* bgrx, int stride);

// The same pixels as a 24-bit BMP (40-byte header, bottom row first): the
// form every BMP reader, the library's own too, takes. Refuses what WritePng
// refuses.
bool WriteBmp(const char* path, int width, int height, const std::uint8_t* bgrx, int stride);

// The same from `pixel(x, y)`, each pixel's COLORREF, top row first.
template <class Pixel>
bool WriteBmpOf(const char* path, int width, int height, Pixel pixel) {
    // Sizes WriteBmp refuses are refused (with its reason) before any memory is taken.
    if (!PictureSizeAllowed(width, height)) return WriteBmp(path, width, height, nullptr, 0);
    std::vector<std::uint8_t> bgrx(static_cast<std::size_t>(width) * height * 4, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF c = pixel(x, y);
            std::uint8_t* q = &bgrx[(static_cast<std::size_t>(y) * width + x) * 4];
            q[0] = GetBValue(c);
            q[1] = GetGValue(c);
            q[2] = GetRValue(c);
        }
    return WriteBmp(path, width, height, bgrx.data(), width * 4);
}

}  // namespace platform
}  // namespace quillon
