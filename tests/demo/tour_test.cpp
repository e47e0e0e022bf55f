// The demo's tour on the default skin: its first pictures match their
// goldens, and its two device drags show a balloon with something to say.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include <quillon/testing.h>

#include "demo/Tour.h"
#include "support/picture_files.h"

namespace {

TEST(DemoTour, FirstPicturesMatchAndDragsSpeak) {
    picturetest::TempDir dir;
    const std::string golden = std::string(QUILLON_SOURCE_DIR) + "/tests/demo/golden/";
    std::map<std::string, std::size_t> texts;
    int seen = 0;
    auto look = [&](quillon::testing::Harness& h, const std::string& name) {
        if (++seen <= 4) {
            EXPECT_TRUE(h.MatchesGolden(golden + name + ".png", 2)) << name;
        }
        texts[name] = h.DrawnTexts().size();
    };
    EXPECT_EQ(demo::RunTour(QUILLON_DEMO_SKIN, dir.Path("tour"), look), 9);  // pictures written
    EXPECT_EQ(seen, 9);
    const char* names[] = {"opening",  "audio",        "luncher",      "timer",  "device-drag",
                           "reserved", "refused-drag", "program-drag", "dubbing"};
    for (int i = 0; i < 9; ++i) {
        std::string file = "tour/0" + std::to_string(i + 1) + "-" + names[i] + ".png";
        EXPECT_TRUE(std::filesystem::exists(dir.Path(file))) << file;
    }
    EXPECT_GT(texts["device-drag"], 0u) << "no balloon over the calendar";
    EXPECT_GT(texts["refused-drag"], 0u) << "no balloon naming the rule";
}

}  // namespace
