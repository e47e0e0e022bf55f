// The backend with a real desktop window, through SDL2. The only part of
// the library that includes SDL; this header does not, so the platform can
// choose it without knowing SDL.
#pragma once

#include <string>

#include "platform/Backend.h"

namespace quillon {
namespace platform {

// Starts SDL's video (once per process) and answers the backend; null, with
// the reason in `why`, when no display can be opened. The backend lives
// until the process ends.
//
// The scale: QUILLON_SCALE (1 to 8), or 2 and more on a display of 144 dpi
// and more. Windows show their pixels enlarged without blur and the pointer
// is mapped back, so the system sees only its own pixels.
Backend* StartSdlBackend(std::string* why);

}  // namespace platform
}  // namespace quillon
