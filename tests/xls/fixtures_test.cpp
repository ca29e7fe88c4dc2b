// Workbooks made by other programs: read, then changed in part, with the
// untouched parts checked by an independent reader and byte for byte.
#include <freexl.h>
#include <gtest/gtest.h>

#include "test_support.h"
#include "xls/biff_records.h"
#include "xls/byte_io.h"
#include "xls/compound_file.h"
#include "xls/workbook.h"

namespace xls {
namespace {

using test::MakeGrid;
using test::Utf16;
using test::Utf8;

Workbook LoadFixture(const std::string& name) {
  auto book = Workbook::Load(test::FixturePath(name).string());
  EXPECT_TRUE(book.ok()) << name << ": " << book.error().text;
  return book.ok() ? std::move(*book) : Workbook();
}

std::vector<std::u16string> Row(const Grid& grid, size_t row) { return row < grid.size() ? grid[row] : std::vector<std::u16string>{}; }

TEST(Fixtures, ReadsNumbersTextsAndBooleansWrittenByXlwt) {
  Workbook book = LoadFixture("xlwt_circuits.xls");
  ASSERT_EQ(book.SheetCount(), 3u);
  EXPECT_EQ(book.SheetName(0), u"线路负荷计算");
  EXPECT_EQ(book.FindSheet(u"开关型号库"), 1u);
  const Grid circuits = *book.ReadSheet(0);
  EXPECT_EQ(Row(circuits, 0), MakeGrid({{"回路编号", "相别", "设备功率(kW)", "需要系数", "功率因数", "备注"}})[0]);
  EXPECT_EQ(Row(circuits, 1), MakeGrid({{"1", "L1", "3", "0.85", "0.8", "照明"}})[0]);
  EXPECT_EQ(Row(circuits, 4), MakeGrid({{"4", "L1", "0.25", "1", "0.95"}})[0]);
  EXPECT_EQ(Row(circuits, 5), MakeGrid({{"5", "L2", "100000", "0.75", "0.8", "big"}})[0]);
  EXPECT_EQ(Row(circuits, 7), MakeGrid({{"0", "10", "20", "30", "40", "50"}})[0]);  // MULRK
  EXPECT_EQ(Row(circuits, 8), MakeGrid({{"-2.5", "1234567.89"}})[0]);
  EXPECT_EQ(Row(circuits, 10), MakeGrid({{"TRUE", "FALSE"}})[0]);

  const Grid strings = *book.ReadSheet(2);
  ASSERT_EQ(strings.size(), 1500u);
  EXPECT_EQ(strings[0][0], std::u16string(9000, u'x'));
  EXPECT_EQ(strings[1][0], std::u16string(5000, u'长'));
  EXPECT_EQ(strings[1499], (std::vector<std::u16string>{u"text 1499 文字", u"plain 1499"}));
}

TEST(Fixtures, ReadsCachedFormulaResultsWrittenByGnumeric) {
  Workbook book = LoadFixture("gnumeric_circuits.xls");
  ASSERT_EQ(book.SheetCount(), 3u);
  const Grid circuits = *book.ReadSheet(0);
  EXPECT_EQ(Row(circuits, 9), MakeGrid({{"2.55", "L1-L2", "TRUE"}})[0]);
  EXPECT_EQ(Row(circuits, 1), MakeGrid({{"1", "L1", "3", "0.85", "0.8", "照明"}})[0]);
  EXPECT_EQ(Row(*book.ReadSheet(1), 1)[0], u"NSX100");
}

std::vector<uint8_t> StreamNamed(const CompoundFile& file, std::u16string_view name) {
  auto entry = file.FindRootStream(name);
  return entry ? file.entries()[*entry].data : std::vector<uint8_t>{};
}

// FORMULA records of the first sheet substream, as the file holds them.
std::vector<std::vector<uint8_t>> FormulaRecords(const std::vector<uint8_t>& stream, size_t sheet_offset) {
  std::vector<std::vector<uint8_t>> formulas;
  for (auto rec = record::RecordAt(stream, sheet_offset); rec && rec->id != record::kEof;
       rec = record::RecordAt(stream, rec->end()))
    if (rec->id == record::kFormula) formulas.emplace_back(rec->body.begin(), rec->body.end());
  return formulas;
}

size_t FirstSheetOffset(const std::vector<uint8_t>& stream) {
  for (auto rec = record::RecordAt(stream, 0); rec; rec = record::RecordAt(stream, rec->end()))
    if (rec->id == record::kBoundsheet) return GetU32(rec->body, 0);
  return 0;
}

class ChangedFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Workbook book = LoadFixture("gnumeric_circuits.xls");
    book.ReplaceSheet(1, MakeGrid({{"型号", "额定电流"}, {"DZ47", "63"}}));
    book.AddSheet(u"CSpreadSheetBackup", MakeGrid({{"回路编号", "相别"}, {"1", "L1"}}));
    auto saved = book.Save(m_path);
    ASSERT_TRUE(saved.ok()) << saved.error().text;
  }

  test::TempFolder m_folder;
  std::string m_path = m_folder.path("changed.xls").string();
};

