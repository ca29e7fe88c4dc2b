// Runs the built loadcalc-cli on copies of the sample workbook.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include "cli/cli_options.h"
#include "xls/workbook.h"
#include "../support/files_and_commands.h"
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

  // Runs with standard output sent where `redirect` says.
  int InvokeRedirected(const std::string& arguments, const std::string& redirect) const {
    const std::string command = std::string("'") + LOADCALC_CLI + "' " + arguments + " " + redirect + " 2>'" +
                                PathIn("err.txt").string() + "'";
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
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
  // Each moved circuit on its own line, then the write.
  EXPECT_EQ(run.err.rfind("loadcalc-cli: 移动回路 WL1: L1 → L2\n", 0), 0u) << run.err;
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 11) << run.err;
  EXPECT_TRUE(run.err.ends_with("\n文件写入成功!\n")) << run.err;
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

// The same board saved as .xlsx by LibreOffice: the same calculation, and
// results written in the format their name asks for.
TEST_F(LoadcalcCli, XlsxBoardCalculatesAsTheXlsBoard) {
  const std::filesystem::path board = PathIn("AL1.xlsx");
  std::filesystem::copy_file(std::filesystem::path(LOADCALC_SOURCE_DIR) / "tests/fixtures/xlsx/sample_board.xlsx", board);
  const CliRun fromXls = Invoke(OnSample("--balance --json"));
  const CliRun fromXlsx = Invoke("--workbook '" + board.string() + "' --balance --json --save '" +
                                 PathIn("结果.xlsx").string() + "'");
  ASSERT_EQ(fromXlsx.status, 0) << fromXlsx.err;
  EXPECT_EQ(fromXlsx.err, fromXls.err + "文件写入成功!\n");
  // Only the confirmation of the write differs.
  std::string sameRun = fromXlsx.out;
  const std::string written = "\"messages\":[\"文件写入成功!\"]";
  ASSERT_NE(sameRun.find(written), std::string::npos) << sameRun;
  sameRun.replace(sameRun.find(written), written.size(), "\"messages\":[]");
  EXPECT_EQ(sameRun, fromXls.out);
  EXPECT_EQ(ReadFile(PathIn("结果.xlsx")).substr(0, 2), "PK");
  EXPECT_EQ(ReadFile(board).substr(0, 2), "PK");  // the backup sheet went into the .xlsx as .xlsx
}

TEST_F(LoadcalcCli, FilesThatAreNoWorkbookAreRefusedUntouched) {
  const std::string csv = "线路编号,相别\nWL1,L1\n";
  for (const char* name : {"board.csv", "board.ods", "board.xlsx", "board.xlsb"}) {
    const std::filesystem::path file = PathIn(name);
    std::ofstream(file, std::ios::binary) << csv;
    const CliRun run = Invoke("--workbook '" + file.string() + "' --json");
    EXPECT_EQ(run.status, 1) << name;
    EXPECT_NE(run.err.find(name), std::string::npos) << run.err;
    EXPECT_EQ(ReadFile(file), csv) << name;
    EXPECT_FALSE(std::filesystem::exists(file.string() + ".bak")) << name;
  }
}

