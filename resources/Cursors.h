// The library's two cursors as 32 x 32 monochrome pictures of its own:
// an open hand (1004) for moving a program bar and two opposed arrow heads
// (1006) for stretching one. A backend that shows real cursors turns them
// into its own.
#pragma once

#include <cstdint>

namespace quillon {
namespace resources {

struct MonoCursor {
    int id;
    int hotX;
    int hotY;
    // One bit per pixel, most significant bit leftmost. A pixel with its
    // AND bit set keeps the screen (XORed by its XOR bit); otherwise it is
    // black (XOR 0) or white (XOR 1).
    std::uint32_t andMask[32];
    std::uint32_t xorMask[32];
};

// 1004 or 1006; null for any other id.
const MonoCursor* FindCursor(int id);

}  // namespace resources
}  // namespace quillon