TEST_F(ChangedFixture, OurReaderSeesOldAndNewSheets) {
  auto book = Workbook::Load(m_path);
  ASSERT_TRUE(book.ok()) << book.error().text;
  ASSERT_EQ(book->SheetCount(), 4u);
  EXPECT_EQ(*book->ReadSheet(0), *LoadFixture("gnumeric_circuits.xls").ReadSheet(0));
  EXPECT_EQ(*book->ReadSheet(1), MakeGrid({{"型号", "额定电流"}, {"DZ47", "63"}}));
  EXPECT_EQ(*book->ReadSheet(2), *LoadFixture("gnumeric_circuits.xls").ReadSheet(2));
  EXPECT_EQ(book->SheetName(3), u"CSpreadSheetBackup");
}

TEST_F(ChangedFixture, OtherStreamsAndFormulasStayByteForByte) {
  auto original = CompoundFile::Parse(test::ReadBytes(test::FixturePath("gnumeric_circuits.xls")));
  auto changed = CompoundFile::Parse(test::ReadBytes(m_path));
  ASSERT_TRUE(original.ok() && changed.ok());
  for (const std::u16string& name : {u'\5' + std::u16string(u"SummaryInformation"), u'\5' + std::u16string(u"DocumentSummaryInformation")}) {
    EXPECT_FALSE(StreamNamed(*original, name).empty());
    EXPECT_EQ(StreamNamed(*original, name), StreamNamed(*changed, name));
  }
  const auto before = StreamNamed(*original, u"Workbook");
  const auto after = StreamNamed(*changed, u"Workbook");
  const auto formulas = FormulaRecords(before, FirstSheetOffset(before));
  EXPECT_EQ(formulas.size(), 3u);
  EXPECT_EQ(formulas, FormulaRecords(after, FirstSheetOffset(after)));
}

TEST_F(ChangedFixture, XlrdSeesUntouchedValuesFormatsAndNewSheets) {
  const std::string python = test::PythonWithXlrd();
  ASSERT_FALSE(python.empty()) << "python3-xlrd is missing: run tools/install-deps.sh";
  const std::string script =
      "import sys, xlrd\n"
      "def describe(path):\n"
      "    book = xlrd.open_workbook(path, formatting_info=True)\n"
      "    lines = [repr(book.sheet_names())]\n"
      "    for index in (0, 2):\n"
      "        sheet = book.sheet_by_index(index)\n"
      "        for r in range(sheet.nrows):\n"
      "            for c in range(sheet.ncols):\n"
      "                xf = book.xf_list[sheet.cell_xf_index(r, c)]\n"
      "                font = book.font_list[xf.font_index]\n"
      "                lines.append('%d %d %d %r %d %d %s' % (index, r, c, sheet.cell_value(r, c), font.bold, font.colour_index, xf.format_key))\n"
      "    return lines\n"
      "before, after = describe(sys.argv[1]), describe(sys.argv[2])\n"
      "print(after[0])\n"
      "print(len(before), before[1:] == after[1:])\n"
      "print(any(line.startswith('0 1 5 ') and line.endswith(' 0 10 0') for line in after),\n"
      "      any(line.startswith('0 0 0 ') and line.endswith(' 1 32767 0') for line in after))\n"
      "changed = xlrd.open_workbook(sys.argv[2])\n"
      "print(changed.sheet_by_index(1).row_values(1), changed.sheet_by_index(3).row_values(0))\n";
  test::WriteBytes(m_folder.path("describe.py"), std::vector<uint8_t>(script.begin(), script.end()));
  int status = 0;
  const std::string output = test::RunCommand(python + " " + m_folder.path("describe.py").string() + " " +
                                                  test::FixturePath("gnumeric_circuits.xls").string() + " " + m_path,
                                              &status);
  EXPECT_EQ(status, 0);
  const std::string expected_names = "['线路负荷计算', '开关型号库', 'Strings', 'CSpreadSheetBackup']\n";
  EXPECT_TRUE(output.starts_with(expected_names)) << output;
  EXPECT_NE(output.find(" True\n"), std::string::npos) << output;  // every untouched cell the same, format included
  EXPECT_NE(output.find("True True\n"), std::string::npos) << output;  // a red cell and a bold one among them
  EXPECT_NE(output.find("['DZ47', '63'] ['回路编号', '相别']"), std::string::npos) << output;
}

TEST_F(ChangedFixture, FreexlReadsTheChangedWorkbook) {
  const void* handle = nullptr;
  ASSERT_EQ(freexl_open(m_path.c_str(), &handle), FREEXL_OK);
  unsigned int count = 0;
  freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &count);
  EXPECT_EQ(count, 4u);
  const char* name = nullptr;
  freexl_get_worksheet_name(handle, 3, &name);
  EXPECT_STREQ(name, "CSpreadSheetBackup");
  freexl_select_active_worksheet(handle, 0);
  FreeXL_CellValue value;
  ASSERT_EQ(freexl_get_cell_value(handle, 1, 5, &value), FREEXL_OK);
  EXPECT_STREQ(value.value.text_value, "照明");
  freexl_select_active_worksheet(handle, 1);
  ASSERT_EQ(freexl_get_cell_value(handle, 1, 0, &value), FREEXL_OK);
  EXPECT_STREQ(value.value.text_value, "DZ47");
  freexl_close(handle);
}

}  // namespace
}  // namespace xls
