#include <climits>
#include <cstring>

#include "platform/gdi/gdi_api.h"
#include "tooltip/tip_limits.h"
#include "tooltip_test_support.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

// A white memory DC to measure and draw in.
class Canvas {
 public:
  Canvas(int width, int height) : m_width(width), m_height(height) {
    m_dc.CreateCompatibleDC(nullptr);
    m_bitmap.CreateCompatibleBitmap(&m_dc, width, height);
    m_old = m_dc.SelectObject(&m_bitmap);
    m_dc.FillSolidRect(0, 0, width, height, kWhite);
  }
  ~Canvas() { m_dc.SelectObject(m_old); }
  CDC* dc() { return &m_dc; }
  int width() const { return m_width; }
  int height() const { return m_height; }
  int Count(COLORREF colour, int row) {
    int n = 0;
    for (int x = 0; x < m_width; ++x) n += m_dc.GetPixel(x, row) == colour;
    return n;
  }
  // Leftmost and rightmost column holding the colour within rows [top, bottom).
  std::pair<int, int> Span(COLORREF colour, int top, int bottom) {
    int lo = m_width, hi = -1;
    for (int y = top; y < bottom; ++y)
      for (int x = 0; x < m_width; ++x)
        if (m_dc.GetPixel(x, y) == colour) {
          lo = std::min(lo, x);
          hi = std::max(hi, x);
        }
    return {lo, hi};
  }

 private:
  int m_width, m_height;
  CDC m_dc;
  CBitmap m_bitmap;
  CBitmap* m_old = nullptr;
};

class Markup : public ::testing::Test {
 protected:
  void SetUp() override { m_tip.ResetFont(); }

  void UseLatinFont() {
    LOGFONT lf = m_tip.GetDefaultFont();
    std::strcpy(lf.lfFaceName, "DejaVu Sans");
    lf.lfHeight = -13;
    lf.lfWeight = FW_NORMAL;
    m_tip.SetFont(&lf);
  }
  CSize Measure(const CString& text) {
    Canvas canvas(10, 10);
    return m_tip.DrawMarkup(canvas.dc(), CRect(0, 0, 10, 10), text, TRUE);
  }
  CSize Extent(const CString& text, LONG weight = 0) {
    LOGFONT lf = m_tip.GetDefaultFont();
    if (weight != 0) lf.lfWeight = weight;
    Canvas canvas(10, 10);
    CFont font;
    font.CreateFontIndirect(&lf);
    CFont* old = canvas.dc()->SelectObject(&font);
    const CSize size = canvas.dc()->GetTextExtent(text);
    canvas.dc()->SelectObject(old);
    return size;
  }
  TEXTMETRIC Metrics() {
    Canvas canvas(10, 10);
    CFont font;
    font.CreateFontIndirect(&m_tip.GetDefaultFont());
    CFont* old = canvas.dc()->SelectObject(&font);
    TEXTMETRIC tm;
    canvas.dc()->GetTextMetrics(&tm);
    canvas.dc()->SelectObject(old);
    return tm;
  }
  // Measures, then draws in the canvas's full rectangle, as the tip does.
  void MeasureAndDraw(Canvas& canvas, const CString& text) {
    const CRect rect(0, 0, canvas.width(), canvas.height());
    m_tip.DrawMarkup(canvas.dc(), rect, text, TRUE);
    canvas.dc()->SetBkMode(TRANSPARENT);
    m_tip.DrawMarkup(canvas.dc(), rect, text, FALSE);
  }
  std::vector<UINT> Widths() const { return m_tip.GetLineWidths(); }
  std::vector<UINT> Heights() const { return m_tip.GetLineHeights(); }

  CGlintTooltip m_tip;
};

}  // namespace

TEST_F(Markup, DialogTextHasTitleRuleAndDescription) {
  const CString text =
      Gbk("<b><ct=0x0000FF><al_c>读取</b><br><ct=0x00AA00><hr=100%></ct><br>Excel表格数据");
  const CSize title = Extent(Gbk("读取"), 800);
  const CSize description = Extent(Gbk("Excel表格数据"));
  const CSize size = Measure(text);
  const int widest = std::max(title.cx, description.cx);
  EXPECT_EQ(size.cx, widest);
  ASSERT_EQ(Widths().size(), 3u);
  EXPECT_EQ(Widths()[0], static_cast<UINT>(title.cx));
  EXPECT_EQ(Widths()[1], static_cast<UINT>(widest));  // the full-width rule
  EXPECT_EQ(Widths()[2], static_cast<UINT>(description.cx));
  EXPECT_EQ(size.cy, static_cast<int>(Heights()[0] + Heights()[1] + Heights()[2]));

  Canvas canvas(300, 80);
  MeasureAndDraw(canvas, text);
  const int ruleRow = static_cast<int>(Heights()[0] + Heights()[1] / 2);
  EXPECT_EQ(canvas.Count(RGB(0, 0xAA, 0), ruleRow), 300);
  const auto [left, right] = canvas.Span(RGB(255, 0, 0), 0, static_cast<int>(Heights()[0]));
  ASSERT_LE(left, right);
  EXPECT_NEAR((left + right) / 2.0, 150, 4);  // centred title in red
  EXPECT_EQ(canvas.dc()->GetTextColor(), m_tip.GetColor(17));  // "</ct>" went back to entry 17
}

