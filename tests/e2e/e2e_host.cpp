// A small host for the window test: the screen of the skin in the folder it
// is given, in a real window, telling on stdout what reaches it.
//   quillon_e2e_host SKIN_DIR WIDTH HEIGHT
// Lines: "ready W H MS" once the first frame is presented (MS since main
// began), then "click NAME X Y", "dblclk NAME X Y", "wheel DELTA",
// "key VK SHIFT", "char CODE", "up X Y" (frame client coordinates, also
// outside the window), "box ANSWER", and "exit CODE" when the loop ends.
#include <quillon/quillon.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

class LoggingFrame : public quillon::platform::FrameWindow {
public:
    BOOL PreTranslateMessage(MSG* msg) override {
        const WPARAM w = msg->wParam;
        if (msg->message == WM_MOUSEWHEEL) std::printf("wheel %d\n", GET_WHEEL_DELTA_WPARAM(w));
        if (msg->message == WM_KEYDOWN)
            std::printf("key %u %d\n", unsigned(w), (GetKeyState(VK_SHIFT) & 0x8000) != 0 ? 1 : 0);
        if (msg->message == WM_CHAR) std::printf("char %u\n", unsigned(w));
        if (msg->message == WM_LBUTTONUP) {
            POINT p = msg->pt;
            ScreenToClient(&p);
            std::printf("up %d %d\n", static_cast<int>(p.x), static_cast<int>(p.y));
        }
        return FALSE;
    }
};

class Host : public CQMainScreen {
public:
    using CQMainScreen::CQMainScreen;
    void OnClick(CString name, unsigned int, CPoint p) override {
        std::printf("click %s %d %d\n", name.c_str(), static_cast<int>(p.x), static_cast<int>(p.y));
        if (name == "CD/DVD") {
            int answer = GetpCWnd()->MessageBox(Sjis("ディスクを取り出しますか？"), "Quillon e2e",
                                                MB_OKCANCEL);
            std::printf("box %d\n", answer);
        }
    }
    void OnLButtonDblClk(CString name, unsigned int, CPoint p) override {
        std::printf("dblclk %s %d %d\n", name.c_str(), static_cast<int>(p.x),
                    static_cast<int>(p.y));
    }
};

}  // namespace

int main(int argc, char** argv) {
    auto start = std::chrono::steady_clock::now();
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (argc < 4) {
        std::fputs("usage: quillon_e2e_host SKIN_DIR WIDTH HEIGHT\n", stderr);
        return 2;
    }
    std::string dir = argv[1];
    int width = std::atoi(argv[2]);
    int height = std::atoi(argv[3]);
    LoggingFrame frame;
    if (!frame.Create("Quillon e2e", width, height)) return 3;
    CString ini((dir + "/TARVIK.INI").c_str());
    CString pictures((dir + "/").c_str());
    Host screen("QuillonE2E", &frame, CRect(0, 0, width, height), &ini, &pictures);
    screen.SetViewMode(0);
    quillon::platform::PumpMessages();
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                  std::chrono::steady_clock::now() - start)
                  .count();
    std::printf("ready %d %d %lld\n", width, height, static_cast<long long>(ms));
    int code = quillon::platform::RunMessageLoop();
    std::printf("exit %d\n", code);
    return code;
}
