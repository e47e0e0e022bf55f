// CMaskPicture::Load of any bytes, then drawing the runs into true-colour
// and indexed pictures with clipping.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "frame/pictures/DibPicture.h"
#include "frame/pictures/MaskPicture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/quillon-fuzz-mask-" + std::to_string(getpid());
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    if (size > 0) std::fwrite(data, 1, size, f);
    std::fclose(f);

    CMaskPicture mask;
    if (!mask.Load(path.c_str())) return 0;
    mask.SetColor(RGB(200, 30, 90));
    mask.SetOpacity(size > 0 ? data[0] + 1 : 256);
    for (int bits : {32, 24, 16, 8}) {
        CDibPicture target;
        if (!target.Create(40, 30, bits)) continue;
        target.SetClipRect(2, 3, 37, 28);
        mask.Draw(&target, -3, -2);
        mask.DrawAligned(&target, 0, 0, 40, 30, 0, 0);
        FillTranslucent(&target, 5, 5, 60, 20, RGB(1, 2, 3), 128, true);
    }
    CMaskPicture copy(mask);
    return 0;
}
