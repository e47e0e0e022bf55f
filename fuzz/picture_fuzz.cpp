// The platform picture loader on arbitrary bytes: they go through a file, as
// pictures do when a screen loads them.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <unistd.h>

#include "platform/decode/PictureDecoder.h"

namespace {

// A plain buffer, so that the clean-up at exit never sees a destroyed string.
char g_path[64];

const char* Path() {
    if (g_path[0] == '\0') {
        std::snprintf(g_path, sizeof g_path, "/tmp/quillon-fuzz-picture-%ld",
                      static_cast<long>(getpid()));
        std::atexit([] { std::remove(g_path); });
    }
    return g_path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen(Path(), "wb");
    if (f == nullptr) return 0;
    bool written = size == 0 || std::fwrite(data, 1, size, f) == size;
    std::fclose(f);
    if (!written) return 0;
    quillon::platform::DecodedPicture picture;
    // The two backgrounds the GIF loader asks for.
    BYTE fill = (size & 1) ? 255 : 0;
    if (quillon::platform::DecodePicture(Path(), fill, &picture)) {
        // A decoded picture is exactly the size it claims.
        if (picture.width < 1 || picture.height < 1 ||
            picture.bgrx.size() != static_cast<std::size_t>(picture.width) * picture.height * 4) {
            std::abort();
        }
    }
    return 0;
}
