// loadcalc-cli --write-back on a copy of the sample workbook.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

#include "../support/temp_folder.h"
#include "../support/workbook_read_back.h"

namespace {

class CliWriteBack : public testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::copy_file(std::filesystem::path(LOADCALC_SOURCE_DIR) / "res/sample/电气计算.xls", Sample());
  }
  std::filesystem::path Sample() const { return m_temp.Path() / "电气计算.xls"; }

  // The exit status; standard error is kept in `err`.
  int Run(const std::string& arguments) {
    const std::filesystem::path err = m_temp.Path() / "err.txt";
    const std::string command = std::string("'") + LOADCALC_CLI + "' --workbook '" + Sample().string() + "' " +
                                arguments + " >/dev/null 2>'" + err.string() + "'";
    const int raw = std::system(command.c_str());
    std::ifstream in(err);
    std::stringstream text;
    text << in.rdbuf();
    this->err = text.str();
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }

  std::string err;

 private:
  ::test::TempFolder m_temp{"loadcalc-cli-wb"};
};

TEST_F(CliWriteBack, WithoutABalancingItIsRefusedAndNothingIsRead) {
  const NamedSheets before = ReadWorkbookBack(Sample().string());
  EXPECT_EQ(Run("--write-back"), 2);
  EXPECT_NE(err.find("--write-back 只能与 --balance 或 --balance-below 一起使用"), std::string::npos) << err;
  EXPECT_EQ(ReadWorkbookBack(Sample().string()), before);
}

TEST_F(CliWriteBack, TheBalancedPhasesAreInTheSheetAndNothingElseChanged) {
  // The first read makes the backup sheet; the write-back must change only phases.
  ASSERT_EQ(Run("--json"), 0) << err;
  const NamedSheets before = ReadWorkbookBack(Sample().string());
  ASSERT_EQ(Run("--balance --write-back"), 0) << err;
  EXPECT_NE(err.find("已将回路数据写回工作表“线路负荷计算”"), std::string::npos) << err;
  const NamedSheets after = ReadWorkbookBack(Sample().string());
  ASSERT_EQ(after.size(), before.size());
  int changed = 0;
  for (size_t sheet = 0; sheet < after.size(); ++sheet) {
    ASSERT_EQ(after[sheet].second.size(), before[sheet].second.size()) << after[sheet].first;
    for (size_t row = 0; row < after[sheet].second.size(); ++row)
      for (size_t column = 0; column < after[sheet].second[row].size(); ++column) {
        if (after[sheet].second[row][column] == before[sheet].second[row].at(column)) continue;
        EXPECT_EQ(after[sheet].first, "线路负荷计算");
        EXPECT_EQ(column, 1u) << "row " << row;
        ++changed;
      }
  }
  EXPECT_GT(changed, 0);
  // Balancing again finds the phases in place: nothing is left to write.
  ASSERT_EQ(Run("--balance --write-back"), 0) << err;
  EXPECT_EQ(ReadWorkbookBack(Sample().string()), after);
}

}  // namespace
