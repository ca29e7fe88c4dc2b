#include "xlsx_test_support.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sys/wait.h>

#include "xlsx/xml_text.h"
#include "xlsx/zip_package.h"

namespace xlsx::test {

std::string Utf8(std::u16string_view text) { return Utf16ToUtf8(text); }
std::u16string Utf16(std::string_view utf8) { return Utf8ToUtf16(utf8); }

std::filesystem::path FixturePath(const std::string& name) {
  return std::filesystem::path(LOADCALC_SOURCE_DIR) / "tests/fixtures/xlsx" / name;
}

Parts OneSheetPackage(const std::string& sheet_xml, Parts extra) {
  const bool with_strings = !extra.empty() && extra.front().first == "xl/sharedStrings.xml";
  Parts parts = {
      {"[Content_Types].xml",
       "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
       "<Default Extension=\"xml\" ContentType=\"application/xml\"/></Types>"},
      {"_rels/.rels",
       "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
       "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
       "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
      {"xl/workbook.xml",
       "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
       "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
       "<sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"},
      {"xl/_rels/workbook.xml.rels",
       std::string("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                   "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                   "relationships/worksheet\" Target=\"worksheets/sheet1.xml\"/>") +
           (with_strings ? "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/officeDocument/"
                           "2006/relationships/sharedStrings\" Target=\"sharedStrings.xml\"/>"
                         : "") +
           "</Relationships>"},
      {"xl/worksheets/sheet1.xml", sheet_xml}};
  for (auto& part : extra) {
    bool replaced = false;
    for (auto& existing : parts)
      if (existing.first == part.first) {
        existing.second = part.second;
        replaced = true;
      }
    if (!replaced) parts.push_back(part);
  }
  return parts;
}

std::vector<uint8_t> Zip(const Parts& parts) {
  auto bytes = ZipPackage::Create(parts);
  return bytes ? *bytes : std::vector<uint8_t>();
}

std::vector<std::vector<std::string>> Rows(const xls::Grid& grid) {
  std::vector<std::vector<std::string>> rows;
  for (const auto& row : grid) {
    rows.emplace_back();
    for (const auto& cell : row) rows.back().push_back(Utf8(cell));
  }
  return rows;
}

std::string PythonWithOpenpyxl() { return ::test::PythonWithModule("openpyxl"); }

bool HaveSoffice() {
  int status = 0;
  RunCommand("command -v soffice >/dev/null 2>&1", &status);
  return status == 0;
}

std::string OpenpyxlDump(const std::filesystem::path& book) {
  const std::string python = PythonWithOpenpyxl();
  if (python.empty()) return {};
  int status = 0;
  std::string out = RunCommand(python + " '" + LOADCALC_SOURCE_DIR + "/tests/xlsx/dump_with_openpyxl.py' '" +
                                   book.string() + "' 2>/dev/null",
                               &status);
  return status == 0 ? out : std::string();
}

}  // namespace xlsx::test
