// The library's two cursors: their ids, hot spots, and a shape that shows
// at the hot spot and leaves the corners transparent.
#include <gtest/gtest.h>

#include "resources/Cursors.h"

using quillon::resources::FindCursor;
using quillon::resources::MonoCursor;

namespace {
bool Opaque(const MonoCursor& c, int x, int y) {
    return (c.andMask[y] & (0x80000000u >> x)) == 0;
}
}  // namespace

TEST(Cursors, HandAndResizeWithTheirHotSpots) {
    const struct { int id, hotX, hotY; } cases[] = {{1004, 15, 15}, {1006, 15, 16}};
    for (const auto& c : cases) {
        const MonoCursor* cursor = FindCursor(c.id);
        ASSERT_NE(cursor, nullptr) << c.id;
        EXPECT_EQ(std::pair(cursor->hotX, cursor->hotY), std::pair(c.hotX, c.hotY)) << c.id;
        EXPECT_TRUE(Opaque(*cursor, c.hotX, c.hotY)) << c.id;
        for (int corner : {0, 31}) EXPECT_FALSE(Opaque(*cursor, corner, corner)) << c.id;
        // A transparent pixel never inverts the screen.
        for (int y = 0; y < 32; ++y) EXPECT_EQ(cursor->andMask[y] & cursor->xorMask[y], 0u);
    }
    // The resize cursor is the same on both sides.
    const MonoCursor* resize = FindCursor(1006);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 15; ++x)
            EXPECT_EQ(Opaque(*resize, 14 - x, y), Opaque(*resize, 15 + x, y)) << x << "," << y;
    for (int id : {32512, 0}) EXPECT_EQ(FindCursor(id), nullptr) << id;
}
