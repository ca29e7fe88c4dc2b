#include "tooltip/balloon_shape.h"

#include <gtest/gtest.h>

TEST(BalloonShape, AnchorSideTakesTheAnchorHeight) {
  BalloonShapeInput in;
  in.width = 120;
  in.height = 60;
  in.anchorWidth = 12;
  in.anchorHeight = 16;
  in.anchorMargin = 16;
  in.direction = 3;  // below the cursor, extending right
  in.anchor = CPoint(16, 0);
  BalloonShape s = CalcBalloonShape(in);
  EXPECT_EQ(s.body, CRect(0, 16, 120, 60));
  ASSERT_TRUE(s.hasAnchor);
  EXPECT_EQ(CPoint(s.triangle[0]), CPoint(16, 0));
  EXPECT_EQ(CPoint(s.triangle[1]), CPoint(16, 16));  // a right-angled wedge under the cursor
  EXPECT_EQ(CPoint(s.triangle[2]), CPoint(28, 16));

  in.direction = 0;  // above, extending left: anchor near the right end of the bottom edge
  in.anchor = CPoint(104, 60);
  s = CalcBalloonShape(in);
  EXPECT_EQ(s.body, CRect(0, 0, 120, 44));
  EXPECT_EQ(CPoint(s.triangle[1]), CPoint(104, 44));
  EXPECT_EQ(CPoint(s.triangle[2]), CPoint(92, 44));
}

TEST(BalloonShape, WithoutAnchorStyleTheHeightIsStillReserved) {
  BalloonShapeInput in;
  in.width = 50;
  in.height = 40;
  in.anchorHeight = 16;
  in.withAnchor = false;
  in.direction = 1;
  const BalloonShape s = CalcBalloonShape(in);
  EXPECT_FALSE(s.hasAnchor);
  EXPECT_EQ(s.body, CRect(0, 0, 50, 24));
}

TEST(GradientBands, SixtyFourStepsStoppingOneShort) {
  const auto bands = CalcGradientBands(CRect(0, 0, 128, 10), RGB(0, 0, 0), RGB(64, 128, 255), true);
  ASSERT_EQ(bands.size(), 64u);
  EXPECT_EQ(bands[0].rect, CRect(0, 0, 2, 10));
  EXPECT_EQ(bands[0].colour, RGB(0, 0, 0));
  EXPECT_EQ(bands[1].colour, RGB(1, 2, 3));  // 255/64 = 3.98 → 3
  EXPECT_EQ(bands[63].rect, CRect(126, 0, 128, 10));
  EXPECT_EQ(bands[63].colour, RGB(63, 126, 251));
}

TEST(GradientBands, NarrowRectanglesGetFewerWiderBands) {
  const auto bands = CalcGradientBands(CRect(10, 5, 30, 25), RGB(200, 0, 0), RGB(0, 0, 0), false);
  ASSERT_EQ(bands.size(), 20u);
  int covered = 0;
  for (const auto& b : bands) covered += b.rect.Height();
  EXPECT_EQ(covered, 20);
  EXPECT_EQ(bands.front().rect.top, 5);
  EXPECT_EQ(bands.back().rect.bottom, 25);
  // band 63 is still drawn and stops one step short: ⌊(64·200 − 63·200)/64⌋ = 3
  EXPECT_EQ(bands.back().colour, RGB(3, 0, 0));
  for (const auto& b : bands) EXPECT_NE(b.colour, RGB(0, 0, 0));
}

TEST(GradientBands, DescendingChannelsStayInRange) {
  const auto bands = CalcGradientBands(CRect(0, 0, 64, 1), RGB(255, 255, 255), RGB(0, 0, 0), true);
  ASSERT_EQ(bands.size(), 64u);
  EXPECT_EQ(bands[63].colour, RGB(3, 3, 3));
}
