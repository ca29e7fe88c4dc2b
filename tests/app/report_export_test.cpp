// 导出计算书… from the dialog's context menu.
#include <cstdio>
#include <fstream>
#include <regex>

#include <QTableView>

#include "app/shortcuts.h"
#include "dialog_fixture.h"
#include "res/ui/resource.h"

namespace {

// The report's text through poppler; empty when pdftotext is missing.
std::string PdfText(const std::string& path) {
  std::string text;
  FILE* pipe = popen(("pdftotext -layout -enc UTF-8 '" + path + "' - 2>/dev/null").c_str(), "r");
  if (!pipe) return text;
  char chunk[4096];
  for (size_t got; (got = fread(chunk, 1, sizeof chunk, pipe)) > 0;) text.append(chunk, got);
  pclose(pipe);
  return text;
}

class ReportExportTest : public DialogTest {
 protected:
  void Export() { dialog->SendMessage(WM_SYSCOMMAND, IDM_EXPORT_REPORT, 0); }
  std::string Head(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char head[5] = {};
    in.read(head, 5);
    return std::string(head, static_cast<size_t>(in.gcount()));
  }
};

TEST_F(ReportExportTest, NothingToExportBeforeACalculation) {
  WriteInput(kFourCircuits, kFourSwitches);
  Export();
  Click(1);
  Export();
  EXPECT_EQ(messages, (std::vector<std::string>{"请首先进行计算!", "请首先进行计算!"}));
  EXPECT_EQ(askedExtension, "");  // no save dialog was shown
}

TEST_F(ReportExportTest, WritesThePdfChosenInTheSaveDialogAndSaysWhere) {
  WriteInput(kFourCircuits, kFourSwitches);
  Click(1);
  Click(1005);
  saveAs = PathIn("计算书");
  Export();
  EXPECT_EQ(askedFileName, PathIn("电气计算-计算书.pdf"));
  EXPECT_EQ(askedExtension, "pdf");
  EXPECT_EQ(askedFilter, "PDF 文件|*.pdf||");
  EXPECT_EQ(messages, std::vector<std::string>{"计算书写入成功!\n文件: " + PathIn("计算书.pdf")});
  EXPECT_EQ(Head(PathIn("计算书.pdf")), "%PDF-");
}

TEST_F(ReportExportTest, CancelledSaveWritesNothing) {
  WriteInput(kFourCircuits, kFourSwitches);
  Click(1);
  Click(1005);
  saveAs.clear();
  Export();
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
}

TEST_F(ReportExportTest, FailureNamesTheFileAndTheError) {
  WriteInput(kFourCircuits, kFourSwitches);
  Click(1);
  Click(1005);
  saveAs = PathIn("none/计算书.pdf");
  Export();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].rfind("计算书写入失败!\n文件: " + PathIn("none/计算书.pdf") + "\n错误: ", 0), 0u) << messages[0];
}

// The phases before 自动平衡 are the workbook's, even after a second
// balancing; a new read forgets them.
TEST_F(ReportExportTest, BalancedBoardReportsThePhasesBeforeAndAfter) {
  WriteInput(kFourCircuits, kFourSwitches);
  Click(1);
  Click(1015);
  Click(1015);
  saveAs = PathIn("平衡.pdf");
  Export();
  const std::string balanced = PdfText(PathIn("平衡.pdf"));
  ASSERT_FALSE(balanced.empty()) << "pdftotext is missing: run tools/install-deps.sh";
  EXPECT_NE(balanced.find("平衡前相别"), std::string::npos);
  // The balancing table's lines end with a circuit's phase before and after.
  for (const char* circuit : {"N1 +L1", "N2 +L1", "N3 +L1", "N4 +L2"})
    EXPECT_TRUE(std::regex_search(balanced, std::regex(std::string("\\n *") + circuit + " +L[123] *\\n"))) << circuit;

  // A circuit deleted after the balancing: the list is no longer the one
  // balanced, and the report does not say it was.
  qobject_cast<QTableView*>(Control(IDC_LIST))->selectRow(3);
  dialog->SendMessage(WM_SYSCOMMAND, shortcuts::kDeleteCircuitCommand, 0);
  ASSERT_EQ(dialog->m_list.GetItemCount(), 3);
  Click(1005);
  saveAs = PathIn("删除后.pdf");
  Export();
  EXPECT_EQ(PdfText(PathIn("删除后.pdf")).find("平衡前相别"), std::string::npos);

  yesNoAnswer = IDYES;
  Click(1);
  Click(1005);
  saveAs = PathIn("读取后.pdf");
  Export();
  const std::string read = PdfText(PathIn("读取后.pdf"));
  EXPECT_NE(read.find("N4"), std::string::npos);
  EXPECT_EQ(read.find("平衡前相别"), std::string::npos);
}

}  // namespace
