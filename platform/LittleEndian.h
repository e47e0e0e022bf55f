// Little-endian numbers in the headers of the files we read (BMP, GIF, WAV).
#pragma once

#include <cstdint>

namespace quillon {
namespace platform {

inline std::uint32_t Le16(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8);
}
inline std::uint32_t Le32(const std::uint8_t* p) {
    return Le16(p) | (Le16(p + 2) << 16);
}

}  // namespace platform
}  // namespace quillon
