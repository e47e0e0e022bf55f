// The shared button, through two stand-ins read from description files: an
// animated one in place of TRASH (made before its keys, like the scroll and
// trash buttons) and a plain one in place of GOTODAYBUTTON (made after its
// keys, dimming the background, like the slot buttons).
#include "devices/QItemButton.h"

#include <quillon/QMainScreen.h>
#include <quillon/testing.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "frame/IniFile.h"
#include "frame/ItemAnimation.h"
#include "frame/ItemBase.h"
#include "frame/SectionTable.h"
#include "frame/pictures/MaskPicture.h"
#include "support/picture_files.h"

namespace {

using quillon::testing::Harness;
using Log = std::vector<std::string>;

Log& Events() {
    static Log events;
    return events;
}

// The section classes' two ways, by `Late`: animated, made before its keys,
// with the repeat key (scroll, trash); or made after its keys, dimming the
// background, redrawing on colour changes, without the default tool hint
// (slot buttons). Both log clicks, repeats and the key KIND, with the view
// in effect and whether the button was in the tree by then.
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
    void OnButtonClick(UINT, int x, int y) override {
        Events().push_back("click " + std::to_string(x) + "," + std::to_string(y));
    }
    void OnDragRepeat(CItem*) override { Events().push_back("repeat"); }
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

// Something to drag over the buttons.
class Dragger : public CItemBase {
public:
    Dragger() { AddDragArea(DragArea()); }
};

constexpr COLORREF kBg = RGB(200, 200, 200);

// The host window at (10, 20) of the parent: its client area starts at
// (13, 23). The background is a grey picture; the still icon fills 4 x 4,
// frame a, b and c only their first, second and third column.
struct ButtonScene {
    Harness h;
    CWnd* parent = h.CreateParent(320, 240);
    picturetest::TempDir dir;
    std::unique_ptr<CQMainScreen> screen;
    std::vector<std::pair<const char*, quillon::frame::ItemFactory>> saved;

