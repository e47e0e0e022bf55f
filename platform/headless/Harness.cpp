#include <quillon/testing.h>

#include <cstdlib>
#include <ctime>
#include <optional>

#include "platform/Backend.h"
#include "platform/Clock.h"

namespace quillon {
namespace testing {
namespace {

class FakeClock : public platform::Clock {
public:
    std::int32_t NowSeconds() override { return static_cast<std::int32_t>(m_nowMs / 1000); }
    std::uint32_t TickMs() override { return m_tick; }

    std::int64_t m_nowMs = 0;
    std::uint32_t m_tick = 0;
};

class RecordingBackend : public platform::Backend {
public:
    int MessageBox(CWnd* /*owner*/, const CString& text, const CString& caption,
                   UINT type) override {
        m_boxes.push_back(MessageBoxRecord{text.str(), caption.str(), type});
        return m_answer;
    }

    std::vector<MessageBoxRecord> m_boxes;
    int m_answer = IDOK;
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

}  // namespace

struct Harness::Impl {
    FakeClock clock;
    RecordingBackend backend;
    std::optional<std::string> savedTz;
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
}

Harness::~Harness() {
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
    m_impl->clock.m_nowMs += ms;
    m_impl->clock.m_tick += ms;
}

std::uint32_t Harness::Tick() const {
    return m_impl->clock.m_tick;
}

void Harness::SetTimeZone(const std::string& tz) {
    SetTz(tz);
}

std::vector<MessageBoxRecord> Harness::MessageBoxes() const {
    return m_impl->backend.m_boxes;
}

void Harness::SetMessageBoxAnswer(int answer) {
    m_impl->backend.m_answer = answer;
}

}  // namespace testing
}  // namespace quillon
