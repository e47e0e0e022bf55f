// The real window: a host on a small skin in an X server of the test's own
// (Xvfb), driven with xdotool and looked at through xwd screenshots.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/decode/PictureDecoder.h"
#include "support/picture_files.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kW = 320, kH = 200;
constexpr int kMdX = 40, kMdY = 40, kCdX = 200, kCdY = 40, kIcon = 48;
constexpr std::uint32_t kBg = 0x303848;
constexpr int kEdge = 3;  // the screen's client edge inside the frame

// A child process with its stdout read line by line.
class Child {
public:
    Child(const std::vector<std::string>& args, const std::vector<std::string>& env) {
        int out[2];
        if (pipe(out) != 0) return;
        m_pid = fork();
        if (m_pid == 0) {
            dup2(out[1], 1);
            close(out[0]);
            close(out[1]);
            for (const std::string& e : env) putenv(const_cast<char*>(e.c_str()));
            std::vector<char*> argv;
            for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execvp(argv[0], argv.data());
            _exit(127);
        }
        close(out[1]);
        m_out = out[0];
    }
    ~Child() {
        if (m_pid > 0 && !m_reaped) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_out >= 0) close(m_out);
    }
    pid_t Pid() const { return m_pid; }
    // The next line, or "" when none came in time.
    std::string Line(int timeoutMs = 5000) {
        auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            auto nl = m_buffer.find('\n');
            if (nl != std::string::npos) {
                std::string line = m_buffer.substr(0, nl);
                m_buffer.erase(0, nl + 1);
                return line;
            }
            int left = static_cast<int>(
                std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count());
            if (left <= 0 || m_out < 0) return "";
            pollfd p{m_out, POLLIN, 0};
            if (poll(&p, 1, left) <= 0) return "";
            char chunk[512];
            ssize_t n = read(m_out, chunk, sizeof chunk);
            if (n <= 0) return "";
            m_buffer.append(chunk, static_cast<std::size_t>(n));
        }
    }
    // Lines until one starts with `prefix`; "" when none did in time.
    std::string LineStarting(const std::string& prefix, int timeoutMs = 5000) {
        auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (Clock::now() < end) {
            std::string line = Line(static_cast<int>(
                std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count()));
            if (line.rfind(prefix, 0) == 0) return line;
            if (line.empty()) break;
        }
        return "";
    }
    int Wait() {
        int status = 0;
        if (waitpid(m_pid, &status, 0) != m_pid) return -1;
        m_reaped = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    // User and system time so far, in seconds.
    double CpuSeconds() const {
        std::ifstream stat("/proc/" + std::to_string(m_pid) + "/stat");
        std::string all((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
        std::istringstream rest(all.substr(all.rfind(')') + 2));
        std::string field;
        double ticks = 0;
        for (int i = 3; i <= 15 && rest >> field; ++i)
            if (i == 14 || i == 15) ticks += std::stod(field);
        return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
    }

private:
    pid_t m_pid = -1;
    int m_out = -1;
    bool m_reaped = false;
    std::string m_buffer;
};

std::string g_display;  // ":N" of the server the suite started
std::string g_skip;     // why there is no server

// Output of a command run on our display.
std::string X11(const std::string& command) {
    std::string full = "DISPLAY=" + g_display + " " + command + " 2>/dev/null";
    std::string out;
    if (FILE* p = popen(full.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
        pclose(p);
    }
    return out;
}

void Sleep(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

struct Shot {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> rgb;  // 0xRRGGBB, top row first
    // A pixel of the frame's client area (the screen's is kEdge further in).
    std::uint32_t At(int x, int y) const {
        return rgb[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                   static_cast<std::size_t>(x)];
    }
    std::uint32_t OnScreen(int x, int y, int scale = 1) const {
        return At((kEdge + x) * scale, (kEdge + y) * scale);
    }
};

// The smallest rectangle around the points added.
struct Bounds {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    void Add(int x, int y) {
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x + 1);
        bottom = std::max(bottom, y + 1);
    }
};

std::uint32_t Be32(const std::string& s, std::size_t at) {
    auto b = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + i]));
    };
    return (b(0) << 24) | (b(1) << 16) | (b(2) << 8) | b(3);
}

// The screen through xwd (ZPixmap, 32 bits a pixel, true colour), cropped
// to the rectangle; saved as a PNG under the build folder for a person to
// look at.
Shot Screenshot(int x0, int y0, int w, int h, const std::string& name) {
    Shot shot;
    std::string xwd = X11("xwd -root -silent");
    if (xwd.size() < 100) return shot;
    std::uint32_t headerSize = Be32(xwd, 0), depth = Be32(xwd, 12), width = Be32(xwd, 16),
                  height = Be32(xwd, 20), byteOrder = Be32(xwd, 28), bpp = Be32(xwd, 44),
                  stride = Be32(xwd, 48), ncolors = Be32(xwd, 76);
    std::size_t data = headerSize + static_cast<std::size_t>(ncolors) * 12;
    if ((bpp != 32 && bpp != 24) || depth < 24 || xwd.size() < data + std::size_t(stride) * height)
        return shot;
    const std::size_t bytes = bpp / 8;
    shot.width = w;
    shot.height = h;
    shot.rgb.assign(static_cast<std::size_t>(w * h), 0);
    std::vector<std::uint8_t> bgrx(static_cast<std::size_t>(w * h) * 4, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int sx = x0 + x, sy = y0 + y;
            if (sx < 0 || sy < 0 || sx >= int(width) || sy >= int(height)) continue;
            std::size_t at = data + std::size_t(sy) * stride + std::size_t(sx) * bytes;
            std::uint32_t v = 0;
            for (std::size_t i = 0; i < 3; ++i) {
                auto byte = static_cast<std::uint32_t>(static_cast<unsigned char>(xwd[at + i]));
                v |= byteOrder == 0 ? byte << (8 * i) : byte << (8 * (bytes - 1 - i));
            }
            shot.rgb[std::size_t(y * w + x)] = v & 0xFFFFFF;
            std::memcpy(&bgrx[std::size_t(y * w + x) * 4], &v, 4);
        }
    std::string dir = QUILLON_E2E_SHOTS;
    std::system(("mkdir -p " + dir).c_str());
    quillon::platform::WritePng((dir + "/" + name + ".png").c_str(), w, h, bgrx.data(), w * 4);
    return shot;
}

