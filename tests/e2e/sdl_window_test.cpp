// The real window: a host on a small skin in an X server of the test's own
// (Xvfb), driven with xdotool and looked at through xwd screenshots.
#include <signal.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "e2e/x11_session.h"
#include "support/picture_files.h"

namespace {

using namespace x11test;

constexpr int kW = 320, kH = 200;
constexpr int kMdX = 40, kMdY = 40, kCdX = 200, kCdY = 40, kIcon = 48;
constexpr std::uint32_t kBg = 0x303848;

// The skin: a blue-grey background, MD and CD/DVD as light squares in AUDIO.
void WriteSkin(const picturetest::TempDir& dir) {
    dir.Write("bg.bmp", picturetest::MakeBmp24(1, 1, {kBg}));
    dir.Write("icon.bmp", picturetest::MakeFlatBmp(kIcon, kIcon, 230));
    auto device = [](const char* name, int x, int y, const std::string& more) {
        std::string pos = std::to_string(x) + "," + std::to_string(y);
        return std::string("DEVICE\nNAME\t\"") + name + "\"\nVIEW\tAUDIO\nPOSITION\t" + pos +
               "\nL\tICON\t\"icon.bmp\"\nL\tICONANIME\t\"icon.bmp\"\nS\tICON\t\"icon.bmp\"\n"
               "S\tICONANIME\t\"icon.bmp\"\n" +
               more + "END\n";
    };
    std::string ini = "BG\nBMP\t\"bg.bmp\"\nEND\n" +
                      device("MD", kMdX, kMdY, "TOOLHINT\tALL:-1\t\"MD: tip text\"\n") +
                      device("CD/DVD", kCdX, kCdY, "") + "PROGRAMMARGIN\t180\n";
    dir.Write("TARVIK.INI", ini);
}

class SdlWindow : public X11Test {
protected:
    SdlWindow() { WriteSkin(m_skin); }

    // Starts the host, waits for its first frame and finds its window.
    std::unique_ptr<Child> Start(int scale) {
        std::string ready;
        auto host =
            Launch({QUILLON_E2E_HOST, m_skin.Path(""), std::to_string(kW), std::to_string(kH)},
                   scale, "ready", "Quillon e2e", &ready);
        EXPECT_FALSE(ready.empty()) << "the host never presented its first frame";
        if (ready.empty()) return nullptr;
        std::printf("start-up to the first presented frame: %s ms\n",
                    ready.substr(ready.rfind(' ') + 1).c_str());
        m_scale = scale;
        return host;
    }
    // A point of the screen's client area (the system's pixels, as the
    // host's callbacks tell them) as a command's screen position.
    std::string At(int x, int y) const {
        return std::to_string(m_window.x + (kEdge + x) * m_scale) + " " +
               std::to_string(m_window.y + (kEdge + y) * m_scale);
    }
    void MoveTo(int x, int y) { X11("xdotool mousemove " + At(x, y)); }

