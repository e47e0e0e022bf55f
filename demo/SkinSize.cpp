#include "SkinSize.h"

#include <cstdint>
#include <fstream>

namespace demo {
namespace {

constexpr int kEdge = 3;  // the screen's client edge on each side

std::int32_t Le32(const std::string& b, std::size_t at) {
    return static_cast<std::int32_t>(
        static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8 |
        static_cast<unsigned char>(b[at + 2]) << 16 |
        static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24);
}

}  // namespace

// Lines may be indented with TABs, as the description reader allows.
CSize SkinSize(const std::string& skinDir) {
    std::ifstream ini(skinDir + "TARVIK.INI");
    std::string line;
    bool inBg = false;
    while (std::getline(ini, line)) {
        line.erase(0, line.find_first_not_of('\t'));
        if (line.rfind("BG", 0) == 0) inBg = true;
        if (line.rfind("END", 0) == 0) inBg = false;
        auto q = line.find('"');
        if (!inBg || line.rfind("BMP", 0) != 0 || q == std::string::npos) continue;
        std::string name = line.substr(q + 1, line.find('"', q + 1) - q - 1);
        std::ifstream bmp(skinDir + name, std::ios::binary);
        std::string head(26, '\0');
        if (!bmp.read(&head[0], 26) || head[0] != 'B' || head[1] != 'M') break;
        int w = Le32(head, 18), h = Le32(head, 22);
        if (h < 0) h = -h;
        if (w > 0 && h > 0 && w <= 4096 && h <= 4096) return CSize(w + 2 * kEdge, h + 2 * kEdge);
        break;
    }
    return CSize(806, 566);
}

}  // namespace demo
