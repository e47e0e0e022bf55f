#include "platform/Backend.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/headless/HeadlessBackend.h"

namespace quillon {
namespace platform {
namespace {

// Chosen once, from QUILLON_BACKEND: "headless" (the default) or "sdl". The
// headless backend without recording implements every operation: no window
// shows anywhere, boxes go to stderr, sounds are silent.
Backend* Choose() {
    static HeadlessBackend headless(false);
    const char* name = std::getenv("QUILLON_BACKEND");
    std::string want = name ? name : "";
    if (!want.empty() && want != "headless") {
        if (want == "sdl")
            std::fputs("quillon: the sdl backend is not built in; using headless\n", stderr);
        else
            std::fprintf(stderr, "quillon: unknown QUILLON_BACKEND \"%s\"; using headless\n",
                         want.c_str());
    }
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
    g_backend = backend ? backend : ChooseDefault();
}

}  // namespace platform
}  // namespace quillon
