// Regions as pixel sets, and drawing through them.
#include <gtest/gtest.h>

#include "canvas.h"

TEST(Regions, RectRegionExcludesRightAndBottomEdges) {
  CRgn r;
  r.CreateRectRgn(2, 3, 6, 8);
  EXPECT_TRUE(r.PtInRegion(2, 3));
  EXPECT_TRUE(r.PtInRegion(5, 7));
  EXPECT_FALSE(r.PtInRegion(6, 7));
  EXPECT_FALSE(r.PtInRegion(5, 8));
  CRect box;
  EXPECT_EQ(r.GetRgnBox(&box), SIMPLEREGION);
  EXPECT_EQ(box, CRect(2, 3, 6, 8));
}

TEST(Regions, RoundRectRegionCutsItsCornersSymmetrically) {
  CRgn r;
  r.CreateRoundRectRgn(0, 0, 41, 31, 16, 16);
  CRect box;
  EXPECT_EQ(r.GetRgnBox(&box), COMPLEXREGION);
  EXPECT_EQ(box, CRect(0, 0, 41, 31));
  EXPECT_FALSE(r.PtInRegion(0, 0));
  EXPECT_FALSE(r.PtInRegion(40, 30));
  EXPECT_TRUE(r.PtInRegion(20, 0));
  EXPECT_TRUE(r.PtInRegion(0, 15));
  EXPECT_TRUE(r.PtInRegion(40, 15));
  for (int y = 0; y < 31; ++y)
    for (int x = 0; x < 41; ++x) ASSERT_EQ(r.PtInRegion(x, y), r.PtInRegion(40 - x, 30 - y));
}

TEST(Regions, TriangleRegionHoldsItsInsideOnly) {
  // An anchor wedge: tip at (10, 20), base from (10, 10) to (0, 10).
  const POINT points[] = {{10, 20}, {10, 10}, {0, 10}};
  CRgn wedge;
  wedge.CreatePolygonRgn(points, 3, ALTERNATE);
  EXPECT_TRUE(wedge.PtInRegion(9, 11));
  EXPECT_TRUE(wedge.PtInRegion(8, 15));
  EXPECT_FALSE(wedge.PtInRegion(2, 18));
  EXPECT_FALSE(wedge.PtInRegion(10, 15));  // right edge stays outside
  EXPECT_FALSE(wedge.PtInRegion(5, 9));
  CRect box;
  wedge.GetRgnBox(&box);
  EXPECT_GE(box.left, 0);
  EXPECT_LE(box.right, 10);
  EXPECT_LE(box.bottom, 20);
}

TEST(Regions, CombineModesOffsetAndCopy) {
  CRgn a, b, out;
  a.CreateRectRgn(0, 0, 10, 10);
  b.CreateRectRgn(5, 0, 15, 10);
  out.CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(out.CombineRgn(&a, &b, RGN_OR), SIMPLEREGION);
  EXPECT_TRUE(out.PtInRegion(14, 9));
  EXPECT_EQ(out.CombineRgn(&a, &b, RGN_AND), SIMPLEREGION);
  EXPECT_FALSE(out.PtInRegion(4, 0));
  EXPECT_TRUE(out.PtInRegion(5, 0));
  out.CombineRgn(&a, &b, RGN_DIFF);
  EXPECT_TRUE(out.PtInRegion(4, 0));
  EXPECT_FALSE(out.PtInRegion(5, 0));
  EXPECT_EQ(out.CombineRgn(&a, &b, RGN_XOR), COMPLEXREGION);
  EXPECT_FALSE(out.PtInRegion(7, 7));
  EXPECT_TRUE(out.PtInRegion(12, 7));
  EXPECT_EQ(out.CombineRgn(&a, nullptr, RGN_COPY), SIMPLEREGION);
  out.OffsetRgn(4, 4);
  EXPECT_TRUE(out.PtInRegion(13, 13));
  EXPECT_FALSE(out.PtInRegion(3, 3));
  EXPECT_TRUE(a.PtInRegion(3, 3));  // the copy is independent
  EXPECT_EQ(out.CombineRgn(&a, &b, 99), ERROR);
}

TEST(Regions, FrameRgnDrawsTheGivenWidthAndHeightInside) {
  Canvas c;
  CRgn r;
  r.CreateRectRgn(4, 4, 20, 16);
  CBrush black(kBlack);
  c.dc.FrameRgn(&r, &black, 2, 1);
  EXPECT_EQ(c.At(4, 10), kBlack);
  EXPECT_EQ(c.At(5, 10), kBlack);
  EXPECT_EQ(c.At(6, 10), kWhite);
  EXPECT_EQ(c.At(19, 10), kBlack);
  EXPECT_EQ(c.At(18, 10), kBlack);
  EXPECT_EQ(c.At(17, 10), kWhite);
  EXPECT_EQ(c.At(10, 4), kBlack);
  EXPECT_EQ(c.At(10, 5), kWhite);
  EXPECT_EQ(c.At(10, 15), kBlack);
  EXPECT_EQ(c.At(10, 16), kWhite);
  EXPECT_EQ(c.At(3, 10), kWhite);
}

TEST(Regions, FillRgnFillsExactlyTheRegion) {
  Canvas c;
  CRgn r;
  r.CreateRoundRectRgn(0, 0, 20, 20, 8, 8);
  CBrush red(RGB(255, 0, 0));
  c.dc.FillRgn(&r, &red);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x)
      ASSERT_EQ(c.At(x, y) == RGB(255, 0, 0), bool(r.PtInRegion(x, y))) << x << "," << y;
}

TEST(Regions, ClipRegionLimitsDrawingAndCanBeRemoved) {
  Canvas c;
  CRgn clip;
  clip.CreateRectRgn(10, 10, 20, 20);
  c.dc.SelectClipRgn(&clip);
  c.dc.FillSolidRect(0, 0, 32, 32, kBlack);
  EXPECT_EQ(c.At(10, 10), kBlack);
  EXPECT_EQ(c.At(19, 19), kBlack);
  EXPECT_EQ(c.At(20, 19), kWhite);
  EXPECT_EQ(c.At(9, 15), kWhite);
  CRect box;
  c.dc.GetClipBox(&box);
  EXPECT_EQ(box, CRect(10, 10, 20, 20));
  c.dc.SelectClipRgn(nullptr);
  c.dc.FillSolidRect(0, 0, 1, 1, kBlack);
  EXPECT_EQ(c.At(0, 0), kBlack);
}

TEST(Regions, ClipRegionIsInDeviceCoordinates) {
  Canvas c;
  c.dc.SetViewportOrg(5, 0);
  CRgn clip;
  clip.CreateRectRgn(0, 0, 10, 32);
  c.dc.SelectClipRgn(&clip);
  c.dc.FillSolidRect(0, 0, 32, 1, kBlack);  // device 5..36
  EXPECT_EQ(c.CountInRow(0, kBlack), 5);
  EXPECT_EQ(c.At(5, 0), kBlack);
  EXPECT_EQ(c.At(10, 0), kWhite);
}

TEST(Regions, EmptyClipRegionLetsNothingThrough) {
  Canvas c;
  CRgn nothing;
  nothing.CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(c.dc.SelectClipRgn(&nothing), NULLREGION);
  c.dc.FillSolidRect(0, 0, 32, 32, kBlack);
  EXPECT_EQ(c.CountInRow(5, kBlack), 0);
}
