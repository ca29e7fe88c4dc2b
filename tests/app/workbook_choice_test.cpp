// Choosing the dialog's workbook: 打开工作簿… in the context menu, a file
// dropped on the dialog, and the .xlsx format for reading and for results.
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <fstream>

#include "dialog_fixture.h"
#include "calc/program_folder.h"
#include "platform/ui/menu.h"
#include "xlsx/xlsx_workbook.h"

namespace {

const Rows kCircuits = {{"WL1", "L1", "2", "0.8", "0.9", "照明"}, {"WL2", "L2", "3", "1", "0.8", ""}};
const Rows kLibrary = {{"C16", "16"}, {"C63", "63"}};

class WorkbookChoiceTest : public DialogTest {
 protected:
  // The board as an .xlsx workbook, named as asked.
  std::string WriteXlsxBoard(const std::string& name) {
    xlsx::XlsxWorkbook book;
    book.AddSheet(u"线路负荷计算",
                  WithHeader({"线路编号", "相别", "设备功率", "需要系数", "功率因数", "备注"}, kCircuits));
    book.AddSheet(u"开关型号库", WithHeader({"型号", "额定电流"}, kLibrary));
    const std::string path = PathIn(name);
    EXPECT_TRUE(book.Save(path).ok());
    return path;
  }

  void ChooseFromMenu(const std::string& file) {
    saveAs = file;
    SetPopupMenuHandler([](const CMenu& menu) {
      for (const CMenu::Item& item : menu.Items())
        if (Utf8(item.text).rfind("打开工作簿", 0) == 0) return item.id;
      return UINT_PTR{0};
    });
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(500, 300), QPoint(500, 300));
    QApplication::sendEvent(dialog->GetWidget(), &rightClick);
  }

  void Drop(const std::string& file) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(file))});
    QDragEnterEvent enter(QPoint(300, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(dialog->GetWidget(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(300, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(dialog->GetWidget(), &drop);
  }

  std::string Title() const { return Utf8(dialog->GetWindowText()); }
};

TEST_F(WorkbookChoiceTest, MenuChoiceReadsTheXlsxWorkbookAndTitlesTheDialog) {
  const std::string title = Title();
  EXPECT_EQ(title, "Volmira电气计算程序");
  ChooseFromMenu(WriteXlsxBoard("AL1.xlsx"));
  EXPECT_EQ(askedFilter, "Excel 工作簿 (*.xls;*.xlsx;*.xlsm)|*.xls;*.xlsx;*.xlsm|所有文件 (*.*)|*.*||");
  ASSERT_TRUE(messages.empty()) << messages.front();
  EXPECT_EQ(Title(), title + " - AL1.xlsx");
  EXPECT_EQ(dialog->m_list.GetItemCount(), 2);
  EXPECT_EQ(Cell(1, 0), "WL2");

  // 计算 looks the switches up in the same workbook; 保存 writes .xlsx by name.
  Click(1005);
  ASSERT_TRUE(messages.empty()) << messages.front();
  EXPECT_EQ(Cell(0, 7), "C16;C63;");
  saveAs = PathIn("结果.xlsx");
  Click(1016);
  EXPECT_EQ(messages, std::vector<std::string>{"文件写入成功!"});
  auto results = xlsx::XlsxWorkbook::Load(PathIn("结果.xlsx"));
  ASSERT_TRUE(results.ok()) << results.error().text;
  ASSERT_EQ(results->SheetCount(), 2u);
  EXPECT_EQ(ToUtf8(FromUtf16(results->SheetName(1))), "总回路参数计算结果");

  // The chosen workbook got its backup sheet, in its own format.
  auto chosen = xlsx::XlsxWorkbook::Load(PathIn("AL1.xlsx"));
  ASSERT_TRUE(chosen.ok()) << chosen.error().text;
  EXPECT_TRUE(chosen->FindSheet(u"CSpreadSheetBackup").has_value());
}

TEST_F(WorkbookChoiceTest, DroppedWorkbookIsReadAndOtherFilesAreRefusedUntouched) {
  Drop(WriteXlsxBoard("AL2.xlsm"));
  ASSERT_TRUE(messages.empty()) << messages.front();
  EXPECT_EQ(dialog->m_list.GetItemCount(), 2);
  EXPECT_NE(Title().find(" - AL2.xlsm"), std::string::npos);

  const std::string csv = PathIn("board.csv");
  std::ofstream(csv) << "线路编号,相别\n";
  Drop(csv);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("board.csv"), std::string::npos);
  EXPECT_NE(messages[0].find(".xlsx"), std::string::npos);
  // The workbook before stays, with its circuits and its title.
  EXPECT_EQ(dialog->m_list.GetItemCount(), 2);
  EXPECT_NE(Title().find(" - AL2.xlsm"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(csv + ".bak"));
}

TEST_F(WorkbookChoiceTest, CancelledChoiceKeepsTheWorkbook) {
  ChooseFromMenu("");
  EXPECT_EQ(Title(), "Volmira电气计算程序");
  EXPECT_EQ(Utf8(dialog->GetWorkbookPath()), InputPath());
  EXPECT_TRUE(messages.empty());

  // Choosing the default workbook again leaves the title as the program's own.
  dialog->ChooseWorkbook(FromUtf8(PathIn("AL3.xls")));
  EXPECT_EQ(Title(), "Volmira电气计算程序 - AL3.xls");
  dialog->ChooseWorkbook(GetWorkbookFolder() + InputWorkbookName());
  EXPECT_EQ(Title(), "Volmira电气计算程序");
}

}  // namespace
