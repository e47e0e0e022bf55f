// Items that show pictures: the animation, and a small tree compared with a
// golden image. (The background's tiling, stretching and dimmed copy are
// tested through the main screen in screen_ops_test.cpp.)
#include <cmath>

#include "frame/pictures/DibPicture.h"
#include "frame/pictures/MaskPicture.h"
#include "frame_fixture.h"

using namespace frametest;
using picturetest::MakeBmp24;
using picturetest::MakeGreyBmp;
using picturetest::TempDir;

namespace {

// A frame's width is its identity in the tests.
int FrameWidth(const CItemAnimation* a) {
    return a->GetFrame() != nullptr ? a->GetFrame()->GetWidth() : -1;
}
std::vector<UINT> Order(const CItemAnimation* a) {
    return std::vector<UINT>(a->GetOrder().begin(), a->GetOrder().end());
}

// An icon in the screen's normal colour, as the buttons draw theirs.
class IconItem : public CItem {
public:
    IconItem(CMaskPicture* icon, COLORREF color) : m_icon(icon), m_color(color) {}
    void Draw(CDibPicture* t, int x, int y, int l, int tp, int r, int b) override {
        m_icon->SetColor(m_color);
        m_icon->Draw(t, x, y);
        CItem::Draw(t, x, y, l, tp, r, b);
    }

private:
    CMaskPicture* m_icon;
    COLORREF m_color;
};

}  // namespace

TEST(AnimationTest, OrderFramesAndStepsThroughThemOnItsTimer) {
    Scene s;
    TempDir dir;
    RecItem* owner = s.Rec("P", nullptr, 10, 10, 60, 60);
    auto* anim = s.Add(std::make_unique<CItemAnimation>(), owner, 0, 0, 10, 10);
    EXPECT_FALSE(anim->IsVisible());  // never drawn or hit itself
    for (int w = 1; w <= 3; ++w) {
        std::string name = "frame" + std::to_string(w) + ".bmp";
        EXPECT_TRUE(anim->AddFrame(dir.Write(name, picturetest::MakeFlatBmp(w, 1, 255)).c_str()));
    }
    EXPECT_FALSE(anim->AddFrame(dir.Path("missing.bmp").c_str()));
    EXPECT_EQ(Order(anim), (std::vector<UINT>{0, 1, 2}));
    EXPECT_TRUE(anim->SetOrder("2\t0\n1") && Order(anim) == (std::vector<UINT>{2, 0, 1}));
    // A bad order (no frame 3, not a number, negative, past int) changes nothing.
    EXPECT_TRUE(anim->SetOrder("0,1,2,1"));
    for (const char* bad : {"0,3", "1,x", "-1", "0,4294967296"})
        EXPECT_FALSE(anim->SetOrder(bad)) << bad;
    EXPECT_EQ(Order(anim), (std::vector<UINT>{0, 1, 2, 1}));

    // A new period takes effect at once while running, and the owner redraws;
    // stopped, it waits. (Stepping through the order and wrapping: the
    // animated buttons.)
    s.PaintAll();
    anim->Run(true);
    EXPECT_TRUE(anim->SetPeriod(100));
    const int draws = owner->draws;
    s.h.AdvanceMs(100);
    anim->Run(false);
    EXPECT_TRUE(FrameWidth(anim) == 2 && owner->draws == draws + 1);
    s.h.AdvanceMs(500);
    EXPECT_EQ(FrameWidth(anim), 2);
    anim->SetPeriod(500);
    EXPECT_EQ(anim->GetTimer(), -1);
    anim->Run(true);
    EXPECT_EQ(anim->GetTimer(), 500);

    // A copy without a parent goes under the root, hidden, at the same pace,
    // with frames of its own.
    EXPECT_TRUE(anim->SetOpacity(128));
    CItemAnimation copy;
    EXPECT_TRUE(copy.CopyFrom(anim));
    EXPECT_TRUE(copy.GetParent() == s.bg && copy.GetTimer() == 500);
    EXPECT_TRUE(Order(&copy) == Order(anim) && copy.GetPosition() == anim->GetPosition());
    ASSERT_TRUE(copy.GetFrame() != nullptr && copy.GetFrame() != anim->GetFrame());
    EXPECT_EQ(copy.GetFrame()->GetOpacity(), 128);
    // Past a shorter order no frame shows until the next step starts over;
    // an empty order shows none at all.
    const int pos = copy.GetPosition();
    ASSERT_GE(pos, 1);
    EXPECT_TRUE(copy.SetOrder("1") && copy.GetPosition() == pos && copy.GetFrame() == nullptr);
    copy.OnItemTimer();
    EXPECT_TRUE(copy.GetPosition() == 0 && FrameWidth(&copy) == 2);
    EXPECT_TRUE(copy.SetOrder(",\t\n") && Order(&copy).empty() && copy.GetFrame() == nullptr);
    copy.OnItemTimer();
    EXPECT_EQ(copy.GetFrame(), nullptr);
}

TEST(GoldenTest, ASmallTreeLooksAsItAlwaysHas) {
    Scene s;
    TempDir dir;
    // A checked background, a panel with a button on it, and a round icon
    // with soft edges half over the panel.
    std::vector<std::uint32_t> check(64);
    for (int i = 0; i < 64; ++i) check[i] = ((i % 8 / 4 + i / 32) % 2) ? 0x404858 : 0x303440;
    ASSERT_TRUE(s.bg->LoadPicture(dir.Write("check.bmp", MakeBmp24(8, 8, check)).c_str()));
    std::vector<int> disc(24 * 24);
    for (int i = 0; i < 24 * 24; ++i) {
        double dx = i % 24 - 11.5, dy = i / 24 - 11.5;
        double d = 11.0 - std::sqrt(dx * dx + dy * dy);
        disc[i] = d >= 1 ? 255 : d <= 0 ? 0 : static_cast<int>(d * 255);
    }
    CMaskPicture icon;
    ASSERT_TRUE(icon.Load(dir.Write("disc.bmp", MakeGreyBmp(24, 24, disc)).c_str()));
    RecItem* panel = s.Rec("panel", nullptr, 20, 20, 130, 110, RGB(180, 60, 40));
    s.Rec("inner", panel, 10, 10, 60, 40, RGB(240, 220, 120));
    s.Add(std::make_unique<CItemButton>(), panel, 20, 55, 90, 80);
    s.Add(std::make_unique<IconItem>(&icon, s.screen.GetColor()), nullptr, 115, 60, 139, 84);
    s.Rec("hidden", nullptr, 150, 20, 190, 60, RGB(0, 255, 0))->SetVisible(false);
    s.Rec("off", panel, 100, 80, 140, 120, RGB(0, 200, 200));  // cut by the panel
    s.PaintAll();
    std::string golden = std::string(QUILLON_SOURCE_DIR) + "/tests/frame/golden/small_tree.png";
    EXPECT_TRUE(s.h.MatchesGolden(golden, 0));
}
