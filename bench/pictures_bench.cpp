// Picture composition: mask-run blending against pixman's solid-source a8
// OVER of the same shapes, and tiling a background into the off-screen
// picture against one memcpy of the frame.
#include <benchmark/benchmark.h>
#include <pixman.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "frame/pictures/DibPicture.h"
#include "frame/pictures/MaskPicture.h"
#include "platform/decode/PictureDecoder.h"

namespace {

constexpr COLORREF kInk = RGB(40, 170, 230);

// Coverage 0..255 of a w x h shape, 4 x 4 supersampled.
template <class Inside>
std::vector<std::uint8_t> Coverage(int w, int h, Inside inside) {
    std::vector<std::uint8_t> a(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx)
                    hits += inside(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4);
            a[static_cast<std::size_t>(y) * w + x] = static_cast<std::uint8_t>(hits * 255 / 16);
        }
    }
    return a;
}

// A round icon with a ring cut out, and a capsule-shaped bar.
std::vector<std::uint8_t> Icon() {
    return Coverage(64, 64, [](double x, double y) {
        double d = std::hypot(x - 32, y - 32);
        return d < 30 && (d < 14 || d > 19);
    });
}
std::vector<std::uint8_t> Bar() {
    return Coverage(1024, 24, [](double x, double y) {
        double cy = 12, r = 11.3;
        double cx = x < 12 ? 12 : x > 1012 ? 1012 : x;
        return std::hypot(x - cx, y - cy) < r;
    });
}

// Mask pictures are made from grey-level files.
bool LoadMask(CMaskPicture* mask, int w, int h, const std::vector<std::uint8_t>& a) {
    std::string path = "/tmp/quillon-bench-mask-" + std::to_string(getpid()) + ".bmp";
    if (!quillon::platform::WriteBmpOf(path.c_str(), w, h, [&](int x, int y) {
            return static_cast<COLORREF>(a[static_cast<std::size_t>(y) * w + x]) * 0x010101u;
        }))
        return false;
    bool ok = mask->Load(path.c_str());
    std::remove(path.c_str());
    return ok;
}

struct PixmanShape {
    std::vector<std::uint8_t> a8;
    int w = 0, h = 0;
    int stride = 0;
    pixman_image_t* image = nullptr;

    PixmanShape(int w_, int h_, const std::vector<std::uint8_t>& cov) : w(w_), h(h_) {
        stride = (w + 3) / 4 * 4;
        a8.assign(static_cast<std::size_t>(stride) * h, 0);
        for (int y = 0; y < h; ++y)
            std::memcpy(a8.data() + static_cast<std::size_t>(y) * stride,
                        cov.data() + static_cast<std::size_t>(y) * w, static_cast<std::size_t>(w));
        image = pixman_image_create_bits(PIXMAN_a8, w, h, reinterpret_cast<uint32_t*>(a8.data()),
                                         stride);
    }
    ~PixmanShape() { pixman_image_unref(image); }
    PixmanShape(const PixmanShape&) = delete;
    PixmanShape& operator=(const PixmanShape&) = delete;
};

// Where the shapes land in the 1024 x 768 frame.
constexpr int kIconX = 300, kIconY = 200, kBarX = 0, kBarY = 700;

void BM_MaskBlend_Baseline_Pixman(benchmark::State& state) {
    CDibPicture frame;
    frame.Create(1024, 768, 32);
    frame.Fill(0x60);
    pixman_image_t* dst =
        pixman_image_create_bits(PIXMAN_x8r8g8b8, 1024, 768,
                                 reinterpret_cast<uint32_t*>(frame.GetRow(767)), frame.GetStride());
    pixman_color_t ink{static_cast<uint16_t>(GetRValue(kInk) * 257),
                       static_cast<uint16_t>(GetGValue(kInk) * 257),
                       static_cast<uint16_t>(GetBValue(kInk) * 257), 0xFFFF};
    pixman_image_t* src = pixman_image_create_solid_fill(&ink);
    PixmanShape icon(64, 64, Icon()), bar(1024, 24, Bar());
    const int which = static_cast<int>(state.range(0));
    for (auto _ : state) {
        // Rows are stored bottom first: flip y for pixman's top-down view.
        if (which & 1)
            pixman_image_composite32(PIXMAN_OP_OVER, src, icon.image, dst, 0, 0, 0, 0, kIconX,
                                     768 - kIconY - 64, 64, 64);
        if (which & 2)
            pixman_image_composite32(PIXMAN_OP_OVER, src, bar.image, dst, 0, 0, 0, 0, kBarX,
                                     768 - kBarY - 24, 1024, 24);
        benchmark::DoNotOptimize(frame.GetBits());
        benchmark::ClobberMemory();
    }
    pixman_image_unref(src);
    pixman_image_unref(dst);
}

void BM_MaskBlend_MaskRuns(benchmark::State& state) {
    CDibPicture frame;
    frame.Create(1024, 768, 32);
    frame.Fill(0x60);
    CMaskPicture icon, bar;
    if (!LoadMask(&icon, 64, 64, Icon()) || !LoadMask(&bar, 1024, 24, Bar())) {
        state.SkipWithError("cannot make the mask pictures");
        return;
    }
    icon.SetColor(kInk);
    bar.SetColor(kInk);
    const int which = static_cast<int>(state.range(0));
    for (auto _ : state) {
        if (which & 1) icon.Draw(&frame, kIconX, kIconY);
        if (which & 2) bar.Draw(&frame, kBarX, kBarY);
        benchmark::DoNotOptimize(frame.GetBits());
        benchmark::ClobberMemory();
    }
}

void BM_Tile_Baseline_Memcpy(benchmark::State& state) {
    std::vector<std::uint8_t> a(1024 * 768 * 4, 0x11), b(1024 * 768 * 4);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size());
        benchmark::DoNotOptimize(b.data());
        benchmark::ClobberMemory();
    }
}

// The background item's tiling: DrawTo at every multiple of the tile size.
void BM_Tile_DrawTo64(benchmark::State& state) {
    CDibPicture frame, tile;
    frame.Create(1024, 768, 32);
    tile.Create(64, 64, 32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) tile.SetPixel(x, y, RGB(x * 4, y * 4, 99));
    for (auto _ : state) {
        for (int y = 0; y < 768; y += 64)
            for (int x = 0; x < 1024; x += 64) tile.DrawTo(&frame, x, y);
        benchmark::DoNotOptimize(frame.GetBits());
        benchmark::ClobberMemory();
    }
}

}  // namespace

BENCHMARK(BM_MaskBlend_Baseline_Pixman)->Name("MaskBlend/Baseline_Pixman")->Arg(3);
BENCHMARK(BM_MaskBlend_MaskRuns)->Name("MaskBlend/MaskRuns")->Arg(3);
BENCHMARK(BM_MaskBlend_Baseline_Pixman)->Name("MaskBlendIcon/Baseline_Pixman")->Arg(1);
BENCHMARK(BM_MaskBlend_MaskRuns)->Name("MaskBlendIcon/MaskRuns")->Arg(1);
BENCHMARK(BM_MaskBlend_Baseline_Pixman)->Name("MaskBlendBar/Baseline_Pixman")->Arg(2);
BENCHMARK(BM_MaskBlend_MaskRuns)->Name("MaskBlendBar/MaskRuns")->Arg(2);
BENCHMARK(BM_Tile_Baseline_Memcpy)->Name("Tile/Baseline_Memcpy");
BENCHMARK(BM_Tile_DrawTo64)->Name("Tile/DrawTo64");
