// WAV files for the sound player, read by us rather than by the audio
// library, so a hostile sound file meets one checked reader: RIFF chunks
// walked within the file, PCM of 8, 16, 24 or 32 bits or 32-bit float
// (plain or extensible format), 1 to 8 channels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quillon {
namespace platform {

struct WavSound {
    enum class Sample { U8, S16, S32, F32 };  // little-endian, interleaved
    Sample sample = Sample::S16;
    int channels = 0;
    int rate = 0;
    std::vector<std::uint8_t> data;  // whole frames only; 24-bit widened to S32
};

// The largest sound file read: effects are short.
constexpr std::size_t kMaxWavFileBytes = 64u * 1024 * 1024;

// False, with `why`, for anything that is not a playable WAV.
bool ReadWav(const std::uint8_t* bytes, std::size_t size, WavSound* out, std::string* why);
bool ReadWavFile(const char* path, WavSound* out, std::string* why);

}  // namespace platform
}  // namespace quillon
