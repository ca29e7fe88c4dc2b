// The XP-style button's drawing and its hover tracking.
#include "controls/xp_button.h"

#include <gtest/gtest.h>

#include <QPushButton>

#include "control_canvas.h"
#include "platform/text/encoding.h"

namespace {

class TestButton : public CXPButton {
 public:
  using CXPButton::m_bFocus;
  using CXPButton::m_bHover;
  using CXPButton::m_bTracking;
};

// Draws a width x height button with the given state into a fresh image.
struct DrawnButton : ControlCanvas {
  DrawnButton(TestButton& button, int width, int height, UINT state)
      : ControlCanvas(width, height) {
    DRAWITEMSTRUCT item;
    item.CtlType = ODT_BUTTON;
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = state;
    item.hDC = &dc;
    item.rcItem = CRect(0, 0, width, height);
    button.DrawItem(&item);
  }
};

// Brush k of the gradient for the divisors of a state.
COLORREF GradientStep(int k, int redGreen, int blue) {
  return RGB(255 - k / redGreen, 255 - k / redGreen, 255 - k / blue);
}

const COLORREF kHoverLeft = RGB(250, 196, 88);
const COLORREF kHoverTop = RGB(252, 210, 121);
const COLORREF kHoverRight = RGB(251, 202, 106);
const COLORREF kHoverBottom = RGB(229, 151, 0);

}  // namespace

TEST(XPButton, TwentySixPixelButtonRunsFromBrushZeroToBrushSixty) {
  TestButton button;
  DrawnButton drawn(button, 80, 26, 0);
  // The inner rectangle is rows 2..23: 22 rows.
  EXPECT_EQ(drawn.At(40, 2), kWhite);
  EXPECT_EQ(drawn.At(40, 23), GradientStep(60, 3, 5));
  EXPECT_EQ(drawn.At(40, 23), RGB(235, 235, 243));
  for (int d = 0; d < 22; ++d) EXPECT_EQ(drawn.At(40, 2 + d), GradientStep(d * 63 / 22, 3, 5)) << d;
  // The rows fill the inner rectangle's width exactly.
  EXPECT_EQ(drawn.At(2, 12), GradientStep(10 * 63 / 22, 3, 5));
  EXPECT_EQ(drawn.At(77, 12), GradientStep(10 * 63 / 22, 3, 5));
}

TEST(XPButton, GradientTableFollowsHoverAndFocus) {
  struct Case {
    bool hover;
    UINT state;
    int redGreen;
    int blue;
  } cases[] = {{false, 0, 3, 5}, {false, ODS_FOCUS, 3, 4}, {true, 0, 4, 5}, {true, ODS_FOCUS, 4, 3}};
  for (const Case& c : cases) {
    TestButton button;
    button.m_bHover = c.hover;
    DrawnButton drawn(button, 80, 68, c.state);  // 64 inner rows
    EXPECT_EQ(bool(button.m_bFocus), c.state == ODS_FOCUS);
    for (int d : {10, 40, 60}) {
      EXPECT_EQ(drawn.At(40, 2 + d), GradientStep(d * 63 / 64, c.redGreen, c.blue))
          << "hover " << c.hover << " state " << c.state << " row " << d;
    }
  }
}

TEST(XPButton, OutlineIsARoundedBlackRectangle) {
  TestButton button;
  DrawnButton drawn(button, 80, 26, 0);
  const COLORREF background = drawn.At(0, 0);
  EXPECT_NE(background, kBlack);
  EXPECT_EQ(drawn.At(79, 25), background);
  EXPECT_EQ(drawn.At(40, 0), kBlack);
  EXPECT_EQ(drawn.At(40, 25), kBlack);
  EXPECT_EQ(drawn.At(0, 13), kBlack);
  EXPECT_EQ(drawn.At(79, 13), kBlack);
  // Between the outline and the gradient the DC's brush (white) shows.
  EXPECT_EQ(drawn.At(1, 13), kWhite);
  EXPECT_EQ(drawn.At(40, 24), kWhite);
}

TEST(XPButton, EmptyCaptionDrawsOutlineAndBodyOnly) {
  TestButton button;
  DrawnButton drawn(button, 80, 26, ODS_SELECTED);  // with the focus its dotted mark shows too
  EXPECT_EQ(drawn.Count(kBlack, 3, 3, 77, 23), 0);
  EXPECT_EQ(drawn.Count(GetSysColor(COLOR_3DSHADOW), 0, 0, 80, 26), 0);
}

