// Text drawn by a drawing surface into a picture lands where the layout puts
// it: ink inside the box, none outside, full-coverage pixels in the colour.
#include "frame/pictures/DibPicture.h"
#include "platform/gdi/DC.h"
#include "platform/text/Font.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr COLORREF kBack = RGB(0, 0, 0);
constexpr COLORREF kInk = RGB(255, 255, 0);

struct Surface {
    CDibPicture picture;
    CFont font;
    Surface() {
        EXPECT_TRUE(picture.Create(120, 60, 32));
        EXPECT_TRUE(
            font.CreateFont(-11, 0, 0, 0, 400, 0, 0, 0, 128, 3, 2, 1, 0x34, Sjis("ＭＳ ゴシック")));
        CDC* dc = picture.GetMemDC();
        dc->SelectObject(&font);
        dc->SetBkMode(TRANSPARENT);
        dc->SetTextColor(kInk);
    }
    int InkInside(const RECT& r, int* outside) {
        int inside = 0;
        *outside = 0;
        for (int y = 0; y < 60; ++y) {
            for (int x = 0; x < 120; ++x) {
                if (picture.GetPixel(x, y) == kBack) continue;
                bool in = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
                ++(in ? inside : *outside);
            }
        }
        return inside;
    }
};

}  // namespace

TEST(DrawTextTest, JapaneseInkStaysInsideItsBox) {
    Surface s;
    const CString text = Sjis("CD再生\n毎週 月水金");
    RECT box = {10, 8, 100, 40};
    int height = s.picture.GetMemDC()->DrawText(text, &box, 0);
    EXPECT_EQ(height, 24);
    int outside = 0;
    EXPECT_GT(s.InkInside(box, &outside), 150);
    EXPECT_EQ(outside, 0);

    // Every pixel the layout covers fully shows the text colour exactly.
    int full = 0;
    quillon::platform::LayoutText(&s.font, text, box.left, box.top,
                                  [&](const quillon::platform::GlyphImage& g, int gx, int gy) {
                                      for (int y = 0; y < g.height; ++y) {
                                          for (int x = 0; x < g.width; ++x) {
                                              if (g.coverage[y * g.pitch + x] != 255) continue;
                                              ++full;
                                              EXPECT_EQ(s.picture.GetPixel(gx + x, gy + y), kInk);
                                          }
                                      }
                                  });
    EXPECT_GT(full, 50);
}

TEST(DrawTextTest, TextIsCutAtTheBoxAndMissingCharactersAreBoxes) {
    Surface s;
    // A box lower and narrower than the text: the first line's upper part and
    // the characters past the right edge are cut off.
    RECT box = {10, 12, 40, 18};
    s.picture.GetMemDC()->DrawText(Sjis("予約\n予約"), &box, 0);
    int outside = 0;
    EXPECT_GT(s.InkInside(box, &outside), 10);
    EXPECT_EQ(outside, 0);

    // A user-defined character shows a hollow box of full width.
    Surface t;
    RECT wide = {0, 0, 120, 60};
    t.picture.GetMemDC()->DrawText("\xF0\x40", &wide, 0);
    EXPECT_EQ(t.picture.GetPixel(0, 1), kInk);    // top-left corner of the box
    EXPECT_EQ(t.picture.GetPixel(9, 9), kInk);    // bottom-right corner
    EXPECT_EQ(t.picture.GetPixel(4, 5), kBack);   // hollow
    EXPECT_EQ(t.picture.GetPixel(10, 5), kBack);  // the gap before the next cell
}
