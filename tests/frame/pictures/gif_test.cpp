// GIFs through the platform decoder: transparency is found by two renders
// and becomes a 1-bit mask.

#include "frame/pictures/DibPicture.h"
#include "support/picture_files.h"

using picturetest::ExpectEvery;
using quillon::testfiles::Gif;

namespace {

const quillon::testfiles::Palette kPalette = {
    {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {0, 0, 0}, {255, 255, 255}};
const picturetest::Bytes kIndexes = {0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 0, 1};  // 4 x 3, top row first

COLORREF Colour(int x, int y) {
    const auto& c = kPalette[kIndexes[static_cast<std::size_t>(y * 4 + x)]];
    return RGB(c[0], c[1], c[2]);
}

}  // namespace

TEST(GifLoad, WithAndWithoutTransparency) {
    picturetest::TempDir dir;
    const COLORREF back = RGB(90, 80, 70);
    for (int transparent : {-1, 1, 7}) {  // none, green, an index no pixel uses
        SCOPED_TRACE(transparent);
        CDibPicture gif;
        ASSERT_TRUE(
            gif.Load(dir.Write("a.gif", Gif(4, 3, kPalette, {{kIndexes, transparent}})).c_str()));
        EXPECT_TRUE(gif.GetSize() == CSize(4, 3) && gif.GetBitCount() == 32);
        CDibPicture* mask = gif.GetMask();
        ASSERT_EQ(mask != nullptr, transparent == 1);
        EXPECT_TRUE(mask == nullptr || mask->GetBitCount() == 1);
        CDibPicture target;
        ASSERT_TRUE(target.Create(6, 5, 32));
        target.GetMemDC()->FillSolidRect(0, 0, 6, 5, back);
        gif.DrawTo(&target, 1, 1);
        auto clear = [&](int x, int y) { return transparent == 1 && kIndexes[y * 4 + x] == 1; };
        ExpectEvery(target, [&](int x, int y) {
            const bool inside = x >= 1 && x < 5 && y >= 1 && y < 4;
            return inside && !clear(x - 1, y - 1) ? Colour(x - 1, y - 1) : back;
        });
        // The picture itself shows black where it is transparent.
        ExpectEvery(gif, [&](int x, int y) { return clear(x, y) ? 0u : Colour(x, y); });
        if (mask) ExpectEvery(*mask, [&](int x, int y) { return clear(x, y) ? 0xFFFFFFu : 0u; });
    }
    // An animation gives its first frame.
    auto anim = Gif(2, 1, {{0, 0, 0}, {255, 255, 255}}, {{{0, 1}, -1}, {{1, 1}, -1}});
    CDibPicture gif;
    ASSERT_TRUE(gif.Load(dir.Write("anim.gif", anim).c_str()));
    EXPECT_TRUE(gif.GetPixel(0, 0) == 0u && gif.GetPixel(1, 0) == RGB(255, 255, 255));

    // A broken GIF fails and leaves nothing behind.
    picturetest::Bytes cut = Gif(4, 3, kPalette, {{kIndexes, 1}});
    cut.resize(20);
    EXPECT_FALSE(gif.Load(dir.Write("cut.gif", cut).c_str()));
    EXPECT_TRUE(!gif.IsLoaded() && gif.GetMask() == nullptr);
}
