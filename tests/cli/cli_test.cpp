// Runs the built loadcalc-cli on copies of the sample workbook.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

#include "cli/cli_options.h"
#include "xls/workbook.h"
#include "../support/temp_folder.h"
#include "../support/workbook_read_back.h"

namespace {

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class LoadcalcCli : public testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::copy_file(std::filesystem::path(LOADCALC_SOURCE_DIR) / "res/sample/电气计算.xls", Sample());
  }

  std::filesystem::path Sample() const { return m_folder / "电气计算.xls"; }
  std::filesystem::path PathIn(const std::string& name) const { return m_folder / name; }

  CliRun Invoke(const std::string& arguments) const {
    const std::string command = std::string("'") + LOADCALC_CLI + "' " + arguments + " >'" +
                                PathIn("out.txt").string() + "' 2>'" + PathIn("err.txt").string() + "'";
    CliRun run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadFile(PathIn("out.txt"));
    run.err = ReadFile(PathIn("err.txt"));
    return run;
  }

  std::string OnSample(const std::string& arguments) const {
    return "--workbook '" + Sample().string() + "' " + arguments;
  }

 private:
  ::test::TempFolder m_temp{"loadcalc-cli"};
  const std::filesystem::path m_folder = m_temp.Path();
};

TEST_F(LoadcalcCli, JsonOfTheSampleBoard) {
  const CliRun run = Invoke(OnSample("--json"));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const std::string& json = run.out;
  EXPECT_EQ(json.rfind("{\"headers\":[\"线路编号\",\"相别\",\"设备功率\",\"需要系数\",\"功率因数\",\"计算功率\","
                       "\"计算电流\",\"可选开关\",\"备注\"],\"rows\":[[\"WL1\",\"L1\",\"1.2\",\"0.9\",\"0.9\","
                       "\"1.080000\",\"5.454546\",",
                       0),
            0u)
      << json;
  EXPECT_NE(json.find("[\"WK4\",\"L1\",\"5\",\"0.85\",\"0.8\",\"4.250000\",\"24.147726\",\"C32;C40;C50;C63;"
                      "MCCB-125;MCCB-250;MCCB-400;\",\"大厅柜式空调\"]"),
            std::string::npos);
  EXPECT_NE(json.find("\"board\":{\"L1\":12.6000004,\"L2\":10.1000004,\"L3\":14.3000002,\"unbalance\":0.340540528,"
                      "\"equipment_power\":42.9000015,\"calculated_power\":34.3200035,\"current\":104.332809,"
                      "\"power_factor\":0.5,\"demand_coefficient\":0.800000012}"),
            std::string::npos)
      << json;
  EXPECT_NE(json.find("\"switches\":[\"MCCB-125\",\"MCCB-250\",\"MCCB-400\"],\"switch_text\":\"MCCB-125;MCCB-250;"
                      "MCCB-400;\",\"messages\":[]}"),
            std::string::npos)
      << json;
}

TEST_F(LoadcalcCli, BalanceAndSave) {
  const std::filesystem::path out = PathIn("负荷计算结果.xls");
  const CliRun run = Invoke(OnSample("--balance --json --save '" + out.string() + "'"));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "文件写入成功!\n");
  EXPECT_NE(run.out.find("\"messages\":[\"文件写入成功!\"]"), std::string::npos);
  EXPECT_NE(run.out.find("\"L1\":12.3000002,\"L2\":12.3999996,\"L3\":12.3000002"), std::string::npos) << run.out;
  EXPECT_TRUE(std::filesystem::exists(out));
}

TEST_F(LoadcalcCli, RefusedCalculationStillPrintsJsonAndFails) {
  const CliRun run = Invoke(OnSample("--power-factor 0.01 --json"));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "功率因数必须介于0和1之间\n");
  EXPECT_NE(run.out.find("\"power_factor\":0.00999999978"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"switches\":[],\"switch_text\":\"\",\"messages\":[\"功率因数必须介于0和1之间\"]}"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("\"rows\":[[\"WL1\",\"L1\",\"1.2\",\"0.9\",\"0.9\",\"一层走廊照明\"]"), std::string::npos);
}

TEST_F(LoadcalcCli, UnreadableOrUnwritableWorkbooksFail) {
  const CliRun missing = Invoke("--workbook '" + PathIn("none.xls").string() + "'");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("none.xls"), std::string::npos) << missing.err;
  EXPECT_FALSE(std::filesystem::exists(PathIn("none.xls")));

  const CliRun unwritable = Invoke(OnSample("--save '" + PathIn("no/such/folder.xls").string() + "'"));
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_EQ(unwritable.err.rfind("文件写入失败!", 0), 0u) << unwritable.err;
}

TEST_F(LoadcalcCli, BadArgumentsShowTheUsage) {
  for (const char* arguments : {"--bogus", "--power-factor", "--power-factor abc", "--demand-coefficient=1x",
                                "--json=yes", "--workbook="}) {
    const CliRun run = Invoke(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_NE(run.err.find("usage: loadcalc-cli"), std::string::npos) << arguments;
    EXPECT_EQ(run.out, "") << arguments;
  }
}

TEST_F(LoadcalcCli, TableOutputShowsTheBoard) {
  const CliRun run = Invoke(OnSample("--demand-coefficient=0.9"));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("WL1 | L1 | 1.2 | 0.9 | 0.9 | 1.080000 | 5.454546 |"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("需要系数: 0.900000\n"), std::string::npos) << run.out;
  // 117.37 A needs 130 A: the 125 A frame no longer qualifies.
  EXPECT_NE(run.out.find("可选择开关: MCCB-250, MCCB-400\n"), std::string::npos) << run.out;
}

// Without Qt there is no painter: --report is refused before anything runs.
TEST_F(LoadcalcCli, ReportNeedsABuildWithQt) {
  if (LOADCALC_CLI_WRITES_REPORTS) GTEST_SKIP() << "this build writes reports";
  const CliRun run = Invoke(OnSample("--report '" + PathIn("r.pdf").string() + "'"));
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("--report is not available"), std::string::npos) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_FALSE(std::filesystem::exists(PathIn("r.pdf")));
}

