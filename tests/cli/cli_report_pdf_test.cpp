// loadcalc-cli --report: the 计算书 of real workbooks, read back with
// poppler's tools (pdftotext, pdffonts, pdfinfo).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <sys/wait.h>

#include "../support/temp_folder.h"
#include "../support/workbook_read_back.h"

namespace {

std::string Quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

// Standard output of a shell command; empty when it failed.
std::string Output(const std::string& command) {
  std::string out;
  FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
  if (!pipe) return out;
  char chunk[4096];
  for (size_t got; (got = fread(chunk, 1, sizeof chunk, pipe)) > 0;) out.append(chunk, got);
  return pclose(pipe) == 0 ? out : std::string();
}

bool HaveTool(const char* tool) { return std::system((std::string("command -v ") + tool + " >/dev/null").c_str()) == 0; }

class CliReport : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(HaveTool("pdftotext") && HaveTool("pdffonts") && HaveTool("pdfinfo"))
        << "poppler-utils are missing: run tools/install-deps.sh";
    std::filesystem::copy_file(std::filesystem::path(LOADCALC_SOURCE_DIR) / "res/sample/电气计算.xls", Input());
  }

  std::filesystem::path Input() const { return folder.path("电气计算.xls"); }
  std::filesystem::path Pdf() const { return folder.path("计算书.pdf"); }

  int Run(const std::string& arguments) const {
    const std::string command = std::string("'") + LOADCALC_CLI + "' --workbook " + Quoted(Input()) + " " +
                                arguments + " >" + Quoted(folder.path("out.txt")) + " 2>" +
                                Quoted(folder.path("err.txt"));
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }
  std::string Err() const { return Output("cat " + Quoted(folder.path("err.txt"))); }
  std::string Out() const { return Output("cat " + Quoted(folder.path("out.txt"))); }

  std::string Text(const std::string& options = "") const {
    return Output("pdftotext -enc UTF-8 " + options + " " + Quoted(Pdf()) + " -");
  }
  int Pages() const {
    std::smatch match;
    const std::string info = Output("pdfinfo " + Quoted(Pdf()));
    return std::regex_search(info, match, std::regex("Pages:\\s+(\\d+)")) ? std::stoi(match[1]) : 0;
  }

  ::test::TempFolder folder{"loadcalc-cli-report"};
};

const char* const kSampleCircuits[] = {"WL1", "WL2", "WL3", "WL4", "WX1", "WX2", "WX3", "WX4",
                                       "WX5", "WK1", "WK2", "WK3", "WK4", "WK5", "WR1"};

TEST_F(CliReport, SampleReportNamesCircuitsLoadsUnbalanceAndSwitch) {
  ASSERT_EQ(Run("--report " + Quoted(Pdf())), 0) << Err();
  EXPECT_EQ(Err(), "");
  const std::string text = Text();
  ASSERT_NE(text, "");
  for (const char* circuit : kSampleCircuits) EXPECT_NE(text.find(circuit), std::string::npos) << circuit;
  for (const char* value : {"12.6", "10.1", "14.3", "0.340541", "42.9", "34.32", "104.333"})
    EXPECT_NE(text.find(value), std::string::npos) << value;
  EXPECT_NE(text.find("配电箱负荷计算书"), std::string::npos);
  EXPECT_NE(text.find("选用开关：MCCB-125"), std::string::npos) << text;
  EXPECT_NE(text.find("大厅柜式空调"), std::string::npos);
  // The whole circuit table fits on the first page.
  const std::string first = Text("-f 1 -l 1");
  for (const char* circuit : kSampleCircuits) EXPECT_NE(first.find(circuit), std::string::npos) << circuit;
  EXPECT_NE(first.find("第 1 页 / 共 " + std::to_string(Pages()) + " 页"), std::string::npos) << first;
}

