// CBitmapFont over a folder whose glyph files hold the fuzzed bytes: the
// digit 0 and the file every other code shares.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "frame/pictures/BitmapFont.h"
#include "frame/pictures/DibPicture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string dir = "/tmp/quillon-fuzz-font-" + std::to_string(getpid());
    static bool made = std::filesystem::create_directories(dir) || true;
    (void)made;
    const std::string prefix = dir + "/f";
    for (const char* name : {"0.bmp", ".bmp"}) {
        std::FILE* f = std::fopen((prefix + name).c_str(), "wb");
        if (!f) return 0;
        if (size > 0) std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    CBitmapFont font(prefix.c_str());
    CDibPicture target;
    if (target.Create(64, 32, 32)) {
        target.SetClipRect(1, 1, 60, 30);
        font.DrawString(&target, RGB(255, 255, 255), "0/1A\x82\xA0", RECT{0, 0, 64, 32}, 0, 0);
        font.DrawString(&target, RGB(0, 0, 0), "00", RECT{-10, -10, 5, 5}, 2, 2);
    }
    return 0;
}
