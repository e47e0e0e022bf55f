// The sound player's WAV reader on any bytes.
#include <cstdint>
#include <string>

#include "platform/WavFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quillon::platform::WavSound sound;
    std::string why;
    if (quillon::platform::ReadWav(data, size, &sound, &why)) {
        // Whole frames of the sample size said, nothing more.
        const std::size_t sample = sound.sample == quillon::platform::WavSound::Sample::U8    ? 1
                                   : sound.sample == quillon::platform::WavSound::Sample::S16 ? 2
                                                                                              : 4;
        if (sound.data.empty() || sound.data.size() % (sample * sound.channels) != 0)
            __builtin_trap();
    } else if (why.empty()) {
        __builtin_trap();
    }
    return 0;
}