TEST_F(CliReport, ChineseFontIsEmbedded) {
  ASSERT_EQ(Run("--report " + Quoted(Pdf())), 0) << Err();
  const std::string fonts = Output("pdffonts " + Quoted(Pdf()));
  std::smatch match;
  ASSERT_TRUE(std::regex_search(fonts, match, std::regex("UMing[^\\n]*"))) << fonts;
  // Columns after the name: type, encoding, emb(edded), sub(set), uni(code
  // map); outlines (TrueType), not bitmaps (Type 3).
  EXPECT_TRUE(std::regex_search(match.str(), std::regex("CID TrueType\\s+Identity-H\\s+yes\\s+\\w+\\s+yes")))
      << match.str();
}

TEST_F(CliReport, LongBoardFlowsOverPagesWithTheHeaderOnEach) {
  Rows circuits;
  for (int i = 1; i <= 200; ++i)
    circuits.push_back({"N" + std::to_string(i), "L" + std::to_string(i % 3 + 1), "2.5", "0.8", "0.85", "第" + std::to_string(i) + "回路"});
  xls::Workbook book;
  book.AddSheet(u"线路负荷计算", WithHeader({"线路编号", "相别", "设备功率", "需要系数", "功率因数", "备注"}, circuits));
  book.AddSheet(u"开关型号库", WithHeader({"型号", "额定电流"}, {{"C16", "16"}, {"C63", "63"}, {"MCCB-400", "400"}}));
  std::filesystem::remove(Input());
  ASSERT_TRUE(book.Save(Input().string()).ok());

  ASSERT_EQ(Run("--report " + Quoted(Pdf())), 0) << Err();
  const int pages = Pages();
  ASSERT_GE(pages, 4);
  std::string all;
  for (int page = 1; page <= pages; ++page) {
    const std::string text = Text("-f " + std::to_string(page) + " -l " + std::to_string(page));
    EXPECT_NE(text.find("第 " + std::to_string(page) + " 页 / 共 " + std::to_string(pages) + " 页"), std::string::npos)
        << page;
    if (text.find("回路") != std::string::npos) {
      EXPECT_NE(text.find("线路编号"), std::string::npos) << page;
    }
    all += text;
  }
  for (int i = 1; i <= 200; ++i)
    EXPECT_NE(all.find("第" + std::to_string(i) + "回路"), std::string::npos) << i;
}

TEST_F(CliReport, BalancedBoardListsThePhasesBeforeAndAfter) {
  ASSERT_EQ(Run("--balance --json --report " + Quoted(Pdf())), 0) << Err();
  const std::string json = Out();
  const std::string text = Text("-layout");
  EXPECT_NE(text.find("平衡前相别"), std::string::npos);
  EXPECT_NE(text.find("平衡后相别"), std::string::npos);
  // Each circuit's line: its number, the workbook's phase, the new phase.
  const char* const before[] = {"L1", "L2", "L3", "L1", "L2", "L3", "L1", "L2",
                                "L3", "L1", "L2", "L3", "L1", "L2", "L3"};
  for (size_t i = 0; i < std::size(kSampleCircuits); ++i) {
    std::smatch after;
    ASSERT_TRUE(std::regex_search(json, after, std::regex(std::string("\\[\"") + kSampleCircuits[i] + "\",\"(L[123])\"")))
        << kSampleCircuits[i];
    const std::regex line(std::string("\\n\\s*") + kSampleCircuits[i] + "\\s+" + before[i] + "\\s+" + after[1].str() + "\\s*\\n");
    EXPECT_TRUE(std::regex_search(text, line)) << kSampleCircuits[i] << " " << before[i] << " -> " << after[1];
  }
}

TEST_F(CliReport, NoReportWithoutACalculationOrWhereItCannotBeWritten) {
  EXPECT_EQ(Run("--power-factor 2 --report " + Quoted(Pdf())), 1);
  EXPECT_FALSE(std::filesystem::exists(Pdf()));

  EXPECT_EQ(Run("--report " + Quoted(folder.path("none/计算书.pdf"))), 1);
  EXPECT_EQ(Err().rfind("计算书写入失败!", 0), 0u) << Err();
  EXPECT_NE(Err().find("none/计算书.pdf"), std::string::npos) << Err();
}

}  // namespace
