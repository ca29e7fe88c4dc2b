// Damaged and hostile .xlsx files end in an error text that says what is
// wrong: never a crash, a hang, or memory beyond a bound set by the file.
#include <gtest/gtest.h>

#include "xlsx/xlsx_workbook.h"
#include "xlsx_test_support.h"

namespace xlsx::test {
namespace {

// The error of loading the package and reading its first sheet, or "" when both work.
std::string ErrorOf(const std::vector<uint8_t>& bytes) {
  auto book = XlsxWorkbook::Parse(bytes);
  if (!book) return book.error().text;
  for (size_t i = 0; i < book->SheetCount(); ++i)
    if (auto grid = book->ReadSheet(i); !grid) return grid.error().text;
  return {};
}

std::string ErrorOf(const Parts& parts) { return ErrorOf(Zip(parts)); }

const char kSimpleSheet[] =
    "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>"
    "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row></sheetData></worksheet>";

TEST(XlsxHostileInput, TheWellFormedPackageReads) { EXPECT_EQ(ErrorOf(OneSheetPackage(kSimpleSheet)), ""); }

TEST(XlsxHostileInput, AZipBombIsRefused) {
  // Zeros deflate about a thousand to one: far more than any workbook part.
  std::string zeros(std::string(8 << 20, '0'));
  const std::vector<uint8_t> bytes = Zip(OneSheetPackage(kSimpleSheet, {{"xl/worksheets/sheet1.xml", "<worksheet>" + zeros + "</worksheet>"}}));
  ASSERT_LT(bytes.size(), size_t{1} << 20);
  EXPECT_NE(ErrorOf(bytes).find("inflate"), std::string::npos) << ErrorOf(bytes);
}

TEST(XlsxHostileInput, EntitiesAndDeepNestingAreRefused) {
  const std::string laughs =
      "<?xml version=\"1.0\"?><!DOCTYPE w [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">"
      "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">]><worksheet><sheetData><row><c t=\"inlineStr\"><is><t>&c;&c;"
      "</t></is></c></row></sheetData></worksheet>";
  EXPECT_NE(ErrorOf(OneSheetPackage(laughs)).find("document type"), std::string::npos);
  const std::string external =
      "<!DOCTYPE w SYSTEM \"file:///etc/passwd\"><worksheet><sheetData/></worksheet>";
  EXPECT_NE(ErrorOf(OneSheetPackage(external)).find("document type"), std::string::npos);
  std::string deep;
  for (int i = 0; i < 10000; ++i) deep += "<a>";
  EXPECT_NE(ErrorOf(OneSheetPackage("<worksheet>" + deep)).find("nested too deeply"), std::string::npos);
}

TEST(XlsxHostileInput, MissingAndMisplacedPartsAreNamed) {
  Parts no_sheet = OneSheetPackage(kSimpleSheet);
  no_sheet.pop_back();
  EXPECT_NE(ErrorOf(no_sheet).find("xl/worksheets/sheet1.xml, which the archive lacks"), std::string::npos)
      << ErrorOf(no_sheet);

  Parts no_workbook = OneSheetPackage(kSimpleSheet);
  no_workbook.erase(no_workbook.begin() + 2);
  EXPECT_NE(ErrorOf(no_workbook).find("xl/workbook.xml"), std::string::npos) << ErrorOf(no_workbook);

  Parts outside = OneSheetPackage(
      kSimpleSheet,
      {{"xl/_rels/workbook.xml.rels",
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
        "worksheet\" Target=\"../../../etc/passwd\"/></Relationships>"}});
  EXPECT_NE(ErrorOf(outside).find("outside the workbook archive"), std::string::npos) << ErrorOf(outside);

  Parts unlisted = OneSheetPackage(
      "<worksheet/>", {{"xl/workbook.xml",
                        "<workbook xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
                        "<sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"rId7\"/></sheets></workbook>"}});
  EXPECT_NE(ErrorOf(unlisted).find("the sheet 'S' has no part"), std::string::npos) << ErrorOf(unlisted);
}

TEST(XlsxHostileInput, TruncatedAndForeignArchives) {
  const std::vector<uint8_t> whole = Zip(OneSheetPackage(kSimpleSheet));
  for (size_t cut : {size_t{4}, size_t{30}, whole.size() / 2, whole.size() - 10}) {
    const std::vector<uint8_t> truncated(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
    EXPECT_NE(ErrorOf(truncated).find("ZIP archive"), std::string::npos) << cut << ": " << ErrorOf(truncated);
  }
  const Parts ods = {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"}, {"content.xml", "<x/>"}};
  EXPECT_NE(ErrorOf(ods).find("not an Excel workbook"), std::string::npos) << ErrorOf(ods);

  Parts xlsb = OneSheetPackage(kSimpleSheet);
  xlsb[1].second =
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
      "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
      "officeDocument\" Target=\"xl/workbook.bin\"/></Relationships>";
  EXPECT_NE(ErrorOf(xlsb).find(".xlsb"), std::string::npos) << ErrorOf(xlsb);

  EXPECT_NE(ErrorOf(std::vector<uint8_t>{'a', ',', 'b', '\n'}).find("no ZIP archive"), std::string::npos);
}

TEST(XlsxHostileInput, FarCellsCannotFillMemory) {
  std::string rows;
  for (int r = 1; r <= 2000; ++r) rows += "<row r=\"" + std::to_string(r) + "\"><c r=\"XFD" + std::to_string(r) + "\"><v>1</v></c></row>";
  EXPECT_NE(ErrorOf(OneSheetPackage("<worksheet><sheetData>" + rows + "</sheetData></worksheet>")).find("more memory than"),
            std::string::npos);
  EXPECT_NE(ErrorOf(OneSheetPackage("<worksheet><sheetData><row r=\"1\"><c r=\"XFE1\"><v>1</v></c></row>"
                                    "</sheetData></worksheet>"))
                .find("out of range"),
            std::string::npos);
  EXPECT_NE(ErrorOf(OneSheetPackage("<worksheet><sheetData><row r=\"99999999\"><c><v>1</v></c></row>"
                                    "</sheetData></worksheet>"))
                .find("out of range"),
            std::string::npos);
}

TEST(XlsxHostileInput, MalformedXmlIsReportedWithItsPart) {
  EXPECT_NE(ErrorOf(OneSheetPackage("<worksheet><sheetData>")).find("xl/worksheets/sheet1.xml is not well-formed"),
            std::string::npos);
  EXPECT_NE(ErrorOf(OneSheetPackage(kSimpleSheet, {{"xl/workbook.xml", "<workbook><sheets><sheet name=\"a\"/>"}}))
                .find("xl/workbook.xml"),
            std::string::npos);
}

}  // namespace
}  // namespace xlsx::test
