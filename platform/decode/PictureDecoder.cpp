// Placeholder until the stb_image loader lands.
#include "platform/decode/PictureDecoder.h"

namespace quillon {
namespace platform {
bool DecodePicture(const char*, BYTE, DecodedPicture*) { return false; }
bool WritePng(const char*, int, int, const std::uint8_t*, int) { return false; }
}  // namespace platform
}  // namespace quillon
