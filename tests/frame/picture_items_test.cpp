// Items that show pictures: the animation, the background (tiled, stretched,
// dimmed) and a small tree compared with a golden image.
#include <cmath>

#include "frame/pictures/DibPicture.h"
#include "frame/pictures/MaskPicture.h"
#include "frame_fixture.h"
#include "pictures/picture_files.h"

using frametest::RecItem;
using frametest::Scene;
using picturetest::MakeBmp24;
using picturetest::MakeGreyBmp;
using picturetest::TempDir;

namespace {

// A grey-level frame of the given width (its identity in the tests).
std::string Frame(const TempDir& dir, int width) {
    std::vector<int> levels(static_cast<std::size_t>(width), 255);
    return dir.Write("frame" + std::to_string(width) + ".bmp", MakeGreyBmp(width, 1, levels));
}

int FrameWidth(const CItemAnimation* a) {
    CMaskPicture* f = a->GetFrame();
    return f != nullptr ? f->GetWidth() : -1;
}

std::vector<UINT> Order(const CItemAnimation* a) {
    return std::vector<UINT>(a->GetOrder().begin(), a->GetOrder().end());
}

// An icon in the screen's normal colour, as the buttons draw theirs.
class IconItem : public CItem {
public:
    explicit IconItem(CMaskPicture* icon, COLORREF color) : m_icon(icon), m_color(color) {}
    void Draw(CDibPicture* t, int x, int y, int l, int tp, int r, int b) override {
        m_icon->SetColor(m_color);
        m_icon->Draw(t, x, y);
        CItem::Draw(t, x, y, l, tp, r, b);
    }

private:
    CMaskPicture* m_icon;
    COLORREF m_color;
};

COLORREF Dim(COLORREF c) {
    return RGB(GetRValue(c) * 70 / 100, GetGValue(c) * 70 / 100, GetBValue(c) * 70 / 100);
}

}  // namespace

