// The flat edit box's border and its hover notifications.
#include "controls/flat_edit.h"

#include <gtest/gtest.h>

#include <QLineEdit>

#include "control_canvas.h"

namespace {

class TestFlatEdit : public CFlatEdit {
 public:
  using CFlatEdit::DrawBorder;
  using CFlatEdit::m_bHover;
  using CFlatEdit::m_bTracking;
};

// Records the notifications instead of repainting.
class RecordingEdit : public CHoverEdit {
 public:
  using CHoverEdit::OnMouseHover;
  using CHoverEdit::OnMouseLeave;
  void OnMouseHover() override { ++hovers; }
  void OnMouseLeave() override { ++leaves; }
  bool Hover() const { return m_bHover; }
  bool Tracking() const { return m_bTracking; }
  int hovers = 0;
  int leaves = 0;
};

}  // namespace

TEST(FlatEdit, NormalBorderIsTheFlatSunkenEdge) {
  TestFlatEdit edit;
  ControlCanvas canvas(60, 20, kWhite);
  edit.DrawBorder(&canvas.dc, 60, 20);
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(canvas.At(0, 0), shadow);
  EXPECT_EQ(canvas.At(59, 19), shadow);
  EXPECT_EQ(canvas.At(30, 19), shadow);
  EXPECT_EQ(canvas.At(59, 10), shadow);
  EXPECT_EQ(canvas.At(1, 1), face);
  EXPECT_EQ(canvas.At(58, 18), face);
  EXPECT_EQ(canvas.At(2, 2), kWhite);
}

TEST(FlatEdit, HoverBorderIsAOnePixelBlackRectangle) {
  TestFlatEdit edit;
  edit.m_bHover = true;
  ControlCanvas canvas(60, 20, RGB(1, 2, 3));
  edit.DrawBorder(&canvas.dc, 60, 20);
  EXPECT_EQ(canvas.At(0, 0), kBlack);
  EXPECT_EQ(canvas.At(59, 19), kBlack);
  EXPECT_EQ(canvas.At(30, 0), kBlack);
  EXPECT_EQ(canvas.At(0, 10), kBlack);
  EXPECT_EQ(canvas.At(1, 1), kWhite);
  EXPECT_EQ(canvas.At(58, 18), kWhite);
}

TEST(FlatEdit, HoverAndLeaveMessagesSetTheStateAndNotify) {
  EnsureApplication();
  RecordingEdit edit;
  edit.WindowProc(WM_MOUSEHOVER, 0, 0);
  EXPECT_TRUE(edit.Hover());
  EXPECT_EQ(edit.hovers, 1);
  edit.WindowProc(WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(edit.Hover());
  EXPECT_FALSE(edit.Tracking());
  EXPECT_EQ(edit.leaves, 1);
  edit.WindowProc(WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));  // no window: tracking fails
  EXPECT_FALSE(edit.Tracking());
}

TEST(FlatEdit, TrackingIsRequestedOncePerEntry) {
  EnsureApplication();
  QLineEdit widget;
  widget.resize(60, 20);
  widget.show();
  RecordingEdit edit;
  edit.SubclassWindow(&widget);
  edit.WindowProc(WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  EXPECT_TRUE(edit.Tracking());
  edit.WindowProc(WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(edit.Tracking());
  edit.UnsubclassWindow();
}

TEST(FlatEdit, NotificationsRepaintTheFrameWithoutErasing) {
  EnsureApplication();
  QLineEdit widget;
  widget.setReadOnly(true);  // read-only fields behave alike
  TestFlatEdit edit;
  edit.SubclassWindow(&widget);
  edit.TakePendingErase();
  edit.WindowProc(WM_MOUSEHOVER, 0, 0);
  EXPECT_TRUE(edit.m_bHover);
  EXPECT_FALSE(edit.TakePendingErase());
  edit.WindowProc(WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(edit.m_bHover);
  edit.UnsubclassWindow();
}