// The skin: a blue-grey background, MD and CD/DVD as light squares in AUDIO.
void WriteSkin(const picturetest::TempDir& dir) {
    dir.Write("bg.bmp", picturetest::MakeBmp24(1, 1, {kBg}));
    dir.Write("icon.bmp",
              picturetest::MakeGreyBmp(kIcon, kIcon, std::vector<int>(kIcon * kIcon, 230)));
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
    dir.Write("TARVIK.INI", picturetest::Bytes(ini.begin(), ini.end()));
}

class SdlWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (std::system("command -v Xvfb >/dev/null 2>&1") != 0) {
            g_skip = "Xvfb is not installed";
            return;
        }
        // -displayfd: the server picks a free display and writes its number.
        int fds[2];
        if (pipe(fds) != 0) return;
        s_server = fork();
        if (s_server == 0) {
            dup2(fds[1], 3);
            int null = open("/dev/null", O_WRONLY);
            dup2(null, 2);
            execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", "1024x768x24", "-dpi", "96",
                   "-nolisten", "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        std::string number;
        pollfd p{fds[0], POLLIN, 0};
        char c;
        while (poll(&p, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        close(fds[0]);
        if (number.empty()) {
            g_skip = "Xvfb could not start";
            return;
        }
        g_display = ":" + number;
    }
    static void TearDownTestSuite() {
        if (s_server > 0) {
            kill(s_server, SIGTERM);
            waitpid(s_server, nullptr, 0);
        }
    }

    void SetUp() override {
        if (!g_skip.empty()) GTEST_SKIP() << g_skip;
        WriteSkin(m_skin);
    }

    // Starts the host, waits for its first frame and finds its window.
    std::unique_ptr<Child> Start(int scale) {
        std::vector<std::string> env = {
            "DISPLAY=" + g_display, "QUILLON_BACKEND=sdl", "SDL_AUDIODRIVER=dummy",
            "QUILLON_SCALE=" + std::to_string(scale), "ASAN_OPTIONS=detect_leaks=0"};
        auto host = std::make_unique<Child>(
            std::vector<std::string>{QUILLON_E2E_HOST, m_skin.Path(""), std::to_string(kW),
                                     std::to_string(kH)},
            env);
        std::string ready = host->LineStarting("ready", 20000);
        EXPECT_FALSE(ready.empty()) << "the host never presented its first frame";
        if (ready.empty()) return nullptr;
        std::printf("start-up to the first presented frame: %s ms\n",
                    ready.substr(ready.rfind(' ') + 1).c_str());
        std::string id = X11("xdotool search --sync --name 'Quillon e2e'");
        m_window = id.substr(0, id.find('\n'));
        std::istringstream geo(X11("xdotool getwindowgeometry --shell " + m_window));
        std::string kv;
        while (geo >> kv) {
            auto eq = kv.find('=');
            if (eq == std::string::npos) continue;
            std::string k = kv.substr(0, eq);
            int v = std::atoi(kv.c_str() + eq + 1);
            if (k == "X") m_x = v;
            if (k == "Y") m_y = v;
            if (k == "WIDTH") m_w = v;
            if (k == "HEIGHT") m_h = v;
        }
        m_scale = scale;
        return host;
    }
    // A point of the screen's client area (the system's pixels, as the
    // host's callbacks tell them) as a command's screen position.
    std::string At(int x, int y) const {
        return std::to_string(m_x + (kEdge + x) * m_scale) + " " +
               std::to_string(m_y + (kEdge + y) * m_scale);
    }
    void MoveTo(int x, int y) { X11("xdotool mousemove " + At(x, y)); }
    Shot Window(const std::string& name) { return Screenshot(m_x, m_y, m_w, m_h, name); }

    picturetest::TempDir m_skin;
    std::string m_window;
    int m_x = 0, m_y = 0, m_w = 0, m_h = 0, m_scale = 1;
    static pid_t s_server;
};
pid_t SdlWindow::s_server = -1;

std::string Expect(const char* what, int a, int b) {
    return std::string(what) + " " + std::to_string(a) + " " + std::to_string(b);
}

TEST_F(SdlWindow, InputReachesTheHostAndTheScreenShowsTipsAndBoxes) {
    auto host = Start(1);
    ASSERT_TRUE(host);
    EXPECT_EQ(m_w, kW);
    EXPECT_EQ(m_h, kH);

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
    int face = 0, dark = 0;
    Bounds bounds;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            if (tip.At(x, y) == 0xFFFFE1u) {
                ++face;
                bounds.Add(x, y);
            }
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
    int bar = 0;
    Bounds barBounds;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            if (box.At(x, y) == 0x000080u) {
                ++bar;
                barBounds.Add(x, y);
            }
    EXPECT_GT(bar, 1000) << "no box was drawn";
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
    EXPECT_EQ(m_w, 2 * kW);
    EXPECT_EQ(m_h, 2 * kH);
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
    kill(host->Pid(), SIGTERM);
    EXPECT_EQ(host->Wait(), 0);
}

}  // namespace
