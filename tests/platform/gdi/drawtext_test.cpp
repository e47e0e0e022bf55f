// Text drawn by a drawing surface into a picture lands where the layout puts
// it: ink inside the box, none outside, full-coverage pixels in the colour.
#include "frame/pictures/DibPicture.h"
#include "platform/gdi/DC.h"
#include "platform/text/Font.h"

#include <gtest/gtest.h>

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
        EXPECT_EQ(dc->SelectObject(&font), nullptr);
        EXPECT_EQ(dc->SetBkMode(TRANSPARENT), OPAQUE);
        dc->SetTextColor(kInk);
    }
    // Pixels not of the background inside `r`; there must be none outside it.
    int InkInside(const RECT& r) {
        int inside = 0, outside = 0;
        for (int y = 0; y < 60; ++y) {
            for (int x = 0; x < 120; ++x) {
                if (picture.GetPixel(x, y) == kBack) continue;
                ++(x >= r.left && x < r.right && y >= r.top && y < r.bottom ? inside : outside);
            }
        }
        EXPECT_EQ(outside, 0) << "ink outside the box";
        return inside;
    }
};

}  // namespace

TEST(DrawTextTest, InkStaysInsideItsBoxAndTheClipRectangle) {
    Surface s;
    const CString text = Sjis("CD再生\n毎週 月水金");
    RECT box = {10, 8, 100, 40};
    EXPECT_EQ(s.picture.GetMemDC()->DrawText(text, &box, 0), 24);
    EXPECT_GT(s.InkInside(box), 150);
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

    // A box lower and narrower than the text: the first line's upper part and
    // the characters past the right edge are cut off.
    Surface cut;
    RECT small = {10, 12, 40, 18};
    cut.picture.GetMemDC()->DrawText(Sjis("予約\n予約"), &small, 0);
    EXPECT_GT(cut.InkInside(small), 10);

    // The picture's clip rectangle cuts further; opaque mode fills the line
    // boxes within both.
    Surface t;
    CDC* dc = t.picture.GetMemDC();
    t.picture.SetClipRect(0, 0, 30, 12);
    dc->SetBkMode(OPAQUE);
    dc->SetBkColor(RGB(0, 0, 255));
    RECT wide = {10, 6, 50, 30};
    dc->DrawText(Sjis("予約予約予約\n予約"), &wide, 0);
    EXPECT_GT(t.InkInside(RECT{10, 6, 30, 12}), 20);
    EXPECT_EQ(t.picture.GetPixel(10, 6), RGB(0, 0, 255));
}
