// The shared button, through two stand-ins read from description files: an
// animated one in place of TRASH (made before its keys, like the scroll and
// trash buttons) and a plain one in place of GOTODAYBUTTON (made after its
// keys, dimming the background, like the slot buttons).
#include "devices/QItemButton.h"

#include <cstring>

#include "frame/frame_fixture.h"
#include "frame/pictures/MaskPicture.h"

namespace {

using namespace frametest;

// The section classes' two ways, by `Late`: animated, made before its keys,
// with the repeat key (scroll, trash); or made after its keys, dimming the
// background, redrawing on colour changes, without the default tool hint
// (slot buttons). Both log clicks and the key KIND, with the view in effect
// and whether the button was in the tree by then.
template <bool Late>
class TestButton : public CQItemButton {
public:
    TestButton(CQMainScreen* screen, CIniFile* ini) : CQItemButton(screen, MakeStyle()) {
        ReadSection(ini);
    }
    static Style MakeStyle() {
        Style s;
        s.createBeforeKeys = s.animated = s.repeatKey = s.defaultToolHint = !Late;
        s.dimBackground = s.redrawOnViewChange = s.redrawOnColorChange = Late;
        return s;
    }
    void Draw(CDibPicture* t, int x, int y, int l, int tp, int r, int b) override {
        if (Late) DrawIcon(t, x, y, l, tp, r, b, GetStillIcon(), GetColor());
        if (!Late) DrawAnimatedButton(t, x, y, l, tp, r, b, available);
    }
    void OnButtonClick(UINT, int x, int y) override { Events().push_back("click " + Pt(x, y)); }
    bool OnSectionKey(const CStringArray& tokens, int view) override {
        if (tokens[0] != "KIND") return false;
        Events().push_back(GetName().str() + " kind " + tokens[1].str() + " view " +
                           std::to_string(view) + (GetParent() ? " in tree" : " alone"));
        return true;
    }
    bool available = true;
};
using AnimButton = TestButton<false>;
using LateButton = TestButton<true>;

constexpr COLORREF kBg = RGB(200, 200, 200);

// The background is a grey picture; the still icon fills 4 x 4, frame a, b
// and c only their first, second and third column.
struct ButtonScene : ScreenScene {
    ButtonScene() {
        Put("TRASH", &quillon::frame::MakeSectionItem<AnimButton>);
        Put("GOTODAYBUTTON", &quillon::frame::MakeSectionItem<LateButton>);
        dir.Write("bg.bmp", picturetest::MakeBmp24(8, 8, std::vector<std::uint32_t>(64, 0xC8C8C8)));
        dir.Write("icon.bmp", picturetest::MakeFlatBmp(4, 4, 255));
        for (int k = 0; k < 3; ++k) {
            std::vector<int> levels(16, 0);
            for (int row = 0; row < 4; ++row) levels[row * 4 + k] = 255;
            dir.Write(std::string(1, char('a' + k)) + ".bmp",
                      picturetest::MakeGreyBmp(4, 4, levels));
        }
    }
    // Builds the screen from the sections after BG and shows view 0.
    CQMainScreen& Show(const std::string& sections) {
        Build("BG\nBMP\t\"bg.bmp\"\nEND\n" + sections).SetViewMode(0);
        h.AdvanceMs(0);
        return *screen;
    }
    // Which picture a 4 x 4 icon at (x, y) shows: "S" still, "a".."c" a
    // frame, "-" nothing.
    std::string Look(int x, int y) {
        int lit = 0;
        for (int k = 0; k < 4; ++k) lit |= Pixel(x + k, y) != Pixel(x + k, y + 5) ? 1 << k : 0;
        for (auto [bits, look] : {std::pair{15, "S"}, {0, "-"}, {1, "a"}, {2, "b"}, {4, "c"}})
            if (lit == bits) return look;
        return "?";
    }
};

const std::string kTrash = "TRASH\nNAME\t\"T\"\nPOSITION\t20,30\nICON\t\"icon.bmp\"\n";
const char* const kFrames = "ICONANIME\t\"a.bmp\"\nICONANIME\t\"b.bmp\"\nICONANIME\t\"c.bmp\"\n";

TEST(ButtonTest, AnimationOrderSpeedAndRepeatKeysAsTheHoveredIconShowsThem) {
    struct Case {
        const char* before;  // lines before the frames
        const char* after;   // and after them
        int step;            // ms between looks
        const char* want;    // from the first hover on
        int repeat;          // the interval of a held drag
    };
    const Case cases[] = {
        {"", "", 300, "abcab", 1000},
        {"", "ANIMEORDER\t0,2,2,1\nONPERIODICDRAGTIME\t500\n", 300, "accba", 500},
        {"", "ANIMEORDER\t0,3\n", 300, "abcab", 1000},        // no frame 3: ignored
        {"ANIMEORDER\t1,0\n", "", 300, "abcab", 1000},        // no frames yet: ignored
        {"", "ANIMESPEED\t250\n", 100, "aaabbcccaab", 1000},  // 300, 500, 800, 1000 ms
        {"", "ANIMESPEED\tfast\nONPERIODICDRAGTIME\tsoon\n", 300, "aaaa", -1},  // never
        {"ANIMESPEED\t0\n", "ANIMEORDER\t2,0\n", 300, "ccc", 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.before) + c.after);
        ButtonScene s;
        s.Show(kTrash + c.before + kFrames + c.after + "END\n");
        EXPECT_EQ(s.Look(20, 30), "S");
        s.Move(21, 31);
        std::string seen;
        for (std::size_t i = 0; i < std::strlen(c.want); ++i) {
            if (i > 0) s.h.AdvanceMs(static_cast<std::uint32_t>(c.step));
            seen += s.Look(20, 30);
        }
        EXPECT_EQ(seen, c.want);
        EXPECT_EQ(s.Item<AnimButton>("T")->GetRepeatInterval(), c.repeat);
        EXPECT_TRUE(s.h.MessageBoxes().empty());
    }
}