TEST_F(LoadcalcCli, BadArgumentsShowTheUsage) {
  for (const char* arguments : {"--bogus", "--power-factor", "--power-factor abc", "--demand-coefficient=1x",
                                "--json=yes", "--workbook="}) {
    const CliRun run = Invoke(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_NE(run.err.find("用法: loadcalc-cli"), std::string::npos) << arguments;
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

// What a file is: its bytes and the attributes a replacement would change.
struct FileState {
  std::string bytes;
  ino_t inode = 0;
  mode_t mode = 0;
  bool operator==(const FileState&) const = default;
};

FileState StateOf(const std::filesystem::path& path) {
  struct stat info {};
  lstat(path.c_str(), &info);
  return {S_ISREG(info.st_mode) ? ReadFile(path) : std::string(), info.st_ino, info.st_mode};
}

// The files in the folder beside the run's own output files.
std::vector<std::string> NamesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename();
    if (name != "out.txt" && name != "err.txt") names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(LoadcalcCli, SavingOverTheInputWorkbookIsRefusedAndKeepsIt) {
  ASSERT_EQ(Invoke(OnSample("")).status, 0);  // the first reading adds the backup sheet
  const FileState before = StateOf(Sample());
  std::filesystem::create_symlink(Sample(), PathIn("link.xls"));
  for (const std::string& target : {Sample().string(), PathIn("link.xls").string()}) {
    const CliRun run = Invoke(OnSample("--save '" + target + "'"));
    EXPECT_EQ(run.status, 1) << target;
    EXPECT_NE(run.err.find("the circuits are read from"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("文件写入成功"), std::string::npos) << run.err;
    EXPECT_TRUE(StateOf(Sample()) == before) << target;
  }
  const NamedSheets sheets = ReadWorkbookBack(Sample().string());
  ASSERT_GE(sheets.size(), 2u);
  EXPECT_EQ(sheets[0].first, "线路负荷计算");
}

TEST_F(LoadcalcCli, SavingOverAnEarlierResultsFileReplacesItWhole) {
  const std::filesystem::path out = PathIn("results.xls");
  ASSERT_EQ(Invoke(OnSample("--save '" + out.string() + "'")).status, 0);
  std::filesystem::permissions(out, std::filesystem::perms(0640));
  const CliRun again = Invoke(OnSample("--balance --save '" + out.string() + "'"));
  ASSERT_EQ(again.status, 0) << again.err;
  const NamedSheets sheets = ReadWorkbookBack(out.string());
  ASSERT_EQ(sheets.size(), 2u);
  EXPECT_EQ(sheets[0].first, "各回路负荷计算结果");
  EXPECT_EQ(sheets[1].first, "总回路参数计算结果");
  ASSERT_EQ(sheets[1].second.size(), 11u);
  EXPECT_EQ(sheets[1].second[10], (std::vector<std::string>{"可选择开关", "MCCB-125;MCCB-250;MCCB-400;"}));
  EXPECT_EQ(std::filesystem::status(out).permissions(), std::filesystem::perms(0640));
  EXPECT_EQ(NamesIn(PathIn("")), (std::vector<std::string>{"results.xls", "电气计算.xls"}));
}

// A link whose target does not exist yet is written through: the results
// land at the target and the link stays a link.
TEST_F(LoadcalcCli, ADanglingLinkIsWrittenThrough) {
  std::filesystem::create_directory(PathIn("out"));
  const std::filesystem::path link = PathIn("results.xls");
  std::filesystem::create_symlink(PathIn("out") / "board-results.xls", link);
  const CliRun run = Invoke(OnSample("--save '" + link.string() + "'"));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  ASSERT_TRUE(std::filesystem::is_regular_file(PathIn("out") / "board-results.xls"));
  EXPECT_EQ(ReadWorkbookBack((PathIn("out") / "board-results.xls").string()).size(), 2u);
}

TEST_F(LoadcalcCli, TargetsThatAreNotRegularFilesAreLeftAsTheyAre) {
  ASSERT_EQ(mkfifo(PathIn("pipe.xls").c_str(), 0644), 0);
  std::filesystem::create_directory(PathIn("folder.xls"));
  std::vector<std::string> targets = {"pipe.xls", "folder.xls"};
  if (mknod(PathIn("null.xls").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) targets.push_back("null.xls");
  for (const std::string& name : targets) {
    const FileState before = StateOf(PathIn(name));
    const CliRun run = Invoke(OnSample("--save '" + PathIn(name).string() + "'"));
    EXPECT_EQ(run.status, 1) << name;
    EXPECT_NE(run.err.find("not a regular file"), std::string::npos) << run.err;
    EXPECT_TRUE(StateOf(PathIn(name)) == before) << name;
  }
  EXPECT_TRUE(std::filesystem::is_empty(PathIn("folder.xls")));
}

TEST_F(LoadcalcCli, ADanglingLinkAsTargetIsWrittenThrough) {
  std::filesystem::create_directory(PathIn("kept"));
  std::filesystem::create_symlink("kept/results.xls", PathIn("link.xls"));
  const CliRun run = Invoke(OnSample("--save '" + PathIn("link.xls").string() + "'"));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(std::filesystem::is_symlink(std::filesystem::symlink_status(PathIn("link.xls"))));
  EXPECT_EQ(ReadWorkbookBack(PathIn("kept/results.xls").string()).size(), 2u);
}

TEST_F(LoadcalcCli, ResultsNamesGetTheWorkbookExtensionOrAreRefused) {
  ASSERT_EQ(Invoke(OnSample("--save '" + PathIn("out").string() + "'")).status, 0);
  EXPECT_EQ(ReadWorkbookBack(PathIn("out.xls").string()).size(), 2u);
  EXPECT_FALSE(std::filesystem::exists(PathIn("out")));
  ASSERT_EQ(Invoke(OnSample("--save '" + PathIn("UPPER.XLS").string() + "'")).status, 0);
  EXPECT_EQ(ReadWorkbookBack(PathIn("UPPER.XLS").string()).size(), 2u);

  for (const std::string name : {"out.csv", "out.ods", "out.txt.bak"}) {
    const CliRun run = Invoke(OnSample("--save '" + PathIn(name).string() + "'"));
    EXPECT_EQ(run.status, 1) << name;
    EXPECT_NE(run.err.find("can only be saved as an Excel workbook"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(PathIn(name))) << name;
    EXPECT_FALSE(std::filesystem::exists(PathIn(name + ".bak"))) << name;
  }
}

TEST_F(LoadcalcCli, NamesThatAreNotValidTextAreRefused) {
  const std::vector<std::string> before = NamesIn(PathIn(""));
  const std::string bad = PathIn("r\xe9s.xls").string();
  const CliRun save = Invoke(OnSample("--save \"$(printf '" + bad + "')\""));
  EXPECT_EQ(save.status, 1);
  EXPECT_NE(save.err.find("文件名不是有效的文本"), std::string::npos) << save.err;
  const CliRun read = Invoke("--workbook \"$(printf '" + bad + "')\"");
  EXPECT_EQ(read.status, 1);
  EXPECT_NE(read.err.find("文件名不是有效的文本"), std::string::npos) << read.err;
  EXPECT_EQ(NamesIn(PathIn("")), before);
}

TEST_F(LoadcalcCli, OutputThatCannotBeWrittenIsAFailure) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  EXPECT_EQ(InvokeRedirected(OnSample("--json"), ">/dev/full"), 1);
  EXPECT_NE(ReadFile(PathIn("err.txt")).find("无法将计算结果写到标准输出"), std::string::npos);
}

TEST_F(LoadcalcCli, RefusedCalculationSaysTheFileWasNotWritten) {
  const CliRun run = Invoke(OnSample("--power-factor 0.01 --save '" + PathIn("r.xls").string() + "'"));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("文件写入失败!"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("结果文件没有写入"), std::string::npos) << run.err;
  EXPECT_FALSE(std::filesystem::exists(PathIn("r.xls")));
}

TEST_F(LoadcalcCli, WorkbooksTheUserMayNotChangeAreOnlyRead) {
  // The first reading would add the backup sheet to a writable workbook.
  const std::string lockFile = PathIn(".~lock.电气计算.xls#").string();
  auto check = [&](const char* what) {
    const FileState before = StateOf(Sample());
    const CliRun run = Invoke(OnSample("--json"));
    EXPECT_EQ(run.status, 0) << what << run.err;
    // Said once, and the calculation goes on.
    EXPECT_NE(run.err.find("未能在工作簿中写入备份工作表“CSpreadSheetBackup”，计算照常进行"), std::string::npos)
        << what << run.err;
    EXPECT_NE(run.out.find("\"WL1\""), std::string::npos) << what;
    EXPECT_TRUE(StateOf(Sample()) == before) << what;
  };
  std::filesystem::permissions(Sample(), std::filesystem::perms(0444));
  check("read-only");
  std::filesystem::permissions(Sample(), std::filesystem::perms(0644));
  std::ofstream(lockFile) << "someone,host,1;";
  check("lock file beside it");
  std::filesystem::remove(lockFile);
  {
    const int fd = open(Sample().c_str(), O_RDWR);
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    // An open-file lock: reading the file here for the comparison must not drop it.
    ASSERT_EQ(fcntl(fd, F_OFD_SETLK, &lock), 0);
    check("locked by another process");
    close(fd);
  }
  const FileState before = StateOf(Sample());
  ASSERT_EQ(Invoke(OnSample("")).status, 0);
  EXPECT_FALSE(StateOf(Sample()) == before) << "a writable workbook gets its backup sheet";
}

TEST_F(LoadcalcCli, InputThatIsNotAWorkbookIsRefusedWithNothingWrittenBesideIt) {
  std::ofstream(PathIn("board.xlsx"), std::ios::binary) << "PK\x03\x04 not a workbook";
  std::ofstream(PathIn("board.csv")) << "\"线路编号\",\"相别\"\r\n\"WL1\",\"L1\"\r\n";
  for (const std::string name : {"board.xlsx", "board.csv"}) {
    const std::vector<std::string> before = NamesIn(PathIn(""));
    const CliRun run = Invoke("--workbook '" + PathIn(name).string() + "' --save '" + PathIn("r.xls").string() + "'");
    EXPECT_EQ(run.status, 1) << name;
    EXPECT_NE(run.err.find(name), std::string::npos) << run.err;
    EXPECT_EQ(NamesIn(PathIn("")), before) << name;
  }
}

// Without Qt there is no painter: --report is refused before anything runs.
TEST_F(LoadcalcCli, ReportNeedsABuildWithQt) {
  if (LOADCALC_CLI_WRITES_REPORTS) GTEST_SKIP() << "this build writes reports";
  const CliRun run = Invoke(OnSample("--report '" + PathIn("r.pdf").string() + "'"));
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("不能写计算书 (--report)"), std::string::npos) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_FALSE(std::filesystem::exists(PathIn("r.pdf")));
}

// The report's target passes the results' checks; both outputs are checked
// before anything is read or written, and no failure aborts the program.
TEST_F(LoadcalcCli, TheReportNeverReplacesTheWorkbookOrTheResults) {
  if (!LOADCALC_CLI_WRITES_REPORTS) GTEST_SKIP() << "this build writes no reports";
  const FileState before = StateOf(Sample());
  std::filesystem::create_symlink(Sample(), PathIn("link.pdf"));
  for (const std::string& target : {Sample().string(), PathIn("link.pdf").string()}) {
    const CliRun run = Invoke(OnSample("--report '" + target + "'"));
    EXPECT_EQ(run.status, 1) << target << run.err;
    EXPECT_NE(run.err.find("这是读取回路数据的工作簿"), std::string::npos) << run.err;
    EXPECT_TRUE(StateOf(Sample()) == before) << target;
  }

  const CliRun same = Invoke(OnSample("--save '" + PathIn("same.xls").string() + "' --report '" +
                                      PathIn("same.xls").string() + "'"));
  EXPECT_EQ(same.status, 1);
  EXPECT_NE(same.err.find("计算书与计算结果不能写入同一个文件"), std::string::npos) << same.err;
  EXPECT_EQ(same.err.find("文件写入成功"), std::string::npos) << same.err;
  EXPECT_FALSE(std::filesystem::exists(PathIn("same.xls")));

  std::filesystem::create_directory(PathIn("folder.pdf"));
  std::ofstream(PathIn("locked.pdf")) << "old";
  std::filesystem::permissions(PathIn("locked.pdf"), std::filesystem::perms(0444));
  for (const std::string name : {"folder.pdf", "locked.pdf"}) {
    const CliRun run = Invoke(OnSample("--report '" + PathIn(name).string() + "'"));
    EXPECT_EQ(run.status, 1) << name;
    EXPECT_NE(run.err.find(name == "folder.pdf" ? "不是普通文件" : "只读"), std::string::npos) << run.err;
  }
  EXPECT_EQ(ReadFile(PathIn("locked.pdf")), "old");
}

// Each failure of the input names the file (and the sheet), in Chinese.
TEST_F(LoadcalcCli, WorkbookFailuresAreSaidInChinese) {
  const CliRun missing = Invoke("--workbook '" + PathIn("none.xls").string() + "'");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "找不到工作簿 " + PathIn("none.xls").string() + "\n");

  std::filesystem::create_directory(PathIn("folder.xls"));
  for (const std::string name : {"folder.xls", "."}) {
    const CliRun folder = Invoke("--workbook '" + PathIn(name).string() + "'");
    EXPECT_EQ(folder.status, 1);
    EXPECT_NE(folder.err.find("这是一个文件夹"), std::string::npos) << folder.err;
  }

  std::ofstream(PathIn("text.xls")) << "no workbook";
  const CliRun text = Invoke("--workbook '" + PathIn("text.xls").string() + "'");
  EXPECT_EQ(text.status, 1);
  EXPECT_NE(text.err.find("文件不是程序能读取的 Excel 工作簿 (Cannot open the workbook"), std::string::npos)
      << text.err;

  xls::Workbook book;
  book.AddSheet(u"线路负荷计算", WithHeader({"线路编号", "相别", "设备功率", "需要系数", "功率因数", "备注"},
                                            {{"WL1", "L1", "3", "0.8", "0.85", ""}}));
  ASSERT_TRUE(book.Save(PathIn("nolibrary.xls").string()).ok());
  const CliRun library = Invoke("--workbook '" + PathIn("nolibrary.xls").string() + "' --json");
  EXPECT_EQ(library.status, 1);
  EXPECT_NE(library.err.find("工作簿中没有工作表“开关型号库”"), std::string::npos) << library.err;
  EXPECT_NE(library.err.find("nolibrary.xls"), std::string::npos) << library.err;

  xls::Workbook empty;
  empty.AddSheet(u"线路负荷计算", WithHeader({"线路编号", "相别", "设备功率", "需要系数", "功率因数", "备注"}, {}));
  empty.AddSheet(u"开关型号库", WithHeader({"型号", "额定电流"}, {{"C16", "16"}}));
  ASSERT_TRUE(empty.Save(PathIn("empty.xls").string()).ok());
  const CliRun none = Invoke("--workbook '" + PathIn("empty.xls").string() + "'");
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.err, "工作表“线路负荷计算”中没有回路 文件: " + PathIn("empty.xls").string() + "\n");
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
  EXPECT_NE(run.err.find("25 个回路: 用扩展方法进行自动平衡 (时限 5 秒)"), std::string::npos)
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

// 25 free circuits around two fixed ones and a motor: the fewest moves are
// found and proved within the default time limit.
TEST_F(LoadcalcCli, FewestMovesBeyondNineteenFreeCircuitsAroundFixedOnesFinishesInTime) {
  Rows rows;
  for (int i = 0; i < 25; ++i)
    rows.push_back({"WL" + std::to_string(i + 1), i % 4 == 0 ? "L2" : "L1", std::to_string(1 + i % 10) + ".5", "1",
                    "0.9", ""});
  rows.push_back({"WF1", "L1(固定)", "6", "1", "0.9", ""});
  rows.push_back({"WF2", "L3*", "2.5", "1", "0.9", ""});
  rows.push_back({"M1", "L1L2L3", "15", "1", "0.8", ""});
  xls::Workbook book;
  book.AddSheet(u"线路负荷计算", WithHeader({"线路编号", "相别", "设备功率", "需要系数", "功率因数", "备注"}, rows));
  book.AddSheet(u"开关型号库", WithHeader({"型号", "额定电流"}, {{"C63", "63"}}));
  ASSERT_TRUE(book.Save(PathIn("fixed.xls").string()).ok());
  const std::string board = "--workbook '" + PathIn("fixed.xls").string() + "' --balance --json";
  const CliRun plain = Invoke(board);
  const CliRun fewest = Invoke(board + " --fewest-moves");
  ASSERT_EQ(fewest.status, 0) << fewest.err;
  EXPECT_NE(fewest.out.find("\"applied\":true,\"optimal\":true,"), std::string::npos) << fewest.out;
  EXPECT_EQ(fewest.err.find("未能"), std::string::npos) << fewest.err;
  auto moved = [](const std::string& json) { return std::stoi(json.substr(json.find("\"moved\":") + 8)); };
  EXPECT_LE(moved(fewest.out), moved(plain.out));
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

// Every refusal of the command line is said in Chinese, naming the argument.
TEST(CliOptions, RefusalsAreChineseAndNameTheArgument) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--bogus"}, "未知的参数“--bogus”"},
      {{"--workbook"}, "--workbook 需要一个值"},
      {{"--workbook="}, "--workbook 需要一个文件名"},
      {{"--json=1"}, "--json 不带值"},
      {{"--power-factor", "x"}, "--power-factor 需要一个数,而不是“x”"},
      {{"--transformers", "2"}, "只能与 --system 一起使用"},
      {{"--system", "s.xls", "--balance"}, "只用于单个配电箱"},
      {{"--system", "s.xls", "--workbook", "a.xls"}, "--workbook 只用于单个配电箱"},
  };
  for (const auto& [arguments, expected] : cases) {
    const CliParse parsed = ParseCliOptions(arguments);
    EXPECT_FALSE(parsed.options) << arguments[0];
    EXPECT_NE(parsed.error.find(expected), std::string::npos) << parsed.error;
  }
}

// openpyxl stores formulas without a computed value: such a power is named,
// never calculated as 0.
TEST(LoadcalcCliFormulas, AFormulaWithoutAValueIsNamedAndNotCalculated) {
  const int found = std::system("/usr/bin/python3 -c 'import openpyxl' 2>/dev/null");
  ASSERT_EQ(found, 0) << "python3-openpyxl is missing: run tools/install-deps.sh";
  ::test::TempFolder folder("loadcalc-cli-formula");
  const std::filesystem::path board = folder.Path() / "board.xlsx";
  const std::string script =
      "import openpyxl, sys\n"
      "book = openpyxl.load_workbook(sys.argv[1])\n"
      "book['线路负荷计算']['C3'] = '=0.6+0.6'\n"
      "book.save(sys.argv[2])\n";
  std::ofstream(folder.Path() / "make.py") << script;
  const std::string make = "/usr/bin/python3 '" + (folder.Path() / "make.py").string() + "' '" + LOADCALC_SOURCE_DIR +
                           "/tests/fixtures/xlsx/sample_board.xlsx' '" + board.string() + "'";
  ASSERT_EQ(std::system(make.c_str()), 0);
  const std::string run = std::string("'") + LOADCALC_CLI + "' --workbook '" + board.string() + "' >/dev/null 2>'" +
                          (folder.Path() / "err.txt").string() + "'";
  const int raw = std::system(run.c_str());
  EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 1);
  const std::string err = ReadFile(folder.Path() / "err.txt");
  EXPECT_NE(err.find("单元格 C3 (=0.6+0.6)"), std::string::npos) << err;
  EXPECT_NE(err.find("打开并保存"), std::string::npos) << err;
}

TEST(CliOptionsOfTheStandardMethod, MethodInputsAndFlags) {
  const CliParse parsed = ParseCliOptions({"--method", "standard", "--kp=0.8", "--kq", "0.9", "--target-pf", "0.95",
                                           "--bank-step", "5", "--no-compensation", "--fewest-moves"});
  ASSERT_TRUE(parsed.options) << parsed.error;
  EXPECT_TRUE(parsed.options->standard);
  EXPECT_EQ(parsed.options->kp, 0.8);
  EXPECT_EQ(parsed.options->kq, 0.9);
  EXPECT_EQ(parsed.options->targetPowerFactor, 0.95);
  EXPECT_EQ(parsed.options->bankStep, 5.0);
  EXPECT_FALSE(parsed.options->compensate);
  EXPECT_TRUE(parsed.options->fewestMoves);
  EXPECT_FALSE(ParseCliOptions({"--method", "jgj"}).options);
  EXPECT_FALSE(ParseCliOptions({"--kp", "x"}).options);
  EXPECT_FALSE(ParseCliOptions({"--fewest-moves=1"}).options);
}

TEST_F(LoadcalcCli, StandardMethodOnTheSampleBoard) {
  const CliRun run = Invoke(OnSample("--method standard --json"));
  ASSERT_EQ(run.status, 0) << run.err;
  const size_t standard = run.out.find("\"standard\":{\"P\":");
  ASSERT_NE(standard, std::string::npos) << run.out;
  for (const char* key : {"\"Q\":", "\"S\":", "\"power_factor\":", "\"current\":", "\"compensation_kvar\":",
                          "\"power_factor_after\":", "\"S_after\":", "\"current_after\":",
                          "\"single_phase_rule\":\"three_times_max\""})
    EXPECT_NE(run.out.find(key, standard), std::string::npos) << key;
  const CliRun table = Invoke(OnSample("--method standard --bank-step 5"));
  ASSERT_EQ(table.status, 0) << table.err;
  EXPECT_NE(table.out.find("视在功率 Sjs (kVA)"), std::string::npos);
  // The original method's output carries no 规范法 object.
  EXPECT_EQ(Invoke(OnSample("--json")).out.find("\"standard\""), std::string::npos);
  const CliRun refused = Invoke(OnSample("--method standard --target-pf 1.2"));
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("目标功率因数必须大于0且不大于1"), std::string::npos);
}

