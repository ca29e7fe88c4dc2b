// The window stand-ins the program leans on, each on its own widget: the
// save dialog's answer, the combo box's selection rules, timers, client
// geometry and the message box's caption.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <vector>

#include "platform/text/encoding.h"
#include "platform/ui/button.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/message_box.h"
#include "platform/ui/win_app.h"
#include "platform/ui/window_props.h"
#include "platform/ui/wnd.h"

namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "platform_ui_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* application = new QApplication(argc, argv);  // never destroyed: see Qt's exit order
  return *application;
}

void Pump(int milliseconds) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < milliseconds) QApplication::processEvents(QEventLoop::AllEvents, 5);
}

// Waits for timers by what they did, with a deadline far beyond their
// delays, so that a busy machine slows the test down instead of failing it.
template <typename Condition>
bool PumpUntil(Condition condition) {
  QElapsedTimer clock;
  clock.start();
  while (!condition()) {
    if (clock.elapsed() > 5000) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  return true;
}

class StandInTest : public testing::Test {
 protected:
  void SetUp() override { App(); }
  void TearDown() override {
    SetFileDialogHandler(nullptr);
    SetMessageBoxHandler(nullptr);
  }
};

// Answers the save dialog with `answer` and returns what the program gets.
std::pair<int, std::string> SaveAs(const char* answer) {
  SetFileDialogHandler([answer](const CFileDialog&) { return FromUtf8(answer); });
  CFileDialog dialog(FALSE, "xls", FromUtf8("负荷计算结果"), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, "*.xls");
  const int result = dialog.DoModal();
  return {result, ToUtf8(dialog.GetPathName())};
}

TEST_F(StandInTest, SaveDialogAddsTheDefaultExtensionOnlyToNamesWithout) {
  EXPECT_EQ(SaveAs("/tmp/结果"), std::make_pair(static_cast<int>(IDOK), std::string("/tmp/结果.xls")));
  EXPECT_EQ(SaveAs("/tmp/结果.xls").second, "/tmp/结果.xls");
  EXPECT_EQ(SaveAs("/tmp/board.v2").second, "/tmp/board.v2");
  // A relative answer is made whole against the working folder.
  EXPECT_EQ(SaveAs("结果").second, QDir::current().absoluteFilePath("结果.xls").toStdString());
}

TEST_F(StandInTest, CancelledSaveDialogAnswersCancelAndNoPath) {
  const auto [result, path] = SaveAs("");
  EXPECT_EQ(result, static_cast<int>(IDCANCEL));
  EXPECT_TRUE(path.empty());
}

TEST_F(StandInTest, ComboBoxSelectsNothingUntilToldAndShowsATextWithoutEntries) {
  QWidget dialog;  // a control, not a window of its own: its text is its selection
  auto* widget = new QComboBox(&dialog);
  CComboBox combo;
  ASSERT_TRUE(combo.SubclassWindow(widget));
  EXPECT_EQ(combo.AddString("C63"), 0);
  EXPECT_EQ(combo.AddString("C125"), 1);
  EXPECT_EQ(combo.GetCurSel(), CB_ERR);  // adding selects nothing
  EXPECT_EQ(combo.SetCurSel(1), 1);
  EXPECT_EQ(ToUtf8(combo.GetWindowText()), "C125");
  EXPECT_EQ(combo.SetCurSel(2), CB_ERR);
  EXPECT_EQ(combo.GetCurSel(), CB_ERR);
  EXPECT_TRUE(combo.GetLBText(5).IsEmpty());
  EXPECT_EQ(ToUtf8(combo.GetLBText(0)), "C63");

  combo.ResetContent();
  EXPECT_EQ(combo.GetCount(), 0);
  combo.SetWindowText(FromUtf8("无"));
  EXPECT_EQ(ToUtf8(combo.GetWindowText()), "无");
  combo.AddString("C16");
  EXPECT_EQ(combo.GetCount(), 1);
  EXPECT_EQ(combo.GetCurSel(), CB_ERR);
  combo.UnsubclassWindow();
}

class TimerWindow : public CWnd {
 public:
  void OnTimer(UINT_PTR id) override { fired.push_back(id); }
  std::vector<UINT_PTR> fired;
};

TEST_F(StandInTest, TimersFireUntilKilledAndAnIdRestartsItsTimer) {
  QWidget widget;
  TimerWindow window;
  ASSERT_TRUE(window.SubclassWindow(&widget));
  EXPECT_EQ(window.SetTimer(7, 10), 7u);
  EXPECT_TRUE(PumpUntil([&] { return window.fired.size() >= 2; }));
  for (UINT_PTR id : window.fired) EXPECT_EQ(id, 7u);
  EXPECT_TRUE(window.KillTimer(7));
  EXPECT_FALSE(window.KillTimer(7));
  window.fired.clear();
  Pump(40);
  EXPECT_TRUE(window.fired.empty());

  // Setting the same id again replaces the timer: one delay, not two timers.
  window.SetTimer(8, 1000);
  window.SetTimer(8, 10);
  EXPECT_TRUE(PumpUntil([&] { return !window.fired.empty(); }));
  window.KillTimer(8);
  window.UnsubclassWindow();
}

TEST_F(StandInTest, ClientAreaOfABorderedEditLiesInsideItsBorder) {
  QWidget parent;
  parent.setGeometry(100, 100, 300, 200);
  auto* editWidget = new QLineEdit(&parent);
  editWidget->setGeometry(10, 20, 60, 24);
  window_props::SetBorderWidth(editWidget, 2);
  CEdit edit;
  ASSERT_TRUE(edit.SubclassWindow(editWidget));
  CRect client;
  edit.GetClientRect(&client);
  EXPECT_EQ(client, CRect(0, 0, 56, 20));
  CRect window;
  edit.GetWindowRect(&window);
  EXPECT_EQ(window.Width(), 60);
  EXPECT_EQ(window.Height(), 24);
  // Client point 0,0 is the first pixel inside the border.
  CPoint origin(0, 0);
  edit.ClientToScreen(&origin);
  EXPECT_EQ(origin, CPoint(window.left + 2, window.top + 2));
  edit.ScreenToClient(&origin);
  EXPECT_EQ(origin, CPoint(0, 0));
  edit.UnsubclassWindow();
}

TEST_F(StandInTest, MessageBoxesAreTitledWithTheProgramsName) {
  CString caption;
  UINT type = 0xFFFF;
  SetMessageBoxHandler([&](const CString&, const CString& title, UINT kind) {
    caption = title;
    type = kind;
    return static_cast<int>(IDOK);
  });
  EXPECT_EQ(AfxMessageBox(FromUtf8("请输入一个数字。"), MB_ICONEXCLAMATION), static_cast<int>(IDOK));
  EXPECT_EQ(ToUtf8(caption), "platform_ui_tests");  // the executable's name without folder
  EXPECT_EQ(type, MB_ICONEXCLAMATION);
}

}  // namespace
