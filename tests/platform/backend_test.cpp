// The backend contract: closing a frame, and the message box the platform
// lays out and draws for the backend to show. (Losing the focus and the tool
// tip picture are checked with the tool tips in the input tests.)
#include <tuple>

#include "platform/BackendCalls.h"
#include "window_helpers.h"

using quillon::platform::FrameWindow;
using namespace wintest;

namespace {

// A frame that answers the user's close by staying open.
struct KeepsOpen : FrameWindow {
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CLOSE) {
            ++closes;
            return 0;
        }
        return FrameWindow::WindowProc(message, wParam, lParam);
    }
    int closes = 0;
};

}  // namespace

TEST(BackendTest, QuitClosesTheFrameAndTheLastFrameEndsTheLoop) {
    Harness h;
    CWnd* parent = h.CreateParent(100, 100);
    Recorder child;
    ASSERT_TRUE(MakeChild(&child, parent, CRect(0, 0, 50, 50)));
    KeepsOpen other;
    ASSERT_TRUE(other.Create("other", 40, 40));

    h.CloseParent();
    EXPECT_FALSE(IsWindow(parent));
    // The frame is asked, not its children.
    EXPECT_TRUE(child.Count(WM_CLOSE) == 0 && child.Count(WM_DESTROY) == 1);
    EXPECT_TRUE(quillon::platform::PumpMessages()) << "a frame is left: no quit";

    // A frame that handles the close stays, and so does the loop.
    quillon::platform::PostInput({quillon::platform::InputKind::Quit, other.BackendId()});
    EXPECT_TRUE(quillon::platform::PumpMessages());
    EXPECT_TRUE(other.closes == 1 && IsWindow(&other));
    // A close for a frame that is gone reaches nobody.
    quillon::platform::PostInput({quillon::platform::InputKind::Quit, 999});
    EXPECT_TRUE(quillon::platform::PumpMessages());

    EXPECT_TRUE(other.DestroyWindow());
    EXPECT_EQ(quillon::platform::RunMessageLoop(), 0);
}

TEST(BackendTest, MessageBoxButtonsByTypeAndTheirPicture) {
    using quillon::platform::DrawMessageBox;
    using quillon::platform::MessageBoxButtons;
    // {type, the buttons' answers left to right, the focused button, the
    // answer of Escape (0: none)}
    using Case = std::tuple<UINT, std::vector<int>, int, int>;
    const Case cases[] = {
        {MB_OK, {IDOK}, 0, IDOK},
        {MB_OKCANCEL | MB_ICONQUESTION, {IDOK, IDCANCEL}, 0, IDCANCEL},
        {MB_ABORTRETRYIGNORE, {IDABORT, IDRETRY, IDIGNORE}, 0, 0},
        {MB_YESNOCANCEL | 0x200, {IDYES, IDNO, IDCANCEL}, 2, IDCANCEL},  // third is default
        {MB_YESNO | 0x100, {IDYES, IDNO}, 1, 0},
        {MB_RETRYCANCEL | 0x200, {IDRETRY, IDCANCEL}, 0, IDCANCEL},  // no third: the first
        {0xE, {IDOK}, 0, IDOK},                                      // unknown: OK
    };
    Harness h;
    for (const auto& [type, answers, focused, escape] : cases) {
        auto layout = MessageBoxButtons(type);
        std::vector<int> got;
        for (const auto& b : layout.buttons) got.push_back(b.answer);
        EXPECT_EQ(got, answers) << type;
        EXPECT_EQ(layout.focused, focused) << type;
        EXPECT_EQ(layout.escapeAnswer, escape) << type;

        // Buttons lie inside the picture, left to right, apart.
        HBITMAP picture = DrawMessageBox(Sjis("保存しますか？\n二行目"), "Title", &layout, 0);
        ASSERT_NE(picture, nullptr);
        CRect all(0, 0, picture->width, picture->height);
        for (std::size_t i = 0; i < layout.buttons.size(); ++i) {
            const CRect& r = layout.buttons[i].rect;
            EXPECT_TRUE(!r.IsRectEmpty() && (CRect(r) & all) == r) << type << " " << i;
            if (i > 0) {
                EXPECT_LT(layout.buttons[i - 1].rect.right, r.left);
            }
        }
        DeleteObject(picture);
    }
}
