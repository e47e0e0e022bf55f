// The window a skin wants, from its description and background picture.
#pragma once

#include <quillon/quillon.h>

#include <string>

namespace demo {

// The frame's client size for the skin in `skinDir` (with its trailing '/'):
// its background BMP plus the screen's client edge. 806 x 566 when the
// background cannot be read.
CSize SkinSize(const std::string& skinDir);

}  // namespace demo
