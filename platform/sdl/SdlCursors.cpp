#include <cmath>

#include "platform/sdl/SdlParts.h"
#include "resources/Cursors.h"

namespace quillon {
namespace platform {
namespace sdl {
namespace {

// A 32 x 32 picture of our own: 0 transparent, 1 black, 2 white.
using Pixels = std::vector<int>;

Pixels FromMono(const resources::MonoCursor& c) {
    Pixels px(32 * 32, 0);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            std::uint32_t bit = 0x80000000u >> x;
            bool keep = (c.andMask[y] & bit) != 0;
            bool flip = (c.xorMask[y] & bit) != 0;
            // Kept and flipped (inverting) pixels have no colour cursor
            // equivalent worth the trouble: they stay transparent.
            if (!keep) px[y * 32 + x] = flip ? 2 : 1;
        }
    return px;
}

// The "no" sign, drawn here: X11 without a cursor theme shows a skull.
Pixels NoEntry() {
    Pixels px(32 * 32, 0);
    const double cx = 15.5;
    const double cy = 15.5;
    auto ink = [&](int x, int y) {
        double dx = x - cx;
        double dy = y - cy;
        double r = std::sqrt(dx * dx + dy * dy);
        bool ring = r >= 8.5 && r <= 11.5;
        bool bar = std::fabs(dx - dy) <= 2.2 && r <= 10.0;  // top-left to bottom-right
        return ring || bar;
    };
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            if (ink(x, y)) {
                px[y * 32 + x] = 1;
                continue;
            }
            for (int ny = y - 1; ny <= y + 1; ++ny)
                for (int nx = x - 1; nx <= x + 1; ++nx)
                    if (nx >= 0 && ny >= 0 && nx < 32 && ny < 32 && ink(nx, ny)) px[y * 32 + x] = 2;
        }
    return px;
}

// SDL's monochrome cursor: data 1 mask 1 black, data 0 mask 1 white.
SDL_Cursor* MonoCursor(const Pixels& px, int hotX, int hotY, int scale) {
    int side = 32 * scale;
    int rowBytes = side / 8;
    std::vector<Uint8> data(static_cast<std::size_t>(rowBytes * side), 0);
    std::vector<Uint8> mask(data.size(), 0);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            int v = px[(y / scale) * 32 + x / scale];
            if (v == 0) continue;
            std::size_t at = static_cast<std::size_t>(y * rowBytes + x / 8);
            Uint8 bit = static_cast<Uint8>(0x80 >> (x % 8));
            mask[at] |= bit;
            if (v == 1) data[at] |= bit;
        }
    return SDL_CreateCursor(data.data(), mask.data(), side, side, hotX * scale, hotY * scale);
}

SDL_SystemCursor SystemCursorFor(int id) {
    switch (id) {
        case 32513:
            return SDL_SYSTEM_CURSOR_IBEAM;
        case 32514:
            return SDL_SYSTEM_CURSOR_WAIT;
        case 32515:
            return SDL_SYSTEM_CURSOR_CROSSHAIR;
        case 32642:
            return SDL_SYSTEM_CURSOR_SIZENWSE;
        case 32643:
            return SDL_SYSTEM_CURSOR_SIZENESW;
        case 32644:
            return SDL_SYSTEM_CURSOR_SIZEWE;
        case 32645:
            return SDL_SYSTEM_CURSOR_SIZENS;
        case 32646:
            return SDL_SYSTEM_CURSOR_SIZEALL;
        case 32649:
            return SDL_SYSTEM_CURSOR_HAND;
        case 32650:
            return SDL_SYSTEM_CURSOR_WAITARROW;
        default:
            return SDL_SYSTEM_CURSOR_ARROW;  // 32512, 32516 and anything unknown
    }
}

}  // namespace

Cursors::~Cursors() {
    for (auto& made : m_made)
        if (made.second) SDL_FreeCursor(made.second);
}

SDL_Cursor* Cursors::Make(int id, int scale) {
    if (const resources::MonoCursor* mono = resources::FindCursor(id))
        return MonoCursor(FromMono(*mono), mono->hotX, mono->hotY, scale);
    if (id == 32648) return MonoCursor(NoEntry(), 15, 15, scale);
    return SDL_CreateSystemCursor(SystemCursorFor(id));
}

void Cursors::Show(int id, int scale) {
    if (id == m_shownId && scale == m_shownScale) return;
    m_shownId = id;
    m_shownScale = scale;
    if (id == 0) {
        SDL_ShowCursor(SDL_DISABLE);
        return;
    }
    std::uint64_t key = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(id)) << 8) |
                        static_cast<std::uint64_t>(scale & 0xFF);
    auto it = m_made.find(key);
    if (it == m_made.end()) it = m_made.emplace(key, Make(id, scale)).first;
    if (it->second) SDL_SetCursor(it->second);
    SDL_ShowCursor(SDL_ENABLE);
}

}  // namespace sdl
}  // namespace platform
}  // namespace quillon
