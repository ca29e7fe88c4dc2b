// The real message box and file dialog as a user meets them: the program's
// title, 否 as the default of a question, and a file dialog that speaks
// Chinese and names each filter's patterns once.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QAbstractProxyModel>
#include <QRegularExpression>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "platform/text/encoding.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/message_box.h"
#include "../../support/temp_folder.h"

namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "platform_ui_dialog_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* application = new QApplication(argc, argv);  // never destroyed: see Qt's exit order
  return *application;
}

// Runs `look` on the first modal window once it is up, then closes it.
template <class Window>
void WhenShown(std::function<void(Window&)> look) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, look] {
    auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
    if (!window) return;
    timer->stop();
    timer->deleteLater();
    look(*window);
    window->reject();
  });
  timer->start(10);
}

}  // namespace

TEST(ChineseDialogs, AQuestionIsTitledWithTheProgramAndDefaultsAsAsked) {
  App();
  SetMessageBoxCaption(FromUtf8("Volmira电气计算程序"));
  QString title, defaultButton;
  WhenShown<QMessageBox>([&](QMessageBox& box) {
    title = box.windowTitle();
    defaultButton = box.defaultButton() ? box.defaultButton()->text() : QString();
  });
  EXPECT_EQ(AfxMessageBox(FromUtf8("是否放弃？"), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2), IDNO);
  EXPECT_EQ(title.toStdString(), "Volmira电气计算程序");
  EXPECT_EQ(defaultButton.toStdString(), "否");

  WhenShown<QMessageBox>([&](QMessageBox& box) { defaultButton = box.defaultButton()->text(); });
  AfxMessageBox(FromUtf8("是否继续？"), MB_YESNO);
  EXPECT_EQ(defaultButton.toStdString(), "是");
  SetMessageBoxCaption(CString());
}

TEST(ChineseDialogs, TheFileDialogShowsTypesDatesAndFiltersInChinese) {
  App();
  ::test::TempFolder temp{"loadcalc-file-dialog"};
  QDir(QString::fromStdString(temp.Path().string())).mkdir(QStringLiteral("子文件夹"));
  QFile file(QString::fromStdString((temp.Path() / "电气计算.xls").string()));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();

  QStringList filters;
  QString folderType, fileType, date;
  WhenShown<QFileDialog>([&](QFileDialog& dialog) {
    filters = dialog.nameFilters();
    QAbstractItemModel* model = dialog.proxyModel();
    ASSERT_NE(model, nullptr);
    // The folder's listing arrives from a thread: wait for it.
    const auto* files = dialog.findChild<QAbstractItemView*>(QStringLiteral("listView"));
    ASSERT_NE(files, nullptr);
    const QModelIndex root = files->rootIndex();
    for (int i = 0; i < 300 && model->rowCount(root) < 2; ++i) QApplication::processEvents(QEventLoop::AllEvents, 10);
    for (int row = 0; row < model->rowCount(root); ++row) {
      const QString name = model->index(row, 0, root).data().toString();
      if (name == QStringLiteral("子文件夹")) folderType = model->index(row, 2, root).data().toString();
      if (name == QStringLiteral("电气计算.xls")) {
        fileType = model->index(row, 2, root).data().toString();
        date = model->index(row, 3, root).data().toString();
      }
    }
  });
  CFileDialog dialog(TRUE, nullptr, FromUtf8((temp.Path() / "电气计算.xls").string()), OFN_HIDEREADONLY,
                     FromUtf8("Excel 工作簿 (*.xls;*.xlsx;*.xlsm)|*.xls;*.xlsx;*.xlsm|所有文件 (*.*)|*.*||"));
  EXPECT_EQ(dialog.DoModal(), static_cast<int>(IDCANCEL));
  EXPECT_EQ(filters.join('|').toStdString(), "Excel 工作簿 (*.xls *.xlsx *.xlsm)|所有文件 (*.*)");
  EXPECT_EQ(folderType.toStdString(), "文件夹");
  EXPECT_EQ(fileType.toStdString(), "XLS 文件");
  EXPECT_TRUE(date.contains(QRegularExpression(QStringLiteral("^\\d{4}/\\d{1,2}/\\d{1,2} \\d{2}:\\d{2}$"))))
      << date.toStdString();
}
