// quillon-demo: the library's screen on its default skin, in a real window.
//   quillon-demo [--skin DIR] [--data DIR] [--headless --tour DIR] [--layout]
// Keys 1, 2, 3 switch the AUDIO, LUNCHER and TIMER views. Without a display
// (or with --headless) it walks through a scripted tour and writes each
// step as a PNG. --layout prints where the TIMER view's items are.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "DemoHost.h"
#include "Tour.h"

namespace {

constexpr UINT_PTR kTickTimer = 1;

class DemoFrame : public quillon::platform::FrameWindow {
public:
    demo::DemoScreen* screen = nullptr;

    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_KEYDOWN && screen && msg->wParam >= '1' && msg->wParam <= '3') {
            screen->SetViewMode(static_cast<int>(msg->wParam - '1'));
            return TRUE;
        }
        return FALSE;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TIMER && wParam == kTickTimer && screen) {
            screen->Tick();
            return 0;
        }
        return FrameWindow::WindowProc(message, wParam, lParam);
    }
};

bool HasDisplay() {
    const char* backend = std::getenv("QUILLON_BACKEND");
    if (backend && *backend) return std::strcmp(backend, "sdl") == 0;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

int Usage() {
    std::fputs("usage: quillon-demo [--skin DIR] [--data DIR] [--headless --tour DIR] [--layout]\n",
               stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string skin = QUILLON_DEMO_SKIN;
    std::string data = demo::DefaultDataDir();
    std::string tour;
    bool headless = false;
    bool layout = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        bool more = i + 1 < argc;
        if (a == "--skin" && more) {
            skin = argv[++i];
        } else if (a == "--data" && more) {
            data = argv[++i];
        } else if (a == "--tour" && more) {
            tour = argv[++i];
        } else if (a == "--headless") {
            headless = true;
        } else if (a == "--layout") {
            layout = true;
        } else {
            return Usage();
        }
    }
    if (!skin.empty() && skin.back() != '/') skin += '/';
    while (data.size() > 1 && data.back() == '/') data.pop_back();
    if (layout) {
        demo::PrintLayout(skin);
        return 0;
    }
    if (headless || !HasDisplay()) {
        if (tour.empty()) tour = "quillon-demo-tour";
        int written = demo::RunTour(skin, tour);
        if (written < 0) return 1;
        std::printf("No display: the tour's %d pictures are in %s/\n", written, tour.c_str());
        return 0;
    }

    CSize size = demo::SkinSize(skin);
    DemoFrame frame;
    if (!frame.Create(Sjis("Quillon デモ"), size.cx, size.cy)) {
        std::fputs("quillon-demo: no window\n", stderr);
        return 1;
    }
    demo::Store store(data + "/schedule.txt");
    demo::DemoScreen screen(&frame, CRect(0, 0, size.cx, size.cy),
                            CString((skin + "TARVIK.INI").c_str()), CString(skin.c_str()), &store);
    frame.screen = &screen;
    screen.LoadStore();
    screen.SetViewMode(0);
    screen.Opening();
    frame.SetTimer(kTickTimer, 1000, nullptr);
    std::printf("quillon-demo: keys 1, 2, 3 switch views; reservations are kept in %s\n",
                store.Path().c_str());
    std::fflush(stdout);
    int code = quillon::platform::RunMessageLoop();
    frame.screen = nullptr;
    return code;
}
