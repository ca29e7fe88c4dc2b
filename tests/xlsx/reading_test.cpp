// Reading .xlsx workbooks: files made by other programs, and the cell forms
// those programs may write, each built part by part.
#include <gtest/gtest.h>

#include <filesystem>

#include "xlsx/xlsx_workbook.h"
#include "xlsx_test_support.h"

namespace xlsx::test {
namespace {

using Table = std::vector<std::vector<std::string>>;

xls::Result<XlsxWorkbook> LoadFixture(const std::string& name) { return XlsxWorkbook::Load(FixturePath(name).string()); }

Table SheetRows(const XlsxWorkbook& book, const std::string& name) {
  auto index = book.FindSheet(Utf16(name));
  if (!index) return {{"no sheet " + name}};
  auto grid = book.ReadSheet(*index);
  if (!grid) return {{grid.error().text}};
  return Rows(*grid);
}

Table ReadOneSheet(const std::string& sheet_xml, Parts extra = {}) {
  auto book = XlsxWorkbook::Parse(Zip(OneSheetPackage(sheet_xml, std::move(extra))));
  if (!book) return {{book.error().text}};
  auto grid = book->ReadSheet(0);
  if (!grid) return {{grid.error().text}};
  return Rows(*grid);
}

std::string Sheet(const std::string& data) {
  return "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>" + data +
         "</sheetData></worksheet>";
}

// The circuits sheet of the fixtures, whichever program wrote it; formulas
// read as their cached values, or as their formula text where the writer
// (openpyxl) stored none.
void ExpectCircuits(const Table& rows, const std::vector<std::string>& formula_values) {
  ASSERT_EQ(rows.size(), 16u);  // the merged range's other cells are empty
  EXPECT_EQ(rows[0], (std::vector<std::string>{"回路编号", "相别", "设备功率(kW)", "需要系数", "功率因数", "备注"}));
  EXPECT_EQ(rows[1], (std::vector<std::string>{"1", "L1", "3", "0.85", "0.8", "照明"}));
  EXPECT_EQ(rows[4], (std::vector<std::string>{"4", "L1", "0.25", "1", "0.95"}));
  EXPECT_EQ(rows[5], (std::vector<std::string>{"5", "L2", "100000", "0.75", "0.8", "big"}));
  EXPECT_TRUE(rows[6].empty());
  EXPECT_EQ(rows[7], (std::vector<std::string>{"3", "0.85"}));
  EXPECT_EQ(rows[8], (std::vector<std::string>{"-2.5", "1234567.89"}));
  std::vector<std::string> formulas = rows[9];
  formulas.resize(formula_values.size());
  EXPECT_EQ(formulas, formula_values);
  EXPECT_EQ(rows[10], (std::vector<std::string>{"TRUE", "FALSE"}));
  ASSERT_EQ(rows[13].size(), 27u);  // AA is column 27
  EXPECT_EQ(rows[13][0], "间隔之后");
  EXPECT_EQ(rows[13][26], "AA列");
  ASSERT_EQ(rows[14].size(), 28u);
  EXPECT_EQ(rows[14][27], "7");
  ASSERT_EQ(rows[15].size(), 3u);
  EXPECT_EQ(rows[15][2], "合并");
}

TEST(XlsxReading, WorkbookWrittenByOpenpyxl) {
  auto book = LoadFixture("openpyxl_circuits.xlsx");
  ASSERT_TRUE(book.ok()) << book.error().text;
  ASSERT_EQ(book->SheetCount(), 3u);
  EXPECT_EQ(Utf8(book->SheetName(0)), "线路负荷计算");
  EXPECT_EQ(Utf8(book->SheetName(1)), "开关");
  EXPECT_EQ(Utf8(book->SheetName(2)), "Notes");
  ExpectCircuits(SheetRows(*book, "线路负荷计算"), {"=C2*D2", "=CONCATENATE(B2,\"-\",B3)", "=C2>C3"});
  EXPECT_EQ(SheetRows(*book, "开关"), (Table{{"额定电流", "型号"}, {"16", "C65N-16A"}, {"25", "C65N-25A"}}));
  EXPECT_EQ(SheetRows(*book, "notes"), (Table{{}, {"", "second column, second row"}}));
}

TEST(XlsxReading, WorkbookWrittenByLibreOffice) {
  ASSERT_TRUE(std::filesystem::exists(FixturePath("libreoffice_circuits.xlsx")))
      << "the LibreOffice fixture is missing: run tests/fixtures/xlsx/make_fixtures.py";
  auto book = LoadFixture("libreoffice_circuits.xlsx");
  ASSERT_TRUE(book.ok()) << book.error().text;
  ASSERT_EQ(book->SheetCount(), 3u);
  ExpectCircuits(SheetRows(*book, "线路负荷计算"), {"2.55", "L1-L2", "TRUE"});
}

TEST(XlsxReading, StringForms) {
  const Parts strings = {
      {"xl/sharedStrings.xml",
       "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
       "<si><t>plain</t></si>"
       "<si><r><rPr><b/></rPr><t>照</t></r><r><t xml:space=\"preserve\">明 A</t></r>"
       "<rPh sb=\"0\" eb=\"1\"><t>zhao</t></rPh></si>"
       "<si><t>line_x000D_break</t></si></sst>"}};
  EXPECT_EQ(ReadOneSheet(Sheet("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c>"
                               "<c r=\"C1\" t=\"s\"><v>2</v></c><c r=\"D1\" t=\"s\"><v>9</v></c>"
                               "<c r=\"E1\" t=\"inlineStr\"><is><t>内联</t></is></c>"
                               "<c r=\"F1\" t=\"str\"><f>A1</f><v>公式文本</v></c></row>"),
                         strings),
            (Table{{"plain", "照明 A", "line\rbreak", "", "内联", "公式文本"}}));
}

TEST(XlsxReading, NumbersBooleansErrorsAndEmptyCells) {
  EXPECT_EQ(ReadOneSheet(Sheet("<row r=\"1\"><c r=\"A1\"><v>3</v></c><c r=\"B1\" t=\"n\"><v>0.85</v></c>"
                               "<c r=\"C1\"><v>1.5E+15</v></c><c r=\"D1\"><v>2.0000000000000002E-10</v></c>"
                               "<c r=\"E1\" t=\"b\"><v>1</v></c><c r=\"F1\" t=\"b\"><v>0</v></c>"
                               "<c r=\"G1\" t=\"e\"><f>1/0</f><v>#DIV/0!</v></c><c r=\"H1\" s=\"1\"/>"
                               "<c r=\"I1\"><f>A1*2</f><v>6</v></c></row>")),
            (Table{{"3", "0.85", "1.5E+15", "2E-10", "TRUE", "FALSE", "", "", "6"}}));
}

TEST(XlsxReading, PlacesCellsWithoutReferencesAndRowsWithGaps) {
  const Table rows = ReadOneSheet(Sheet("<row><c><v>1</v></c><c><v>2</v></c></row>"
                                        "<row r=\"4\"><c r=\"C4\"><v>3</v></c><c><v>4</v></c></row>"
                                        "<row><c r=\"AZ5\"><v>5</v></c></row>"));
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"1", "2"}));
  EXPECT_TRUE(rows[1].empty());
  EXPECT_EQ(rows[3], (std::vector<std::string>{"", "", "3", "4"}));
  ASSERT_EQ(rows[4].size(), 52u);  // AZ is column 52
  EXPECT_EQ(rows[4][51], "5");
}