TEST(ButtonTest, ColoursFollowStateAndEnabledAHoverRestartsTheAnimationAndThePlainButtonDims) {
    ButtonScene s;
    CQMainScreen& screen =
        s.Show("GOTODAYBUTTON\nNAME\t\"G\"\nPOSITION\t80,30\nICON\t\"icon.bmp\"\nEND\n" + kTrash +
               kFrames + "END\n");
    auto* t = s.Item<AnimButton>("T");
    ASSERT_NE(t, nullptr);
    const COLORREF white = 0xFFFFFF, select = 0xFFFF00, gray = 0x808080;
    EXPECT_EQ(s.Pixel(23, 30), white);  // still, normal
    s.Move(21, 31);
    s.h.AdvanceMs(300);
    EXPECT_TRUE(s.Look(20, 30) == "b" && s.Pixel(21, 30) == white);
    s.Down(21, 31);
    EXPECT_TRUE(s.Look(20, 30) == "b" && s.Pixel(21, 30) == select);
    s.Up(22, 32);
    EXPECT_EQ(Fresh(), Log{"click 2,2"});
    // Off and on again: the still icon, then the first frame.
    s.Move(100, 100);
    EXPECT_TRUE(s.Look(20, 30) == "S" && t->GetAnimation()->GetTimer() == -1);
    s.Move(21, 31);
    EXPECT_EQ(s.Look(20, 30), "a");
    // Disabled or unavailable: the still icon in gray, hovered or not.
    for (bool enabled : {false, true}) {
        t->SetEnabled(enabled);
        t->available = !enabled;  // one or the other
        screen.AllRedraw(false);
        s.h.AdvanceMs(300);
        EXPECT_TRUE(s.Look(20, 30) == "S" && s.Pixel(23, 33) == gray);
    }
    t->available = true;
    screen.AllRedraw(false);
    s.h.AdvanceMs(0);
    EXPECT_EQ(s.Look(20, 30), "a");
    // Dragged (state 3) it shows its still icon, even with the mouse on it.
    t->AddDragArea(DragArea());
    s.Down(21, 31);
    s.Move(40, 31, MK_LBUTTON);
    s.Move(21, 31, MK_LBUTTON);
    EXPECT_EQ(s.Look(20, 30), "S");
    s.Up(21, 31);

    // The background dims while the mouse is over the plain button only.
    auto bg = [&] { return s.Pixel(150, 120); };
    EXPECT_EQ(bg(), kBg);
    s.Move(81, 31);
    const COLORREF dimmed = bg();
    EXPECT_TRUE(dimmed != kBg && s.Pixel(80, 30) == 0xFFFFFFu);
    s.Move(21, 31);  // from one button to the other
    EXPECT_EQ(bg(), kBg);
    s.Move(81, 31);
    EXPECT_EQ(bg(), dimmed);
    s.h.MouseLeave();
    EXPECT_EQ(bg(), kBg);
    // The plain button shows a colour change at once.
    screen.ChangeColor(RGB(0, 0, 255));
    s.h.AdvanceMs(0);
    EXPECT_TRUE(s.Pixel(80, 30) == RGB(0, 0, 255) && s.Pixel(20, 30) == 0xFFFFFFu);
}

