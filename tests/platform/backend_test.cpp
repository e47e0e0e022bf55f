// The backend contract: closing a frame, losing the focus, and the tool tip
// picture the platform draws for the backend to show.
#include "platform/BackendCalls.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/text/Font.h"
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

const quillon::platform::HeadlessBackend& Headless() {
    return dynamic_cast<const quillon::platform::HeadlessBackend&>(
        quillon::platform::CurrentBackend());
}

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

TEST(BackendTest, FocusLostReleasesTheCaptureHidesTheTipAndFocusComesBack) {
    Harness h;
    CWnd* parent = h.CreateParent(200, 100);
    TipHost host;
    Recorder typing;
    host.text = "tip";
    ASSERT_TRUE(MakeChild(&host, parent, CRect(0, 0, 100, 100)) &&
                MakeChild(&typing, parent, CRect(100, 0, 200, 100)));
    typing.SetFocus();
    ASSERT_EQ(TipAfter(h, 10, 10, 500), "tip");
    host.SetCapture();
    host.Clear();
    typing.Clear();

    h.LoseFocus();
    ASSERT_EQ(host.Count(WM_CAPTURECHANGED), 1);
    EXPECT_TRUE(CWnd::GetCapture() == nullptr && host.seen.back().lParam == 0);
    EXPECT_TRUE(typing.Count(WM_KILLFOCUS) == 1 && CWnd::GetFocus() == nullptr);
    EXPECT_TRUE(h.ToolTipText() == "" && Headless().TipPicture() == nullptr);
    h.AdvanceMs(1000);
    EXPECT_EQ(h.ToolTipText(), "") << "the tip waits for the pointer to come back";
    h.LoseFocus();  // already lost: nothing more to tell
    EXPECT_EQ(typing.Count(WM_KILLFOCUS), 1);

    // The next key goes to the window that had the focus, which is told
    // first; the mouse capture stays released.
    h.KeyDown('Q');
    EXPECT_EQ(typing.events, (std::vector<std::string>{"key 81 x1"}));
    EXPECT_TRUE(typing.Count(WM_SETFOCUS) == 1 && CWnd::GetFocus() == &typing &&
                CWnd::GetCapture() == nullptr);
    // Back on the tool, the tip shows again.
    EXPECT_EQ(TipAfter(h, 12, 12, 500), "tip");
}

TEST(BackendTest, TheToolTipIsAFramedPictureWithInkPushedInsideTheFrame) {
    Harness h;
    CWnd* parent = h.CreateParent(200, 100);
    TipHost host;
    host.text = "Ab\nCd";
    ASSERT_TRUE(MakeChild(&host, parent, CRect(0, 0, 200, 100)));
    ASSERT_EQ(TipAfter(h, 195, 95, 500), "Ab\nCd");  // no room below or to the right
    const auto* tip = Headless().TipPicture();
    ASSERT_TRUE(tip != nullptr && tip->width > 8);
    const int line = quillon::platform::FontLineHeight(quillon::platform::DefaultGuiFont());
    EXPECT_GE(tip->height, 2 * line) << "one line for each LF-separated part";
    POINT at = Headless().ToolTipPoint();
    EXPECT_TRUE(at.x >= 0 && at.x + tip->width <= 200) << at.x;
    EXPECT_LE(at.y + tip->height, 95) << "above the pointer, not over it";

    const std::uint32_t background = 0xFFFFE1;  // COLOR_INFOBK, as BGRX
    ASSERT_EQ(GetSysColor(COLOR_INFOBK), 0xE1FFFFu);
    int ink = 0;
    for (int y = 0; y < tip->height; ++y) {
        for (int x = 0; x < tip->width; ++x) {
            bool edge = x == 0 || y == 0 || x == tip->width - 1 || y == tip->height - 1;
            bool padding =
                !edge && (x == 1 || y == 1 || x == tip->width - 2 || y == tip->height - 2);
            std::uint32_t c = tip->bgrx[static_cast<std::size_t>(y * tip->width + x)] & 0xFFFFFF;
            if (edge || padding) {
                ASSERT_EQ(c, edge ? 0u : background) << x << "," << y;
            } else if ((c & 0xFF) + (c >> 8 & 0xFF) + (c >> 16 & 0xFF) < 300) {
                ++ink;
            }
        }
    }
    EXPECT_GT(ink, 10);
    EXPECT_EQ(quillon::platform::DrawToolTip(""), nullptr);
}

TEST(BackendTest, MessageBoxButtonsByTypeAndTheirPicture) {
    using quillon::platform::DrawMessageBox;
    using quillon::platform::MessageBoxButtons;
    struct Case {
        UINT type;
        std::vector<int> answers;
        int focused;
        int escape;
    };
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
    for (const Case& c : cases) {
        auto layout = MessageBoxButtons(c.type);
        std::vector<int> answers;
        for (const auto& b : layout.buttons) answers.push_back(b.answer);
        EXPECT_EQ(answers, c.answers) << c.type;
        EXPECT_EQ(layout.focused, c.focused) << c.type;
        EXPECT_EQ(layout.escapeAnswer, c.escape) << c.type;

        // Buttons lie inside the picture, left to right, apart.
        HBITMAP picture = DrawMessageBox(Sjis("保存しますか？\n二行目"), "Title", &layout, 0);
        ASSERT_NE(picture, nullptr);
        CRect all(0, 0, picture->width, picture->height);
        for (std::size_t i = 0; i < layout.buttons.size(); ++i) {
            const CRect& r = layout.buttons[i].rect;
            EXPECT_TRUE(!r.IsRectEmpty() && (CRect(r) & all) == r) << c.type << " " << i;
            if (i > 0) {
                EXPECT_LT(layout.buttons[i - 1].rect.right, r.left);
            }
        }
        DeleteObject(picture);
    }
}
