// Rectangles as the window system has them: right and bottom outside, empty
// when inverted, and empty rectangles taking no part in intersections and
// unions.
#include <quillon/platform/Geometry.h>

#include <gtest/gtest.h>

TEST(GeometryTest, RectangleRulesOfTheWindowSystem) {
    CRect r(10, 20, 30, 60);
    EXPECT_EQ(CSize(r.Width(), r.Height()), CSize(20, 40));
    EXPECT_TRUE(r.TopLeft() == CPoint(10, 20) && r.BottomRight() == CPoint(30, 60));
    EXPECT_TRUE(r.PtInRect(CPoint(10, 20)) && r.PtInRect(CPoint(29, 59)));
    EXPECT_FALSE(r.PtInRect(CPoint(30, 59)) || r.PtInRect(CPoint(29, 60)));
    EXPECT_TRUE(CRect(5, 5, 5, 9).IsRectEmpty() && CRect(5, 5, 4, 9).IsRectEmpty() &&
                !CRect(5, 5, 6, 6).IsRectEmpty());
    r.InflateRect(2, 3);
    EXPECT_EQ(r, CRect(8, 17, 32, 63));
    r.OffsetRect(-8, -17);
    EXPECT_EQ(r, CRect(0, 0, 24, 46));
    r.InflateRect(-20, 0);  // inverted, and so empty
    EXPECT_TRUE(r.IsRectEmpty());

    const CRect a(0, 0, 10, 10), b(5, 5, 20, 20), c(10, 0, 20, 10), e(2, 2, 2, 8);
    CRect out(1, 2, 3, 4);
    EXPECT_TRUE(out.IntersectRect(&a, &b) && out == CRect(5, 5, 10, 10));
    // Touching rectangles do not meet: empty result, zeroed.
    out = CRect(1, 2, 3, 4);
    EXPECT_FALSE(out.IntersectRect(&a, &c));
    EXPECT_TRUE(out.IsRectNull());
    // An empty operand meets nothing even when it lies inside.
    EXPECT_FALSE(out.IntersectRect(&a, &e));
    EXPECT_TRUE(out.UnionRect(&a, &c) && out == CRect(0, 0, 20, 10));
    // Empty rectangles take no part in a union.
    const CRect far(100, 100, 100, 200);
    EXPECT_TRUE(out.UnionRect(&a, &far) && out == a);
    EXPECT_FALSE(out.UnionRect(&e, &far));
    EXPECT_TRUE(out.IsRectNull());
    // In place, as callers write it.
    CRect acc;
    acc |= a;
    acc |= CRect(50, 50, 60, 60);
    EXPECT_TRUE(acc == CRect(0, 0, 60, 60) && (a & b) == CRect(5, 5, 10, 10));
}
