// Lines and closed figures keep Windows' pixel rules.
#include <gtest/gtest.h>

#include "canvas.h"
#include "platform/gdi/raster_shapes.h"

TEST(Figures, RectangleCoversLeftTopButNotRightBottom) {
  Canvas c;
  CBrush red(RGB(255, 0, 0));
  c.dc.SelectObject(&red);
  c.dc.Rectangle(2, 3, 10, 8);
  EXPECT_EQ(c.At(2, 3), kBlack);
  EXPECT_EQ(c.At(9, 7), kBlack);
  EXPECT_EQ(c.At(10, 7), kWhite);
  EXPECT_EQ(c.At(9, 8), kWhite);
  EXPECT_EQ(c.At(1, 3), kWhite);
  EXPECT_EQ(c.At(3, 4), RGB(255, 0, 0));
  EXPECT_EQ(c.At(8, 6), RGB(255, 0, 0));
  EXPECT_EQ(c.CountInRow(5, kBlack), 2);
}

TEST(Figures, RectangleWithoutPenIsOnePixelSmaller) {
  Canvas c;
  c.dc.SelectStockObject(NULL_PEN);
  c.dc.SelectStockObject(BLACK_BRUSH);
  c.dc.Rectangle(0, 0, 5, 4);
  EXPECT_EQ(c.CountInRow(0, kBlack), 4);
  EXPECT_EQ(c.CountInColumn(0, kBlack), 3);
}

TEST(Figures, InsideFramePenStaysInsideWhileSolidPenStraddles) {
  Canvas inside;
  CPen frame(PS_INSIDEFRAME, 3, kBlack);
  inside.dc.SelectObject(&frame);
  inside.dc.SelectStockObject(NULL_BRUSH);
  inside.dc.Rectangle(4, 4, 20, 20);
  EXPECT_EQ(inside.At(3, 10), kWhite);
  EXPECT_EQ(inside.At(4, 10), kBlack);
  EXPECT_EQ(inside.At(6, 10), kBlack);
  EXPECT_EQ(inside.At(7, 10), kWhite);
  EXPECT_EQ(inside.At(19, 10), kBlack);
  EXPECT_EQ(inside.At(17, 10), kBlack);
  EXPECT_EQ(inside.At(20, 10), kWhite);

  Canvas solid;
  CPen wide(PS_SOLID, 3, kBlack);
  solid.dc.SelectObject(&wide);
  solid.dc.SelectStockObject(NULL_BRUSH);
  solid.dc.Rectangle(4, 4, 20, 20);
  EXPECT_EQ(solid.At(3, 10), kBlack);
  EXPECT_EQ(solid.At(6, 10), kWhite);
}

TEST(Figures, LineToLeavesOutItsEndPointAndMovesThePosition) {
  Canvas c;
  c.dc.MoveTo(2, 5);
  c.dc.LineTo(8, 5);
  EXPECT_EQ(c.CountInRow(5, kBlack), 6);
  EXPECT_EQ(c.At(2, 5), kBlack);
  EXPECT_EQ(c.At(8, 5), kWhite);
  EXPECT_EQ(c.dc.GetCurrentPosition(), CPoint(8, 5));

  c.dc.MoveTo(20, 20);
  c.dc.LineTo(20, 10);  // upward: 20 down to 11
  EXPECT_EQ(c.At(20, 20), kBlack);
  EXPECT_EQ(c.At(20, 11), kBlack);
  EXPECT_EQ(c.At(20, 10), kWhite);

  c.dc.MoveTo(0, 10);
  c.dc.LineTo(4, 14);  // diagonal
  for (int i = 0; i < 4; ++i) EXPECT_EQ(c.At(i, 10 + i), kBlack) << i;
  EXPECT_EQ(c.At(4, 14), kWhite);
}

TEST(Figures, WideLinesAreCentredOnTheThinLine) {
  Canvas c;
  CPen three(PS_INSIDEFRAME, 3, RGB(0, 0, 255));
  c.dc.SelectObject(&three);
  c.dc.MoveTo(10, 20);
  c.dc.LineTo(10, 5);
  EXPECT_EQ(c.CountInRow(12, RGB(0, 0, 255)), 3);
  EXPECT_EQ(c.At(9, 12), RGB(0, 0, 255));
  EXPECT_EQ(c.At(11, 12), RGB(0, 0, 255));
  CPen two(PS_INSIDEFRAME, 2, RGB(255, 0, 0));
  c.dc.SelectObject(&two);
  c.dc.MoveTo(15, 10);
  c.dc.LineTo(25, 10);
  EXPECT_EQ(c.CountInColumn(20, RGB(255, 0, 0)), 2);
  EXPECT_EQ(c.At(20, 9), RGB(255, 0, 0));
  EXPECT_EQ(c.At(20, 10), RGB(255, 0, 0));
}

