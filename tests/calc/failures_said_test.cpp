// Every failure to read the input workbook is said, naming the file, the
// sheet and the reason; nothing is taken silently for an empty board or a
// library in which no switch fits.
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <fstream>

#include "calc/problem_texts.h"
#include "sheet/spreadsheet.h"
#include "workbook_fixture.h"
#include "../support/files_and_commands.h"

namespace {

const Rows kCircuits = {{"WL1", "L1", "3", "0.8", "0.85", "照明"}, {"WL2", "L2", "4", "0.8", "0.85", "插座"}};

bool Holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::vector<std::string> SheetNames(const std::string& path) {
  std::vector<std::string> names;
  for (const auto& [name, rows] : ReadWorkbookBack(path)) names.push_back(name);
  return names;
}

class FailuresSaid : public WorkbookTest {
 protected:
  // A copy of the .xlsx board in which `part` holds `content` (or is left
  // out when `content` is empty); false when no Python is there to make it.
  bool XlsxBoardWithPart(const std::string& part, const std::string& content) {
    const std::string python = test::PythonWithModule("zipfile");
    if (python.empty()) return false;
    const std::string source = std::string(LOADCALC_SOURCE_DIR) + "/tests/fixtures/xlsx/sample_board.xlsx";
    const std::string script =
        "import sys, zipfile\n"
        "src, dst, part, content = sys.argv[1:5]\n"
        "with zipfile.ZipFile(src) as a, zipfile.ZipFile(dst, 'w', zipfile.ZIP_DEFLATED) as b:\n"
        "    for item in a.infolist():\n"
        "        if item.filename != part: b.writestr(item, a.read(item.filename))\n"
        "    if content: b.writestr(part, content)\n";
    std::ofstream(PathIn("make_board.py")) << script;
    int status = -1;
    test::RunCommand(python + " '" + PathIn("make_board.py") + "' '" + source + "' '" + PathIn("board.xlsx") + "' '" +
                         part + "' '" + content + "'",
                     &status);
    core.SetWorkbookPath(Cp936(PathIn("board.xlsx")));
    return status == 0;
  }
};

TEST_F(FailuresSaid, AWorkbookWithoutTheSwitchLibraryIsSaidNotShownAsNoSwitch) {
  WriteInput(kCircuits, {});
  ASSERT_TRUE(core.ReadCircuits());
  EXPECT_FALSE(core.Calculate());
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_TRUE(Holds(host.messages[0], "工作簿中没有工作表“开关型号库”")) << host.messages[0];
  EXPECT_TRUE(Holds(host.messages[0], InputPath())) << host.messages[0];
  EXPECT_EQ(switches.GetCount(), 0);
}

TEST_F(FailuresSaid, AWorkbookWithoutTheCircuitSheetIsSaid) {
  WriteInput({}, kSmallLibrary);
  EXPECT_FALSE(core.ReadCircuits());
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_TRUE(Holds(host.messages[0], "工作簿中没有工作表“线路负荷计算”")) << host.messages[0];
  EXPECT_TRUE(Holds(host.messages[0], InputPath())) << host.messages[0];
}

TEST_F(FailuresSaid, MissingFilesAndFoldersAreNamedForWhatTheyAre) {
  EXPECT_FALSE(core.ReadCircuits());
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], "找不到工作簿 " + InputPath());

  std::filesystem::create_directory(InputPath());
  EXPECT_FALSE(core.ReadCircuits());
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_TRUE(Holds(host.messages[1], "这是一个文件夹")) << host.messages[1];
  EXPECT_FALSE(Holds(host.messages[1], "找不到")) << host.messages[1];
}

TEST_F(FailuresSaid, AnEmptyCircuitSheetIsSaidAtReadingAndAtCalculating) {
  xls::Workbook book;
  book.AddSheet(u"线路负荷计算", WithHeader({"线路编号", "相别", "设备功率", "需要系数", "功率因数", "备注"}, {}));
  book.AddSheet(u"开关型号库", WithHeader({"型号", "额定电流"}, kSmallLibrary));
  ASSERT_TRUE(book.Save(InputPath()).ok());
  EXPECT_TRUE(core.ReadCircuits());
  EXPECT_FALSE(core.Calculate());
  const std::string noCircuits = "工作表“线路负荷计算”中没有回路\n文件: " + InputPath();
  EXPECT_EQ(host.messages, (std::vector<std::string>{noCircuits, noCircuits}));

  // Before any reading the list is empty for another reason.
  core.ResetCircuitList();
  EXPECT_FALSE(core.Calculate());
  EXPECT_EQ(host.messages.back(), "请首先读入数据文件!");
}

