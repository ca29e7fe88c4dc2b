// Changed cells written into a worksheet part: only the rows and cells that
// change are written anew, every other byte stays.
#include <gtest/gtest.h>

#include "xlsx/sheet_part_update.h"

namespace {

using xlsx::UpdateSheetXml;

const std::string kHead = R"(<?xml version="1.0"?><worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><dimension ref="A1:C4"/><sheetData>)";
const std::string kRow1 = R"(<row r="1" spans="1:3" ht="24" customHeight="1"><c r="A1" s="1" t="s"><v>0</v></c><c r="B1" s="1" t="s"><v>1</v></c></row>)";
const std::string kRow2 = R"(<row r="2"><c r="A2" t="inlineStr"><is><t>WL1</t></is></c><c r="B2" s="2" t="s"><v>2</v></c><c r="C2" s="3"><v>5</v></c></row>)";
const std::string kRow3 = R"(<row r="3"><c r="A3" t="inlineStr"><is><t>WL2</t></is></c><c r="B3" s="2" t="s"><v>2</v></c><c r="C3" s="3"><v>3</v></c></row>)";
const std::string kRow4 = R"(<row r="4"><c r="A4" t="inlineStr"><is><t>WL3</t></is></c></row>)";
const std::string kTail = R"(</sheetData><mergeCells count="1"><mergeCell ref="E3:F4"/></mergeCells><pageMargins left="0.7"/></worksheet>)";
const std::string kSheet = kHead + kRow1 + kRow2 + kRow3 + kRow4 + kTail;

xls::SheetUpdate Cells(std::vector<xls::CellText> cells) {
  xls::SheetUpdate update;
  update.cells = std::move(cells);
  return update;
}

TEST(XlsxCellUpdate, AChangedCellKeepsItsStyleAndTheRestItsBytes) {
  auto updated = UpdateSheetXml(kSheet, Cells({{1, 1, u"L2"}, {2, 2, u"7.5"}, {3, 5, u"新"}}), "sheet1.xml");
  ASSERT_TRUE(updated.ok()) << updated.error().text;
  const std::string expected =
      kHead + kRow1 +
      R"(<row r="2"><c r="A2" t="inlineStr"><is><t>WL1</t></is></c><c r="B2" s="2" t="inlineStr"><is><t xml:space="preserve">L2</t></is></c><c r="C2" s="3"><v>5</v></c></row>)"
      R"(<row r="3"><c r="A3" t="inlineStr"><is><t>WL2</t></is></c><c r="B3" s="2" t="s"><v>2</v></c><c r="C3" s="3"><v>7.5</v></c></row>)"
      R"(<row r="4"><c r="A4" t="inlineStr"><is><t>WL3</t></is></c><c r="F4" t="inlineStr"><is><t xml:space="preserve">新</t></is></c></row>)" +
      kTail;
  EXPECT_EQ(*updated, expected);
}

TEST(XlsxCellUpdate, ANumberIntoATextCellStaysTextAndAnEmptiedCellKeepsItsStyle) {
  auto updated = UpdateSheetXml(kSheet, Cells({{1, 0, u"12"}, {1, 2, u""}}), "sheet1.xml");
  ASSERT_TRUE(updated.ok());
  EXPECT_NE(updated->find(R"(<c r="A2" t="inlineStr"><is><t xml:space="preserve">12</t></is></c>)"), std::string::npos);
  EXPECT_NE(updated->find(R"(<c r="C2" s="3"/>)"), std::string::npos);
}

TEST(XlsxCellUpdate, ADeletedRowTakesTheRowsAndMergedRangesBelowUp) {
  xls::SheetUpdate update;
  update.deleted_rows = {1};
  auto updated = UpdateSheetXml(kSheet, update, "sheet1.xml");
  ASSERT_TRUE(updated.ok()) << updated.error().text;
  const std::string expected =
      R"(<?xml version="1.0"?><worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><dimension ref="A1:C3"/><sheetData>)" +
      kRow1 +
      R"(<row r="2"><c r="A2" t="inlineStr"><is><t>WL2</t></is></c><c r="B2" s="2" t="s"><v>2</v></c><c r="C2" s="3"><v>3</v></c></row>)"
      R"(<row r="3"><c r="A3" t="inlineStr"><is><t>WL3</t></is></c></row>)"
      R"(</sheetData><mergeCells count="1"><mergeCell ref="E2:F3"/></mergeCells><pageMargins left="0.7"/></worksheet>)";
  EXPECT_EQ(*updated, expected);
}

TEST(XlsxCellUpdate, AnInsertedRowIsFormattedLikeTheRowAbove) {
  xls::SheetUpdate update;
  update.inserted_rows = {2};
  update.cells = {{2, 0, u"WL9"}, {2, 2, u"4"}};
  auto updated = UpdateSheetXml(kSheet, update, "sheet1.xml");
  ASSERT_TRUE(updated.ok()) << updated.error().text;
  EXPECT_NE(updated->find(kRow2 + R"(<row r="3"><c r="A3" t="inlineStr"><is><t xml:space="preserve">WL9</t></is></c>)"
                                  R"(<c r="B3" s="2"/><c r="C3" s="3"><v>4</v></c></row><row r="4"><c r="A4" t="inlineStr">)"),
            std::string::npos)
      << *updated;
  EXPECT_NE(updated->find(R"(<mergeCell ref="E4:F5"/>)"), std::string::npos);
}

TEST(XlsxCellUpdate, RowsDoNotMoveUnderFormulasOrThroughAMergedRange) {
  xls::SheetUpdate update;
  update.deleted_rows = {3};  // row 4 holds the merged range's second row
  auto cut = UpdateSheetXml(kSheet, update, "sheet1.xml");
  ASSERT_FALSE(cut.ok());
  EXPECT_EQ(cut.error().kind, xls::ErrorKind::CannotKeep);
  std::string withFormula = kSheet;
  withFormula.replace(withFormula.find("<v>5</v>"), 8, "<f>C3*2</f><v>6</v>");
  update.deleted_rows = {2};
  auto formula = UpdateSheetXml(withFormula, update, "sheet1.xml");
  ASSERT_FALSE(formula.ok());
  EXPECT_EQ(formula.error().kind, xls::ErrorKind::CannotKeep);
  // Values are still written into such a sheet, but not over a formula
  // other cells share.
  EXPECT_TRUE(UpdateSheetXml(withFormula, Cells({{1, 1, u"L3"}}), "sheet1.xml").ok());
  std::string shared = kSheet;
  shared.replace(shared.find("<v>5</v>"), 8, R"(<f t="shared" ref="C2:C3" si="0">B2*2</f><v>6</v>)");
  auto master = UpdateSheetXml(shared, Cells({{1, 2, u"8"}}), "sheet1.xml");
  ASSERT_FALSE(master.ok());
  EXPECT_EQ(master.error().kind, xls::ErrorKind::CannotKeep);
}

TEST(XlsxCellUpdate, AnEmptyCellTableGetsItsFirstRowAndPrefixesAreKept) {
  const std::string prefixed =
      R"(<x:worksheet xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><x:sheetData/></x:worksheet>)";
  auto updated = UpdateSheetXml(prefixed, Cells({{1, 0, u"a<b"}}), "sheet1.xml");
  ASSERT_TRUE(updated.ok()) << updated.error().text;
  EXPECT_EQ(*updated,
            R"(<x:worksheet xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><x:sheetData><x:row r="2">)"
            R"(<x:c r="A2" t="inlineStr"><x:is><x:t xml:space="preserve">a&lt;b</x:t></x:is></x:c></x:row></x:sheetData></x:worksheet>)");
}

}  // namespace
