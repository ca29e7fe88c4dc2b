// Fonts, measurement and text output.
#include <gtest/gtest.h>

#include <cstring>

#include "canvas.h"
#include "platform/text/encoding.h"

namespace {

bool AnyPixelOf(const Canvas& c, COLORREF colour, const QRect& area) {
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (c.At(x, y) == colour) return true;
  return false;
}

}  // namespace

TEST(Text, ExtentMatchesWhatTextOutCovers) {
  Canvas c(120, 40);
  const CString caption = FromUtf8("读取 Read");
  SIZE size{};
  ASSERT_TRUE(GetTextExtentPoint32(c.dc, caption.GetString(), caption.GetLength(), &size));
  EXPECT_GT(size.cx, 30);
  EXPECT_GE(size.cy, 12);
  c.dc.SetBkMode(TRANSPARENT);
  c.dc.TextOut(10, 10, caption);
  EXPECT_TRUE(AnyPixelOf(c, kBlack, QRect(10, 10, size.cx, size.cy)));
  EXPECT_FALSE(AnyPixelOf(c, kBlack, QRect(0, 0, 120, 10)));
  EXPECT_FALSE(AnyPixelOf(c, kBlack, QRect(10 + size.cx + 1, 0, 120 - 11 - size.cx, 40)));
}

TEST(Text, NoAntialiasingOnlyTextAndBackgroundColours) {
  Canvas c(80, 30);
  c.dc.SetTextColor(RGB(0, 0, 255));
  c.dc.SetBkColor(RGB(255, 255, 0));
  c.dc.TextOut(2, 2, FromUtf8("计算 Wg"));
  const SIZE size = c.dc.GetTextExtent(FromUtf8("计算 Wg"));
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 80; ++x) {
      const COLORREF p = c.At(x, y);
      ASSERT_TRUE(p == kWhite || p == RGB(0, 0, 255) || p == RGB(255, 255, 0)) << x << "," << y;
    }
  EXPECT_EQ(c.At(2, 2 + size.cy - 1), RGB(255, 255, 0));  // opaque background cell
  EXPECT_EQ(c.At(2 + size.cx, 2), kWhite);
}

TEST(Text, FontAttributesChangeTheMeasuredText) {
  Canvas c;
  LOGFONT plain = DefaultGuiLogFont();
  LOGFONT bold = plain;
  bold.lfWeight = 800;
  CFont plainFont, boldFont;
  plainFont.CreateFontIndirect(&plain);
  boldFont.CreateFontIndirect(&bold);
  c.dc.SelectObject(&plainFont);
  TEXTMETRIC tm;
  ASSERT_TRUE(c.dc.GetTextMetrics(&tm));
  EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
  EXPECT_GT(tm.tmAveCharWidth, 0);
  EXPECT_EQ(tm.tmWeight, 400);
  const CSize plainSize = c.dc.GetTextExtent("Bold text");
  c.dc.SelectObject(&boldFont);
  const CSize boldSize = c.dc.GetTextExtent("Bold text");
  EXPECT_GE(boldSize.cx, plainSize.cx);
  LOGFONT back;
  boldFont.GetLogFont(&back);
  EXPECT_EQ(back.lfWeight, 800);
  EXPECT_EQ(std::strcmp(back.lfFaceName, plain.lfFaceName), 0);
}

TEST(Text, DisabledStateTextIsEmbossed) {
  Canvas c(80, 30, RGB(200, 200, 200));
  const CString caption = "Exit";
  const CSize size = c.dc.GetTextExtent(caption);
  c.dc.DrawState(CPoint(5, 5), size, caption.GetString(), DST_PREFIXTEXT | DSS_DISABLED, TRUE, 0,
                 nullptr);
  EXPECT_TRUE(AnyPixelOf(c, GetSysColor(COLOR_3DHILIGHT), QRect(6, 6, size.cx, size.cy)));
  EXPECT_TRUE(AnyPixelOf(c, GetSysColor(COLOR_3DSHADOW), QRect(5, 5, size.cx, size.cy)));
  EXPECT_FALSE(AnyPixelOf(c, kBlack, QRect(0, 0, 80, 30)));
}

TEST(Text, PrefixAmpersandIsNotDrawn) {
  Canvas a(80, 30), b(80, 30);
  a.dc.DrawState(CPoint(2, 2), CSize(0, 0), "&&A", DST_PREFIXTEXT, TRUE, 0, nullptr);
  b.dc.SetBkMode(TRANSPARENT);
  b.dc.TextOut(2, 2, "&A");
  EXPECT_EQ(a.image, b.image);
}

TEST(Text, DrawTextCentresASingleLineAndMeasuresWithCalcRect) {
  Canvas c(100, 40);
  c.dc.SetBkMode(TRANSPARENT);
  const CString text = "Mid";
  const CSize size = c.dc.GetTextExtent(text);
  CRect measured(10, 10, 10, 10);
  c.dc.DrawText(text, &measured, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(measured, CRect(10, 10, 10 + size.cx, 10 + size.cy));
  CRect box(0, 0, 100, 40);
  c.dc.DrawText(text, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  const int left = (100 - size.cx) / 2;
  const int top = (40 - size.cy) / 2;
  EXPECT_TRUE(AnyPixelOf(c, kBlack, QRect(left, top, size.cx, size.cy)));
  EXPECT_FALSE(AnyPixelOf(c, kBlack, QRect(0, 0, left, 40)));
  EXPECT_FALSE(AnyPixelOf(c, kBlack, QRect(0, 0, 100, top)));
}
