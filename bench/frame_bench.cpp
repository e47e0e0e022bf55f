// The item framework at full-screen size: a paint of the whole window with a
// tree of 200 items, and the dispatch of one mouse move through that tree,
// each against one memcpy of a 1024 x 768 x 32-bit frame.
#include <benchmark/benchmark.h>

#include <quillon/QMainScreen.h>
#include <quillon/testing.h>

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "frame/ItemBackground.h"
#include "frame/ItemBase.h"
#include "frame/QMainWnd.h"
#include "frame/pictures/DibPicture.h"
#include "frame/pictures/MaskPicture.h"
#include "platform/decode/PictureDecoder.h"

#include "bench/frame_copy.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

// An icon drawn in a colour, as the buttons and devices draw theirs.
class IconItem : public CItem {
public:
    explicit IconItem(CMaskPicture* icon) : m_icon(icon) {}
    void Draw(CDibPicture* t, int x, int y, int l, int tp, int r, int b) override {
        m_icon->SetColor(RGB(255, 255, 255));
        m_icon->Draw(t, x, y);
        CItem::Draw(t, x, y, l, tp, r, b);
    }

private:
    CMaskPicture* m_icon;
};

// An item that lights up while the mouse is over it, so that a move across
// items asks for the repaint a real screen would.
class HotItem : public CItemBase {
public:
    void OnMouseEnter(UINT, int, int, CItem*) override {
        SetFillColor(RGB(255, 200, 0));
        Redraw();
    }
    void OnMouseLeave(CItem*) override {
        SetFillColor(RGB(60, 60, 90));
        Redraw();
    }
};

// A 1024 x 768 screen of 200 items: 20 panels, each with 4 filled children
// and 5 icons of 48 x 48.
struct Screen {
    quillon::testing::Harness h;
    CWnd* parent = h.CreateParent(kWidth + 6, kHeight + 6);
    // No description file: the screen only lends its colours and modes.
    CString missing{"/nonexistent/TARVIK.INI"};
    CQMainScreen screen{"QuillonBench", parent, CRect(0, 0, 10, 10), &missing, nullptr};
    CQMainWnd wnd;
    CItemBackground* bg = new CItemBackground(&screen);
    CDibPicture tile;
    CMaskPicture icon;
    std::vector<std::unique_ptr<CItem>> items;

    Screen() {
        wnd.Create("QuillonBench", parent, CRect(0, 0, kWidth + 6, kHeight + 6), bg);
        // The background tile: 64 x 64, a gradient, as skins use.
        tile.Create(64, 64, 24);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) tile.SetPixel(x, y, RGB(x * 2, y * 2, 80));
        // A disc of 48 x 48 with soft edges, built from runs as a mask.
        icon = MakeDisc(48);
        for (int p = 0; p < 20; ++p) {
            int px = (p % 5) * 200 + 12;
            int py = (p / 5) * 190 + 6;
            auto* panel = Add(std::make_unique<HotItem>(), bg, px, py, px + 190, py + 180);
            static_cast<HotItem*>(panel)->SetFillColor(RGB(60, 60, 90));
            for (int c = 0; c < 4; ++c) {
                auto* fill =
                    Add(std::make_unique<HotItem>(), panel, 5 + c * 46, 5, 5 + c * 46 + 40, 60);
                static_cast<HotItem*>(fill)->SetFillColor(RGB(40 * c, 120, 160));
            }
            for (int i = 0; i < 5; ++i) {
                int ix = 5 + (i % 3) * 60;
                int iy = 70 + (i / 3) * 55;
                Add(std::make_unique<IconItem>(&icon), panel, ix, iy, ix + 48, iy + 48);
            }
        }
        bg->Redraw();
        h.AdvanceMs(0);
    }
    ~Screen() {
        items.clear();
        delete bg;
    }
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    CItem* Add(std::unique_ptr<CItem> item, CItem* under, int l, int t, int r, int b) {
        CItem* p = item.get();
        p->Create(under, l, t, r, b);
        items.push_back(std::move(item));
        return p;
    }

    static CMaskPicture MakeDisc(int size) {
        CDibPicture grey;
        grey.Create(size, size, 24);
        double c = (size - 1) / 2.0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                double d = c - 0.5 - std::sqrt((x - c) * (x - c) + (y - c) * (y - c));
                int v = d >= 1 ? 255 : d <= 0 ? 0 : static_cast<int>(d * 255);
                grey.SetPixel(x, y, RGB(v, v, v));
            }
        }
        // Mask pictures load from files: go through a temporary BMP.
        char path[] = "/tmp/quillon-bench-discXXXXXX";
        int fd = mkstemp(path);
        if (fd >= 0) close(fd);
        WriteBmp(grey, path);
        CMaskPicture mask;
        mask.Load(path);
        std::remove(path);
        return mask;
    }

    static void WriteBmp(const CDibPicture& p, const char* path) {
        quillon::platform::WriteBmpOf(path, p.GetSize().cx, p.GetSize().cy,
                                      [&p](int x, int y) { return p.GetPixel(x, y); });
    }
};

void Frame_Baseline_Memcpy(benchmark::State& state) {
    CopyOneFrame(state);
}
BENCHMARK(Frame_Baseline_Memcpy);

// The whole window: the tree drawn into the off-screen picture and copied
// to the window.
void Frame_Paint200Items(benchmark::State& state) {
    Screen s;
    for (auto _ : state) {
        s.bg->Redraw(nullptr, true);
    }
    state.counters["items"] = static_cast<double>(s.items.size());
}
BENCHMARK(Frame_Paint200Items)->Unit(benchmark::kMicrosecond);

// The same with the background picture tiled under the items.
void Frame_Paint200ItemsTiled(benchmark::State& state) {
    Screen s;
    // LoadPicture reads a file: write the tile once.
    char path[] = "/tmp/quillon-bench-tileXXXXXX";
    int fd = mkstemp(path);
    if (fd >= 0) close(fd);
    Screen::WriteBmp(s.tile, path);
    s.bg->LoadPicture(path);
    std::remove(path);
    for (auto _ : state) {
        s.bg->Redraw(nullptr, true);
    }
}
BENCHMARK(Frame_Paint200ItemsTiled)->Unit(benchmark::kMicrosecond);

// One WM_MOUSEMOVE through the tree: hit testing, enter and leave, the
// moves, between two points on the same item (no repaint).
void Frame_MouseMove200Items(benchmark::State& state) {
    Screen s;
    int i = 0;
    for (auto _ : state) {
        int x = 900 + (i & 1);
        ++i;
        s.wnd.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(x, 700));
    }
}
BENCHMARK(Frame_MouseMove200Items);

// A move from one item to another, with the paint it asks for (two items
// light up or go dark), as the queue delivers it.
void Frame_MouseMoveRepaint(benchmark::State& state) {
    Screen s;
    int i = 0;
    for (auto _ : state) {
        int x = (i & 1) ? 30 : 80;
        ++i;
        s.wnd.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(x, 30));
        s.wnd.UpdateWindow();
    }
}
BENCHMARK(Frame_MouseMoveRepaint);

// A move over the whole screen followed by a full repaint: the worst case a
// screen that redrew everything at every move would pay.
void Frame_MouseMoveFullRepaint(benchmark::State& state) {
    Screen s;
    int i = 0;
    for (auto _ : state) {
        int x = 100 + (i & 7) * 100;
        ++i;
        s.wnd.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(x, 400));
        s.bg->Redraw(nullptr, true);
    }
}
BENCHMARK(Frame_MouseMoveFullRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace
