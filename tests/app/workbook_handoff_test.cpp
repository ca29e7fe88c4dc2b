// A second start with a workbook hands it to the running copy: the sender
// learns that it was taken, and the running copy opens it from its event
// loop.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <chrono>
#include <future>

#include "app/workbook_handoff.h"
#include "dialog_fixture.h"

TEST(WorkbookHandoff, TheRunningCopyTakesTheWorkbookAndTheSenderKnows) {
  TestApplication();
  ::test::TempFolder folder{"loadcalc-handoff"};
  const QString socket = WorkbookSocketName(QString::fromStdString((folder.Path() / "loadcalc.lock").string()));
  EXPECT_TRUE(socket.endsWith(QStringLiteral("/loadcalc.workbooks")));
  EXPECT_FALSE(HandWorkbookToRunningCopy(socket, QStringLiteral("/tmp/AL1.xlsx"))) << "no copy listens yet";

  QStringList opened;
  WorkbookReceiver receiver(socket, [&](const QString& workbook) { opened << workbook; });
  ASSERT_TRUE(receiver.IsListening());
  // The sender waits for the answer, which the receiver gives from the event loop.
  std::future<bool> sent = std::async(std::launch::async, [&] {
    return HandWorkbookToRunningCopy(socket, QStringLiteral("/tmp/配电箱 AL1.xlsx"));
  });
  QElapsedTimer clock;
  clock.start();
  while ((sent.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready || opened.isEmpty()) &&
         clock.elapsed() < 10000)
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  ASSERT_EQ(sent.wait_for(std::chrono::milliseconds(0)), std::future_status::ready);
  EXPECT_TRUE(sent.get());
  EXPECT_EQ(opened, QStringList{QStringLiteral("/tmp/配电箱 AL1.xlsx")});
  EXPECT_TRUE(WorkbookSocketName(QString()).isEmpty());
}

TEST_F(DialogTest, AHandedWorkbookIsOpenedAfterAskingAboutUnsavedWork) {
  WriteInput({{"N1", "L1", "3", "0.8", "0.85", ""}, {"N2", "L2", "3", "0.8", "0.85", ""}}, {{"C16", "16"}});
  Click(IDOK);
  Click(IDC_CALC);
  const std::string other = PathIn("AL1.xls");
  std::filesystem::copy_file(InputPath(), other);
  yesNoAnswer = IDNO;
  dialog->OpenHandedWorkbook(FromUtf8(other));
  EXPECT_EQ(questions.size(), 1u);
  EXPECT_EQ(Utf8(dialog->GetWorkbookPath()), InputPath());
  yesNoAnswer = IDYES;
  dialog->OpenHandedWorkbook(FromUtf8(other));
  EXPECT_EQ(Utf8(dialog->GetWorkbookPath()), other);
  EXPECT_EQ(Utf8(dialog->GetWindowText()), "Volmira电气计算程序 - AL1.xls");
}
