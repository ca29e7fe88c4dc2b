// Writing .xlsx workbooks: the backup sheet added to a workbook another
// program made, a sheet rewritten, a new results workbook; every part the
// program did not change keeps its bytes, and other programs open the files.
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "xlsx/app_properties.h"
#include "xlsx/cell_parts.h"
#include "xlsx/xlsx_workbook.h"
#include "xlsx/zip_package.h"
#include "xlsx_test_support.h"

namespace xlsx::test {
namespace {

using Table = std::vector<std::vector<std::string>>;

xls::Grid GridOf(const Table& rows) {
  xls::Grid grid;
  for (const auto& row : rows) {
    grid.emplace_back();
    for (const auto& cell : row) grid.back().push_back(Utf16(cell));
  }
  return grid;
}

const Table kBackup = {{"回路编号,;.?相别"}, {"\"1\",;.?\"L1\""}, {" ", "", "a&b<c>\"d\""}, {"tab\there", "_x0041_ ctrl\x01"}};

// The parts whose bytes differ between two packages.
std::set<std::string> ChangedParts(const std::vector<uint8_t>& before, const std::vector<uint8_t>& after) {
  auto old_package = ZipPackage::Open(before);
  auto new_package = ZipPackage::Open(after);
  EXPECT_TRUE(old_package.ok() && new_package.ok());
  std::set<std::string> changed;
  if (!old_package.ok() || !new_package.ok()) return changed;
  for (const std::string& name : new_package->PartNames()) {
    auto old_bytes = old_package->ReadPart(name);
    auto new_bytes = new_package->ReadPart(name);
    if (!old_bytes.ok() || !new_bytes.ok() || *old_bytes != *new_bytes) changed.insert(name);
  }
  for (const std::string& name : old_package->PartNames())
    if (!new_package->HasPart(name)) changed.insert("removed " + name);
  return changed;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

Table ReadBack(const std::vector<uint8_t>& bytes, size_t sheet) {
  auto book = XlsxWorkbook::Parse(bytes);
  if (!book) return {{book.error().text}};
  auto grid = book->ReadSheet(sheet);
  if (!grid) return {{grid.error().text}};
  return Rows(*grid);
}

TEST(XlsxWriting, AddedSheetChangesOnlyTheSheetListings) {
  const std::vector<uint8_t> original = ReadBytes(FixturePath("openpyxl_circuits.xlsx"));
  auto book = XlsxWorkbook::Parse(original);
  ASSERT_TRUE(book.ok()) << book.error().text;
  EXPECT_EQ(book->AddSheet(u"CSpreadSheetBackup", GridOf(kBackup)), 3u);
  auto saved = book->Serialize();
  ASSERT_TRUE(saved.ok()) << saved.error().text;
  EXPECT_EQ(ChangedParts(original, *saved),
            (std::set<std::string>{"[Content_Types].xml", "xl/workbook.xml", "xl/_rels/workbook.xml.rels",
                                   "xl/worksheets/sheet4.xml"}));
  auto again = XlsxWorkbook::Parse(*saved);
  ASSERT_TRUE(again.ok()) << again.error().text;
  ASSERT_EQ(again->SheetCount(), 4u);
  EXPECT_EQ(Utf8(again->SheetName(3)), "CSpreadSheetBackup");
  EXPECT_EQ(ReadBack(*saved, 3), kBackup);
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(ReadBack(*saved, i), ReadBack(original, i));
}

TEST(XlsxWriting, ReplacedSheetChangesOnlyItsOwnPart) {
  const std::vector<uint8_t> original = ReadBytes(FixturePath("openpyxl_circuits.xlsx"));
  auto book = XlsxWorkbook::Parse(original);
  ASSERT_TRUE(book.ok());
  book->ReplaceSheet(1, GridOf({{"新"}, {"", "值"}}));
  auto saved = book->Serialize();
  ASSERT_TRUE(saved.ok()) << saved.error().text;
  EXPECT_EQ(ChangedParts(original, *saved), (std::set<std::string>{"xl/worksheets/sheet2.xml"}));
  EXPECT_EQ(ReadBack(*saved, 1), (Table{{"新"}, {"", "值"}}));
}

TEST(XlsxWriting, NewWorkbookSavedAndReadBack) {
  ::test::TempFolder folder("xlsx-new");
  XlsxWorkbook book;
  EXPECT_FALSE(book.Save(folder.path("empty.xlsx").string()).ok());  // a workbook needs a sheet
  book.AddSheet(u"线路负荷计算", GridOf({{"回路编号", "功率"}, {"1", "3.5"}}));
  book.AddSheet(u"配电箱计算结果", GridOf({{"参数项", "参数值"}}));
  const auto path = folder.path("results.xlsx");
  auto saved = book.Save(path.string());
  ASSERT_TRUE(saved.ok()) << saved.error().text;
  auto loaded = XlsxWorkbook::Load(path.string());
  ASSERT_TRUE(loaded.ok()) << loaded.error().text;
  ASSERT_EQ(loaded->SheetCount(), 2u);
  EXPECT_EQ(Utf8(loaded->SheetName(1)), "配电箱计算结果");
  EXPECT_EQ(ReadBack(ReadBytes(path), 0), (Table{{"回路编号", "功率"}, {"1", "3.5"}}));

  const std::string dump = OpenpyxlDump(path);
  ASSERT_FALSE(PythonWithOpenpyxl().empty()) << "python3-openpyxl is missing: run tools/install-deps.sh";
  const auto lines = Lines(dump);
  ASSERT_EQ(lines.size(), 2u) << dump;
  EXPECT_NE(lines[0].find("[\"线路负荷计算\", [], [[\"A1\", \"'回路编号'\""), std::string::npos) << lines[0];
  EXPECT_NE(lines[0].find("[\"B2\", \"'3.5'\""), std::string::npos) << lines[0];
}

// Listed cells hold their values as numbers; the rest stay inline text.
TEST(XlsxWriting, ListedCellsAreStoredAsNumbers) {
  const std::string part = WriteWorksheetPart(GridOf({{"1.080000", "1.080000", "WL1"}, {"-0.500000", "12"}}),
                                              {{0, 0}, {0, 2}, {1, 0}, {1, 1}});
  EXPECT_NE(part.find("<c r=\"A1\"><v>1.08</v></c>"), std::string::npos) << part;
  EXPECT_NE(part.find("<c r=\"B1\" t=\"inlineStr\"><is><t xml:space=\"preserve\">1.080000</t>"), std::string::npos);
  EXPECT_NE(part.find("<c r=\"C1\" t=\"inlineStr\"><is><t xml:space=\"preserve\">WL1</t>"), std::string::npos);
  EXPECT_NE(part.find("<c r=\"A2\"><v>-0.5</v></c><c r=\"B2\"><v>12</v></c>"), std::string::npos) << part;
  XlsxWorkbook book;
  book.AddSheet(u"S", {});
  book.ReplaceSheet(0, GridOf({{"1.080000", "1.080000"}}), {{0, 0}});
  auto saved = book.Serialize();
  ASSERT_TRUE(saved.ok());
  EXPECT_EQ(ReadBack(*saved, 0), (Table{{"1.08", "1.080000"}}));
}

TEST(XlsxWriting, NewMacroEnabledWorkbookDeclaresItsMainPartSo) {
  XlsxWorkbook book(true);
  book.AddSheet(u"S", GridOf({{"a"}}));
  auto bytes = book.Serialize();
  ASSERT_TRUE(bytes.ok()) << bytes.error().text;
  auto package = ZipPackage::Open(*bytes);
  ASSERT_TRUE(package.ok());
  const std::string types = *package->ReadPart("[Content_Types].xml");
  EXPECT_NE(types.find("/xl/workbook.xml\" ContentType=\"application/vnd.ms-excel.sheet.macroEnabled.main+xml"),
            std::string::npos)
      << types;
  EXPECT_NE(types.find("<Override PartName=\"/xl/worksheets/sheet1.xml\""), std::string::npos) << types;
}

TEST(XlsxWriting, OpenpyxlSeesUntouchedSheetsUnchanged) {
  ASSERT_FALSE(PythonWithOpenpyxl().empty()) << "python3-openpyxl is missing: run tools/install-deps.sh";
  ::test::TempFolder folder("xlsx-openpyxl");
  for (const char* fixture : {"openpyxl_circuits.xlsx", "libreoffice_circuits.xlsx"}) {
    if (!std::filesystem::exists(FixturePath(fixture))) continue;
    auto book = XlsxWorkbook::Load(FixturePath(fixture).string());
    ASSERT_TRUE(book.ok()) << book.error().text;
    book->AddSheet(u"CSpreadSheetBackup", GridOf(kBackup));
    const auto path = folder.path(std::string("backup-") + fixture);
    ASSERT_TRUE(book->Save(path.string()).ok());
    const auto before = Lines(OpenpyxlDump(FixturePath(fixture)));
    auto after = Lines(OpenpyxlDump(path));
    ASSERT_EQ(after.size(), before.size() + 1) << fixture;
    EXPECT_NE(after.back().find("CSpreadSheetBackup"), std::string::npos);
    EXPECT_NE(after.back().find("a&b<c>\\\"d\\\""), std::string::npos) << after.back();
    after.pop_back();
    EXPECT_EQ(after, before) << fixture;
  }
}

TEST(XlsxWriting, LibreOfficeOpensTheChangedWorkbook) {
  ASSERT_TRUE(HaveSoffice()) << "LibreOffice (soffice) is missing: run tools/install-deps.sh";
  ASSERT_FALSE(PythonWithOpenpyxl().empty()) << "python3-openpyxl is missing: run tools/install-deps.sh";
  ::test::TempFolder folder("xlsx-soffice");
  auto book = XlsxWorkbook::Load(FixturePath("openpyxl_circuits.xlsx").string());
  ASSERT_TRUE(book.ok());
  book->AddSheet(u"CSpreadSheetBackup", GridOf(kBackup));
  book->ReplaceSheet(2, GridOf({{"x"}}));
  std::filesystem::create_directory(folder.path("in"));
  ASSERT_TRUE(book->Save(folder.path("in/changed.xlsx").string()).ok());
  XlsxWorkbook results;
  results.AddSheet(u"各回路负荷计算结果", GridOf({{"线路编号"}, {"WL1"}}));
  ASSERT_TRUE(results.Save(folder.path("in/results.xlsx").string()).ok());
  int status = 0;
  RunCommand("cd '" + folder.Path().string() + "' && HOME='" + folder.Path().string() +
                 "' soffice --headless --convert-to xlsx --outdir out in/changed.xlsx in/results.xlsx >/dev/null 2>&1",
             &status);
  ASSERT_EQ(status, 0);
  const auto made = Lines(OpenpyxlDump(folder.path("out/results.xlsx")));
  ASSERT_EQ(made.size(), 1u);
  EXPECT_NE(made[0].find("[\"A2\", \"'WL1'\""), std::string::npos) << made[0];
  const auto lines = Lines(OpenpyxlDump(folder.path("out/changed.xlsx")));
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_NE(lines[0].find("线路负荷计算"), std::string::npos);
  EXPECT_NE(lines[0].find("'照明'"), std::string::npos);
  EXPECT_NE(lines[0].find("C16:E17"), std::string::npos);
  EXPECT_NE(lines[3].find("CSpreadSheetBackup"), std::string::npos);
}

TEST(XlsxWriting, ApplicationPropertiesCountTheAddedSheets) {
  const std::string app =
      "<Properties xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\" "
      "xmlns:vt=\"http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes\"><HeadingPairs>"
      "<vt:vector size=\"4\" baseType=\"variant\"><vt:variant><vt:lpstr>工作表</vt:lpstr></vt:variant>"
      "<vt:variant><vt:i4>2</vt:i4></vt:variant><vt:variant><vt:lpstr>命名范围</vt:lpstr></vt:variant>"
      "<vt:variant><vt:i4>1</vt:i4></vt:variant></vt:vector></HeadingPairs><TitlesOfParts>"
      "<vt:vector size='3' baseType=\"lpstr\"><vt:lpstr>A</vt:lpstr><vt:lpstr>B</vt:lpstr>"
      "<vt:lpstr>A!Print_Area</vt:lpstr></vt:vector></TitlesOfParts></Properties>";
  auto updated = AddSheetTitles(app, {u"C&D"});
  ASSERT_TRUE(updated.ok()) << updated.error().text;
  EXPECT_NE(updated->find("<vt:i4>3</vt:i4>"), std::string::npos);
  EXPECT_NE(updated->find("<vt:i4>1</vt:i4>"), std::string::npos);
  EXPECT_NE(updated->find("size='4' baseType=\"lpstr\"><vt:lpstr>A</vt:lpstr><vt:lpstr>B</vt:lpstr>"
                          "<vt:lpstr>C&amp;D</vt:lpstr><vt:lpstr>A!Print_Area"),
            std::string::npos)
      << *updated;
  const std::string plain = "<Properties><Application>openpyxl</Application></Properties>";
  EXPECT_EQ(*AddSheetTitles(plain, {u"C"}), plain);
}

}  // namespace
}  // namespace xlsx::test