    picturetest::TempDir m_skin;
    int m_scale = 1;
};

std::string Expect(const char* what, int a, int b) {
    return std::string(what) + " " + std::to_string(a) + " " + std::to_string(b);
}

TEST_F(SdlWindow, InputReachesTheHostAndTheScreenShowsTipsAndBoxes) {
    auto host = Start(1);
    ASSERT_TRUE(host);
    EXPECT_EQ(m_window.width, kW);
    EXPECT_EQ(m_window.height, kH);

    // Nothing but the skin: background and the two icons.
    MoveTo(kW - 10, kH - 10);
    Sleep(300);
    Shot plain = Window("plain");
    ASSERT_EQ(plain.width, kW);
    EXPECT_EQ(plain.OnScreen(5, 5), kBg);
    const std::uint32_t icon = plain.OnScreen(kMdX + 10, kMdY + 10);
    EXPECT_NE(icon, kBg) << "MD's icon is not drawn";

    // Idle: no more than the screen's tick costs.
    double cpu0 = host->CpuSeconds();
    const char* idleEnv = std::getenv("QUILLON_E2E_IDLE_S");
    int idle = idleEnv ? std::atoi(idleEnv) : 3;
    Sleep(idle * 1000);
    double cpu = host->CpuSeconds() - cpu0;
    std::printf("idle CPU over %d s: %.3f s\n", idle, cpu);
    EXPECT_LT(cpu, 0.3 * idle) << "an idle screen keeps the processor busy";

    // Resting on MD shows its tip, drawn into the window near the pointer.
    int px = kMdX + 20, py = kMdY + 20;
    MoveTo(px, py);
    Sleep(1500);
    Shot tip = Window("tooltip");
    // The tip's face is the information background; its text is dark ink
    // inside the face's bounds.
    int dark = 0;
    CRect bounds;
    const int face = tip.Count(0xFFFFE1u, &bounds);
    for (int y = bounds.top; y < bounds.bottom; ++y)
        for (int x = bounds.left; x < bounds.right; ++x)
            if ((tip.At(x, y) & 0xFF) < 0x60 && ((tip.At(x, y) >> 16) & 0xFF) < 0x60) ++dark;
    EXPECT_GT(face, 200) << "no tip was drawn";
    EXPECT_GT(dark, 20) << "the tip has no text";
    EXPECT_LT(std::abs(bounds.top - kEdge - py), 60) << "the tip is far from the pointer";

    // A click and a double click, in client coordinates.
    X11("xdotool click 1");
    EXPECT_EQ(host->LineStarting("click"), Expect("click MD", px, py));
    Sleep(700);
    X11("xdotool click --repeat 2 --delay 80 1");
    EXPECT_EQ(host->LineStarting("dblclk"), Expect("dblclk MD", px, py));
    Sleep(700);

    // The wheel in the framework's units, Delete and a shifted letter.
    X11("xdotool click 4");
    EXPECT_EQ(host->LineStarting("wheel"), "wheel 120");
    X11("xdotool click 5");
    EXPECT_EQ(host->LineStarting("wheel"), "wheel -120");
    X11("xdotool key Delete");
    EXPECT_EQ(host->LineStarting("key"), "key 46 0");
    X11("xdotool key shift+a");
    EXPECT_EQ(host->LineStarting("key 65"), "key 65 1");
    EXPECT_EQ(host->LineStarting("char"), "char 65");

    // A drag with the button held keeps the capture outside the window:
    // the release out there still reaches the screen.
    X11("xdotool mousedown 1");
    for (int x = px; x <= kW + 40; x += 30) MoveTo(x, py);
    MoveTo(kW + 40, py + 10);
    X11("xdotool mouseup 1");
    EXPECT_EQ(host->LineStarting("up"), Expect("up", kEdge + kW + 40, kEdge + py + 10));

    // A box opened by a click is drawn over the window; Enter answers IDOK.
    MoveTo(kCdX + 10, kCdY + 10);
    Sleep(100);
    X11("xdotool click 1");
    EXPECT_EQ(host->LineStarting("click"), Expect("click CD/DVD", kCdX + 10, kCdY + 10));
    Sleep(600);
    Shot box = Window("messagebox");
    // Its caption bar is the highlight colour, around the window's middle.
    CRect barBounds;
    EXPECT_GT(box.Count(0x000080u, &barBounds), 1000) << "no box was drawn";
    EXPECT_LT(std::abs((barBounds.left + barBounds.right) / 2 - kW / 2), 10)
        << "the box is not centred";
    X11("xdotool key Return");
    EXPECT_EQ(host->LineStarting("box"), "box 1");

    // SIGTERM ends the loop cleanly.
    kill(host->Pid(), SIGTERM);
    EXPECT_EQ(host->LineStarting("exit"), "exit 0");
    EXPECT_EQ(host->Wait(), 0);
}

TEST_F(SdlWindow, AScaledWindowIsTwiceTheSizeAndClicksLandOnTheSameItem) {
    auto host = Start(2);
    ASSERT_TRUE(host);
    EXPECT_EQ(m_window.width, 2 * kW);
    EXPECT_EQ(m_window.height, 2 * kH);
    MoveTo(kMdX + 5, kMdY + 7);
    Sleep(100);
    X11("xdotool click 1");
    EXPECT_EQ(host->LineStarting("click"), Expect("click MD", kMdX + 5, kMdY + 7));
    Sleep(300);
    Shot shot = Window("scaled");
    ASSERT_EQ(shot.width, 2 * kW);
    // Enlarged without blur: each pixel of the system is a 2 x 2 block, and
    // the icon's edge stays sharp.
    int left = 2 * (kEdge + kMdX), row = 2 * (kEdge + kMdY) + 30;
    EXPECT_EQ(shot.At(left - 1, row), shot.At(left - 2, row));
    EXPECT_EQ(shot.At(left, row), shot.At(left + 20, row));
    EXPECT_NE(shot.At(left, row), shot.At(left - 1, row));
    int split = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            std::uint32_t v = shot.At(2 * x, 2 * y);
            if (shot.At(2 * x + 1, 2 * y) != v || shot.At(2 * x, 2 * y + 1) != v ||
                shot.At(2 * x + 1, 2 * y + 1) != v)
                ++split;
        }
    EXPECT_EQ(split, 0) << "pixels blurred or shifted by the scale";
    Stop(host);
}

}  // namespace
