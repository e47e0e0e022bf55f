#include "resources/Cursors.h"

namespace quillon {
namespace resources {
namespace {

// '#' black, '.' white, anything else transparent.
const char* const kOpenHand[32] = {
    "                                ", "                                ",
    "                                ", "                                ",
    "              ##                ", "         ## ##..###             ",
    "        #..##..#..#             ", "        #..##..#..# ##          ",
    "         #..#..#..##..#         ", "         #..#..#..#...#         ",
    "          #..#..#..#..#         ", "      ##  #.........#..#        ",
    "     #..# #............#        ", "     #...##............#        ",
    "      #...#............#        ", "       #...............#        ",
    "       #...............#        ", "        #..............#        ",
    "        #.............#         ", "         #............#         ",
    "          #..........#          ", "          #..........#          ",
    "           #.........#          ", "           #.........#          ",
    "           ###########          ", "                                ",
    "                                ", "                                ",
    "                                ", "                                ",
    "                                ", "                                ",
};

const char* const kResizeWE[32] = {
    "                                ", "                                ",
    "                                ", "                                ",
    "                                ", "                                ",
    "                                ", "                                ",
    "                                ", "          #        #            ",
    "         ##        ##           ", "        #.#        #.#          ",
    "       #..#        #..#         ", "      #...##########...#        ",
    "     #..................#       ", "    #....................#      ",
    "    #....................#      ", "     #..................#       ",
    "      #...##########...#        ", "       #..#        #..#         ",
    "        #.#        #.#          ", "         ##        ##           ",
    "          #        #            ", "                                ",
    "                                ", "                                ",
    "                                ", "                                ",
    "                                ", "                                ",
    "                                ", "                                ",
};

MonoCursor Build(int id, int hotX, int hotY, const char* const rows[32]) {
    MonoCursor c{id, hotX, hotY, {}, {}};
    for (int y = 0; y < 32; ++y) {
        std::uint32_t andBits = 0;
        std::uint32_t xorBits = 0;
        for (int x = 0; x < 32; ++x) {
            const std::uint32_t bit = 0x80000000u >> x;
            const char p = rows[y][x];
            if (p == '.') {
                xorBits |= bit;
            } else if (p != '#') {
                andBits |= bit;
            }
        }
        c.andMask[y] = andBits;
        c.xorMask[y] = xorBits;
    }
    return c;
}

}  // namespace

const MonoCursor* FindCursor(int id) {
    static const MonoCursor hand = Build(1004, 15, 15, kOpenHand);
    static const MonoCursor resize = Build(1006, 15, 16, kResizeWE);
    if (id == hand.id) return &hand;
    if (id == resize.id) return &resize;
    return nullptr;
}

}  // namespace resources
}  // namespace quillon
