// loadcalc-cli --system --report: the building's 计算书 read back with
// poppler's pdftotext and pdfinfo.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>

#include "../support/files_and_commands.h"
#include "../support/system_workbooks.h"
#include "../support/temp_folder.h"

namespace {

std::string Quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

bool HaveTool(const char* tool) { return std::system((std::string("command -v ") + tool + " >/dev/null").c_str()) == 0; }

}  // namespace

TEST(SystemReport, NamesEveryBoardAndTheTransformerWithOnePageNumbering) {
  ASSERT_TRUE(HaveTool("pdftotext") && HaveTool("pdfinfo")) << "poppler-utils are missing: run tools/install-deps.sh";
  const test::TempFolder folder("loadcalc-system-report");
  Rows system;
  for (int b = 1; b <= 8; ++b) {
    Rows circuits;
    for (int c = 1; c <= 6 * b; ++c)
      circuits.push_back({"WL" + std::to_string(c), c % 4 == 0 ? "L1L2L3" : "L" + std::to_string(1 + c % 3),
                          std::to_string(1 + (c * 7 + b) % 9), "0.8", "0.85"});
    const std::string name = "AL" + std::to_string(b);
    ASSERT_TRUE(test::WriteBoardWorkbook(folder.path(name + ".xls"), circuits));
    system.push_back({name, name + ".xls"});
  }
  ASSERT_TRUE(test::WriteSystemWorkbook(folder.path("系统.xls"), system));
  const auto pdf = folder.path("系统计算书.pdf");
  int status = 0;
  test::RunCommand(std::string("'") + LOADCALC_CLI + "' --system " + Quoted(folder.path("系统.xls")) + " --report " +
                       Quoted(pdf) + " >/dev/null 2>&1",
                   &status);
  ASSERT_EQ(status, 0);
  const std::string text = test::RunCommand("pdftotext -enc UTF-8 " + Quoted(pdf) + " - 2>/dev/null", &status);
  ASSERT_EQ(status, 0);
  EXPECT_NE(text.find("配电系统负荷计算书"), std::string::npos);
  for (int b = 1; b <= 8; ++b)
    EXPECT_NE(text.find("配电箱 AL" + std::to_string(b) + " 负荷计算书（规范法）"), std::string::npos) << b;
  EXPECT_TRUE(std::regex_search(text, std::regex("选用变压器：1 × [0-9]+ kVA，负荷率 [0-9.]+%（补偿前 [0-9.]+%）")));
  for (const char* formula : {"P = ΣPjs =", "不在配电箱补偿：电容器集中装在母线上", "补偿容量 Qc = Pjs × (tanφ − tanφ₂)", "β = S′ / (n × Sn)"})
    EXPECT_NE(text.find(formula), std::string::npos) << formula;

  std::smatch match;
  const std::string info = test::RunCommand("pdfinfo " + Quoted(pdf) + " 2>/dev/null", &status);
  ASSERT_TRUE(std::regex_search(info, match, std::regex("Pages:\\s+(\\d+)")));
  const int pages = std::stoi(match[1]);
  EXPECT_GT(pages, 8);  // each board starts a page of its own
  for (int page = 1; page <= pages; ++page)
    EXPECT_NE(text.find("第 " + std::to_string(page) + " 页 / 共 " + std::to_string(pages) + " 页"), std::string::npos);
}