TEST_F(Markup, LiteralLessThanSigns) {
  EXPECT_EQ(Measure("a<<b"), Extent("a<b"));
  EXPECT_EQ(Measure("abc<"), Extent("abc<"));
  EXPECT_EQ(Widths().size(), 1u);
  EXPECT_EQ(Measure("a>b"), Extent("a>b"));
}

TEST_F(Markup, ControlCharactersActAsTags) {
  const CSize viaLineFeed = Measure("x\ny");
  const auto widths = Widths();
  const auto heights = Heights();
  EXPECT_EQ(Measure("x<br>y"), viaLineFeed);
  EXPECT_EQ(Widths(), widths);
  EXPECT_EQ(Heights(), heights);
  EXPECT_EQ(widths.size(), 2u);
  EXPECT_EQ(Measure("x\ty"), Measure("x<t>y"));
  EXPECT_EQ(Measure("x\r\ny"), viaLineFeed);
}

TEST_F(Markup, LineBreakCountAddsSpaceButOneLine) {
  const int tm = Metrics().tmHeight;
  const CSize size = Measure("<br=3>");
  EXPECT_EQ(Widths().size(), 2u);  // the break, then the end of the text
  EXPECT_EQ(size.cy, 4 * tm);
  EXPECT_EQ(Measure("<br=0>").cy, 2 * tm);
}

TEST_F(Markup, TabsStopAtMultiplesOfFourAverageWidths) {
  const int tab = 4 * Metrics().tmAveCharWidth;
  ASSERT_GT(tab, 1);
  EXPECT_EQ(Measure("<t>").cx, tab);
  EXPECT_EQ(Measure("<t=3>").cx, 3 * tab);
  EXPECT_EQ(Measure("<hr=1><t=2>").cx, 2 * tab);  // one pixel past stop 0 ends on stop 2
  CString pastFirst;
  pastFirst.Format("<hr=%d><t=2>", tab + 1);
  EXPECT_EQ(Measure(pastFirst).cx, 3 * tab);
  CString onStop;
  onStop.Format("<hr=%d><t>", tab);
  EXPECT_EQ(Measure(onStop).cx, 2 * tab);
}

TEST_F(Markup, RulesArePixelsUnlessPercent) {
  EXPECT_EQ(Measure("<hr>").cx, 100);
  EXPECT_EQ(Measure("<hr=37>").cx, 37);
  // Percentages take no width while measuring but widen their line.
  EXPECT_EQ(Measure("wide text<br><hr=50%>").cx, Extent("wide text").cx);
  EXPECT_EQ(Widths()[1], static_cast<UINT>((Extent("wide text").cx + 1) / 2));

  Canvas canvas(200, 40);
  MeasureAndDraw(canvas, "<ct=0x0000FF><hr=50%>");
  const int row = static_cast<int>(Heights()[0] / 2);
  EXPECT_EQ(canvas.Count(RGB(255, 0, 0), row), 100);
  EXPECT_EQ(canvas.dc()->GetPixel(99, row), RGB(255, 0, 0));
  EXPECT_EQ(canvas.dc()->GetPixel(100, row), kWhite);  // the end point stays out
}

TEST_F(Markup, BoldAccumulatesAndClosesToTheDefaultWeight) {
  UseLatinFont();
  const CString word = "WWWWWWWWWW";
  ASSERT_NE(Extent(word, 800).cx, Extent(word).cx);
  EXPECT_EQ(Measure("<b>" + word).cx, Extent(word, 800).cx);
  EXPECT_EQ(Measure("<b><b></b>" + word).cx, Extent(word).cx);
  EXPECT_EQ(Measure("<B><i>" + word).cx, Measure("<i><b>" + word).cx);
}

