#include <quillon/testing.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>

#include <quillon/platform/FrameWindow.h>

#include "platform/Backend.h"
#include "platform/BackendCalls.h"
#include "platform/Clock.h"
#include "platform/WindowSystem.h"
#include "platform/decode/PictureDecoder.h"
#include "platform/headless/HeadlessBackend.h"

namespace quillon {
namespace testing {
namespace {

class FakeClock : public platform::Clock {
public:
    std::int32_t NowSeconds() override { return static_cast<std::int32_t>(m_nowMs / 1000); }
    std::uint32_t TickMs() override { return m_tick; }
    void Sleep(std::uint32_t ms) override { Move(ms); }
    void Idle() override { Move(1); }

    void Move(std::uint32_t ms) {
        m_nowMs += ms;
        m_tick += ms;
    }

    std::int64_t m_nowMs = 0;
    std::uint32_t m_tick = 0;
};

Harness* g_active = nullptr;

void SetTz(const std::optional<std::string>& tz) {
    if (tz) {
        setenv("TZ", tz->c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

COLORREF ToColor(std::uint32_t bgrx) {
    return RGB(static_cast<int>((bgrx >> 16) & 0xFF), static_cast<int>((bgrx >> 8) & 0xFF),
               static_cast<int>(bgrx & 0xFF));
}

bool WritePicture(const std::string& path, const platform::HeadlessBackend::Picture& p) {
    return platform::WritePng(path.c_str(), p.width, p.height,
                              reinterpret_cast<const std::uint8_t*>(p.bgrx.data()), p.width * 4);
}

}  // namespace

struct Harness::Impl {
    FakeClock clock;
    platform::HeadlessBackend backend{true};
    std::optional<std::string> savedTz;
    std::vector<std::unique_ptr<platform::FrameWindow>> parents;
    int lastX = 0;
    int lastY = 0;

    int ParentId() const { return parents.empty() ? 0 : parents.back()->BackendId(); }

    void Input(platform::InputKind kind, int x, int y, UINT flags, int delta = 0, UINT vk = 0) {
        int id = ParentId();
        if (id == 0) return;
        if (kind != platform::InputKind::Leave && kind != platform::InputKind::KeyDown) {
            lastX = x;
            lastY = y;
        }
        platform::InputEvent ev;
        ev.kind = kind;
        ev.frameId = id;
        ev.x = x;
        ev.y = y;
        ev.flags = flags;
        ev.delta = delta;
        ev.vk = vk;
        platform::PostInput(ev);
        platform::PumpMessages();
    }

    const platform::HeadlessBackend::Picture* Picture() {
        platform::QueueIdle(platform::Idle::Settled);
        return backend.WindowPicture(ParentId());
    }
};

Harness::Harness() : m_impl(std::make_unique<Impl>()) {
    if (g_active != nullptr) {
        std::fputs("quillon::testing::Harness: only one harness may live at a time\n", stderr);
        std::abort();
    }
    g_active = this;
    if (const char* tz = std::getenv("TZ")) m_impl->savedTz = tz;
    SetTz(std::string("Asia/Tokyo"));
    m_impl->clock.m_nowMs = static_cast<std::int64_t>(CTime(2025, 1, 6, 9, 0, 0).GetTime()) * 1000;
    m_impl->clock.m_tick = 1000;
    platform::SetClock(&m_impl->clock);
    platform::SetBackend(&m_impl->backend);
    platform::ResetWindowSystem();
    platform::SetRecordPaintTexts(true);
}

Harness::~Harness() {
    platform::SetRecordPaintTexts(false);
    platform::ResetWindowSystem();
    m_impl->parents.clear();
    platform::SetBackend(nullptr);
    platform::SetClock(nullptr);
    SetTz(m_impl->savedTz);
    g_active = nullptr;
}

void Harness::SetNow(CTime now) {
    m_impl->clock.m_nowMs = static_cast<std::int64_t>(now.GetTime()) * 1000;
}

CTime Harness::Now() const {
    return CTime(m_impl->clock.NowSeconds());
}

void Harness::AdvanceMs(std::uint32_t ms) {
    platform::PumpMessages();
    while (ms > 0) {
        std::uint32_t step = std::min<std::uint32_t>(ms, 100);
        m_impl->clock.Move(step);
        ms -= step;
        platform::PumpMessages();
    }
}

std::uint32_t Harness::Tick() const {
    return m_impl->clock.m_tick;
}

void Harness::SetTimeZone(const std::string& tz) {
    SetTz(tz);
}

CWnd* Harness::CreateParent(int w, int h) {
    auto frame = std::make_unique<platform::FrameWindow>();
    if (!frame->Create("Quillon test", w, h)) return nullptr;
    m_impl->parents.push_back(std::move(frame));
    platform::PumpMessages();
    return m_impl->parents.back().get();
}

void Harness::MouseMove(int x, int y, UINT flags) {
    m_impl->Input(platform::InputKind::MouseMove, x, y, flags);
}

void Harness::LButtonDown(int x, int y, UINT flags) {
    m_impl->Input(platform::InputKind::LButtonDown, x, y, flags);
}

void Harness::LButtonUp(int x, int y, UINT flags) {
    m_impl->Input(platform::InputKind::LButtonUp, x, y, flags);
}

void Harness::LButtonDblClk(int x, int y, UINT flags) {
    m_impl->Input(platform::InputKind::LButtonDblClk, x, y, flags);
}

void Harness::RButtonDown(int x, int y, UINT flags) {
    m_impl->Input(platform::InputKind::RButtonDown, x, y, flags);
}

void Harness::RButtonUp(int x, int y, UINT flags) {
    m_impl->Input(platform::InputKind::RButtonUp, x, y, flags);
}

void Harness::Click(CPoint at, UINT flags) {
    MouseMove(at.x, at.y, flags);
    LButtonDown(at.x, at.y, flags | MK_LBUTTON);
    LButtonUp(at.x, at.y, flags);
}

void Harness::Hold(CPoint from, CPoint to) {
    MouseMove(from.x, from.y);
    LButtonDown(from.x, from.y);
    MouseMove(from.x + 12, from.y + 12, MK_LBUTTON);
    MouseMove(to.x, to.y, MK_LBUTTON);
    AdvanceMs(0);
}

void Harness::Drop(CPoint from, CPoint to) {
    Hold(from, to);
    LButtonUp(to.x, to.y);
}

void Harness::Wheel(short delta) {
    m_impl->Input(platform::InputKind::Wheel, m_impl->lastX, m_impl->lastY, 0, delta);
}

void Harness::KeyDown(UINT vk, UINT flags) {
    m_impl->Input(platform::InputKind::KeyDown, m_impl->lastX, m_impl->lastY, flags, 0, vk);
}

void Harness::MouseLeave() {
    m_impl->Input(platform::InputKind::Leave, m_impl->lastX, m_impl->lastY, 0);
}

void Harness::CloseParent() {
    m_impl->Input(platform::InputKind::Quit, m_impl->lastX, m_impl->lastY, 0);
}

void Harness::LoseFocus() {
    m_impl->Input(platform::InputKind::FocusLost, m_impl->lastX, m_impl->lastY, 0);
}

COLORREF Harness::Pixel(int x, int y) {
    const auto* p = m_impl->Picture();
    if (!p || x < 0 || y < 0 || x >= p->width || y >= p->height) return 0xFFFFFFFF;
    return ToColor(p->bgrx[static_cast<std::size_t>(y) * static_cast<std::size_t>(p->width) +
                           static_cast<std::size_t>(x)]);
}

bool Harness::SavePng(const std::string& path) {
    const auto* p = m_impl->Picture();
    return p && WritePicture(path, *p);
}

int Harness::CursorId() {
    return m_impl->backend.CursorId();
}

std::string Harness::ToolTipText() {
    return m_impl->backend.ToolTipText();
}

std::vector<std::string> Harness::Sounds() {
    return m_impl->backend.Sounds();
}

std::vector<std::string> Harness::DrawnTexts() {
    std::vector<std::string> out;
    if (m_impl->parents.empty()) return out;
    std::vector<CWnd*> pending{m_impl->parents.back().get()};
    for (std::size_t i = 0; i < pending.size(); ++i) {
        const platform::WindowData* d = pending[i]->PlatformData();
        out.insert(out.end(), d->paintTexts.begin(), d->paintTexts.end());
        pending.insert(pending.end(), d->children.begin(), d->children.end());
    }
    return out;
}

std::vector<MessageBoxRecord> Harness::MessageBoxes() const {
    std::vector<MessageBoxRecord> out;
    for (const auto& box : m_impl->backend.Boxes())
        out.push_back(MessageBoxRecord{box.text, box.caption, box.type});
    return out;
}

void Harness::OnMessageBox(
    std::function<void(const std::string& text, const std::string& caption)> fn) {
    m_impl->backend.SetBoxHook(std::move(fn));
}

void Harness::SetMessageBoxAnswer(int answer) {
    m_impl->backend.SetBoxAnswer(answer);
}

// ItemCenter lives with the items (frame/HarnessItems.cpp).

bool Harness::MatchesGolden(const std::string& png, int tolerance) {
    const auto* actual = m_impl->Picture();
    if (!actual) {
        std::fprintf(stderr, "MatchesGolden(%s): there is no parent window\n", png.c_str());
        return false;
    }
    std::string name = png;
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".png") == 0)
        name.erase(name.size() - 4);
    const std::string actualPath = name + "_actual.png";
    const std::string diffPath = name + "_diff.png";

    const char* update = std::getenv("QUILLON_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        bool ok = WritePicture(png, *actual);
        std::fprintf(stderr, "MatchesGolden: %s %s\n", ok ? "wrote" : "could not write",
                     png.c_str());
        return ok;
    }

    platform::DecodedPicture golden;
    if (!FileExists(png) || !platform::DecodePicture(png.c_str(), 0, &golden)) {
        WritePicture(actualPath, *actual);
        std::fprintf(stderr,
                     "MatchesGolden: golden %s is missing or unreadable (set "
                     "QUILLON_UPDATE_GOLDEN=1 to write it); the picture is in %s\n",
                     png.c_str(), actualPath.c_str());
        return false;
    }

    // The diff: differing pixels red, the rest a dimmed grey of the actual.
    platform::HeadlessBackend::Picture diff;
    diff.width = actual->width;
    diff.height = actual->height;
    diff.bgrx.resize(actual->bgrx.size());
    long differing = 0;
    int firstX = -1;
    int firstY = -1;
    COLORREF firstGolden = 0;
    COLORREF firstActual = 0;
    for (int y = 0; y < actual->height; ++y) {
        for (int x = 0; x < actual->width; ++x) {
            std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(actual->width) +
                            static_cast<std::size_t>(x);
            COLORREF a = ToColor(actual->bgrx[i]);
            bool inside = x < golden.width && y < golden.height;
            COLORREF g = 0;
            if (inside) {
                const std::uint8_t* px =
                    golden.bgrx.data() +
                    (static_cast<std::size_t>(y) * static_cast<std::size_t>(golden.width) +
                     static_cast<std::size_t>(x)) *
                        4;
                g = RGB(px[2], px[1], px[0]);
            }
            bool same = inside && std::abs(GetRValue(a) - GetRValue(g)) <= tolerance &&
                        std::abs(GetGValue(a) - GetGValue(g)) <= tolerance &&
                        std::abs(GetBValue(a) - GetBValue(g)) <= tolerance;
            if (same) {
                std::uint32_t grey =
                    (GetRValue(a) * 77u + GetGValue(a) * 150u + GetBValue(a) * 29u) >>
                    10;  // a quarter of the luminance
                diff.bgrx[i] = grey | grey << 8 | grey << 16;
            } else {
                diff.bgrx[i] = 0x00FF0000;
                if (differing++ == 0) {
                    firstX = x;
                    firstY = y;
                    firstGolden = g;
                    firstActual = a;
                }
            }
        }
    }
    bool sizeDiffers = golden.width != actual->width || golden.height != actual->height;
    if (!sizeDiffers && differing == 0) return true;

    WritePicture(actualPath, *actual);
    WritePicture(diffPath, diff);
    if (sizeDiffers) {
        std::fprintf(stderr, "MatchesGolden: %s is %d x %d, the window %d x %d; wrote %s and %s\n",
                     png.c_str(), golden.width, golden.height, actual->width, actual->height,
                     actualPath.c_str(), diffPath.c_str());
    } else {
        std::fprintf(stderr,
                     "MatchesGolden: %s: %ld pixels differ by more than %d; the first at (%d, %d): "
                     "golden #%02X%02X%02X, actual #%02X%02X%02X; wrote %s and %s\n",
                     png.c_str(), differing, tolerance, firstX, firstY, GetRValue(firstGolden),
                     GetGValue(firstGolden), GetBValue(firstGolden), GetRValue(firstActual),
                     GetGValue(firstActual), GetBValue(firstActual), actualPath.c_str(),
                     diffPath.c_str());
    }
    return false;
}

}  // namespace testing
}  // namespace quillon