    ButtonScene() {
        using quillon::frame::MakeSectionItem;
        using quillon::frame::SetSectionFactory;
        saved.emplace_back("TRASH", SetSectionFactory("TRASH", &MakeSectionItem<AnimButton>));
        saved.emplace_back("GOTODAYBUTTON",
                           SetSectionFactory("GOTODAYBUTTON", &MakeSectionItem<LateButton>));
        Events().clear();
        dir.Write("bg.bmp", picturetest::MakeBmp24(8, 8, std::vector<std::uint32_t>(64, 0xC8C8C8)));
        dir.Write("icon.bmp", picturetest::MakeGreyBmp(4, 4, std::vector<int>(16, 255)));
        for (int k = 0; k < 3; ++k) {
            std::vector<int> levels(16, 0);
            for (int row = 0; row < 4; ++row) levels[row * 4 + k] = 255;
            dir.Write(std::string(1, char('a' + k)) + ".bmp",
                      picturetest::MakeGreyBmp(4, 4, levels));
        }
    }
    ~ButtonScene() {
        screen.reset();
        for (auto& [keyword, factory] : saved) quillon::frame::SetSectionFactory(keyword, factory);
    }
    // Builds the screen from the sections after BG and shows view 0.
    CQMainScreen& Build(const std::string& sections) {
        std::string text = "BG\nBMP\t\"bg.bmp\"\nEND\n" + sections;
        dir.Write("TARVIK.INI", picturetest::Bytes(text.begin(), text.end()));
        CString ini(dir.Path("TARVIK.INI")), pictures(dir.Path(""));
        screen.reset();
        screen = std::make_unique<CQMainScreen>("QuillonTest", parent, CRect(10, 20, 216, 176),
                                                &ini, &pictures);
        screen->SetViewMode(0);
        h.AdvanceMs(0);
        return *screen;
    }
    template <class T>
    T* Item(const char* name) {
        return dynamic_cast<T*>(screen->CQItemName2pCQItem(name));
    }
    // Window client coordinates.
    COLORREF Pixel(int x, int y) { return h.Pixel(13 + x, 23 + y); }
    void Move(int x, int y, UINT flags = 0) { h.MouseMove(13 + x, 23 + y, flags); }
    void Down(int x, int y) { h.LButtonDown(13 + x, 23 + y); }
    void Up(int x, int y) { h.LButtonUp(13 + x, 23 + y); }
    // Which picture a 4 x 4 icon at (x, y) shows: "S" still, "a".."c" a
    // frame, "-" nothing.
    std::string Look(int x, int y) {
        int lit = 0;
        for (int k = 0; k < 4; ++k) lit |= Pixel(x + k, y) != Pixel(x + k, y + 5) ? 1 << k : 0;
        const char* names[16] = {"-", "a", "b", "?", "c", "?", "?", "?",
                                 "?", "?", "?", "?", "?", "?", "?", "S"};
        return names[lit];
    }
};

const char* const kFrames = "ICONANIME\t\"a.bmp\"\nICONANIME\t\"b.bmp\"\nICONANIME\t\"c.bmp\"\n";

TEST(ButtonTest, AnimationOrderAndSpeedAsTheHoveredIconShowsThem) {
    struct Case {
        const char* before;  // lines before the frames
        const char* after;   // and after them
        int step;            // ms between looks
        const char* want;    // from the first hover on
    };
    const Case cases[] = {
        {"", "", 300, "abcab"},
        {"", "ANIMEORDER\t0,2,2,1\n", 300, "accba"},
        {"", "ANIMEORDER\t0,3\n", 300, "abcab"},        // no frame 3: ignored
        {"ANIMEORDER\t1,0\n", "", 300, "abcab"},        // no frames yet: ignored
        {"", "ANIMESPEED\t250\n", 100, "aaabbcccaab"},  // 300, 500, 800, 1000 ms
        {"", "ANIMESPEED\tfast\n", 300, "aaaa"},        // -1: never runs
        {"ANIMESPEED\t0\n", "ANIMEORDER\t2,0\n", 300, "ccc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.before) + c.after);
        ButtonScene s;
        s.Build(std::string("TRASH\nNAME\t\"T\"\nPOSITION\t20,30\nICON\t\"icon.bmp\"\n") +
                c.before + kFrames + c.after + "END\n");
        EXPECT_EQ(s.Look(20, 30), "S");
        s.Move(21, 31);
        s.h.AdvanceMs(0);
        std::string seen;
        for (std::size_t i = 0; i < std::strlen(c.want); ++i) {
            if (i > 0) s.h.AdvanceMs(static_cast<std::uint32_t>(c.step));
            seen += s.Look(20, 30);
        }
        EXPECT_EQ(seen, c.want);
        EXPECT_TRUE(s.h.MessageBoxes().empty());
    }
}

TEST(ButtonTest, ColoursFollowStateAndEnabledAndAHoverRestartsTheAnimation) {
    ButtonScene s;
    CQMainScreen& screen =
        s.Build(std::string("TRASH\nNAME\t\"T\"\nPOSITION\t20,30\nICON\t\"icon.bmp\"\n") + kFrames +
                "END\n");
    auto* t = s.Item<AnimButton>("T");
    ASSERT_NE(t, nullptr);
    const COLORREF white = 0xFFFFFF, select = 0xFFFF00, gray = 0x808080;
    EXPECT_EQ(s.Pixel(23, 30), white);  // still, normal
    s.Move(21, 31);
    s.h.AdvanceMs(300);
    EXPECT_EQ(s.Look(20, 30), "b");
    EXPECT_EQ(s.Pixel(21, 30), white);
    s.Down(21, 31);
    EXPECT_EQ(s.Look(20, 30), "b");
    EXPECT_EQ(s.Pixel(21, 30), select);
    // Off and on again: the still icon, then the first frame.
    s.Move(100, 100, MK_LBUTTON);
    s.Up(100, 100);
    EXPECT_EQ(s.Look(20, 30), "S");
    EXPECT_EQ(t->GetAnimation()->GetTimer(), -1);
    s.Move(21, 31);
    EXPECT_EQ(s.Look(20, 30), "a");
    // Disabled or unavailable: the still icon in gray, hovered or not.
    for (bool enabled : {false, true}) {
        t->SetEnabled(enabled);
        t->available = !enabled;  // one or the other
        screen.AllRedraw(false);
        s.h.AdvanceMs(300);
        EXPECT_EQ(s.Look(20, 30), "S");
        EXPECT_EQ(s.Pixel(23, 33), gray);
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
}

TEST(ButtonTest, ClicksOnlyWhenPressedAndReleasedInsideWithoutLeaving) {
    ButtonScene s;
    s.Build("TRASH\nNAME\t\"T\"\nPOSITION\t20,30\nICON\t\"icon.bmp\"\nEND\n");
    s.Move(21, 31);
    s.Down(21, 31);
    s.Move(60, 60, MK_LBUTTON);
    s.Up(60, 60);  // released outside
    s.Move(21, 31);
    s.Down(21, 31);
    s.Move(60, 60, MK_LBUTTON);
    s.Move(22, 32, MK_LBUTTON);
    s.Up(22, 32);  // left and came back
    EXPECT_TRUE(Events().empty());
    s.Down(22, 31);
    s.Up(23, 32);
    EXPECT_EQ(Events(), Log{"click 3,2"});
}

TEST(ButtonTest, AHeldDraggedItemRepeatsAtTheKeysIntervalUntilItLeaves) {
    // Repeats in the windows up to 1000, 1200, 2000, 2200 and 3200 ms after
    // the dragged item came over the button.
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"", {0, 1, 0, 1, 0}},
        {"ONPERIODICDRAGTIME\t500\n", {1, 1, 1, 0, 2}},
        {"ONPERIODICDRAGTIME\tsoon\n", {0, 0, 0, 0, 0}},  // -1, unsigned: never
    };
    for (const auto& [interval, want] : cases) {
        SCOPED_TRACE(interval);
        ButtonScene s;
        CQMainScreen& screen = s.Build(
            std::string("TRASH\nNAME\t\"T\"\nPOSITION\t20,30\nSIZE\t10,10\n") + interval + "END\n");
        auto dragger = std::make_unique<Dragger>();
        dragger->Create(screen.GetRootItem(), 100, 100, 120, 120);
        s.Move(110, 110);
        s.Down(110, 110);
        s.Move(90, 90, MK_LBUTTON);
        s.Move(25, 35, MK_LBUTTON);
        std::vector<int> counts;
        for (std::uint32_t ms : {1000, 200, 800, 200, 1000}) {
            Events().clear();
            s.h.AdvanceMs(ms);
            counts.push_back(static_cast<int>(Events().size()));
        }
        EXPECT_EQ(counts, want);
        // Off the button the repeats stop.
        s.Move(60, 60, MK_LBUTTON);
        Events().clear();
        s.h.AdvanceMs(3000);
        EXPECT_TRUE(Events().empty());
        s.Up(60, 60);
        dragger.reset();
    }
}

TEST(ButtonTest, ReadingTheSectionKeysAndPicturesInFileOrder) {
    ButtonScene s;
    CQMainScreen& screen = s.Build(
        "TRASH\nNAME\t\"T\"\nDEFAULTTOOLTIP\t\"bin\"\n"
        "VIEW\tTIMER\nSIZE\t9,9\nPOSITION\t60,30\nICON\t\"icon.bmp\"\n"  // the icon's size wins
        "VIEW\tLUNCHER\nPOSITION\t40,30\nSIZE\t7,5\nVISIBLE\tFALSE\n"    // a SIZE after it wins
        "VIEW\tTIMER\nKIND\tup\nFOO\tBAR\nICONANIME\tnone.bmp\nPOSITION\t20,30\nEND\n"
        "GOTODAYBUTTON\nNAME\t\"G\"\nDEFAULTTOOLTIP\t\"today\"\nPOSITION\t80,30\nSIZE\t6,6\n"
        "ICON\tmissing.bmp\nKIND\tdown\nICONANIME\t\"a.bmp\"\nANIMEORDER\t0\nEND\n");
    auto* t = s.Item<AnimButton>("T");
    auto* g = s.Item<LateButton>("G");
    ASSERT_TRUE(t != nullptr && g != nullptr);
    EXPECT_EQ(t->GetViewPlacement(0)->rect, CRect(20, 30, 24, 34));
    EXPECT_EQ(t->GetViewPlacement(1)->rect, CRect(40, 30, 47, 35));
    EXPECT_EQ(t->GetViewPlacement(2)->rect, CRect(60, 30, 64, 34));
    // A missing picture: the box with the whole path, and the reading goes on.
    const std::string dirPath = s.dir.Path("");
    auto boxes = s.h.MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, dirPath + "NONE.BMP");
    EXPECT_EQ(boxes[1].text, dirPath + "MISSING.BMP");
    for (const auto& box : boxes) {
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.type, static_cast<UINT>(MB_OK));
    }
    // The failed icon is kept, empty, and leaves the size as it was.
    ASSERT_NE(g->GetStillIcon(), nullptr);
    EXPECT_EQ(g->GetStillIcon()->GetWidth(), 0);
    EXPECT_EQ(g->GetViewPlacement(0)->rect, CRect(80, 30, 86, 36));
    // Keys of the subclass, after the item was made or before; the plain
    // button knows no animation keys and has no animation.
    EXPECT_EQ(Events(), (Log{"T kind UP view 2 in tree", "G kind DOWN view 0 alone"}));
    EXPECT_EQ(g->GetAnimation(), nullptr);
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
    EXPECT_FALSE(t->IsVisible());
    EXPECT_EQ(s.Look(20, 30), "-");
    EXPECT_EQ(s.Look(40, 30), "-");
    EXPECT_TRUE(g->IsVisible());
    EXPECT_EQ(g->GetRect(), CRect(0, 0, 0, 0));  // nothing placed in this view
}

