// A workbook written by the component opens in an independent reader with
// the same texts.
#include <freexl.h>

#include "sheet_test_support.h"

namespace {

std::vector<Row> ReadWithFreeXL(const std::string& path, const std::string& sheetName) {
  const void* handle = nullptr;
  if (freexl_open(path.c_str(), &handle) != FREEXL_OK) return {{"(FreeXL cannot open the file)"}};
  std::vector<Row> rows;
  unsigned int sheets = 0;
  freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &sheets);
  for (unsigned short s = 0; s < sheets; ++s) {
    const char* name = nullptr;
    freexl_get_worksheet_name(handle, s, &name);
    if (name == nullptr || sheetName != name) continue;
    freexl_select_active_worksheet(handle, s);
    unsigned int rowCount = 0;
    unsigned short columnCount = 0;
    freexl_worksheet_dimensions(handle, &rowCount, &columnCount);
    for (unsigned int r = 0; r < rowCount; ++r) {
      Row row;
      for (unsigned short c = 0; c < columnCount; ++c) {
        FreeXL_CellValue cell;
        freexl_get_cell_value(handle, r, c, &cell);
        const bool text = cell.type == FREEXL_CELL_TEXT || cell.type == FREEXL_CELL_SST_TEXT;
        row.push_back(text ? cell.value.text_value : "");
      }
      rows.push_back(row);
    }
  }
  freexl_close(handle);
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
