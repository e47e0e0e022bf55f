// The demo's scripted tour through the harness, and the skin's size.
#pragma once

#include <quillon/quillon.h>

#include "SkinSize.h"

#include <functional>
#include <string>

namespace quillon {
namespace testing {
class Harness;
}
}  // namespace quillon

namespace demo {

// Opening, the three views, a device drag with its balloon, a refused drag,
// a program drag and a dubbing line, each written as a numbered PNG in
// `dir` ("01-opening.png", …). `onShot`, when given, sees the harness at
// each step with the picture's name (without number), so a test can compare
// the screen with its golden. The number of pictures written; -1 when the
// screen cannot be made.
using TourShot = std::function<void(quillon::testing::Harness&, const std::string& name)>;
int RunTour(const std::string& skinDir, const std::string& dir, const TourShot& onShot = nullptr);

// Where things are in the TIMER view today, in the frame's client
// coordinates, one per line: "NAME X Y" for each device and
// "at DAYS HH:MM X Y" for the calendar's point of that time DAYS days from
// today. For driving the real window from outside.
void PrintLayout(const std::string& skinDir);

}  // namespace demo