TEST(XPButton, HoverFrameDrawsItsFourLinesInsideTheBody) {
  TestButton button;
  button.m_bHover = TRUE;
  DrawnButton drawn(button, 80, 26, 0);
  // Inner rectangle (2, 2, 78, 24). The pens are square: a line of width w
  // covers w pixels across and reaches w / 2 beyond its ends. Left: three
  // pixels around x = 2 for the rows 21 up to 5, widened to 22 and 4.
  for (int x : {1, 2, 3}) EXPECT_EQ(drawn.At(x, 12), kHoverLeft) << x;
  EXPECT_EQ(drawn.At(2, 22), kHoverLeft);
  EXPECT_EQ(drawn.At(2, 4), kHoverLeft);
  EXPECT_NE(drawn.At(2, 3), kHoverLeft);
  EXPECT_NE(drawn.At(2, 23), kHoverLeft);
  EXPECT_NE(drawn.At(4, 12), kHoverLeft);
  for (int x : {76, 77, 78}) EXPECT_EQ(drawn.At(x, 12), kHoverRight) << x;
  EXPECT_NE(drawn.At(75, 12), kHoverRight);
  // Top: rows 1 and 2 for x = 4 to 75, widened by one to the left (an
  // even width reaches one pixel further up and left); bottom: rows 23, 24.
  EXPECT_EQ(drawn.At(3, 1), kHoverTop);
  EXPECT_EQ(drawn.At(40, 2), kHoverTop);
  EXPECT_EQ(drawn.At(75, 2), kHoverTop);
  EXPECT_NE(drawn.At(76, 2), kHoverTop);
  EXPECT_NE(drawn.At(40, 3), kHoverTop);
  EXPECT_EQ(drawn.At(40, 23), kHoverBottom);
  EXPECT_EQ(drawn.At(40, 24), kHoverBottom);
  EXPECT_EQ(drawn.At(75, 24), kHoverBottom);
  EXPECT_NE(drawn.At(76, 24), kHoverBottom);
  EXPECT_NE(drawn.At(40, 22), kHoverBottom);
  // The lighter gradient of the mouse-over state is underneath.
  EXPECT_EQ(drawn.At(40, 12), GradientStep(10 * 63 / 22, 4, 5));
}

TEST(XPButton, HoverFrameRestoresPenAndPosition) {
  TestButton button;
  button.m_bHover = TRUE;
  ControlCanvas canvas(80, 26);
  canvas.dc.MoveTo(7, 9);
  HPEN pen = canvas.dc.CurrentPen();
  DRAWITEMSTRUCT item;
  item.hDC = &canvas.dc;
  item.rcItem = CRect(0, 0, 80, 26);
  button.DrawItem(&item);
  EXPECT_EQ(canvas.dc.GetCurrentPosition(), CPoint(7, 9));
  EXPECT_EQ(canvas.dc.CurrentPen(), pen);
  EXPECT_EQ(canvas.dc.GetBkMode(), OPAQUE);
}

namespace {

// A button bound to a Qt push button with a caption.
// The application has to exist before the widget member is made.
struct ApplicationFirst {
  ApplicationFirst() { EnsureApplication(); }
};

struct CaptionedButton : ApplicationFirst {
  explicit CaptionedButton(const char* caption) {
    widget.resize(80, 26);
    button.SubclassWindow(&widget);
    button.SetWindowText(caption);
  }
  ~CaptionedButton() { button.UnsubclassWindow(); }
  QPushButton widget;
  TestButton button;
};

QImage InkOf(const QImage& image, COLORREF ink) {
  QImage mask(image.size(), QImage::Format_RGB32);
  mask.fill(Qt::white);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) == qRgb(GetRValue(ink), GetGValue(ink), GetBValue(ink)))
        mask.setPixel(x, y, qRgb(0, 0, 0));
  return mask;
}

}  // namespace

TEST(XPButton, PreSubclassMakesThePushButtonOwnerDrawn) {
  CaptionedButton bound("OK");
  EXPECT_EQ(bound.button.GetStyle() & BS_TYPEMASK, BS_OWNERDRAW);
}