// On the sample board the exhaustive search's answer moves 10 of the 15
// circuits; the same unbalance is reached by moving 4.
TEST_F(LoadcalcCli, FewestMovesOnTheSampleBoard) {
  const CliRun plain = Invoke(OnSample("--balance --json"));
  const CliRun fewest = Invoke(OnSample("--balance --fewest-moves --json"));
  ASSERT_EQ(plain.status, 0) << plain.err;
  ASSERT_EQ(fewest.status, 0) << fewest.err;
  EXPECT_NE(plain.out.find("\"moved\":10,"), std::string::npos) << plain.out;
  EXPECT_NE(fewest.out.find("\"moved\":4,"), std::string::npos) << fewest.out;
  auto unbalance = [](const std::string& json) {
    const size_t at = json.find("\"board\":{");
    return json.substr(json.find("\"unbalance\":", at), 30);
  };
  EXPECT_EQ(unbalance(plain.out), unbalance(fewest.out));
}

// The third sheet as independent readers see it, in both formats.
TEST_F(LoadcalcCli, StandardResultsSheetIsReadByXlrdAndOpenpyxl) {
  const std::string xls = PathIn("规范法.xls").string(), xlsx = PathIn("规范法.xlsx").string();
  ASSERT_EQ(Invoke(OnSample("--method standard --save '" + xls + "'")).status, 0);
  ASSERT_EQ(Invoke(OnSample("--method standard --no-compensation --save '" + xlsx + "'")).status, 0);
  const std::string xlrd = ::test::PythonWithModule("xlrd");
  const std::string openpyxl = ::test::PythonWithModule("openpyxl");
  ASSERT_FALSE(xlrd.empty());
  ASSERT_FALSE(openpyxl.empty());
  int status = -1;
  const std::string fromXls = ::test::RunCommand(
      xlrd + " -c \"import sys, xlrd; b = xlrd.open_workbook(sys.argv[1]); print(b.sheet_names());"
             " s = b.sheet_by_name('规范法计算结果'); print(s.row_values(1)); print(s.row_values(14))\" '" + xls + "'",
      &status);
  ASSERT_EQ(status, 0) << fromXls;
  EXPECT_NE(fromXls.find("['各回路负荷计算结果', '总回路参数计算结果', '规范法计算结果']"), std::string::npos) << fromXls;
  EXPECT_NE(fromXls.find("['计算方法', '规范法']"), std::string::npos) << fromXls;
  EXPECT_NE(fromXls.find("单相负荷超过三相负荷的15%,取最大相负荷的3倍"), std::string::npos) << fromXls;
  const std::string fromXlsx = ::test::RunCommand(
      openpyxl + " -c \"import sys, openpyxl; b = openpyxl.load_workbook(sys.argv[1]); print(b.sheetnames);"
                 " print([c.value for c in b['规范法计算结果'][5]])\" '" + xlsx + "'",
      &status);
  ASSERT_EQ(status, 0) << fromXlsx;
  EXPECT_NE(fromXlsx.find("'规范法计算结果'"), std::string::npos) << fromXlsx;
  EXPECT_NE(fromXlsx.find("['目标功率因数', '不补偿']"), std::string::npos) << fromXlsx;
}

}  // namespace

