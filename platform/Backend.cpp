#include "platform/Backend.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/headless/HeadlessBackend.h"
#ifdef QUILLON_WITH_SDL
#include "platform/sdl/SdlBackend.h"
#endif

namespace quillon {
namespace platform {
namespace {

// Chosen once, from QUILLON_BACKEND: "sdl" or "headless"; without it, a
// real window when SDL is built in and a display is present. The headless
// backend without recording implements every operation: no window shows
// anywhere, boxes go to stderr, sounds are silent.
Backend* Choose() {
    static HeadlessBackend headless(false);
    const char* name = std::getenv("QUILLON_BACKEND");
    std::string want = name ? name : "";
    if (want.empty()) {
        const char* x11 = std::getenv("DISPLAY");
        const char* wayland = std::getenv("WAYLAND_DISPLAY");
        bool display = (x11 && *x11) || (wayland && *wayland);
        want = display ? "sdl" : "headless";
    }
    if (want == "headless") return &headless;
    if (want != "sdl") {
        std::fprintf(stderr, "quillon: unknown QUILLON_BACKEND \"%s\"; using headless\n",
                     want.c_str());
        return &headless;
    }
#ifdef QUILLON_WITH_SDL
    std::string why;
    if (Backend* sdl = StartSdlBackend(&why)) return sdl;
    std::fprintf(stderr, "quillon: no window can be opened (%s); using headless\n", why.c_str());
#else
    std::fputs("quillon: the sdl backend is not built in; using headless\n", stderr);
#endif
    return &headless;
}

Backend* ChooseDefault() {
    static Backend* const chosen = Choose();
    return chosen;
}

Backend* g_backend = nullptr;

}  // namespace

Backend& CurrentBackend() {
    if (!g_backend) g_backend = ChooseDefault();
    return *g_backend;
}

void SetBackend(Backend* backend) {
    // The default is chosen when first needed: a harness that ends does not
    // open a display.
    g_backend = backend;
}

}  // namespace platform
}  // namespace quillon
