// The main dialog as a window among others: the dialogs it opens belong to
// it and stand above it, the circuit list is one tab stop, and only the
// rich tip speaks over the list.
#include <QDialog>
#include <QKeyEvent>
#include <QTableView>

#include "dialog_fixture.h"
#include "res/ui/resource.h"

namespace {

class WindowBehaviourTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    AfxGetApp()->m_pMainWnd = dialog.get();
  }
  void TearDown() override {
    AfxGetApp()->m_pMainWnd = nullptr;
    DialogTest::TearDown();
  }
  QTableView* List() const { return qobject_cast<QTableView*>(Control(1004)); }
  QWidget* FocusAfter(int key) {
    QWidget* window = dialog->GetWidget();
    window->show();
    window->activateWindow();
    List()->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(window->focusWidget(), List());
    QKeyEvent press(QEvent::KeyPress, key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
    QApplication::sendEvent(List(), &press);
    return window->focusWidget();
  }
};

TEST_F(WindowBehaviourTest, TabAndShiftTabLeaveTheCircuitList) {
  WriteInput({{"N1", "L1", "3", "0.8", "0.85", ""}, {"N2", "L2", "3", "0.8", "0.85", ""}}, {{"C16", "16"}});
  Click(1);
  ASSERT_EQ(dialog->m_list.GetItemCount(), 2);
  QWidget* next = FocusAfter(Qt::Key_Tab);
  EXPECT_NE(next, List());
  EXPECT_NE(next, nullptr);
  QWidget* previous = FocusAfter(Qt::Key_Backtab);
  EXPECT_NE(previous, List());
  EXPECT_NE(previous, next);
}

TEST_F(WindowBehaviourTest, TheListHasNoCellTipsOfItsOwn) {
  WriteInput({{"N1", "L1", "3", "0.8", "0.85", "a long remark"}}, {{"C16", "16"}});
  Click(1);
  ASSERT_EQ(dialog->m_list.GetItemCount(), 1);
  const QAbstractItemModel* model = List()->model();
  for (int column = 0; column < model->columnCount(); ++column)
    EXPECT_FALSE(model->index(0, column).data(Qt::ToolTipRole).isValid()) << column;
}

TEST_F(WindowBehaviourTest, TheAboutBoxBelongsToTheMainDialogAndStandsAboveIt) {
  QWidget* owner = nullptr;
  bool aboveAll = false;
  SetModalDialogHandler([&](CDialog& opened) {
    owner = opened.GetWidget()->parentWidget();
    aboveAll = opened.GetWidget()->windowFlags() & Qt::WindowStaysOnTopHint;
    return static_cast<INT_PTR>(IDOK);
  });
  Click(4);
  EXPECT_EQ(owner, dialog->GetWidget());
  EXPECT_TRUE(aboveAll);
}

}  // namespace