TEST_F(Markup, ColoursByValueAndByIndex) {
  m_tip.SetColor(11, RGB(1, 2, 3));
  struct Case {
    const char* text;
    COLORREF colour;
  } cases[] = {{"<ct=0x0000FF>x", RGB(255, 0, 0)},
               {"<ct=0xFF0000>x", RGB(0, 0, 255)},
               {"<ct=010>x", 8},
               {"<ct=\"5\">x", 0},
               {"<ct=0x00AA00></ct>x", m_tip.GetColor(17)},
               {"<ct>x", m_tip.GetColor(17)},
               {"<cti=11>x", RGB(1, 2, 3)},
               {"<ct=0x123456><cti=30>x", 0x123456},
               {"<ct=0x123456><cti>x", m_tip.GetColor(17)}};
  for (const Case& c : cases) {
    Canvas canvas(60, 30);
    canvas.dc()->SetTextColor(0x654321);
    MeasureAndDraw(canvas, c.text);
    EXPECT_EQ(canvas.dc()->GetTextColor(), c.colour) << c.text;
  }
}

TEST_F(Markup, BackgroundCellsAreOpaqueUntilClosed) {
  Canvas canvas(120, 30);
  MeasureAndDraw(canvas, "<cb=0xFFFF00>text</cb>");
  EXPECT_EQ(canvas.dc()->GetBkMode(), TRANSPARENT);
  EXPECT_EQ(canvas.dc()->GetBkColor(), m_tip.GetColor(18));
  const CSize cell = Extent("text");
  EXPECT_EQ(canvas.dc()->GetPixel(0, 0), RGB(0, 255, 255));
  EXPECT_EQ(canvas.dc()->GetPixel(cell.cx - 1, cell.cy - 1), RGB(0, 255, 255));
  EXPECT_EQ(canvas.dc()->GetPixel(cell.cx + 1, 1), kWhite);

  Canvas unchanged(60, 30);
  unchanged.dc()->SetBkColor(0x010203);
  MeasureAndDraw(unchanged, "<cbi=26>x");
  EXPECT_EQ(unchanged.dc()->GetBkColor(), 0x010203u);
  EXPECT_EQ(unchanged.dc()->GetBkMode(), TRANSPARENT);
}

TEST_F(Markup, AlignmentOnlyWhenDrawing) {
  EXPECT_EQ(Measure("<al_c>abc"), Measure("abc"));
  EXPECT_EQ(Measure("<al_r>abc"), Measure("abc"));
  Canvas canvas(200, 20);
  canvas.dc()->SetTextColor(0);
  MeasureAndDraw(canvas, "<al_r>abc");
  const auto [left, right] = canvas.Span(0, 0, 20);
  EXPECT_GE(right, 200 - 3);
  EXPECT_GE(left, 200 - Extent("abc").cx - 1);
  // Alignment persists over line breaks until another alignment tag.
  Canvas two(200, 40);
  two.dc()->SetTextColor(0);
  MeasureAndDraw(two, "<al_r>a<br>b<al>");
  const int second = static_cast<int>(Heights()[0]);
  EXPECT_GT(two.Span(0, second, 40).first, 150);
}

TEST_F(Markup, EmptyTextMeasuresNothing) {
  Measure("one<br>two");
  EXPECT_EQ(Measure(""), CSize(0, 0));
  EXPECT_TRUE(Widths().empty());
  EXPECT_TRUE(Heights().empty());
}

TEST_F(Markup, DrawingWithoutAMeasurementStaysInBounds) {
  Measure("");
  Canvas canvas(100, 60);
  const CSize size = m_tip.DrawMarkup(canvas.dc(), CRect(0, 0, 100, 60), "a<br>b<br>c", FALSE);
  EXPECT_EQ(size.cy, 3 * Metrics().tmHeight);
}

TEST_F(Markup, UnknownTagsAndUnclosedTagsAreSkipped) {
  EXPECT_EQ(Measure("a<xyz=5>b"), Extent("ab"));
  EXPECT_EQ(Measure("a< zz >c"), Extent("ac"));
  EXPECT_EQ(Measure("a<>b"), Extent("ab"));
  // A tag without ">" ends at the line feed, which it uses up.
  EXPECT_EQ(Measure("a<xyz q\nb"), Extent("ab"));
  EXPECT_EQ(Widths().size(), 1u);
}