TEST(AnimationTest, OrderFramesAndStepsThroughThemOnItsTimer) {
    Scene s;
    TempDir dir;
    RecItem* owner = s.Rec("P", nullptr, 10, 10, 60, 60);
    auto* anim = s.Add(std::make_unique<CItemAnimation>(), owner, 0, 0, 10, 10);
    EXPECT_FALSE(anim->IsVisible());  // never drawn or hit itself
    EXPECT_EQ(anim->GetPeriod(), 300);
    EXPECT_EQ(anim->GetFrame(), nullptr);
    EXPECT_TRUE(anim->AddFrame(Frame(dir, 1).c_str()));
    EXPECT_TRUE(anim->AddFrame(Frame(dir, 2).c_str()));
    EXPECT_TRUE(anim->AddFrame(Frame(dir, 3).c_str()));
    EXPECT_FALSE(anim->AddFrame(dir.Path("missing.bmp").c_str()));
    EXPECT_EQ(anim->GetFrameCount(), 3);
    EXPECT_EQ(Order(anim), (std::vector<UINT>{0, 1, 2}));

    EXPECT_TRUE(anim->SetOrder("0,1,2,1"));
    EXPECT_EQ(Order(anim), (std::vector<UINT>{0, 1, 2, 1}));
    EXPECT_FALSE(anim->SetOrder("0,3"));  // no frame 3
    EXPECT_FALSE(anim->SetOrder("1,x"));  // not a number counts as -1
    EXPECT_FALSE(anim->SetOrder("-1"));
    EXPECT_FALSE(anim->SetOrder(",\t\n"));  // no step at all
    EXPECT_EQ(Order(anim), (std::vector<UINT>{0, 1, 2, 1}));
    EXPECT_TRUE(anim->SetOrder("2\t0\n1"));
    EXPECT_EQ(Order(anim), (std::vector<UINT>{2, 0, 1}));
    EXPECT_TRUE(anim->SetOrder("0,1,2,1"));

    // Steps at the period, wrapping after the last entry; the owner redraws.
    s.PaintAll();
    anim->Run(true);
    EXPECT_EQ(anim->GetTimer(), 300);
    std::vector<int> widths{FrameWidth(anim)};
    for (int i = 0; i < 5; ++i) {
        int draws = owner->draws;
        s.h.AdvanceMs(300);
        widths.push_back(FrameWidth(anim));
        EXPECT_EQ(owner->draws, draws + 1);
    }
    EXPECT_EQ(widths, (std::vector<int>{1, 2, 3, 2, 1, 2}));
    EXPECT_EQ(anim->GetPosition(), 1);

    // A new period takes effect at once while running; stopped, it waits.
    EXPECT_TRUE(anim->SetPeriod(100));
    EXPECT_EQ(anim->GetTimer(), 100);
    s.h.AdvanceMs(100);
    EXPECT_EQ(FrameWidth(anim), 3);
    anim->Run(false);
    EXPECT_EQ(anim->GetTimer(), -1);
    s.h.AdvanceMs(500);
    EXPECT_EQ(FrameWidth(anim), 3);
    anim->SetPeriod(500);
    EXPECT_EQ(anim->GetTimer(), -1);
    anim->Run(true);
    anim->Run(true);
    EXPECT_EQ(anim->GetTimer(), 500);

    EXPECT_TRUE(anim->SetOpacity(128));
    // A copy without a parent goes under the root, hidden, at the same pace.
    CItemAnimation copy;
    EXPECT_TRUE(copy.CopyFrom(anim));
    EXPECT_EQ(copy.GetParent(), s.bg);
    EXPECT_FALSE(copy.IsVisible());
    EXPECT_EQ(copy.GetTimer(), 500);
    EXPECT_EQ(Order(&copy), Order(anim));
    EXPECT_EQ(copy.GetPosition(), anim->GetPosition());
    ASSERT_NE(copy.GetFrame(), nullptr);
    EXPECT_NE(copy.GetFrame(), anim->GetFrame());
    EXPECT_EQ(copy.GetFrame()->GetWidth(), anim->GetFrame()->GetWidth());
    EXPECT_EQ(copy.GetFrame()->GetOpacity(), 128);
    // An order longer than before shortened: the position starts over.
    EXPECT_TRUE(copy.SetOrder("1"));
    EXPECT_EQ(copy.GetPosition(), 0);
    EXPECT_EQ(FrameWidth(&copy), 2);
    // One that already has a parent keeps its own timer.
    anim->Run(false);
    EXPECT_TRUE(copy.CopyFrom(anim));
    EXPECT_EQ(copy.GetTimer(), 500);
    EXPECT_EQ(copy.GetParent(), s.bg);
}