TEST(XPButton, CaptionIsCentredAndShiftedByOnePixelWhenPressed) {
  CaptionedButton bound("Calc");
  DrawnButton normal(bound.button, 80, 26, 0);
  DrawnButton pressed(bound.button, 80, 26, ODS_SELECTED);
  const QImage normalInk = InkOf(normal.image, kBlack);
  const QImage pressedInk = InkOf(pressed.image, kBlack);
  // Ink inside the body only (the outline is black too).
  const QRect body(3, 3, 74, 20);
  const QImage a = normalInk.copy(body);
  const QImage b = pressedInk.copy(body.translated(1, 1));
  EXPECT_EQ(a, b);
  EXPECT_GT(normal.Count(kBlack, 3, 3, 77, 23), 10);
  // Centred: as much room left of the ink as right of it (within a pixel).
  int first = 80, last = -1;
  for (int x = 3; x < 77; ++x)
    for (int y = 3; y < 23; ++y)
      if (normal.At(x, y) == kBlack) { first = std::min(first, x); last = std::max(last, x); }
  const SIZE size = normal.dc.GetTextExtent("Calc");
  const int x = 40 - size.cx / 2;
  EXPECT_GE(first, x);
  EXPECT_LT(last, x + size.cx);
}

TEST(XPButton, DisabledCaptionIsEmbossedNotBlack) {
  CaptionedButton bound("Exit");
  DrawnButton disabled(bound.button, 80, 26, ODS_DISABLED);
  EXPECT_EQ(disabled.Count(kBlack, 3, 3, 77, 23), 0);
  EXPECT_GT(disabled.Count(GetSysColor(COLOR_3DSHADOW), 3, 3, 77, 23), 10);
  // The highlight copy lies one pixel down and right of the shadow text.
  const QImage shadow = InkOf(disabled.image, GetSysColor(COLOR_3DSHADOW));
  bool highlightBelowRight = false;
  for (int y = 3; y < 22 && !highlightBelowRight; ++y)
    for (int x = 3; x < 76; ++x)
      if (shadow.pixel(x, y) == qRgb(0, 0, 0) && disabled.At(x + 1, y + 1) == kWhite &&
          shadow.pixel(x + 1, y + 1) != qRgb(0, 0, 0)) {
        highlightBelowRight = true;
        break;
      }
  EXPECT_TRUE(highlightBelowRight);
}

TEST(XPButton, HoverRepaintsWithErasingAndLeaveWithout) {
  CaptionedButton bound("OK");
  bound.button.TakePendingErase();
  bound.button.m_bTracking = TRUE;
  EXPECT_EQ(bound.button.OnMouseHover(0, 0), 0);
  EXPECT_TRUE(bound.button.m_bHover);
  EXPECT_TRUE(bound.button.TakePendingErase());
  EXPECT_EQ(bound.button.OnMouseLeave(0, 0), 0);
  EXPECT_FALSE(bound.button.m_bHover);
  EXPECT_FALSE(bound.button.m_bTracking);
  EXPECT_FALSE(bound.button.TakePendingErase());
}

TEST(XPButton, FailedTrackingRequestIsRepeatedAtTheNextMove) {
  TestButton unbound;  // no window: the request fails
  unbound.OnMouseMove(0, CPoint(3, 3));
  EXPECT_FALSE(unbound.m_bTracking);
  CaptionedButton bound("OK");
  bound.widget.show();
  bound.button.OnMouseMove(0, CPoint(3, 3));
  EXPECT_TRUE(bound.button.m_bTracking);
}

TEST(XPButton, FocusIsADottedRectangleInsideTheFrame) {
  const COLORREF black = RGB(0, 0, 0);
  TestButton button;
  DrawnButton focused(button, 80, 26, ODS_FOCUS);
  // The inner rectangle is 2..77 x 2..23; the mark runs 3 pixels inside it.
  for (int x : {5, 7, 41, 73}) {
    EXPECT_EQ(focused.At(x, 5), black) << x;
    EXPECT_EQ(focused.At(x, 20), black) << x;
  }
  for (int y : {5, 7, 19}) {
    EXPECT_EQ(focused.At(5, y), black) << y;
    EXPECT_EQ(focused.At(74, y), black) << y;
  }
  // Dotted: every other pixel shows the body behind it.
  EXPECT_NE(focused.At(6, 5), black);
  EXPECT_NE(focused.At(5, 6), black);
  // Nothing outside the mark changes, the outline stays where it was.
  EXPECT_NE(focused.At(4, 5), black);
  EXPECT_NE(focused.At(40, 4), black);

  TestButton plain;
  DrawnButton unfocused(plain, 80, 26, 0);
  EXPECT_NE(unfocused.At(5, 5), black);
  TestButton disabled;
  DrawnButton greyed(disabled, 80, 26, ODS_FOCUS | ODS_DISABLED);
  EXPECT_NE(greyed.At(5, 5), black);
}
