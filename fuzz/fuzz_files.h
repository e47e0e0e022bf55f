// The files a fuzz target writes beside its input: the input itself and a
// small 24-bit background picture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace fuzzfiles {

inline bool WriteFile(const char* path, const void* data, std::size_t size) {
    std::FILE* f = std::fopen(path, "wb");
    if (f == nullptr) return false;
    bool written = size == 0 || std::fwrite(data, 1, size, f) == size;
    std::fclose(f);
    return written;
}

// A side x side 24-bit BMP (side a multiple of 4: rows need no padding),
// its pixel bytes from `byte(i)`, bottom row first.
template <class Byte>
std::vector<unsigned char> Bmp24(int side, Byte byte) {
    const std::size_t pixels = static_cast<std::size_t>(side) * side * 3;
    std::vector<unsigned char> bmp(54 + pixels, 0);
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bmp[at + i] = static_cast<unsigned char>(v >> (8 * i));
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(2, static_cast<std::uint32_t>(bmp.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(side));
    put32(22, static_cast<std::uint32_t>(side));
    bmp[26] = 1;
    bmp[28] = 24;
    put32(34, static_cast<std::uint32_t>(pixels));
    for (std::size_t i = 0; i < pixels; ++i) bmp[54 + i] = byte(i);
    return bmp;
}

}  // namespace fuzzfiles