TEST_F(LoadcalcCli, BoardNumbersOutsideTheirRangeAreRefusedSayingTheRange) {
  for (const char* coefficient : {"1e39", "-1", "3", "0"}) {
    const CliRun run = Invoke(OnSample(std::string("--demand-coefficient ") + coefficient));
    EXPECT_EQ(run.status, 2) << coefficient;
    EXPECT_NE(run.err.find("--demand-coefficient 需要大于0且不大于1的数,而不是“" + std::string(coefficient) + "”"),
              std::string::npos)
        << run.err;
  }
  const CliRun tiny = Invoke(OnSample("--time-limit 1e-50 --balance"));
  EXPECT_EQ(tiny.status, 2);
  EXPECT_NE(tiny.err.find("--time-limit 需要0.001 到 86400 之间的秒数"), std::string::npos) << tiny.err;
  EXPECT_EQ(Invoke(OnSample("--demand-coefficient 1 --time-limit 0.001")).status, 0);
}

TEST_F(LoadcalcCli, CircuitsWithNonsenseAreNamedOneLineEach) {
  const Rows rows = {{"WL1", "L1", "abc", "0.8", "0.9", ""},
                     {"", "", "", "", "", ""},
                     {"WL2", "L2", "-3", "x", "0.9", ""},
                     {"WL3", "L3", "2", "1", "0.9", ""}};
  xls::Workbook book;
  book.AddSheet(u"线路负荷计算", WithHeader({"线路编号", "相别", "设备功率", "需要系数", "功率因数", "备注"}, rows));
  book.AddSheet(u"开关型号库", WithHeader({"型号", "额定电流"}, {{"C63", "63"}}));
  ASSERT_TRUE(book.Save(PathIn("bad.xls").string()).ok());
  const CliRun run = Invoke("--workbook '" + PathIn("bad.xls").string() + "' --json");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("以下3处回路数据不合法"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("\n回路 WL1 的设备功率:“abc”\n回路 WL2 的设备功率:“-3”\n回路 WL2 的需要系数:“x”\n"),
            std::string::npos)
      << run.err;
  // The empty row is no circuit.
  EXPECT_NE(run.out.find("[\"WL3\""), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("[\"\",\"\","), std::string::npos) << run.out;
}

TEST_F(LoadcalcCli, BalanceListsTheMovedCircuits) {
  WriteBoard(PathIn("board.xls"), 6);
  const CliRun run = Invoke("--workbook '" + PathIn("board.xls").string() + "' --balance");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("loadcalc-cli: 移动回路 WL"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find(": L1 → L"), std::string::npos) << run.err;
}
