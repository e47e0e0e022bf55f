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
    // The thread blocks for `ms` milliseconds (a test clock moves instead).
    virtual void Sleep(std::uint32_t ms);
    // A message peek found nothing: a test clock moves its tick by a
    // millisecond so that a loop waiting on the tick ends.
    virtual void Idle() {}
};

Clock& CurrentClock();
// nullptr restores the system clock. The caller keeps ownership.
void SetClock(Clock* clock);

}  // namespace platform
}  // namespace quillon
