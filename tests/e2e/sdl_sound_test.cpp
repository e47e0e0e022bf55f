// The SDL backend's sounds, on SDL's offscreen video and dummy audio: a
// fresh process per case, since audio opens once.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <tuple>

#include "platform/sdl/SdlBackend.h"
#include "support/picture_files.h"
#include "support/wav_files.h"

namespace {

TEST(SdlSound, PlaysWavFilesAndRefusesWhatItCannotPlay) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    picturetest::TempDir dir;
    wavtest::Bytes pcm;  // 2000 samples, 16-bit mono
    for (std::uint32_t i = 0; i < 2000; ++i) wavtest::Put(pcm, i % 50 * 600, 2);
    std::string good = dir.Write("good.wav", wavtest::Wav(wavtest::Fmt(1, 1, 22050, 16), pcm));
    std::string bad = dir.Write("bad.wav", picturetest::Bytes{'R', 'I', 'F', 'F', 1, 2, 3});
    // {audio driver, file, played}
    const std::tuple<const char*, std::string, bool> cases[] = {
        {"dummy", good, true},
        {"dummy", bad, false},
        {"dummy", dir.Path("missing.wav"), false},
        {"dummy", "", false},  // the default sound: none here
        {"no-such-driver", good, false}};
    for (const auto& [driver, path, plays] : cases) {
        EXPECT_EXIT(
            {
                setenv("SDL_VIDEODRIVER", "offscreen", 1);
                setenv("SDL_AUDIODRIVER", driver, 1);
                std::string why;
                auto* backend = quillon::platform::StartSdlBackend(&why);
                if (!backend) std::exit(3);
                bool played = backend->PlaySound(CString(path.c_str()), false);
                // A second sound replaces the first; stopping is always safe.
                played = played && backend->PlaySound(CString(path.c_str()), true);
                backend->StopSound();
                std::exit(played ? 0 : 1);
            },
            ::testing::ExitedWithCode(plays ? 0 : 1), "")
            << driver << " " << path;
    }
}

}  // namespace
