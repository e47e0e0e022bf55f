#include <quillon/testing.h>

#include <gtest/gtest.h>

using quillon::testing::Harness;

TEST(HarnessTest, RecordsMessageBoxesWithTheirBytesAndAnswers) {
    Harness h;
    EXPECT_EQ(AfxMessageBox(Sjis("予約"), MB_OK, 0), IDOK);
    CWnd owner;
    EXPECT_EQ(owner.MessageBox("File Error /x"), IDOK);
    h.SetMessageBoxAnswer(IDCANCEL);
    EXPECT_EQ(owner.MessageBox("Sure?", "Quillon", MB_OKCANCEL), IDCANCEL);

    auto boxes = h.MessageBoxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].text, "\x97\x5C\x96\xF1");
    // The framework titles its own boxes with the application's name.
    EXPECT_EQ(boxes[0].caption, "quillon_platform_tests");
    EXPECT_EQ(boxes[1].text, "File Error /x");
    EXPECT_EQ(boxes[1].caption, "Error");
    EXPECT_EQ(boxes[2].caption, "Quillon");
    EXPECT_EQ(boxes[2].type, MB_OKCANCEL);
}

TEST(HarnessTest, WithoutHarnessBoxesGoToStderrInUtf8) {
    testing::internal::CaptureStderr();
    CWnd owner;
    int answer = owner.MessageBox(Sjis("予約"), "Caption");
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(answer, IDOK);
    EXPECT_EQ(err, "Caption: 予約\n");

    // And nothing is printed while a harness lives.
    testing::internal::CaptureStderr();
    {
        Harness h;
        owner.MessageBox("quiet");
        EXPECT_EQ(h.MessageBoxes().size(), 1u);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}
