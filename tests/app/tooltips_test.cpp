// The dialog's rich tooltips: which controls carry one, and that the
// dialog hands the tooltip the mouse and key messages it needs.
#include <QKeyEvent>
#include <QMouseEvent>

#include "dialog_fixture.h"
#include "platform/ui/event_bridge.h"
#include "tooltip/tip_desktop.h"

namespace {

// The dialog is the active window, whatever the offscreen platform says,
// and the cursor is where the test last moved the mouse.
class DialogInFront : public CTipDesktop {
 public:
  explicit DialogInFront(CWnd* dialog) : m_dialog(dialog) {}
  HWND GetActiveWindow() const override { return m_dialog; }
  CPoint GetCursorPos() const override { return cursor; }

  CPoint cursor{-1000, -1000};

 private:
  CWnd* m_dialog;
};

class TooltipTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    desktop = std::make_unique<DialogInFront>(dialog.get());
    dialog->m_tooltip.SetDesktop(desktop.get());
    InstallWindowEventBridge();
    dialog->GetWidget()->show();
  }
  void TearDown() override {
    dialog->m_tooltip.SetDesktop(nullptr);
    DialogTest::TearDown();
  }

  int ToolOf(int id) const { return dialog->m_tooltip.FindToolByWindow(dialog->GetDlgItem(id)); }

  void MoveMouseOnto(int id) {
    QWidget* control = Control(id);
    const QPoint local(control->width() / 2, control->height() / 2);
    const QPoint global = control->mapToGlobal(local);
    desktop->cursor = CPoint(global.x(), global.y());
    QMouseEvent move(QEvent::MouseMove, QPointF(local), QPointF(global), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(control, &move);
  }

  std::unique_ptr<DialogInFront> desktop;
};

TEST_F(TooltipTest, ButtonsListAndQueryControlsCarryTipsTheOthersNone) {
  EXPECT_NE(dialog->m_tooltip.GetSafeHwnd(), nullptr);
  EXPECT_EQ(dialog->m_tooltip.GetToolCount(), 12);
  TOOLRECORD read;
  ASSERT_TRUE(dialog->m_tooltip.GetToolRecord(ToolOf(1), read));
  EXPECT_EQ(Utf8(read.strText), "<b><ct=0x0000FF><al_c>读取 (F5)</b><br><ct=0x00AA00><hr=100%></ct><br>Excel表格数据");
  EXPECT_NE(read.hIcon, nullptr);
  TOOLRECORD about;
  ASSERT_TRUE(dialog->m_tooltip.GetToolRecord(ToolOf(4), about));
  EXPECT_EQ(Utf8(about.strText), "关于 (F1)");
  EXPECT_EQ(about.hIcon, nullptr);
  for (int id : {1004, 1001, 1002, 1003, 2, 3, 5, 1005, 1015, 1016}) EXPECT_GE(ToolOf(id), 0) << id;
  for (int id : {1013, 1014, 1017, 1006}) EXPECT_LT(ToolOf(id), 0) << id;
  // The commands' tips name their keys.
  for (auto [id, key] : {std::pair{1005, "(F9)"}, {1015, "(Ctrl+B)"}, {1016, "(Ctrl+S)"}}) {
    TOOLRECORD tool;
    ASSERT_TRUE(dialog->m_tooltip.GetToolRecord(ToolOf(id), tool));
    EXPECT_NE(Utf8(tool.strText).find(key), std::string::npos) << id;
  }
  EXPECT_TRUE(dialog->m_tooltip.IsDisplayNotifyEnabled());
  EXPECT_EQ(dialog->m_tooltip.GetEffect(), 13);
  EXPECT_EQ(dialog->m_tooltip.GetShowBehaviour(), TTBEHAV_MULTIPLE_SHOW);
}

TEST_F(TooltipTest, TheMouseOnReadStartsItsTipAndOnAnInputNone) {
  MoveMouseOnto(1);
  EXPECT_EQ(dialog->m_tooltip.GetNextTool(), ToolOf(1));
  MoveMouseOnto(1014);
  EXPECT_EQ(dialog->m_tooltip.GetNextTool(), -1);
  dialog->m_tooltip.OnTimer(CGlintTooltip::TIMER_SHOW);
  EXPECT_FALSE(dialog->m_tooltip.IsWindowVisible());
  MoveMouseOnto(4);
  EXPECT_EQ(dialog->m_tooltip.GetNextTool(), ToolOf(4));
}

TEST_F(TooltipTest, AKeyOrAClickHidesTheTip) {
  MoveMouseOnto(1);
  dialog->m_tooltip.OnTimer(CGlintTooltip::TIMER_SHOW);  // the mouse rested long enough
  ASSERT_TRUE(dialog->m_tooltip.IsWindowVisible());
  QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
  QApplication::sendEvent(Control(1014), &key);
  EXPECT_FALSE(dialog->m_tooltip.IsWindowVisible());

  MoveMouseOnto(4);
  dialog->m_tooltip.OnTimer(CGlintTooltip::TIMER_SHOW);
  ASSERT_TRUE(dialog->m_tooltip.IsWindowVisible());
  QWidget* read = Control(2);
  const QPointF local(5, 5);
  QMouseEvent press(QEvent::MouseButtonPress, local, read->mapToGlobal(local), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(Control(1004), &press);
  EXPECT_FALSE(dialog->m_tooltip.IsWindowVisible());
}

}  // namespace
