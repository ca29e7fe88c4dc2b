// The results workbook as independent programs read it: quantities are
// numeric cells holding the value their text shows, labels and free text
// stay text (python3-xlrd for .xls, python3-openpyxl for .xlsx, LibreOffice
// for both).
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>
#include <tuple>

#include "calc/calc_texts.h"
#include "calc/cell_numbers.h"
#include "workbook_fixture.h"
#include "../support/files_and_commands.h"

namespace {

// One cell as a reader saw it: 'N' and its value, or 'T' and its text.
struct SeenCell {
  char kind = '?';
  std::string text;
  double number = 0;
};
// By sheet name, row and column (0-based).
using SeenCells = std::map<std::tuple<std::string, int, int>, SeenCell>;

// Each reader prints one line per non-empty cell: sheet, row, column, N or T, value.
SeenCells ParseSeen(const std::string& lines) {
  SeenCells cells;
  std::istringstream in(lines);
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line);
    std::string sheet, row, column, kind, value;
    std::getline(fields, sheet, '\t');
    std::getline(fields, row, '\t');
    std::getline(fields, column, '\t');
    std::getline(fields, kind, '\t');
    std::getline(fields, value);
    SeenCell cell{kind.empty() ? '?' : kind[0], value, kind == "N" ? std::strtod(value.c_str(), nullptr) : 0};
    cells[{sheet, std::stoi(row), std::stoi(column)}] = cell;
  }
  return cells;
}

constexpr const char* kXlrdScript =
    "import sys, xlrd\n"
    "book = xlrd.open_workbook(sys.argv[1])\n"
    "for s in book.sheets():\n"
    "    for r in range(s.nrows):\n"
    "        for c, cell in enumerate(s.row(r)):\n"
    "            if cell.ctype == xlrd.XL_CELL_NUMBER: print(s.name, r, c, 'N', repr(cell.value), sep='\\t')\n"
    "            elif cell.ctype == xlrd.XL_CELL_TEXT: print(s.name, r, c, 'T', cell.value, sep='\\t')\n"
    "            elif cell.ctype != xlrd.XL_CELL_EMPTY: print(s.name, r, c, '?', cell.ctype, sep='\\t')\n";

constexpr const char* kOpenpyxlScript =
    "import sys, openpyxl\n"
    "book = openpyxl.load_workbook(sys.argv[1])\n"
    "for s in book.worksheets:\n"
    "    for row in s.iter_rows():\n"
    "        for cell in row:\n"
    "            v = cell.value\n"
    "            if v is None: continue\n"
    "            kind = 'N' if type(v) in (int, float) else 'T' if type(v) is str else '?'\n"
    "            print(s.title, cell.row - 1, cell.column - 1, kind, repr(float(v)) if kind == 'N' else v, sep='\\t')\n";

// LibreOffice writes each sheet to "<name>-<sheet>.csv", text cells quoted.
constexpr const char* kCsvScript =
    "import csv, glob, os, sys\n"
    "for path in sorted(glob.glob(os.path.join(sys.argv[1], '*.csv'))):\n"
    "    sheet = os.path.basename(path)[:-4].split('-', 1)[1]\n"
    "    lines = open(path, encoding='utf-8').read().splitlines()\n"
    "    for r, line in enumerate(lines):\n"
    "        for c, field in enumerate(next(csv.reader([line], quoting=csv.QUOTE_NONE))):\n"
    "            if field == '': continue\n"
    "            if field.startswith('\"'): print(sheet, r, c, 'T', field.strip('\"'), sep='\\t')\n"
    "            else: print(sheet, r, c, 'N', repr(float(field)), sep='\\t')\n";

class SavedNumbers : public WorkbookTest {
 protected:
  std::string RunScript(const std::string& module, const char* script, const std::string& argument) {
    const std::string python = ::test::PythonWithModule(module);
    if (python.empty()) {
      ADD_FAILURE() << "python3-" << module << " is missing: run tools/install-deps.sh";
      return {};
    }
    const std::string path = PathIn(module + "_dump.py");
    std::ofstream(path) << script;
    int status = 0;
    const std::string out =
        ::test::RunCommand("PYTHONIOENCODING=utf-8 " + python + " '" + path + "' '" + argument + "'", &status);
    EXPECT_EQ(status, 0) << module << " could not read " << argument;
    return out;
  }

  // LibreOffice's CSV of every sheet, text cells quoted, in a private folder.
  std::string ConvertedBySoffice(const std::string& workbook) {
    int status = 0;
    ::test::RunCommand("command -v soffice >/dev/null 2>&1", &status);
    if (status != 0) {
      ADD_FAILURE() << "LibreOffice (soffice) is missing: run tools/install-deps.sh";
      return {};
    }
    const std::string folder = PathIn("soffice");
    ::test::RunCommand("HOME='" + folder + "' soffice --headless --convert-to "
                       "'csv:Text - txt - csv (StarCalc):44,34,76,1,,0,true,true,false,false,false,-1' --outdir '" +
                           folder + "/out' '" + workbook + "' >/dev/null 2>&1",
                       &status);
    EXPECT_EQ(status, 0) << "soffice could not convert " << workbook;
    return RunScript("csv", kCsvScript, folder + "/out");
  }