TEST(MarkupParser, TagNamesAndValues) {
  int pos = 0;
  EXPECT_EQ(CGlintTooltip::ReadTagName("  ct=5>", pos), CString("ct"));
  EXPECT_EQ(pos, 4);  // left on "="
  EXPECT_EQ(CGlintTooltip::ReadNumber("  ct=5>", pos, 9), 5u);
  pos = 0;
  EXPECT_EQ(CGlintTooltip::ReadTagName("\tx", pos), CString("\t"));
  EXPECT_EQ(pos, 0);
  pos = 0;
  EXPECT_EQ(CGlintTooltip::ReadAttributeName("\r\n cx =3", pos), CString("cx"));
  pos = 0;
  EXPECT_EQ(CGlintTooltip::ReadAttributeValue(" ==a=b c>", pos), CString("ab"));
  EXPECT_EQ(pos, 7);  // the blank was consumed
  pos = 0;
  EXPECT_EQ(CGlintTooltip::ReadAttributeValue("x=1>", pos), CString());
  EXPECT_EQ(pos, 0);
}

TEST(MarkupParser, NumbersTakeTheirBaseFromTheirPrefix) {
  auto number = [](const char* text, DWORD fallback = 77) {
    int pos = 0;
    return CGlintTooltip::ReadNumber(text, pos, fallback);
  };
  EXPECT_EQ(number("=0x1F>"), 31u);
  EXPECT_EQ(number("=017>"), 15u);
  EXPECT_EQ(number("=100%>"), 100u);
  EXPECT_EQ(number("=abc>"), 0u);
  EXPECT_EQ(number("=-5>"), 0u);
  EXPECT_EQ(number(">"), 77u);
  EXPECT_EQ(number("=>"), 77u);
}

TEST(MarkupParser, TextRunsAndTagEnds) {
  int pos = 0;
  EXPECT_EQ(CGlintTooltip::ReadTextRun("ab\rc<<d<b>", pos), CString("abc<d"));
  EXPECT_EQ(pos, 7);  // on the "<" of the tag
  EXPECT_EQ(CGlintTooltip::ReadTextRun("ab\rc<<d<b>", pos), CString());
  EXPECT_EQ(pos, 8);  // consumed: a tag follows
  pos = 0;
  EXPECT_EQ(CGlintTooltip::ReadTextRun("ab\ncd", pos), CString("ab"));
  EXPECT_EQ(pos, 2);
  pos = 0;
  CGlintTooltip::SkipToTagEnd("b x=1 >rest", pos);
  EXPECT_EQ(pos, 6);
}

// Numbers far beyond any screen: every size stays within the tip's bounds,
// nothing overflows (the suite runs clean under UBSan) and drawing the
// largest of them is quick, because nothing grows with the number itself.
TEST_F(Markup, ExtremeNumbersAreHeldWithinTheTipsBounds) {
  const int tm = Metrics().tmHeight;
  CSize size = Measure("a<br=4000000000>b");
  EXPECT_EQ(size.cy, kMaxTipExtent);
  EXPECT_GT(size.cx, 0);
  EXPECT_EQ(Measure("<t=100000000>").cx, kMaxTipExtent);
  EXPECT_EQ(Measure("<hr=2147483647><hr=2147483647>").cx, kMaxTipExtent);
  EXPECT_EQ(Measure("<hr=4294967295>x").cx, kMaxTipExtent);
  EXPECT_EQ(Measure("<hr=2000000000>").cx, kMaxTipExtent);
  // Percentages of a line: twice the largest still stays a bounded width.
  Measure("x<br><hr=2147483647%><hr=2147483647%>");
  ASSERT_EQ(Widths().size(), 2u);
  EXPECT_LE(Widths()[1], static_cast<UINT>(kMaxTipExtent));
  size = Measure("<br=4000000000><br=4000000000>");
  EXPECT_EQ(size.cy, kMaxTipExtent);
  EXPECT_EQ(Heights().front(), static_cast<UINT>(tm));

  // A layout rectangle as wide as an int allows, and one reaching out of it.
  Canvas canvas(40, 40);
  const CRect huge(0, 0, INT_MAX, INT_MAX);
  m_tip.DrawMarkup(canvas.dc(), huge, "<al_c>x<hr=50%><br><al_r>y", TRUE);
  m_tip.DrawMarkup(canvas.dc(), huge, "<al_c>x<hr=50%><br><al_r>y", FALSE);
  const CRect reversed(INT_MAX - 5, INT_MIN + 5, INT_MIN, INT_MAX);
  m_tip.DrawMarkup(canvas.dc(), reversed, "<al_r><t=9>z<hr=99%>", TRUE);
  m_tip.DrawMarkup(canvas.dc(), reversed, "<al_r><t=9>z<hr=99%>", FALSE);
  MeasureAndDraw(canvas, "<hr=2000000000><br=4000000000><t=100000000>");
}
