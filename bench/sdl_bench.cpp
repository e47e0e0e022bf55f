// Presenting through the SDL backend (its offscreen driver, so no display is
// touched): a whole 1024 x 768 frame and a small dirty rectangle, against
// one memcpy of such a frame. SDL_VIDEODRIVER=x11 measures a real server.
#ifdef QUILLON_BENCH_SDL

#include <cstdlib>
#include <string>

#include "bench/frame_copy.h"
#include "platform/gdi/Bitmap.h"
#include "platform/sdl/SdlBackend.h"

namespace {

using quillon::platform::Backend;

struct PresentScene {
    Backend* backend = nullptr;
    int id = 0;
    HBITMAP picture = nullptr;

    PresentScene() {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);  // another may be asked for
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        std::string why;
        backend = quillon::platform::StartSdlBackend(&why);
        if (!backend) return;
        id = backend->CreateWindow("bench", 1024, 768);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = 1024;
        info.bmiHeader.biHeight = 768;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        picture = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (picture) std::memset(picture->bits, 0x5A, std::size_t{1024} * 768 * 4);
    }
    ~PresentScene() {
        if (backend && id) backend->DestroyWindow(id);
        if (picture) DeleteObject(picture);
    }
    void Run(benchmark::State& state, const RECT& dirty) {
        if (!backend || !id || !picture) {
            state.SkipWithError("no SDL window");
            return;
        }
        quillon::platform::FramePicture shown;
        shown.backing = picture;
        for (auto _ : state) backend->Present(id, shown, dirty);
    }
};

void Sdl_Baseline_Memcpy(benchmark::State& state) {
    CopyOneFrame(state);
}
BENCHMARK(Sdl_Baseline_Memcpy);

void Sdl_PresentFullFrame(benchmark::State& state) {
    PresentScene s;
    s.Run(state, RECT{0, 0, 1024, 768});
}
BENCHMARK(Sdl_PresentFullFrame)->Unit(benchmark::kMicrosecond);

void Sdl_PresentDirty64x64(benchmark::State& state) {
    PresentScene s;
    s.Run(state, RECT{300, 200, 364, 264});
}
BENCHMARK(Sdl_PresentDirty64x64)->Unit(benchmark::kMicrosecond);

}  // namespace

#endif
