// The headless test harness for Quillon and for hosts testing their screens.
//
// While a Harness lives, the wall clock and the millisecond tick are fakes that
// only move when the test moves them, message boxes are recorded instead of
// shown (each answers as SetMessageBoxAnswer says, IDOK by default), nothing is
// printed, and the local time zone is Asia/Tokyo unless SetTimeZone picks
// another. Everything is restored when it is destroyed. One at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <quillon/quillon.h>

namespace quillon {
namespace testing {

struct MessageBoxRecord {
    std::string text;     // bytes exactly as shown (Shift-JIS)
    std::string caption;  // bytes exactly as shown
    UINT type = 0;
};

class Harness {
public:
    Harness();
    ~Harness();
    Harness(const Harness&) = delete;
    Harness& operator=(const Harness&) = delete;

    // Wall clock. Starts at 2025-01-06 09:00:00 local time (a Monday).
    void SetNow(CTime now);
    CTime Now() const;
    // Moves the wall clock and the tick together.
    void AdvanceMs(std::uint32_t ms);
    std::uint32_t Tick() const;

    // Any TZ value, e.g. "America/New_York".
    void SetTimeZone(const std::string& tz);

    std::vector<MessageBoxRecord> MessageBoxes() const;
    void SetMessageBoxAnswer(int answer);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace testing
}  // namespace quillon