// Two columns headed 备注 cannot be written as a sheet: the circuit sheet
// has no backup, and the switch lookups must not put the library there.
TEST_F(FailuresSaid, TheBackupHoldsOnlyTheCircuitSheetAndItsFailureIsSaidOnce) {
  xls::Workbook book;
  book.AddSheet(u"线路负荷计算", WithHeader({"线路编号", "相别", "设备功率", "需要系数", "功率因数", "备注", "备注"},
                                            kCircuits));
  book.AddSheet(u"开关型号库", WithHeader({"型号", "额定电流"}, kSmallLibrary));
  ASSERT_TRUE(book.Save(InputPath()).ok());
  ASSERT_TRUE(core.ReadCircuits());
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_TRUE(Holds(host.messages[0], "CSpreadSheetBackup")) << host.messages[0];
  EXPECT_TRUE(Holds(host.messages[0], "计算照常进行")) << host.messages[0];
  EXPECT_TRUE(Holds(host.messages[0], InputPath())) << host.messages[0];

  ASSERT_TRUE(core.ReadCircuits());
  EXPECT_TRUE(core.Calculate());
  EXPECT_EQ(host.messages.size(), 1u) << host.messages.back();
  EXPECT_EQ(Cell(0, 7), "C16;C32;C63;MCCB-125;");
  EXPECT_EQ(SheetNames(InputPath()), (std::vector<std::string>{"线路负荷计算", "开关型号库"}));
}

TEST_F(FailuresSaid, AReadOnlyWorkbookIsReadAndCalculatedWithoutItsBackupSaidOnce) {
  WriteInput(kCircuits, kSmallLibrary);
  std::filesystem::permissions(InputPath(), std::filesystem::perms(0444));
  ASSERT_TRUE(core.ReadCircuits());
  ASSERT_TRUE(core.ReadCircuits());
  EXPECT_TRUE(core.Calculate());
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_TRUE(Holds(host.messages[0], "文件是只读的")) << host.messages[0];
  EXPECT_EQ(SheetNames(InputPath()), (std::vector<std::string>{"线路负荷计算", "开关型号库"}));

  // Another workbook is another backup: its failure is said again.
  std::filesystem::copy_file(InputPath(), PathIn("other.xls"));
  core.SetWorkbookPath(Cp936(PathIn("other.xls")));
  ASSERT_TRUE(core.ReadCircuits());
  EXPECT_EQ(host.messages.size(), 2u);
}

// A sheet part that is not well-formed XML: the message names the sheet,
// the file and the reason, whichever of the two sheets it is.
TEST_F(FailuresSaid, AnUnreadableSheetIsSaidWithFileSheetAndReason) {
  for (const bool library : {true, false}) {
    host.messages.clear();
    const std::string part = library ? "xl/worksheets/sheet2.xml" : "xl/worksheets/sheet1.xml";
    ASSERT_TRUE(XlsxBoardWithPart(part, "<worksheet><sheetData><row>")) << "python3 is missing: run tools/install-deps.sh";
    // The circuit sheet is read first; a broken library stops the calculation.
    EXPECT_EQ(core.ReadCircuits(), library);
    if (library) {
      EXPECT_FALSE(core.Calculate());
    }
    ASSERT_EQ(host.messages.size(), 1u) << part;
    const std::string sheet = library ? "开关型号库" : "线路负荷计算";
    EXPECT_TRUE(Holds(host.messages[0], "无法读取工作表“" + sheet + "”")) << host.messages[0];
    EXPECT_TRUE(Holds(host.messages[0], PathIn("board.xlsx"))) << host.messages[0];
    EXPECT_TRUE(Holds(host.messages[0], "文件已损坏")) << host.messages[0];
  }
}

TEST_F(FailuresSaid, ABackupThatCannotBeWrittenIntoThePackageIsSaidAndTheCalculationGoesOn) {
  ASSERT_TRUE(XlsxBoardWithPart("[Content_Types].xml", "")) << "python3 is missing: run tools/install-deps.sh";
  ASSERT_TRUE(core.ReadCircuits()) << host.messages.front();
  EXPECT_TRUE(core.Calculate()) << host.messages.back();
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_TRUE(Holds(host.messages[0], "CSpreadSheetBackup")) << host.messages[0];
}

// Every kind of error the workbook layers report has its own Chinese words;
// the English detail only follows them.
TEST(ProblemTexts, EveryKindIsSaidInChineseWithTheDetailAfterIt) {
  using xls::ErrorKind;
  std::vector<std::string> seen;
  for (ErrorKind kind : {ErrorKind::Failed, ErrorKind::NotFound, ErrorKind::Syntax, ErrorKind::NoSuchSheet,
                         ErrorKind::SheetExists, ErrorKind::NotAWorkbook, ErrorKind::IsFolder,
                         ErrorKind::NotRegularFile, ErrorKind::AccessDenied, ErrorKind::ReadOnly, ErrorKind::InUse,
                         ErrorKind::DiskFull}) {
    const std::string text = ToUtf8(calc_text::Reason(xls::MakeError("detail", kind)));
    EXPECT_GT(static_cast<unsigned char>(text[0]), 0x7F) << text;
    EXPECT_TRUE(text.ends_with(" (detail)")) << text;
    seen.push_back(text);
  }
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(std::unique(seen.begin(), seen.end()), seen.end());
  EXPECT_EQ(xls::KindOfSystemError(EACCES), ErrorKind::AccessDenied);
  EXPECT_EQ(ToUtf8(calc_text::Reason(xls::MakeError("", xls::KindOfSystemError(ENOSPC)))), "磁盘空间不足");
}

}  // namespace
