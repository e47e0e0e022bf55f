// The harness itself: message boxes (recorded, answered, nested input),
// sounds, and pictures of the screen compared with golden files.

#include <cstdlib>

#include "platform/Sound.h"
#include "platform/decode/PictureDecoder.h"
#include "window_helpers.h"

namespace fs = std::filesystem;
using namespace wintest;

TEST(HarnessTest, RecordsBoxesTheInputNestedInThemAndSoundsAndComparesTheScreenWithGoldens) {
    Harness h;
    TempDir dir;
    EXPECT_EQ(AfxMessageBox(Sjis("予約"), MB_OK, 0), IDOK);
    CWnd owner;
    EXPECT_EQ(owner.MessageBox("File Error /x"), IDOK);
    h.SetMessageBoxAnswer(IDCANCEL);
    EXPECT_EQ(owner.MessageBox("Sure?", "Quillon", MB_OKCANCEL), IDCANCEL);

    // The framework titles its own boxes with the application's name.
    std::vector<std::string> boxes;
    for (const auto& box : h.MessageBoxes()) boxes.push_back(box.caption + ": " + box.text);
    EXPECT_EQ(boxes, (std::vector<std::string>{"quillon_platform_tests: \x97\x5C\x96\xF1",
                                               "Error: File Error /x", "Quillon: Sure?"}));
    EXPECT_EQ(h.MessageBoxes().back().type, MB_OKCANCEL);

    // Input sent while a box is up (answering IDCANCEL, as set above) is
    // nested in the box's modal loop.
    CWnd* parent = h.CreateParent(20, 10);
    struct Asking : Recorder {
        Asking() : Recorder(RGB(200, 0, 0)) {}
        void OnLButtonDown(UINT flags, CPoint p) override {
            Recorder::OnLButtonDown(flags, p);
            if (asked++ > 0) return;
            PostMessage(WM_APP);
            int answer = MessageBox("Sure?", "Quillon", MB_OKCANCEL);
            events.push_back("answer " + std::to_string(answer));
        }
        int asked = 0;
    } asking;
    ASSERT_TRUE(MakeChild(&asking, parent, CRect(0, 0, 10, 10)));
    std::vector<std::string> during;
    h.OnMessageBox([&](const std::string& text, const std::string& caption) {
        during.push_back(caption + ": " + text);
        // The message posted before the box went up was dispatched by it.
        during.push_back("posted seen " + std::to_string(asking.Count(WM_APP)));
        h.LButtonDown(5, 6);
        h.RButtonDown(7, 8);
    });
    h.LButtonDown(1, 2);
    EXPECT_EQ(asking.events, (std::vector<std::string>{"ldown 1,2 f1", "ldown 5,6 f1",
                                                       "rdown 7,8 f2", "answer 2"}));
    EXPECT_EQ(during, (std::vector<std::string>{"Quillon: Sure?", "posted seen 1"}));
    EXPECT_EQ(h.MessageBoxes().size(), 4u);  // one more: the press inside asked nothing

    // Sounds are recorded and missing files refused.
    const std::string wav = dir.Write("click.wav", std::string("RIFF"));
    constexpr DWORD kFlags = SND_FILENAME | SND_ASYNC | SND_NODEFAULT;
    EXPECT_EQ(kFlags, 0x20003u);
    EXPECT_TRUE(PlaySound(wav.c_str(), nullptr, kFlags));
    // A missing file, a folder and an empty name are refused.
    for (const std::string& bad : {dir.Path("none.wav"), dir.Path(""), std::string()})
        EXPECT_FALSE(PlaySound(bad.c_str(), nullptr, kFlags)) << bad;
    EXPECT_TRUE(PlaySound(nullptr, nullptr, 0));  // stops; plays nothing
    // Without SND_NODEFAULT a missing file plays the default sound. The
    // record only grows: what the refused names or the stop played would
    // show here too.
    EXPECT_TRUE(PlaySound(dir.Path("none.wav").c_str(), nullptr, SND_FILENAME | SND_ASYNC));
    EXPECT_EQ(h.Sounds(), (std::vector<std::string>{wav, ""}));

    // The asking window's red beside the frame's face, nothing outside: the
    // screen as a file and compared with golden pictures.
    ExpectShown(h, {{5, 5, RGB(200, 0, 0)}, {15, 5, RGB(192, 192, 192)}, {20, 5, ~0u}});
    std::string shot = dir.Path("shot.png");
    ASSERT_TRUE(h.SavePng(shot));
    quillon::platform::DecodedPicture decoded;
    ASSERT_TRUE(quillon::platform::DecodePicture(shot.c_str(), 0, &decoded));
    // The red of (5, 5).
    EXPECT_TRUE(CSize(decoded.width, decoded.height) == CSize(20, 10) &&
                decoded.bgrx[(5 * 20 + 5) * 4 + 2] == 200);

    // A missing golden fails and leaves the picture to look at.
    std::string golden = dir.Path("g.png");
    EXPECT_FALSE(h.MatchesGolden(golden, 0));
    EXPECT_TRUE(fs::exists(dir.Path("g_actual.png")) && !fs::exists(golden));
    std::remove(dir.Path("g_actual.png").c_str());

    setenv("QUILLON_UPDATE_GOLDEN", "1", 1);
    EXPECT_TRUE(h.MatchesGolden(golden, 0));
    unsetenv("QUILLON_UPDATE_GOLDEN");
    EXPECT_TRUE(fs::exists(golden) && h.MatchesGolden(golden, 0) &&
                !fs::exists(dir.Path("g_actual.png")));

    // Two levels off: within a tolerance of 2, not of 1.
    Recorder redder(RGB(202, 0, 0));
    ASSERT_TRUE(MakeChild(&redder, parent, CRect(0, 0, 4, 4)));
    h.AdvanceMs(0);
    EXPECT_TRUE(h.MatchesGolden(golden, 2) && !h.MatchesGolden(golden, 1));
    ASSERT_TRUE(fs::exists(dir.Path("g_actual.png")) && fs::exists(dir.Path("g_diff.png")));
    quillon::platform::DecodedPicture diff;
    ASSERT_TRUE(quillon::platform::DecodePicture(dir.Path("g_diff.png").c_str(), 0, &diff));
    // A changed pixel shows red, the others a quarter of their grey.
    const std::uint8_t *changed = &diff.bgrx[(2 * 20 + 2) * 4],
                       *same = &diff.bgrx[(8 * 20 + 15) * 4];
    EXPECT_EQ((std::vector<int>{changed[1], changed[2], same[0], same[2]}),
              (std::vector<int>{0, 255, 48, 48}));
}

TEST(HarnessTest, WithoutHarnessBoxesGoToStderrInUtf8) {
    testing::internal::CaptureStderr();
    CWnd owner;
    int answer = owner.MessageBox(Sjis("予約"), "Caption");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Caption: 予約\n");
    EXPECT_EQ(answer, IDOK);

    // And nothing is printed while a harness lives.
    testing::internal::CaptureStderr();
    {
        Harness h;
        owner.MessageBox("quiet");
        EXPECT_EQ(h.MessageBoxes().size(), 1u);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}
