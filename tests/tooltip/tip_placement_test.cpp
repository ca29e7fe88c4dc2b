#include "tooltip/tip_placement.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "tooltip/balloon_shape.h"

namespace {

TipPlacement Place(CPoint cursor, int direction, CSize tip = {200, 100}, bool shadow = false) {
  TipPlacementInput in;
  in.cursor = cursor;
  in.tipSize = tip;
  in.direction = direction;
  in.screen = CSize(1024, 768);
  in.anchorMargin = 16;
  in.shadow = shadow;
  in.shadowOffset = CSize(4, 4);
  return CalcTipPlacement(in);
}

}  // namespace

TEST(TipPlacement, PreferredDirectionWhenThereIsRoom) {
  auto p = Place({100, 100}, 3);  // below, extending right: anchor margin left of the cursor
  EXPECT_EQ(p.direction, 3);
  EXPECT_EQ(p.rect, CRect(84, 100, 284, 200));
  p = Place({500, 400}, 0);  // above, extending left
  EXPECT_EQ(p.direction, 0);
  EXPECT_EQ(p.rect, CRect(316, 300, 516, 400));
}

TEST(TipPlacement, FlipsAtEachScreenEdge) {
  auto right = Place({900, 100}, 3);
  EXPECT_EQ(right.direction, 2);
  EXPECT_EQ(right.rect, CRect(716, 100, 916, 200));
  auto bottom = Place({100, 700}, 3);
  EXPECT_EQ(bottom.direction, 1);
  EXPECT_EQ(bottom.rect, CRect(84, 600, 284, 700));
  auto corner = Place({900, 700}, 3);
  EXPECT_EQ(corner.direction, 0);
  EXPECT_EQ(corner.rect, CRect(716, 600, 916, 700));
  auto left = Place({50, 300}, 0);
  EXPECT_EQ(left.direction, 1);
  EXPECT_EQ(left.rect.left, 34);
  auto top = Place({300, 50}, 1);
  EXPECT_EQ(top.direction, 3);
  EXPECT_EQ(top.rect.top, 50);
}

TEST(TipPlacement, ClampsHorizontallyButNeverVertically) {
  // Right-extending at the left edge: starts at the screen edge.
  auto p = Place({5, 100}, 3);
  EXPECT_EQ(p.direction, 3);
  EXPECT_EQ(p.rect.left, 0);
  EXPECT_EQ(p.rect.right, 200);
  // Left-extending at the right edge: right end clamped to the screen.
  p = Place({1020, 100}, 2);
  EXPECT_EQ(p.direction, 2);
  EXPECT_EQ(p.rect, CRect(824, 100, 1024, 200));
  // Vertically a tip that fits nowhere keeps its incoming extent.
  p = Place({300, 400}, 3, {200, 500});
  EXPECT_EQ(p.direction, 1);
  EXPECT_EQ(p.rect.top, 0);
  EXPECT_EQ(p.rect.bottom, 500);
}

TEST(TipPlacement, TooWideForTheScreenFlipsOnceAndKeepsItsExtent) {
  auto p = Place({500, 100}, 3, {1100, 50});
  EXPECT_EQ(p.direction, 2);
  EXPECT_EQ(p.rect.left, 0);
  EXPECT_EQ(p.rect.right, 1100);
}

TEST(TipPlacement, ShadowMovesOnlyLeftExtendingTips) {
  EXPECT_EQ(Place({500, 400}, 0, {200, 100}, true).rect, CRect(320, 304, 520, 404));
  EXPECT_EQ(Place({500, 400}, 1, {200, 100}, true).rect, CRect(484, 300, 684, 400));
  EXPECT_EQ(Place({500, 400}, 2, {200, 100}, true).rect, CRect(320, 400, 520, 500));
  EXPECT_EQ(Place({500, 400}, 3, {200, 100}, true).rect, CRect(484, 400, 684, 500));
}

// The window is placed, then its balloon is cut with the cursor in the
// window's coordinates, as the tip does when it shows: the anchor's point
// must be the cursor, inside the window, at the far end of a whole wedge
// whose straight side runs from the body to the cursor. (Above the cursor
// and extending right, the shadow's height lengthens the wedge.)
TEST(TipPlacement, AnchorPointSitsOnTheCursorInEveryDirectionWithAndWithoutShadow) {
  const CSize shadowOffset(4, 4);
  for (bool shadow : {false, true}) {
    for (int direction = 0; direction < 4; ++direction) {
      SCOPED_TRACE(testing::Message() << "direction " << direction << (shadow ? " with" : " without") << " shadow");
      const CPoint cursor(500, 400);
      const CSize tip(200 + (shadow ? shadowOffset.cx : 0), 100 + (shadow ? shadowOffset.cy : 0));
      const TipPlacement placed = Place(cursor, direction, tip, shadow);
      ASSERT_EQ(placed.direction, direction);
      BalloonShapeInput in;
      in.width = placed.rect.Width() - (shadow ? shadowOffset.cx : 0);
      in.height = placed.rect.Height() - (shadow ? shadowOffset.cy : 0);
      in.anchor = CPoint(cursor.x - placed.rect.left, cursor.y - placed.rect.top);
      in.direction = direction;
      in.anchorWidth = 12;
      in.anchorHeight = 16;
      in.anchorMargin = 16;
      const BalloonShape shape = CalcBalloonShape(in);
      const POINT point = shape.triangle[0];
      EXPECT_GE(point.y, 0);
      EXPECT_LE(point.y, placed.rect.Height());
      EXPECT_EQ(shape.triangle[1].x, point.x) << "the wedge leans";
      const int lengthened = shadow && direction == 1 ? shadowOffset.cy : 0;
      EXPECT_EQ(std::abs(shape.triangle[1].y - point.y), in.anchorHeight + lengthened);
    }
  }
}

TEST(TipPlacement, FlipTables) {
  EXPECT_EQ(FlipHorz(0), 1);
  EXPECT_EQ(FlipHorz(3), 2);
  EXPECT_EQ(FlipVert(0), 2);
  EXPECT_EQ(FlipVert(3), 1);
}