TEST(ButtonTest, TheBackgroundDimsWhileTheMouseIsOverADimmingButton) {
    ButtonScene s;
    CQMainScreen& screen = s.Build(
        "GOTODAYBUTTON\nNAME\t\"G\"\nPOSITION\t80,30\nICON\t\"icon.bmp\"\nEND\n"
        "TRASH\nNAME\t\"T\"\nPOSITION\t20,30\nICON\t\"icon.bmp\"\nEND\n");
    auto bg = [&] { return s.Pixel(150, 120); };
    EXPECT_EQ(bg(), kBg);
    s.Move(81, 31);
    const COLORREF dimmed = bg();
    EXPECT_NE(dimmed, kBg);
    EXPECT_EQ(s.Pixel(80, 30), 0xFFFFFFu);
    s.Move(21, 31);  // from one button to the other
    EXPECT_EQ(bg(), kBg);
    s.Move(81, 31);
    EXPECT_EQ(bg(), dimmed);
    s.h.MouseLeave();
    EXPECT_EQ(bg(), kBg);
    // The plain button shows a colour change at once.
    screen.ChangeColor(RGB(0, 0, 255));
    s.h.AdvanceMs(0);
    EXPECT_EQ(s.Pixel(80, 30), RGB(0, 0, 255));
    EXPECT_EQ(s.Pixel(20, 30), 0xFFFFFFu);
}

}  // namespace
