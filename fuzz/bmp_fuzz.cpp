// CDibPicture::Load of any bytes (BMP read here, GIF and the rest through
// the platform decoder), then drawing what was read.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "frame/pictures/DibPicture.h"

namespace {

std::string WriteInput(const char* name, const std::uint8_t* data, std::size_t size) {
    static const std::string path =
        std::string("/tmp/quillon-fuzz-") + name + "-" + std::to_string(getpid());
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return std::string();
    if (size > 0) std::fwrite(data, 1, size, f);
    std::fclose(f);
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string path = WriteInput("bmp", data, size);
    if (path.empty()) return 0;
    CDibPicture picture;
    if (!picture.Load(path.c_str())) return 0;
    CSize size2 = picture.GetSize();
    std::uint32_t sum = 0;
    for (int y = 0; y < size2.cy && y < 64; ++y)
        for (int x = 0; x < size2.cx && x < 64; ++x) sum ^= picture.GetPixel(x, y);
    CDibPicture target;
    if (target.Create(48, 40, 32)) {
        target.SetClipRect(3, 2, 45, 37);
        picture.DrawTo(&target, -5, 7);
        picture.StretchTo(&target, RECT{1, 1, 30, 33}, RECT{0, 0, size2.cx, size2.cy});
        sum ^= target.GetPixel(10, 10);
    }
    CDibPicture indexed;
    if (indexed.Create(16, 16, 8)) picture.DrawTo(&indexed, 0, 0);
    return static_cast<int>(sum & 0);
}
