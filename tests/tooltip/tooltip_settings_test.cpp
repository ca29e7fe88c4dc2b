#include "platform/gdi/system_metrics.h"
#include "tooltip_test_support.h"

TEST(TooltipSettings, Defaults) {
  CGlintTooltip tip;
  EXPECT_EQ(tip.GetStyles(), 0x27u);
  EXPECT_EQ(tip.GetDirection(), 3);
  EXPECT_EQ(tip.GetEffect(), 0);
  EXPECT_EQ(tip.GetGranularity(), 2);
  EXPECT_EQ(tip.GetShowBehaviour(), 0u);
  EXPECT_EQ(tip.GetDelay(TTDT_INITIAL), 500u);
  EXPECT_EQ(tip.GetDelay(TTDT_AUTOPOP), 5000u);
  EXPECT_FALSE(tip.IsDisplayNotifyEnabled());
  EXPECT_EQ(tip.GetColor(1), 0x800000u);
  EXPECT_EQ(tip.GetColor(11), 0x0000FFu);
  EXPECT_EQ(tip.GetColor(15), 0xFFFFFFu);
  EXPECT_EQ(tip.GetColor(17), GetSysColor(COLOR_INFOTEXT));
  EXPECT_EQ(tip.GetColor(18), GetSysColor(COLOR_INFOBK));
  EXPECT_EQ(tip.GetColor(20), GetSysColor(COLOR_INFOBK));
  EXPECT_EQ(tip.GetColor(22), 0x8B1A55u);
  EXPECT_EQ(tip.GetColor(24), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(tip.GetColor(25), GetSysColor(COLOR_INFOTEXT));
  const int balloon[] = {16, 16, 12, 12, 4, 4, 12, 16, 16, 1, 1};
  for (int i = 0; i < 11; ++i) EXPECT_EQ(tip.GetSize(i), balloon[i]) << i;
}

TEST(TooltipSettings, TablesIgnoreIndexesOutOfRange) {
  CGlintTooltip tip;
  tip.SetColor(26, 1);
  tip.SetColor(-1, 1);
  tip.SetColor(25, 0x123456);
  EXPECT_EQ(tip.GetColor(25), 0x123456u);
  tip.SetSize(11, 99);
  tip.SetSize(10, 7);
  EXPECT_EQ(tip.GetSize(10), 7);
  tip.ResetSizes(FALSE);
  const int plain[] = {0, 0, 3, 1, 0, 0, 0, 0, 0, 1, 1};
  for (int i = 0; i < 11; ++i) EXPECT_EQ(tip.GetSize(i), plain[i]) << i;
  tip.SetDelay(1, 7);
  EXPECT_EQ(tip.GetDelay(TTDT_INITIAL), 500u);
  EXPECT_EQ(tip.GetDelay(TTDT_AUTOPOP), 5000u);
}

TEST(TooltipSettings, PerToolOverridesAndTheirMask) {
  CGlintTooltip tip;
  tip.AddTool(nullptr, "zero");
  const CRect second(0, 0, 5, 5);
  tip.AddTool(nullptr, "one", nullptr, &second);
  tip.AddTool(nullptr, "two", nullptr, &second);  // same window and rectangle: replaced
  ASSERT_EQ(tip.GetToolCount(), 2);

  tip.ChangeStyles(0x08, 0x04, 1);  // starts from the tooltip-wide 0x27
  TOOLRECORD ti;
  ASSERT_TRUE(tip.GetToolRecord(1, ti));
  EXPECT_EQ(ti.nStyles, 0x2Bu);
  EXPECT_EQ(ti.nMask, TTMASK_STYLES);
  EXPECT_EQ(tip.GetStyles(), 0x27u);
  tip.SetStyles(0x40, 1);
  tip.GetToolRecord(1, ti);
  EXPECT_EQ(ti.nStyles, 0x40u);
  tip.ChangeStyles(0x01, 0, 1);  // now from the tool's own styles
  tip.GetToolRecord(1, ti);
  EXPECT_EQ(ti.nStyles, 0x41u);

  tip.SetBackgroundEffect(9, 300, 0);
  tip.SetDirection(1, 0);
  tip.SetShowBehaviour(TTBEHAV_KEEP_ON_MOVE, 0);
  tip.GetToolRecord(0, ti);
  EXPECT_EQ(ti.nEffect, 9);
  EXPECT_EQ(ti.nGranularity, 44);
  EXPECT_EQ(ti.nDirection, 1);
  EXPECT_EQ(ti.nBehaviour, TTBEHAV_KEEP_ON_MOVE);
  EXPECT_EQ(ti.nMask, TTMASK_EFFECT | TTMASK_DIRECTION | TTMASK_BEHAVIOUR);
}

TEST(TooltipSettings, InvalidToolIndexesChangeTheTooltipWideValue) {
  CGlintTooltip tip;
  tip.AddTool(nullptr, "a");
  tip.SetStyles(0x100, 99);
  EXPECT_EQ(tip.GetStyles(), 0x100u);
  tip.ResetStyles();
  EXPECT_EQ(tip.GetStyles(), 0x27u);
  tip.SetBackgroundEffect(13, 300, 99);
  EXPECT_EQ(tip.GetEffect(), 13);
  EXPECT_EQ(tip.GetGranularity(), 44);
  tip.SetShowBehaviour(TTBEHAV_MULTIPLE_SHOW, -1);
  EXPECT_EQ(tip.GetShowBehaviour(), TTBEHAV_MULTIPLE_SHOW);
  TOOLRECORD ti;
  tip.GetToolRecord(0, ti);
  EXPECT_EQ(ti.nMask, 0u);
}

TEST(TooltipSettings, DirectionFourOrMoreChangesNothing) {
  CGlintTooltip tip;
  tip.AddTool(nullptr, "a");
  tip.SetDirection(4, 0);
  tip.SetDirection(7);
  TOOLRECORD ti;
  tip.GetToolRecord(0, ti);
  EXPECT_EQ(ti.nMask, 0u);
  EXPECT_EQ(tip.GetDirection(), 3);
  tip.SetDirection(0);
  EXPECT_EQ(tip.GetDirection(), 0);
}

TEST(TooltipSettings, SetToolRecordIgnoresInvalidIndexes) {
  CGlintTooltip tip;
  TOOLRECORD ti;
  ti.strText = "x";
  tip.SetToolRecord(0, ti);
  EXPECT_EQ(tip.GetToolCount(), 0);
  EXPECT_FALSE(tip.IsValidTool(0));
  EXPECT_FALSE(tip.IsValidTool(-1));
}