TEST(XlsxReading, PrefixedElementsAndChartSheets) {
  Parts extra = {
      {"xl/workbook.xml",
       "<x:workbook xmlns:x=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
       "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><x:sheets>"
       "<x:sheet name=\"Chart\" sheetId=\"2\" r:id=\"rId9\"/>"
       "<x:sheet name=\"数据\" sheetId=\"1\" r:id=\"rId1\"/></x:sheets></x:workbook>"},
      {"xl/_rels/workbook.xml.rels",
       "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
       "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
       "worksheet\" Target=\"/xl/worksheets/sheet1.xml\"/>"
       "<Relationship Id=\"rId9\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
       "chartsheet\" Target=\"chartsheets/sheet1.xml\"/></Relationships>"}};
  auto book = XlsxWorkbook::Parse(Zip(OneSheetPackage(
      "<x:worksheet xmlns:x=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><x:sheetData>"
      "<x:row r=\"1\"><x:c r=\"A1\" t=\"inlineStr\"><x:is><x:t>a</x:t></x:is></x:c></x:row></x:sheetData>"
      "</x:worksheet>",
      extra)));
  ASSERT_TRUE(book.ok()) << book.error().text;
  ASSERT_EQ(book->SheetCount(), 1u);
  EXPECT_EQ(Utf8(book->SheetName(0)), "数据");
  auto grid = book->ReadSheet(0);
  ASSERT_TRUE(grid.ok()) << grid.error().text;
  EXPECT_EQ(Rows(*grid), (Table{{"a"}}));
}

}  // namespace
}  // namespace xlsx::test
