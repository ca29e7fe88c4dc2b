// The dialog says in its message box what the workbook layers report: the
// file, the sheet and the reason, in Chinese.
#include <fstream>

#include "dialog_fixture.h"
#include "res/ui/resource.h"

namespace {

const Rows kCircuits = {{"N1", "L1", "3", "0.8", "0.85", "照明"}, {"N2", "L2", "4", "0.8", "0.85", "插座"}};
const Rows kLibrary = {{"C16", "16"}, {"C32", "32"}, {"C63", "63"}};

bool Holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(DialogTest, AWorkbookWithoutItsSwitchLibraryIsSaidInTheMessageBox) {
  xls::Workbook book;
  book.AddSheet(u"线路负荷计算", WithHeader({"线路编号", "相别", "设备功率", "需要系数", "功率因数", "备注"}, kCircuits));
  ASSERT_TRUE(book.Save(InputPath()).ok());
  Click(1);
  ASSERT_TRUE(messages.empty()) << messages.front();
  Click(1005);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(Holds(messages[0], "工作簿中没有工作表“开关型号库”")) << messages[0];
  EXPECT_TRUE(Holds(messages[0], InputPath())) << messages[0];
}

TEST_F(DialogTest, AnUnwrittenBackupIsSaidOncePerWorkbook) {
  WriteInput(kCircuits, kLibrary);
  std::filesystem::permissions(InputPath(), std::filesystem::perms(0444));
  Click(1);
  Click(1);
  Click(1005);
  ASSERT_EQ(messages.size(), 1u) << messages.back();
  EXPECT_TRUE(Holds(messages[0], "计算照常进行")) << messages[0];
  EXPECT_TRUE(Holds(messages[0], "文件是只读的")) << messages[0];
  EXPECT_EQ(Cell(0, 7), "C16;C32;C63;");
}

// 导出计算书 checks its target as 保存 does: never the input workbook.
TEST_F(DialogTest, TheReportIsNeverWrittenOverTheInputWorkbook) {
  WriteInput(kCircuits, kLibrary);
  Click(1);
  Click(1005);
  ASSERT_TRUE(messages.empty()) << messages.front();
  const NamedSheets before = ReadBack(InputPath());
  saveAs = InputPath();
  dialog->SendMessage(WM_SYSCOMMAND, IDM_EXPORT_REPORT, 0);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(Holds(messages[0], "这是读取回路数据的工作簿")) << messages[0];
  EXPECT_EQ(ReadBack(InputPath()), before);
}

}  // namespace
