// A workbook written by the component opens in an independent reader with
// the same texts.
#include "freexl_text_cells.h"
#include "sheet_test_support.h"

namespace {

std::vector<Row> ReadWithFreeXL(const std::string& path, const std::string& sheetName) {
  std::vector<Row> rows;
  const bool opened = VisitTextCellsWithFreeXL(path, sheetName, [&](unsigned, unsigned short column, const char* text) {
    if (column == 0) rows.emplace_back();
    rows.back().push_back(text ? text : "");
  });
  if (!opened) return {{"(FreeXL cannot open the file)"}};
  return rows;
}

}  // namespace

TEST_F(SheetTest, WrittenWorkbookOpensInFreeXLWithTheSameTexts) {
  {
    CSpreadSheet sheet(Path("results.xls"), "\xb8\xf7\xbb\xd8\xc2\xb7", false);  // 各回路
    sheet.BeginTransaction();
    CStringArray header = Values({"\xbb\xd8\xc2\xb7", "P"});  // 回路
    ASSERT_TRUE(sheet.AddHeaders(header));
    CStringArray row = Values({"WL1", "0.850000"});
    ASSERT_TRUE(sheet.AddRow(row));
    CStringArray gap = Values({"WL3", "it's"});
    ASSERT_TRUE(sheet.AddRow(gap, 4));
    ASSERT_TRUE(sheet.Commit()) << sheet.GetLastErrorText().str();
  }
  EXPECT_EQ(ReadWithFreeXL(m_dir + "/results.xls", "\xe5\x90\x84\xe5\x9b\x9e\xe8\xb7\xaf"),
            (std::vector<Row>{{"\xe5\x9b\x9e\xe8\xb7\xaf", "P"}, {"WL1", "0.850000"}, {" ", " "}, {"WL3", "it's"}}));
}