  // A board whose 线路编号 look like numbers: they are labels and stay text.
  void CalculateBoard() {
    WriteInput({{"1", "L1", "12", "0.8", "0.85", "5"}, {"007", "L2", "3", "1", "0.9", "照明"},
                {"WL3", "L3", "1.5", "0.75", "0.8", ""}},
               kSmallLibrary);
    ASSERT_TRUE(core.ReadCircuits());
    ASSERT_TRUE(core.Calculate());
  }

  // Every cell as the list and the board show it: the quantities numeric
  // with the value of their text, everything else the same text.
  void ExpectTheResults(const SeenCells& seen, const std::string& reader) {
    const std::string circuits = ToUtf8(calc_text::CircuitResultsSheet());
    const std::string board = ToUtf8(calc_text::BoardResultsSheet());
    const std::vector<std::string> headers = Headers();
    ASSERT_EQ(headers.size(), 9u) << reader;
    for (int column = 0; column < 9; ++column) ExpectText(seen, {circuits, 0, column}, headers[column], reader);
    for (int row = 0; row < list.GetItemCount(); ++row) {
      for (int column = 0; column < 9; ++column) {
        const std::string text = Cell(row, column);
        const bool quantity = column >= 2 && column <= 6;
        if (text.empty()) {
          EXPECT_EQ(seen.count({circuits, row + 1, column}), 0u) << reader << " row " << row << " column " << column;
        } else if (quantity) {
          ExpectNumber(seen, {circuits, row + 1, column}, text, reader);
        } else {
          ExpectText(seen, {circuits, row + 1, column}, text, reader);
        }
      }
    }
    const float values[] = {core.m_fL1, core.m_fL2, core.m_fL3, core.m_fUnbalance, core.m_fEquipPower,
                            core.m_fCalcPower, core.m_fPowerFactor, core.m_fDemandCoef, core.m_fCurrent};
    ExpectText(seen, {board, 0, 1}, ToUtf8(calc_text::ParameterValue()), reader);
    for (int row = 0; row < 9; ++row) ExpectNumber(seen, {board, row + 1, 1}, FormatFixed(values[row]).str(), reader);
    ExpectText(seen, {board, 10, 0}, ToUtf8(calc_text::BoardSwitches()), reader);
    ASSERT_EQ(seen.count({board, 10, 1}), 1u) << reader;
    EXPECT_EQ(seen.at({board, 10, 1}).kind, 'T') << reader << ": the board's switches are text";
  }

  // Saves the results as `name`; the reader `module` and LibreOffice check them.
  void SaveAndCheck(const std::string& name, const std::string& module, const char* script) {
    CalculateBoard();
    const std::string out = PathIn(name);
    ASSERT_TRUE(core.SaveResults(Cp936(out)));
    ExpectTheResults(ParseSeen(RunScript(module, script, out)), module);
    ExpectTheResults(ParseSeen(ConvertedBySoffice(out)), "LibreOffice");
  }

  static void ExpectText(const SeenCells& seen, const std::tuple<std::string, int, int>& at, const std::string& text,
                         const std::string& reader) {
    const auto found = seen.find(at);
    ASSERT_NE(found, seen.end()) << reader << ": no cell " << std::get<1>(at) << "," << std::get<2>(at);
    EXPECT_EQ(found->second.kind, 'T') << reader << ": " << text;
    EXPECT_EQ(found->second.text, text) << reader;
  }

  static void ExpectNumber(const SeenCells& seen, const std::tuple<std::string, int, int>& at, const std::string& text,
                           const std::string& reader) {
    const auto found = seen.find(at);
    ASSERT_NE(found, seen.end()) << reader << ": no cell " << std::get<1>(at) << "," << std::get<2>(at);
    EXPECT_EQ(found->second.kind, 'N') << reader << ": " << text << " read as " << found->second.text;
    EXPECT_EQ(found->second.number, std::strtod(text.c_str(), nullptr)) << reader << ": " << text;
  }
};

TEST_F(SavedNumbers, XlrdAndLibreOfficeReadTheXlsResultsNumbersAsNumbers) {
  SaveAndCheck("结果.xls", "xlrd", kXlrdScript);
}

TEST_F(SavedNumbers, OpenpyxlAndLibreOfficeReadTheXlsxResultsNumbersAsNumbers) {
  SaveAndCheck("结果.xlsx", "openpyxl", kOpenpyxlScript);
}

// The designer's own workbook keeps texts, the backup sheet that reading
// writes into it included: it holds the circuit sheet as it was.
TEST_F(SavedNumbers, TheInputWorkbookAndItsBackupStayText) {
  CalculateBoard();
  ASSERT_TRUE(core.SaveResults(Cp936(PathIn("结果.xls"))));
  const SeenCells seen = ParseSeen(RunScript("xlrd", kXlrdScript, InputPath()));
  bool backup = false;
  for (const auto& [at, cell] : seen) {
    backup = backup || std::get<0>(at) == "CSpreadSheetBackup";
    EXPECT_EQ(cell.kind, 'T') << std::get<0>(at) << " " << cell.text;
  }
  EXPECT_TRUE(backup) << "reading the circuits writes the backup sheet";
}

}  // namespace