// A board of `circuits` rows all read on L1, with powers of 0.5 to 5 kW.
void WriteBoard(const std::filesystem::path& path, int circuits) {
  Rows rows;
  for (int i = 0; i < circuits; ++i)
    rows.push_back({"WL" + std::to_string(i + 1), "L1", std::to_string(1 + i % 10) + ".5", "1", "0.9", ""});
  xls::Workbook book;
  book.AddSheet(u"线路负荷计算", WithHeader({"线路编号", "相别", "设备功率", "需要系数", "功率因数", "备注"}, rows));
  book.AddSheet(u"开关型号库", WithHeader({"型号", "额定电流"}, {{"C63", "63"}}));
  ASSERT_TRUE(book.Save(path.string()).ok());
}

TEST_F(LoadcalcCli, BalanceBeyondNineteenCircuitsUsesTheExtendedMethodAndReportsIt) {
  WriteBoard(PathIn("board.xls"), 25);
  const CliRun run = Invoke("--workbook '" + PathIn("board.xls").string() + "' --balance --time-limit 5 --json");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("25 circuits: balancing with the extended method (time limit 5 s)"), std::string::npos)
      << run.err;
  EXPECT_NE(run.out.find("\"balance\":{\"method\":\"extended\",\"applied\":true,\"optimal\":true,"),
            std::string::npos)
      << run.out;
  // Powers in steps of 0.5 kW sum to 137.5: the phases differ by 0.5 kW at best.
  EXPECT_NE(run.out.find("\"lower_bound\":0.0109"), std::string::npos) << run.out;

  const CliRun sample = Invoke(OnSample("--balance --json"));
  EXPECT_NE(sample.out.find("\"balance\":{\"method\":\"exhaustive\",\"applied\":true,\"optimal\":true,"),
            std::string::npos)
      << sample.out;
  EXPECT_EQ(Invoke(OnSample("--json")).out.find("\"balance\""), std::string::npos);
}

TEST_F(LoadcalcCli, BalanceBelowMovesFewOrSaysItCannot) {
  WriteBoard(PathIn("board.xls"), 30);
  const CliRun run = Invoke("--workbook '" + PathIn("board.xls").string() + "' --balance-below 0.15 --json");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\"method\":\"below\",\"applied\":true"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"reaches_bound\":true"), std::string::npos) << run.out;

  WriteBoard(PathIn("four.xls"), 4);  // 1.5, 2.5, 3.5, 4.5 kW: u ≥ 0.25 whatever the phases
  const CliRun out = Invoke("--workbook '" + PathIn("four.xls").string() + "' --balance-below 0.1 --json");
  EXPECT_EQ(out.status, 1);
  EXPECT_NE(out.err.find("任何相别分配的不平衡度都不能低于0.1"), std::string::npos) << out.err;
  EXPECT_NE(out.out.find("\"reaches_bound\":false"), std::string::npos) << out.out;
}

TEST(CliOptions, ValuesAndDefaults) {
  const CliParse defaults = ParseCliOptions({});
  ASSERT_TRUE(defaults.options);
  EXPECT_EQ(defaults.options->powerFactor, 0.5f);
  EXPECT_EQ(defaults.options->demandCoefficient, 0.8f);
  EXPECT_FALSE(defaults.options->workbook);

  const CliParse parsed =
      ParseCliOptions({"--workbook", "a b.xls", "--power-factor=0.9", "--balance", "--save", "out.xls"});
  ASSERT_TRUE(parsed.options) << parsed.error;
  EXPECT_EQ(*parsed.options->workbook, "a b.xls");
  EXPECT_EQ(parsed.options->powerFactor, 0.9f);
  EXPECT_TRUE(parsed.options->balance);
  EXPECT_EQ(*parsed.options->saveTo, "out.xls");
  EXPECT_FALSE(ParseCliOptions({"--power-factor", "nan"}).options);
  EXPECT_EQ(defaults.options->timeLimitSeconds, 2.0);
  EXPECT_FALSE(defaults.options->balanceBelow);
  const CliParse balancing = ParseCliOptions({"--balance-below=0.15", "--time-limit", "0.5"});
  ASSERT_TRUE(balancing.options) << balancing.error;
  EXPECT_EQ(*balancing.options->balanceBelow, 0.15);
  EXPECT_EQ(balancing.options->timeLimitSeconds, 0.5);
  EXPECT_FALSE(ParseCliOptions({"--time-limit", "0"}).options);
  EXPECT_FALSE(ParseCliOptions({"--balance-below", "-1"}).options);
  EXPECT_FALSE(ParseCliOptions({"--save"}).options);

  const CliParse report = ParseCliOptions({"--report=计算书.pdf", "--balance"});
  ASSERT_TRUE(report.options) << report.error;
  EXPECT_EQ(*report.options->reportTo, "计算书.pdf");
  EXPECT_FALSE(ParseCliOptions({"--report"}).options);
  EXPECT_FALSE(ParseCliOptions({"--report="}).options);
}

}  // namespace
