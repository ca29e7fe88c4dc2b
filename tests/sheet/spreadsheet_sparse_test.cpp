// Rows whose last values are empty: they read back with every column of the
// sheet, and they are written naming only the cells that hold a value.
#include <map>
#include <utility>

#include "freexl_text_cells.h"
#include "sheet_test_support.h"

namespace {

using Statements = std::vector<std::string>;
using Cells = std::map<std::pair<unsigned, unsigned>, std::string>;

// The cells of one sheet that hold a text, read by an independent reader (UTF-8).
Cells TextCellsWithFreeXL(const std::string& path, const std::string& sheetName) {
  Cells cells;
  const bool opened = VisitTextCellsWithFreeXL(path, sheetName, [&](unsigned row, unsigned short column, const char* text) {
    if (text) cells[{row, column}] = text;
  });
  if (!opened) return {{{0, 0}, "(FreeXL cannot open the file)"}};
  return cells;
}

Row Padded(Row values, size_t width) {
  values.resize(width);
  return values;
}

}  // namespace

// A workbook made by another program that holds only the cells A1 and
// IV65536: every row reads with all 256 columns, and the backup sheet holds
// the same cells under the same header row.
TEST_F(SheetTest, SheetHoldingOnlyItsCornerCellsReadsWholeAndItsBackupHoldsTheSameCells) {
  const std::string file = m_dir + "/sparse.xls";
  std::filesystem::copy_file(std::filesystem::path(LOADCALC_SOURCE_DIR) / "tests/fixtures/xls/xlwt_sparse.xls", file);
  const char* circuits = "\xcf\xdf\xc2\xb7\xb8\xba\xba\xc9\xbc\xc6\xcb\xe3";  // 线路负荷计算
  CSpreadSheet sheet(CString(file), circuits, true);
  EXPECT_EQ(sheet.GetLastErrorText().str(), "");
  ASSERT_EQ(sheet.GetTotalRows(), 65536);

  const Row header = Read(sheet, 1);
  ASSERT_EQ(header.size(), 256u);
  EXPECT_EQ(header[0], "\xbb\xd8\xc2\xb7\xb1\xe0\xba\xc5");  // 回路编号
  EXPECT_EQ(header[1], "F2");
  EXPECT_EQ(header[255], "F256");
  EXPECT_EQ(Read(sheet, 2), Row(256, ""));
  EXPECT_EQ(Read(sheet, 40000), Row(256, ""));
  Row corner(256, "");
  corner[255] = "corner";
  EXPECT_EQ(Read(sheet, 65536), corner);
  CStringArray values;
  EXPECT_FALSE(sheet.ReadRow(values, 0)) << "row 65536 was the last";

  // One statement for the one data row holding a value, in its place.
  ASSERT_EQ(m_statements.size(), 3u);
  const std::string& insert = m_statements[2];
  EXPECT_EQ(insert.rfind("INSERT INTO [CSpreadSheetBackup$A1:IV65535] ([\xbb\xd8\xc2\xb7\xb1\xe0\xba\xc5], [F2], ", 0), 0u)
      << insert;
  EXPECT_NE(insert.find("[F256]) VALUES ('', ''"), std::string::npos) << insert;
  EXPECT_EQ(insert.substr(insert.size() - 13), "'', 'corner')");

  Cells expected;
  expected[{0, 0}] = "\xe5\x9b\x9e\xe8\xb7\xaf\xe7\xbc\x96\xe5\x8f\xb7";  // 回路编号
  for (unsigned c = 1; c < 256; ++c) expected[{0, c}] = "F" + std::to_string(c + 1);
  expected[{65535, 255}] = "corner";
  EXPECT_EQ(TextCellsWithFreeXL(file, "CSpreadSheetBackup"), expected);
  // The sheet read is left as it was.
  CSpreadSheet again(CString(file), circuits, false);
  ASSERT_EQ(again.GetTotalRows(), 65536);
  EXPECT_EQ(Read(again, 1), header);
  EXPECT_EQ(Read(again, 65535), Row(256, ""));
  EXPECT_EQ(Read(again, 65536), corner);
}

// Loaded rows keep their width through inserting, replacing and widening the
// table, and a commit writes each value in its cell.
TEST_F(SheetTest, RowsEndingInEmptyValuesKeepTheirWidthThroughChangesAndWrites) {
  {
    CSpreadSheet sheet(Path("trail.xls"), "S", false);
    sheet.BeginTransaction();
    CStringArray header = Values({"a", "b", "c"});
    ASSERT_TRUE(sheet.AddHeaders(header));
    for (const Row& row : std::vector<Row>{{"1", "", ""}, {"", "", ""}, {"", "2", ""}, {"x", "y", "z"}}) {
      CStringArray values = Values(row);
      ASSERT_TRUE(sheet.AddRow(values));
    }
    m_statements.clear();
    ASSERT_TRUE(sheet.Commit()) << sheet.GetLastErrorText().str();
    EXPECT_EQ(m_statements, (Statements{"CREATE TABLE [S] ([a] char(255), [b] char(255), [c] char(255))",
                                        "INSERT INTO [S$A1:IV1] ([a]) VALUES ('1')",
                                        "INSERT INTO [S$A1:IV3] ([a], [b]) VALUES ('', '2')",
                                        "INSERT INTO [S$A1:IV4] ([a], [b], [c]) VALUES ('x', 'y', 'z')"}));
  }
  CSpreadSheet sheet(Path("trail.xls"), "S", false);
  ASSERT_EQ(AllRows(sheet), (std::vector<Row>{{"a", "b", "c"}, {"1", "", ""}, {"", "", ""}, {"", "2", ""}, {"x", "y", "z"}}));

  sheet.BeginTransaction();
  CStringArray inserted = Values({"new"});
  ASSERT_TRUE(sheet.AddRow(inserted, 3, false));  // before the empty row
  CStringArray replaced = Values({"r"});
  ASSERT_TRUE(sheet.AddRow(replaced, 2, true));  // the row that was 1, "", ""
  CStringArray wider = Values({"d"});
  ASSERT_TRUE(sheet.AddHeaders(wider, false));
  CStringArray appended = Values({"", "", "", "4"});
  ASSERT_TRUE(sheet.AddRow(appended));
  const std::vector<Row> held = {{"a", "b", "c", "d"}, {"r"},         {"new"},  {"", "", ""},
                                 {"", "2", ""},        {"x", "y", "z"}, {"", "", "", "4"}};
  EXPECT_EQ(AllRows(sheet), held);

  ASSERT_TRUE(sheet.Commit()) << sheet.GetLastErrorText().str();
  CSpreadSheet again(Path("trail.xls"), "S", false);
  std::vector<Row> written;
  for (const Row& row : held) written.push_back(Padded(row, 4));
  EXPECT_EQ(AllRows(again), written);
}
