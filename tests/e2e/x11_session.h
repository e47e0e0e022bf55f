// What the window tests share: an X server of their own (Xvfb), child
// processes read line by line, commands run on that server (xdotool, xwd)
// and screenshots.
#pragma once

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <quillon/platform/Geometry.h>

#include "platform/decode/PictureDecoder.h"
#include "support/picture_encoders.h"

namespace x11test {

using Clock = std::chrono::steady_clock;
using quillon::testfiles::Be32;

constexpr int kEdge = 3;  // the main screen's client edge inside its frame

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
    // Lines until one starts with `prefix`; "" when none did in time.
    std::string LineStarting(const std::string& prefix, int timeoutMs = 5000) {
        const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            for (auto nl = m_buffer.find('\n'); nl != std::string::npos; nl = m_buffer.find('\n')) {
                const std::string line = m_buffer.substr(0, nl);
                m_buffer.erase(0, nl + 1);
                if (line.rfind(prefix, 0) == 0) return line;
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
            pollfd p{m_out, POLLIN, 0};
            if (left.count() <= 0 || m_out < 0 || poll(&p, 1, int(left.count())) <= 0) return "";
            char chunk[512];
            ssize_t n = read(m_out, chunk, sizeof chunk);
            if (n <= 0) return "";
            m_buffer.append(chunk, static_cast<std::size_t>(n));
        }
    }
    int Wait() {
        int status = 0;
        if (waitpid(m_pid, &status, 0) != m_pid) return -1;
        m_reaped = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    // User and system time so far, in seconds: fields 14 and 15 of its
    // stat, counted after the command's closing parenthesis.
    double CpuSeconds() const {
        std::ifstream stat("/proc/" + std::to_string(m_pid) + "/stat");
        std::string all;
        std::getline(stat, all);
        unsigned long user = 0, system = 0;
        std::sscanf(all.c_str() + all.rfind(')') + 1,
                    " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &user, &system);
        return static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
    }

private:
    pid_t m_pid = -1;
    int m_out = -1;
    bool m_reaped = false;
    std::string m_buffer;
};

inline std::string g_display;  // ":N" of the server the suite started
inline std::string g_skip;     // why there is no server

// Output of a command run on our display.
inline std::string X11(const std::string& command) {
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

inline void Sleep(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

struct Shot {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> rgb;  // 0xRRGGBB, top row first
    // A pixel of the frame's client area (the screen's is kEdge further in).
    std::uint32_t At(int x, int y) const { return rgb[static_cast<std::size_t>(y * width + x)]; }
    std::uint32_t OnScreen(int x, int y, int scale = 1) const {
        return At((kEdge + x) * scale, (kEdge + y) * scale);
    }
    // Pixels of `color`, and the smallest rectangle around them.
    int Count(std::uint32_t color, CRect* bounds = nullptr) const {
        int n = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                if (At(x, y) != color) continue;
                ++n;
                if (bounds != nullptr) *bounds |= CRect(x, y, x + 1, y + 1);
            }
        return n;
    }
};

// The window named `name` on our server: its place and size on the screen.
struct WindowGeometry {
    int x = 0, y = 0, width = 0, height = 0;
};
inline WindowGeometry FindWindow(const std::string& name) {
    WindowGeometry g;
    std::sscanf(
        X11("xdotool search --sync --name '" + name + "' getwindowgeometry --shell").c_str(),
        "WINDOW=%*d X=%d Y=%d WIDTH=%d HEIGHT=%d", &g.x, &g.y, &g.width, &g.height);
    return g;
}

// The screen through xwd (ZPixmap, 32 bits a pixel, true colour), cropped
// to the window; saved as a PNG under the build folder for a person to look
// at.
inline Shot Screenshot(const WindowGeometry& g, const std::string& name) {
    const int x0 = g.x, y0 = g.y, w = g.width, h = g.height;
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
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int sx = x0 + x, sy = y0 + y;
            if (sx < 0 || sy < 0 || sx >= int(width) || sy >= int(height)) continue;
            std::size_t at = data + std::size_t(sy) * stride + std::size_t(sx) * bytes;
            std::uint32_t v = 0;
            for (std::size_t i = 0; i < bytes; ++i) {
                auto byte = static_cast<std::uint32_t>(static_cast<unsigned char>(xwd[at + i]));
                v |= byteOrder == 0 ? byte << (8 * i) : byte << (8 * (bytes - 1 - i));
            }
            shot.rgb[std::size_t(y * w + x)] = v & 0xFFFFFF;
        }
    std::string dir = QUILLON_E2E_SHOTS;
    std::system(("mkdir -p " + dir).c_str());
    // 0x00RRGGBB in memory is blue, green, red, unused, as WritePng takes it.
    quillon::platform::WritePng((dir + "/" + name + ".png").c_str(), w, h,
                                reinterpret_cast<const std::uint8_t*>(shot.rgb.data()), w * 4);
    return shot;
}

// A test suite on an Xvfb of its own, on a free display; without one
// g_skip says why and the tests skip.
class X11Test : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (std::system("command -v Xvfb >/dev/null 2>&1") != 0) {
            g_skip = "Xvfb is not installed";
            return;
        }
        // -displayfd: the server picks a free display and writes its number.
        s_server = std::make_unique<Child>(
            std::vector<std::string>{"sh", "-c",
                                     "exec Xvfb -displayfd 1 -screen 0 1024x768x24 -dpi 96 "
                                     "-nolisten tcp 2>/dev/null"},
            std::vector<std::string>{});
        const std::string number = s_server->LineStarting("", 10000);
        if (number.empty()) {
            g_skip = "Xvfb could not start";
            return;
        }
        g_display = ":" + number;
    }
    static void TearDownTestSuite() {
        if (!s_server) return;
        kill(s_server->Pid(), SIGTERM);
        s_server->Wait();
        s_server.reset();
    }
    void SetUp() override {
        if (!g_skip.empty()) GTEST_SKIP() << g_skip;
    }
    inline static std::unique_ptr<Child> s_server;

    // Starts `args` shown through SDL at `scale`, and waits for its line
    // starting with `first` (into `line`) and then for its window `title`.
    std::unique_ptr<Child> Launch(const std::vector<std::string>& args, int scale,
                                  const char* first, const char* title, std::string* line) {
        auto child = std::make_unique<Child>(
            args, std::vector<std::string>{
                      "DISPLAY=" + g_display, "QUILLON_BACKEND=sdl", "SDL_AUDIODRIVER=dummy",
                      "QUILLON_SCALE=" + std::to_string(scale), "ASAN_OPTIONS=detect_leaks=0"});
        *line = child->LineStarting(first, 20000);
        if (!line->empty()) m_window = FindWindow(title);
        return child;
    }
    // SIGTERM ends a program cleanly.
    static void Stop(std::unique_ptr<Child>& child) {
        kill(child->Pid(), SIGTERM);
        EXPECT_EQ(child->Wait(), 0);
        child.reset();
    }
    Shot Window(const std::string& name) { return Screenshot(m_window, name); }

    WindowGeometry m_window;
};

}  // namespace x11test
