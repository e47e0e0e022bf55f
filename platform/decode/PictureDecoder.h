// The platform picture loader for every format that is not read directly
// (PNG, JPEG, GIF's first frame, TGA, ...), and the PNG writer for screenshots.
#pragma once

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

// Decodes the file at its own pixel size and composites every pixel over a
// background whose three components all equal `fill` (transparent pixels come
// out as exactly the fill). False for a file that cannot be decoded or that
// exceeds the size cap.
bool DecodePicture(const char* path, BYTE fill, DecodedPicture* out);

// Writes 32-bit pixels (blue, green, red, unused; top row first, `stride`
// bytes a row) as an RGB PNG file.
bool WritePng(const char* path, int width, int height, const std::uint8_t* bgrx, int stride);

}  // namespace platform
}  // namespace quillon
