// The sound player's WAV reader: the sample layouts it plays, and every
// file it must turn away with a reason instead of reading past its end.
#include <gtest/gtest.h>

#include <tuple>

#include "platform/WavFile.h"
#include "support/wav_files.h"

namespace {

using namespace wavtest;
using quillon::platform::ReadWav;
using quillon::platform::WavSound;
using Sample = WavSound::Sample;

TEST(WavTest, PlaysPcmAndFloatLayouts) {
    Bytes ext = Fmt(0xFFFE, 2, 48000, 16);
    Put(ext, 22, 2);
    Put(ext, 16, 2);
    Put(ext, 3, 4);
    Put(ext, 1, 2);  // the PCM sub-format
    ext.resize(40, 0);
    // {what, format chunk, data chunk, and the sample type, channels, rate
    // and samples read}. 16 bits: half a frame is dropped; 24 bits: widened
    // to 32.
    using Case = std::tuple<const char*, Bytes, Bytes, Sample, int, int, Bytes>;
    const Case cases[] = {
        // clang-format off
        {"8-bit mono", Fmt(1, 1, 8000, 8), {1, 2, 3}, Sample::U8, 1, 8000, {1, 2, 3}},
        {"16-bit stereo", Fmt(1, 2, 44100, 16), {1, 2, 3, 4, 5, 6}, Sample::S16, 2, 44100,
         {1, 2, 3, 4}},
        {"24-bit", Fmt(1, 1, 22050, 24), {1, 2, 3, 4, 5, 6}, Sample::S32, 1, 22050,
         {0, 1, 2, 3, 0, 4, 5, 6}},
        {"float", Fmt(3, 1, 44100, 32), {0, 0, 128, 63}, Sample::F32, 1, 44100, {0, 0, 128, 63}},
        {"extensible PCM", ext, {9, 8, 7, 6}, Sample::S16, 2, 48000, {9, 8, 7, 6}},
        // clang-format on
    };
    for (const auto& [what, fmt, data, sample, channels, rate, samples] : cases) {
        WavSound w;
        std::string why;
        const Bytes file = Wav(fmt, data);
        ASSERT_TRUE(ReadWav(file.data(), file.size(), &w, &why)) << what << ": " << why;
        EXPECT_EQ(w.sample, sample) << what;
        EXPECT_EQ(w.channels, channels) << what;
        EXPECT_EQ(w.rate, rate) << what;
        EXPECT_EQ(w.data, samples) << what;
    }
    // A recording cut short plays what it holds.
    Bytes cut = Wav(Fmt(1, 1, 8000, 8), {1, 2, 3, 4});
    cut.resize(cut.size() - 2);
    WavSound w;
    ASSERT_TRUE(ReadWav(cut.data(), cut.size(), &w, nullptr));
    EXPECT_EQ(w.data, (Bytes{1, 2}));
}

TEST(WavTest, RefusesWhatItCannotPlayWithAReason) {
    const Bytes riff = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    Bytes fmtPastEnd = riff, tinyFmt = riff;
    Chunk(fmtPastEnd, "fmt ", Fmt(1, 1, 8000, 8), 4000);
    Chunk(tinyFmt, "fmt ", Bytes(8, 1));
    Chunk(tinyFmt, "data", {1, 2});
    const std::pair<Bytes, const char*> cases[] = {
        {{'R', 'I', 'F', 'F'}, "not a WAV file"},
        {Bytes(40, 0), "not a WAV file"},
        {fmtPastEnd, "WAV format chunk past the end of the file"},
        {tinyFmt, "WAV without a format chunk"},
        {Wav(Fmt(1, 1, 8000, 8), {}, false), "WAV without a data chunk"},
        {Wav(Fmt(2, 1, 8000, 4), {1, 2}), "compressed WAV is not supported; save it as PCM"},
        {Wav(Fmt(0xFFFE, 1, 8000, 16), {1, 2}), "WAV extensible format chunk too short"},
        {Wav(Fmt(1, 0, 8000, 8, 1), {1, 2}), "WAV with an unsupported channel count"},
        {Wav(Fmt(1, 9, 8000, 8), {1, 2}), "WAV with an unsupported channel count"},
        {Wav(Fmt(1, 1, 0, 8), {1, 2}), "WAV with an unsupported sample rate"},
        {Wav(Fmt(1, 1, 8000, 12, 2), {1, 2}), "WAV with an unsupported sample size"},
        {Wav(Fmt(3, 1, 8000, 16), {1, 2}), "WAV with an unsupported sample size"},
        {Wav(Fmt(1, 2, 8000, 16, 2), {1, 2, 3, 4}),
         "WAV whose block size does not match its samples"},
        {Wav(Fmt(1, 2, 8000, 16), {1, 2}), "WAV without samples"},
    };
    for (const auto& [file, reason] : cases) {
        WavSound w;
        std::string why;
        EXPECT_FALSE(ReadWav(file.data(), file.size(), &w, &why)) << reason;
        EXPECT_EQ(why, reason);
    }
    WavSound w;
    std::string why;
    EXPECT_FALSE(quillon::platform::ReadWavFile("/nonexistent/a.wav", &w, &why));
    EXPECT_EQ(why, "cannot be opened");
    EXPECT_FALSE(quillon::platform::ReadWavFile("/tmp", &w, &why));
    EXPECT_EQ(why, "cannot be read");
}

}  // namespace