TEST(BackgroundTest, TilesOrStretchesItsPictureAndShowsTheDimmedCopy) {
    Scene s;
    TempDir dir;
    const COLORREF c00 = RGB(250, 10, 20), c01 = RGB(30, 240, 40), c10 = RGB(50, 60, 230),
                   c11 = RGB(200, 200, 100);
    auto bgr = [](COLORREF c) {
        return static_cast<std::uint32_t>(GetRValue(c)) << 16 |
               static_cast<std::uint32_t>(GetGValue(c)) << 8 | GetBValue(c);
    };
    std::string path =
        dir.Write("bg.bmp", MakeBmp24(2, 2, {bgr(c00), bgr(c01), bgr(c10), bgr(c11)}));
    // Without a picture the fill shows.
    s.PaintAll();
    EXPECT_EQ(s.Pixel(100, 100), RGB(0, 0, 64));
    ASSERT_TRUE(s.bg->LoadPicture(path.c_str()));
    EXPECT_EQ(s.bg->GetPictureName(), CString(path.c_str()));
    ASSERT_NE(s.bg->GetDimmedPicture(), nullptr);

    // Tiled from the top-left corner to the last pixel of the window.
    s.PaintAll();
    EXPECT_EQ(s.Pixel(0, 0), c00);
    EXPECT_EQ(s.Pixel(1, 0), c01);
    EXPECT_EQ(s.Pixel(0, 1), c10);
    EXPECT_EQ(s.Pixel(1, 1), c11);
    EXPECT_EQ(s.Pixel(150, 100), c00);
    EXPECT_EQ(s.Pixel(199, 149), c11);
    EXPECT_EQ(s.Pixel(198, 149), c10);

    // The dimmed copy: every component at 70 percent.
    s.bg->SetNormalPicture(false);
    s.PaintAll();
    EXPECT_EQ(s.Pixel(0, 0), Dim(c00));
    EXPECT_EQ(s.Pixel(199, 149), Dim(c11));
    s.bg->SetNormalPicture(true);

    // Stretched over the whole item (206 x 156): one quadrant per pixel.
    EXPECT_TRUE(s.screen.SetDrawBgMode(1));
    EXPECT_FALSE(s.screen.SetDrawBgMode(2));
    EXPECT_EQ(s.screen.GetDrawBgMode(), 1);
    s.PaintAll();
    EXPECT_EQ(s.Pixel(1, 0), c00);
    EXPECT_EQ(s.Pixel(0, 1), c00);
    EXPECT_EQ(s.Pixel(95, 70), c00);
    EXPECT_EQ(s.Pixel(111, 10), c01);
    EXPECT_EQ(s.Pixel(10, 86), c10);
    EXPECT_EQ(s.Pixel(150, 100), c11);
    EXPECT_EQ(s.Pixel(199, 149), c11);

    // A picture that does not load leaves none, and the last good name.
    EXPECT_FALSE(s.bg->LoadPicture(dir.Path("none.bmp").c_str()));
    EXPECT_EQ(s.bg->GetPicture(), nullptr);
    EXPECT_EQ(s.bg->GetPictureName(), CString(path.c_str()));
    s.PaintAll();
    EXPECT_EQ(s.Pixel(150, 100), RGB(0, 0, 64));
}

TEST(GoldenTest, ASmallTreeLooksAsItAlwaysHas) {
    Scene s;
    TempDir dir;
    // A checked background, a panel with a button on it, and a round icon
    // with soft edges half over the panel.
    std::vector<std::uint32_t> check(64);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) check[y * 8 + x] = ((x / 4 + y / 4) % 2) ? 0x404858 : 0x303440;
    }
    ASSERT_TRUE(s.bg->LoadPicture(dir.Write("check.bmp", MakeBmp24(8, 8, check)).c_str()));
    std::vector<int> disc(24 * 24);
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 24; ++x) {
            double dx = x - 11.5, dy = y - 11.5;
            double d = 11.0 - std::sqrt(dx * dx + dy * dy);
            disc[y * 24 + x] = d >= 1 ? 255 : d <= 0 ? 0 : static_cast<int>(d * 255);
        }
    }
    CMaskPicture icon;
    ASSERT_TRUE(icon.Load(dir.Write("disc.bmp", MakeGreyBmp(24, 24, disc)).c_str()));

    RecItem* panel = s.Rec("panel", nullptr, 20, 20, 130, 110, RGB(180, 60, 40));
    RecItem* inner = s.Rec("inner", panel, 10, 10, 60, 40, RGB(240, 220, 120));
    (void)inner;
    s.Add(std::make_unique<CItemButton>(), panel, 20, 55, 90, 80);
    s.Add(std::make_unique<IconItem>(&icon, s.screen.GetColor()), nullptr, 115, 60, 139, 84);
    RecItem* hidden = s.Rec("hidden", nullptr, 150, 20, 190, 60, RGB(0, 255, 0));
    hidden->SetVisible(false);
    RecItem* off = s.Rec("off", panel, 100, 80, 140, 120, RGB(0, 200, 200));  // cut by the panel
    (void)off;
    s.PaintAll();
    std::string golden = std::string(QUILLON_SOURCE_DIR) + "/tests/frame/golden/small_tree.png";
    EXPECT_TRUE(s.h.MatchesGolden(golden, 0));
}