TEST(Figures, RoundRectIsSymmetricWithCutCorners) {
  Canvas c(40, 30);
  c.dc.SelectStockObject(NULL_BRUSH);
  c.dc.RoundRect(0, 0, 30, 26, 10, 10);
  EXPECT_EQ(c.At(0, 0), kWhite);
  EXPECT_EQ(c.At(29, 25), kWhite);
  EXPECT_EQ(c.At(0, 13), kBlack);
  EXPECT_EQ(c.At(29, 13), kBlack);
  EXPECT_EQ(c.At(15, 0), kBlack);
  EXPECT_EQ(c.At(15, 25), kBlack);
  EXPECT_EQ(c.At(30, 13), kWhite);
  for (int y = 0; y < 26; ++y) {
    for (int x = 0; x < 30; ++x) {
      ASSERT_EQ(c.At(x, y), c.At(29 - x, y)) << x << "," << y;
      ASSERT_EQ(c.At(x, y), c.At(x, 25 - y)) << x << "," << y;
    }
  }
  // The outline is closed: every row crosses it exactly twice in its middle.
  EXPECT_EQ(c.CountInRow(13, kBlack), 2);
}

TEST(Figures, ShrinkAndFrameOfARectangle) {
  const QRegion box(0, 0, 10, 6);
  EXPECT_EQ(raster::Shrink(box, 2, 1), QRegion(2, 1, 6, 4));
  EXPECT_EQ(raster::Frame(box, 1, 1).boundingRect(), QRect(0, 0, 10, 6));
  EXPECT_FALSE(raster::Frame(box, 1, 1).contains(QPoint(1, 1)));
}

TEST(Figures, MaskPenAndsTheBrushColourIntoTheDestination) {
  Canvas c(8, 8, RGB(0xF0, 0x0F, 0xCC));
  CBrush brush(RGB(0x80, 0xFF, 0x0F));
  CRgn area;
  area.CreateRectRgn(0, 0, 4, 8);
  const int old = c.dc.SetROP2(R2_MASKPEN);
  EXPECT_EQ(old, R2_COPYPEN);
  c.dc.FillRgn(&area, &brush);
  c.dc.SetROP2(old);
  EXPECT_EQ(c.At(0, 0), RGB(0x80, 0x0F, 0x0C));
  EXPECT_EQ(c.At(4, 0), RGB(0xF0, 0x0F, 0xCC));
}

TEST(Figures, FillRectIgnoresTheMixModeAndExcludesRightAndBottom) {
  Canvas c(8, 8, RGB(0, 0, 0));
  c.dc.SetROP2(R2_MASKPEN);
  CBrush brush(RGB(10, 20, 30));
  const CRect box(1, 1, 4, 3);
  c.dc.FillRect(&box, &brush);
  EXPECT_EQ(c.At(1, 1), RGB(10, 20, 30));
  EXPECT_EQ(c.At(3, 2), RGB(10, 20, 30));
  EXPECT_EQ(c.At(4, 2), kBlack);
  EXPECT_EQ(c.At(3, 3), kBlack);
  c.dc.FillSolidRect(5, 5, 2, 2, RGB(1, 2, 3));
  EXPECT_EQ(c.At(6, 6), RGB(1, 2, 3));
  EXPECT_EQ(c.At(7, 7), kBlack);
}

TEST(Figures, FlatSunkenEdgeIsShadowOutsideFaceInside) {
  Canvas c(20, 12);
  CRect box(0, 0, 20, 12);
  c.dc.DrawEdge(&box, EDGE_SUNKEN, BF_RECT | BF_FLAT);
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(c.At(0, 0), shadow);
  EXPECT_EQ(c.At(19, 11), shadow);
  EXPECT_EQ(c.At(10, 11), shadow);
  EXPECT_EQ(c.At(1, 1), face);
  EXPECT_EQ(c.At(18, 10), face);
  EXPECT_EQ(c.At(2, 2), kWhite);
  EXPECT_EQ(box, CRect(0, 0, 20, 12));  // not adjusted without BF_ADJUST
}
