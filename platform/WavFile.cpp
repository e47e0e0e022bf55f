#include "platform/WavFile.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/LittleEndian.h"

namespace quillon {
namespace platform {
namespace {

bool Fail(std::string* why, const char* text) {
    if (why) *why = text;
    return false;
}

constexpr std::uint32_t kPcm = 1, kFloat = 3, kExtensible = 0xFFFE;

}  // namespace

bool ReadWav(const std::uint8_t* d, std::size_t n, WavSound* out, std::string* why) {
    if (n < 12 || std::memcmp(d, "RIFF", 4) != 0 || std::memcmp(d + 8, "WAVE", 4) != 0)
        return Fail(why, "not a WAV file");
    // The RIFF size may be wrong in the wild; the file's own end bounds the walk.
    const std::uint8_t* fmt = nullptr;
    std::size_t fmtSize = 0;
    const std::uint8_t* data = nullptr;
    std::size_t dataSize = 0;
    std::size_t pos = 12;
    while (pos + 8 <= n && !(fmt && data)) {
        const std::uint8_t* chunk = d + pos;
        std::size_t size = Le32(chunk + 4);
        std::size_t left = n - pos - 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (size > left) return Fail(why, "WAV format chunk past the end of the file");
            fmt = chunk + 8;
            fmtSize = size;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            data = chunk + 8;
            dataSize = size < left ? size : left;  // a cut recording plays what is there
        }
        if (size > left) break;
        pos += 8 + size + (size & 1);
    }
    if (!fmt || fmtSize < 16) return Fail(why, "WAV without a format chunk");
    if (!data) return Fail(why, "WAV without a data chunk");
    std::uint32_t tag = Le16(fmt);
    const int channels = static_cast<int>(Le16(fmt + 2));
    const std::uint32_t rate = Le32(fmt + 4);
    const std::uint32_t align = Le16(fmt + 12);
    const std::uint32_t bits = Le16(fmt + 14);
    if (tag == kExtensible) {
        if (fmtSize < 40) return Fail(why, "WAV extensible format chunk too short");
        tag = Le16(fmt + 24);  // the sub-format's first two bytes
    }
    if (tag != kPcm && tag != kFloat)
        return Fail(why, "compressed WAV is not supported; save it as PCM");
    if (channels < 1 || channels > 8) return Fail(why, "WAV with an unsupported channel count");
    if (rate < 1000 || rate > 384000) return Fail(why, "WAV with an unsupported sample rate");
    const bool ok =
        tag == kFloat ? bits == 32 : (bits == 8 || bits == 16 || bits == 24 || bits == 32);
    if (!ok) return Fail(why, "WAV with an unsupported sample size");
    const std::size_t frame = static_cast<std::size_t>(channels) * (bits / 8);
    if (align != frame) return Fail(why, "WAV whose block size does not match its samples");
    const std::size_t frames = dataSize / frame;
    if (frames == 0) return Fail(why, "WAV without samples");

    WavSound sound;
    sound.channels = channels;
    sound.rate = static_cast<int>(rate);
    const std::size_t samples = frames * static_cast<std::size_t>(channels);
    if (bits == 24) {
        // Widened to 32 bits: the audio library takes no packed 24-bit samples.
        sound.sample = WavSound::Sample::S32;
        sound.data.resize(samples * 4);
        for (std::size_t i = 0; i < samples; ++i) {
            sound.data[4 * i] = 0;
            std::memcpy(&sound.data[4 * i + 1], data + 3 * i, 3);
        }
    } else {
        sound.sample = tag == kFloat ? WavSound::Sample::F32
                       : bits == 8   ? WavSound::Sample::U8
                       : bits == 16  ? WavSound::Sample::S16
                                     : WavSound::Sample::S32;
        sound.data.assign(data, data + frames * frame);
    }
    *out = std::move(sound);
    return true;
}

bool ReadWavFile(const char* path, WavSound* out, std::string* why) {
    if (!path || !*path) return Fail(why, "no file name");
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path, "rb"), std::fclose);
    if (!f) return Fail(why, "cannot be opened");
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, f.get())) > 0) {
        if (bytes.size() + got > kMaxWavFileBytes) return Fail(why, "sound file too large");
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    if (std::ferror(f.get())) return Fail(why, "cannot be read");
    return ReadWav(bytes.data(), bytes.size(), out, why);
}

}  // namespace platform
}  // namespace quillon
