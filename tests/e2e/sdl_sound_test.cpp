// The SDL backend's sounds, on SDL's offscreen video and dummy audio: a
// fresh process per case, since audio opens once.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/sdl/SdlBackend.h"
#include "support/picture_files.h"

namespace {

// A short 16-bit mono PCM WAV.
picturetest::Bytes Wav(int samples) {
    picturetest::Bytes b;
    auto put = [&](std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    auto tag = [&](const char* t) { b.insert(b.end(), t, t + 4); };
    tag("RIFF");
    put(36 + 2 * samples, 4);
    tag("WAVE");
    tag("fmt ");
    put(16, 4);
    put(1, 2);  // PCM
    put(1, 2);
    put(22050, 4);
    put(44100, 4);
    put(2, 2);
    put(16, 2);
    tag("data");
    put(2 * samples, 4);
    for (int i = 0; i < samples; ++i) put(static_cast<std::uint32_t>((i % 50) * 600), 2);
    return b;
}

TEST(SdlSound, PlaysWavFilesAndRefusesWhatItCannotPlay) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    picturetest::TempDir dir;
    std::string good = dir.Write("good.wav", Wav(2000));
    std::string bad = dir.Write("bad.wav", picturetest::Bytes{'R', 'I', 'F', 'F', 1, 2, 3});
    // {audio driver, file, played}
    struct Case {
        const char* driver;
        std::string path;
        bool played;
    };
    const Case cases[] = {{"dummy", good, true},
                          {"dummy", bad, false},
                          {"dummy", dir.Path("missing.wav"), false},
                          {"dummy", "", false},  // the default sound: none here
                          {"no-such-driver", good, false}};
    for (const Case& c : cases) {
        EXPECT_EXIT(
            {
                setenv("SDL_VIDEODRIVER", "offscreen", 1);
                setenv("SDL_AUDIODRIVER", c.driver, 1);
                std::string why;
                auto* backend = quillon::platform::StartSdlBackend(&why);
                if (!backend) std::exit(3);
                bool played = backend->PlaySound(CString(c.path.c_str()), false);
                // A second sound replaces the first; stopping is always safe.
                played = played && backend->PlaySound(CString(c.path.c_str()), true);
                backend->StopSound();
                std::exit(played ? 0 : 1);
            },
            ::testing::ExitedWithCode(c.played ? 0 : 1), "")
            << c.driver << " " << c.path;
    }
}

}  // namespace
