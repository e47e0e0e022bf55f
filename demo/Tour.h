// The demo's scripted tour through the harness, and the skin's size.
#pragma once

#include <quillon/quillon.h>

#include <string>

namespace demo {

// The frame's client size for the skin: its background picture plus the
// screen's client edge. 806 x 566 when the background cannot be read.
CSize SkinSize(const std::string& skinDir);

// Opening, the three views, a device drag with its balloon, a refused drag,
// a program drag and a dubbing line, each written as a numbered PNG in
// `dir`. The number of pictures written; -1 when the screen cannot be made.
int RunTour(const std::string& skinDir, const std::string& dir);

// Where things are in the TIMER view today, in the frame's client
// coordinates, one per line: "NAME X Y" for each device and
// "at DAYS HH:MM X Y" for the calendar's point of that time DAYS days from
// today. For driving the real window from outside.
void PrintLayout(const std::string& skinDir);

}  // namespace demo
