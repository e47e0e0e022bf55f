#include "platform/Clock.h"

#include <quillon/platform/CTime.h>

#include <chrono>
#include <ctime>
#include <limits>
#include <thread>

namespace quillon {
namespace platform {
namespace {

class SystemClock : public Clock {
public:
    std::int32_t NowSeconds() override {
        std::time_t t = std::time(nullptr);
        // Past 2038 the 32-bit instant cannot follow; hold at its last second.
        if (t > std::numeric_limits<std::int32_t>::max())
            return std::numeric_limits<std::int32_t>::max();
        return static_cast<std::int32_t>(t);
    }
    std::uint32_t TickMs() override {
        auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now().time_since_epoch())
                      .count();
        return static_cast<std::uint32_t>(ms);
    }
};

SystemClock g_system;
Clock* g_clock = &g_system;

}  // namespace

void Clock::Sleep(std::uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

Clock& CurrentClock() {
    return *g_clock;
}
void SetClock(Clock* clock) {
    g_clock = clock ? clock : &g_system;
}

}  // namespace platform
}  // namespace quillon

DWORD timeGetTime() {
    return quillon::platform::CurrentClock().TickMs();
}
