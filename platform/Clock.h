// The platform clock: wall-clock seconds and the millisecond tick, both
// replaceable so that tests never read the real clock.
#pragma once

#include <cstdint>

namespace quillon {
namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int32_t NowSeconds() = 0;
    virtual std::uint32_t TickMs() = 0;
};

Clock& CurrentClock();
// nullptr restores the system clock. The caller keeps ownership.
void SetClock(Clock* clock);

}  // namespace platform
}  // namespace quillon
