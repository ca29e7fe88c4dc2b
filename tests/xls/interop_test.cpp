// Workbooks written by the engine, opened by independent readers: FreeXL,
// python3-xlrd and Gnumeric's ssconvert.
#include <freexl.h>
#include <gtest/gtest.h>

#include "test_support.h"
#include "xls/workbook.h"

namespace xls {
namespace {

using test::MakeGrid;
using test::Utf16;
using test::Utf8;

// What FreeXL sees in a file: per sheet its name and its texts, row by row.
struct FreexlView {
  std::vector<std::string> names;
  std::vector<std::vector<std::vector<std::string>>> sheets;
};

std::string FreexlText(const FreeXL_CellValue& value) {
  switch (value.type) {
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT: return value.value.text_value;
    case FREEXL_CELL_INT: return std::to_string(value.value.int_value);
    default: return "";
  }
}

FreexlView ReadWithFreexl(const std::string& path) {
  FreexlView view;
  const void* handle = nullptr;
  EXPECT_EQ(freexl_open(path.c_str(), &handle), FREEXL_OK);
  if (!handle) return view;
  unsigned int count = 0;
  freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &count);
  for (unsigned short s = 0; s < count; ++s) {
    const char* name = nullptr;
    freexl_get_worksheet_name(handle, s, &name);
    view.names.push_back(name ? name : "");
    freexl_select_active_worksheet(handle, s);
    unsigned int rows = 0;
    unsigned short columns = 0;
    freexl_worksheet_dimensions(handle, &rows, &columns);
    auto& sheet = view.sheets.emplace_back(rows, std::vector<std::string>(columns));
    for (unsigned int r = 0; r < rows; ++r)
      for (unsigned short c = 0; c < columns; ++c) {
        FreeXL_CellValue value;
        if (freexl_get_cell_value(handle, r, c, &value) == FREEXL_OK) sheet[r][c] = FreexlText(value);
      }
  }
  freexl_close(handle);
  return view;
}

Grid ShortStringsWorkbookCells() {
  Grid cells = MakeGrid({{"回路编号", "相别", "设备功率", "", "备注"}, {"1", "L1", "0.85", "", "照明"}, {}, {"", "", "", "D4"}});
  // A long one-byte text forces the shared string table over CONTINUE records.
  cells.push_back({std::u16string(10000, u'a')});
  for (int i = 0; i < 300; ++i) cells.push_back({Utf16("回路" + std::to_string(i)), Utf16(std::to_string(i))});
  return cells;
}

class Interop : public ::testing::Test {
 protected:
  void SetUp() override {
    Workbook book;
    book.AddSheet(u"线路负荷计算", ShortStringsWorkbookCells());
    book.AddSheet(u"开关型号库", MakeGrid({{"C65N", "6", "10"}, {"NSX100", "16"}}));
    auto saved = book.Save(m_path);
    ASSERT_TRUE(saved.ok()) << saved.error().text;
  }

  test::TempFolder m_folder;
  std::string m_path = m_folder.path("written.xls").string();
};

TEST_F(Interop, FreexlReadsSheetsAndTexts) {
  FreexlView view = ReadWithFreexl(m_path);
  ASSERT_EQ(view.names, (std::vector<std::string>{"线路负荷计算", "开关型号库"}));
  const Grid expected = ShortStringsWorkbookCells();
  ASSERT_EQ(view.sheets[0].size(), expected.size());
  for (size_t r = 0; r < expected.size(); ++r)
    for (size_t c = 0; c < expected[r].size(); ++c) EXPECT_EQ(view.sheets[0][r][c], Utf8(expected[r][c])) << r << "," << c;
  EXPECT_EQ(view.sheets[1][1][0], "NSX100");
}

TEST_F(Interop, XlrdReadsSheetsAndTexts) {
  const std::string python = test::PythonWithXlrd();
  ASSERT_FALSE(python.empty()) << "python3-xlrd is missing: run tools/install-deps.sh";
  int status = 0;
  const std::string output = test::RunCommand(
      python + " -c 'import sys, xlrd\n"
               "book = xlrd.open_workbook(sys.argv[1])\n"
               "for sheet in book.sheets():\n"
               "    print(sheet.name, sheet.nrows, sheet.ncols)\n"
               "    print(\"|\".join(sheet.row_values(0)))\n"
               "print(len(book.sheet_by_index(0).cell_value(4, 0)), book.sheet_by_index(0).cell_value(304, 0))' " +
          m_path,
      &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(output,
            "线路负荷计算 305 5\n回路编号|相别|设备功率||备注\n"
            "开关型号库 2 3\nC65N|6|10\n"
            "10000 回路299\n");
}

TEST_F(Interop, SsconvertConvertsEverySheetToCsv) {
  int status = 0;
  test::RunCommand("command -v ssconvert >/dev/null", &status);
  ASSERT_EQ(status, 0) << "ssconvert is missing: run tools/install-deps.sh";
  const std::string pattern = m_folder.path("sheet-%n.csv").string();
  test::RunCommand("ssconvert -S --export-type=Gnumeric_stf:stf_csv '" + m_path + "' '" + pattern + "' 2>/dev/null", &status);
  ASSERT_EQ(status, 0);
  const auto first = test::ReadBytes(m_folder.path("sheet-0.csv"));
  const auto second = test::ReadBytes(m_folder.path("sheet-1.csv"));
  const std::string first_text(first.begin(), first.end()), second_text(second.begin(), second.end());
  EXPECT_TRUE(first_text.starts_with("回路编号,相别,设备功率,,备注\n1,L1,0.85,,照明\n")) << first_text.substr(0, 200);
  EXPECT_EQ(second_text, "C65N,6,10\nNSX100,16,\n");
}

// More than 109 allocation sectors: the file needs the extended sector list.
TEST(InteropLarge, FreexlReadsAWorkbookBeyondSevenMegabytes) {
  Grid cells;
  for (int r = 0; r < 65535; ++r) {
    auto& row = cells.emplace_back();
    for (int c = 0; c < 6; ++c) row.push_back(Utf16("r" + std::to_string(r) + "c" + std::to_string(c)));
  }
  Workbook book;
  book.AddSheet(u"Large", cells);
  test::TempFolder folder;
  const std::string path = folder.path("large.xls").string();
  ASSERT_TRUE(book.Save(path).ok());
  ASSERT_GT(test::ReadBytes(path).size(), 109u * 128 * 512);

  auto loaded = Workbook::Load(path);
  ASSERT_TRUE(loaded.ok()) << loaded.error().text;
  EXPECT_EQ(*loaded->ReadSheet(0), cells);

  const void* handle = nullptr;
  ASSERT_EQ(freexl_open(path.c_str(), &handle), FREEXL_OK);
  freexl_select_active_worksheet(handle, 0);
  unsigned int rows = 0;
  unsigned short columns = 0;
  freexl_worksheet_dimensions(handle, &rows, &columns);
  EXPECT_EQ(rows, 65535u);
  EXPECT_EQ(columns, 6u);
  FreeXL_CellValue value;
  ASSERT_EQ(freexl_get_cell_value(handle, 65534, 5, &value), FREEXL_OK);
  EXPECT_EQ(FreexlText(value), "r65534c5");
  freexl_close(handle);
}

}  // namespace
}  // namespace xls
