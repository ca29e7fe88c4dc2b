// The controls painted by their widgets, as the dialog shows them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>

#include "control_canvas.h"
#include "controls/flat_edit.h"
#include "controls/xp_button.h"
#include "platform/ui/window_props.h"
#include "platform/ui/window_widgets.h"

namespace {

COLORREF PixelOf(const QImage& image, int x, int y) {
  const QRgb p = image.pixel(x, y);
  return RGB(qRed(p), qGreen(p), qBlue(p));
}

class HoverButton : public CXPButton {
 public:
  bool Hover() const { return m_bHover; }
};

}  // namespace

TEST(PaintedControls, ButtonWidgetPaintsTheOwnerDrawnLook) {
  EnsureApplication();
  PushButtonWidget widget;
  widget.resize(80, 26);
  HoverButton button;
  button.SubclassWindow(&widget);
  const QImage shot = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(shot.size(), QSize(80, 26));
  EXPECT_EQ(PixelOf(shot, 40, 0), kBlack);
  EXPECT_EQ(PixelOf(shot, 0, 13), kBlack);
  EXPECT_EQ(PixelOf(shot, 40, 2), kWhite);
  EXPECT_EQ(PixelOf(shot, 40, 23), RGB(235, 235, 243));
  button.UnsubclassWindow();
}

TEST(PaintedControls, ButtonTurnsToHoverLookWhenTheMouseRestsOnIt) {
  EnsureApplication();
  QWidget window;
  window.resize(200, 100);
  auto* widget = new PushButtonWidget(&window);
  widget->setGeometry(10, 10, 80, 26);
  HoverButton button;
  button.SubclassWindow(widget);
  window.show();
  QMouseEvent move(QEvent::MouseMove, QPointF(40, 13), widget->mapToGlobal(QPointF(40, 13)),
                   Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &move);
  QElapsedTimer clock;
  clock.start();
  while (!button.Hover() && clock.elapsed() < 5000) QApplication::processEvents(QEventLoop::AllEvents, 10);
  EXPECT_TRUE(button.Hover());
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(widget, &leave);
  EXPECT_FALSE(button.Hover());
  button.UnsubclassWindow();
}

TEST(PaintedControls, EditWidgetPaintsTheFlatBorderAndTheHoverFrame) {
  EnsureApplication();
  EditWidget widget;
  widget.resize(60, 20);
  window_props::SetBorderWidth(&widget, 2);
  class Edit : public CFlatEdit {
   public:
    void SetHover(bool hover) { m_bHover = hover; }
  } edit;
  edit.SubclassWindow(&widget);
  QImage shot = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(PixelOf(shot, 0, 0), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(PixelOf(shot, 59, 19), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(PixelOf(shot, 1, 1), GetSysColor(COLOR_BTNFACE));
  edit.SetHover(true);
  shot = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(PixelOf(shot, 0, 0), kBlack);
  EXPECT_EQ(PixelOf(shot, 59, 19), kBlack);
  EXPECT_EQ(PixelOf(shot, 1, 1), kWhite);
  edit.UnsubclassWindow();
}
