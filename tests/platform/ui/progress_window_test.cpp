#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QProgressDialog>

#include "platform/text/encoding.h"
#include "platform/ui/progress_window.h"

namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "progress_window_test";
  static char* argv[] = {name, nullptr};
  static QApplication* application = new QApplication(argc, argv);  // never destroyed: see Qt's exit order
  return *application;
}

QProgressDialog* OpenProgressDialog() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* dialog = qobject_cast<QProgressDialog*>(widget)) return dialog;
  return nullptr;
}

TEST(ProgressWindow, WaitsBeforeShowing) {
  App();
  CProgressWindow progress(FromUtf8("正在进行自动平衡计算..."), nullptr, std::chrono::hours(1));
  EXPECT_TRUE(progress.Update(0.5));
  QProgressDialog* dialog = OpenProgressDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(dialog->isVisible());
}

TEST(ProgressWindow, RunsOnUntilEscapeCancels) {
  App();
  CProgressWindow progress(FromUtf8("正在进行自动平衡计算..."), nullptr, std::chrono::milliseconds(0));
  EXPECT_TRUE(progress.Update(0.1));
  QProgressDialog* dialog = OpenProgressDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->labelText(), QString::fromUtf8("正在进行自动平衡计算..."));
  EXPECT_EQ(dialog->value(), 100);
  EXPECT_TRUE(progress.Update(2.0));  // shares beyond the end show a full bar
  EXPECT_EQ(dialog->value(), dialog->maximum());
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(dialog, &escape);
  EXPECT_FALSE(progress.Update(0.5));
  EXPECT_FALSE(progress.Update(0.6));  // stays cancelled
}

}  // namespace
