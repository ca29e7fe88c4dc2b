// 导出计算书… from the dialog's context menu.
#include <cstdio>
#include <fstream>
#include <regex>

#include "dialog_fixture.h"
#include "res/ui/resource.h"

namespace {

const Rows& kCircuits = kSmallBoard;
const Rows& kLibrary = kSmallBoardLibrary;

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
  WriteInput(kCircuits, kLibrary);
  Export();
  Click(1);
  Export();
  EXPECT_EQ(messages, (std::vector<std::string>{"请首先进行计算!", "请首先进行计算!"}));
  EXPECT_EQ(askedExtension, "");  // no save dialog was shown
}

TEST_F(ReportExportTest, WritesThePdfChosenInTheSaveDialogAndSaysWhere) {
  WriteInput(kCircuits, kLibrary);
  Click(1);
  Click(1005);
  saveAs = PathIn("计算书");
  Export();
  EXPECT_EQ(askedFileName, "负荷计算书");
  EXPECT_EQ(askedExtension, "pdf");
  EXPECT_EQ(askedFilter, "*.pdf");
  EXPECT_TRUE(askedOverwritePrompt);
  EXPECT_EQ(messages, std::vector<std::string>{"计算书写入成功!\n文件: " + PathIn("计算书.pdf")});
  EXPECT_EQ(Head(PathIn("计算书.pdf")), "%PDF-");
}

TEST_F(ReportExportTest, CancelledSaveWritesNothing) {
  WriteInput(kCircuits, kLibrary);
  Click(1);
  Click(1005);
  saveAs.clear();
  Export();
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
}

TEST_F(ReportExportTest, FailureNamesTheFileAndTheError) {
  WriteInput(kCircuits, kLibrary);
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
  WriteInput(kCircuits, kLibrary);
  Click(1);
  Click(1015);
  Click(1015);
  saveAs = PathIn("平衡.pdf");
  Export();
  const std::string balanced = PdfText(PathIn("平衡.pdf"));
  if (balanced.empty()) GTEST_SKIP() << "pdftotext is not installed";
  EXPECT_NE(balanced.find("平衡前相别"), std::string::npos);
  // The balancing table's lines end with a circuit's phase before and after.
  for (const char* circuit : {"N1 +L1", "N2 +L1", "N3 +L1", "N4 +L2"})
    EXPECT_TRUE(std::regex_search(balanced, std::regex(std::string("\\n *") + circuit + " +L[123] *\\n"))) << circuit;

  Click(1);
  Click(1005);
  saveAs = PathIn("读取后.pdf");
  Export();
  const std::string read = PdfText(PathIn("读取后.pdf"));
  EXPECT_NE(read.find("N4"), std::string::npos);
  EXPECT_EQ(read.find("平衡前相别"), std::string::npos);
}

}  // namespace