TEST(ButtonTest, ReadingTheSectionKeysAndPicturesInFileOrder) {
    ButtonScene s;
    CQMainScreen& screen = s.Show(
        "TRASH\nNAME\t\"T\"\nDEFAULTTOOLTIP\t\"bin\"\n"
        "VIEW\tTIMER\nSIZE\t9,9\nPOSITION\t60,30\nICON\t\"icon.bmp\"\n"  // the icon's size wins
        "VIEW\tLUNCHER\nPOSITION\t40,30\nSIZE\t7,5\nVISIBLE\tFALSE\n"    // a SIZE after it wins
        "VIEW\tTIMER\nKIND\tup\nFOO\tBAR\nICONANIME\tnone.bmp\nPOSITION\t20,30\nEND\n"
        "GOTODAYBUTTON\nNAME\t\"G\"\nDEFAULTTOOLTIP\t\"today\"\nPOSITION\t80,30\nSIZE\t6,6\n"
        "ICON\tmissing.bmp\nKIND\tdown\nICONANIME\t\"a.bmp\"\nANIMEORDER\t0\n"
        "ONPERIODICDRAGTIME\t5\nEND\n");
    auto* t = s.Item<AnimButton>("T");
    auto* g = s.Item<LateButton>("G");
    ASSERT_TRUE(t != nullptr && g != nullptr);
    EXPECT_EQ(t->GetViewPlacement(1)->rect, CRect(40, 30, 47, 35));
    // A missing picture: the box with the whole path, and the reading goes on.
    EXPECT_EQ(s.NewBoxes(), (Log{"Error: " + s.PictureDir() + "NONE.BMP",
                                 "Error: " + s.PictureDir() + "MISSING.BMP"}));
    // The failed icon is kept, empty, and leaves the size as it was.
    ASSERT_NE(g->GetStillIcon(), nullptr);
    EXPECT_EQ(g->GetStillIcon()->GetWidth(), 0);
    EXPECT_EQ(g->GetViewPlacement(0)->rect, CRect(80, 30, 86, 36));
    // Keys of the subclass, after the item was made or before; the plain
    // button knows no animation or repeat keys and has no animation.
    EXPECT_EQ(Events(), (Log{"T kind UP view 2 in tree", "G kind DOWN view 0 alone"}));
    EXPECT_TRUE(g->GetAnimation() == nullptr && g->GetRepeatInterval() == 1000);
    ASSERT_NE(t->GetAnimation(), nullptr);
    EXPECT_EQ(t->GetAnimation()->GetParent(), t);
    EXPECT_GE(t->GetToolId(), 0);
    EXPECT_EQ(g->GetToolId(), -1);  // the slot buttons' way: no default hint
    CStringArray chain;
    t->GetClassNameChain(&chain);
    EXPECT_EQ(chain.GetSize(), 2);  // "CItem", "CItemButton": nothing of its own
    // Each view: shown and placed, or hidden.
    const std::pair<int, CRect> views[] = {{2, CRect(60, 30, 64, 34)}, {0, CRect(20, 30, 24, 34)}};
    for (const auto& [view, rect] : views) {
        screen.SetViewMode(view);
        s.h.AdvanceMs(0);
        EXPECT_EQ(t->GetRect(), rect);
        EXPECT_EQ(s.Look(rect.left, rect.top), "S");
        EXPECT_EQ(s.Look(view == 0 ? 60 : 20, 30), "-");
    }
    screen.SetViewMode(1);
    s.h.AdvanceMs(0);
    EXPECT_TRUE(!t->IsVisible() && s.Look(20, 30) == "-" && s.Look(40, 30) == "-");
    EXPECT_TRUE(g->IsVisible());
    EXPECT_EQ(g->GetRect(), CRect(0, 0, 0, 0));  // nothing placed in this view
}

}  // namespace
