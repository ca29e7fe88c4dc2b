// Packages as other programs and scripts really write them: parts stored as
// UTF-16, members in an unusual order or with stray bytes between them, far
// cells, huge string tables, formulas without values, chart sheets with the
// backup's name, damaged sheet lists, encrypted files, and a file changed by
// another program before the backup is written.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <fcntl.h>

#include "xls/compound_file.h"
#include "sql/connection.h"
#include "sql/connection_book.h"
#include "xlsx/cell_parts.h"
#include "xlsx/xlsx_workbook.h"
#include "xlsx/zip_package.h"
#include "xlsx_test_support.h"

namespace xlsx::test {
namespace {

using Table = std::vector<std::vector<std::string>>;

const char kSheet[] =
    "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>"
    "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>回路</t></is></c><c r=\"B1\"><v>1.5</v></c></row>"
    "</sheetData></worksheet>";

std::string Utf16LittleEndian(std::string_view utf8, bool mark) {
  std::string bytes = mark ? "\xFF\xFE" : "";
  for (char16_t unit : Utf16(utf8)) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

std::string Utf16BigEndian(std::string_view utf8) {
  std::string bytes = "\xFE\xFF";
  for (char16_t unit : Utf16(utf8)) {
    bytes += static_cast<char>(unit >> 8);
    bytes += static_cast<char>(unit & 0xFF);
  }
  return bytes;
}

std::string& PartOf(Parts& parts, const std::string& name) {
  for (auto& [part, xml] : parts)
    if (part == name) return xml;
  throw std::runtime_error("no part " + name);
}

// The package with the backup sheet added, saved and read again: every sheet's rows by name.
std::map<std::string, Table> AddBackupAndReadAll(const std::vector<uint8_t>& bytes, std::vector<uint8_t>* saved = nullptr) {
  auto book = XlsxWorkbook::Parse(bytes);
  if (!book) return {{"error", {{book.error().text}}}};
  book->AddSheet(u"CSpreadSheetBackup", {{u"备份", u"x"}});
  auto written = book->Serialize();
  if (!written) return {{"error", {{written.error().text}}}};
  if (saved) *saved = *written;
  auto again = XlsxWorkbook::Parse(*written);
  if (!again) return {{"error", {{again.error().text}}}};
  std::map<std::string, Table> sheets;
  for (size_t i = 0; i < again->SheetCount(); ++i) {
    auto grid = again->ReadSheet(i);
    sheets[Utf8(again->SheetName(i))] = grid ? Rows(*grid) : Table{{grid.error().text}};
  }
  return sheets;
}

const std::map<std::string, Table> kWithBackup = {{"S", {{"回路", "1.5"}}}, {"CSpreadSheetBackup", {{"备份", "x"}}}};

TEST(XlsxRealWorld, PartsStoredAsUtf16AreReadAndEditedInTheirOwnEncoding) {
  const std::string declaration = "<?xml version=\"1.0\" encoding=\"UTF-16\" standalone=\"yes\"?>\n";
  for (const std::string name : {"xl/workbook.xml", "[Content_Types].xml", "xl/_rels/workbook.xml.rels", "_rels/.rels"}) {
    for (int form = 0; form < 3; ++form) {
      Parts parts = OneSheetPackage(kSheet);
      std::string& xml = PartOf(parts, name);
      xml = form == 0 ? Utf16LittleEndian(declaration + xml, true)
                      : form == 1 ? Utf16BigEndian(declaration + xml) : Utf16LittleEndian(declaration + xml, false);
      std::vector<uint8_t> saved;
      EXPECT_EQ(AddBackupAndReadAll(Zip(parts), &saved), kWithBackup) << name << " form " << form;
      auto package = ZipPackage::Open(saved);
      ASSERT_TRUE(package.ok());
      auto stored = package->ReadPart(name);
      ASSERT_TRUE(stored.ok());
      // Still UTF-16 in the same byte order and with the same mark, and still declaring it.
      EXPECT_EQ(stored->substr(0, 4), xml.substr(0, 4)) << name << " form " << form;
      const std::string expected_declaration = form == 1 ? Utf16BigEndian(declaration).substr(2)
                                                         : Utf16LittleEndian(declaration, false);
      EXPECT_NE(stored->find(expected_declaration), std::string::npos) << name << " form " << form;
    }
  }
}

TEST(XlsxRealWorld, OpenpyxlOpensTheBackupAddedToAUtf16Workbook) {
  ASSERT_FALSE(PythonWithOpenpyxl().empty()) << "python3-openpyxl is missing: run tools/install-deps.sh";
  // openpyxl finds the workbook part by its content type.
  Parts parts = OneSheetPackage(
      kSheet, {{"[Content_Types].xml",
                "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                "<Override PartName=\"/xl/workbook.xml\" "
                "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
                "<Override PartName=\"/xl/worksheets/sheet1.xml\" "
                "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/></Types>"}});
  for (const std::string name : {"xl/workbook.xml", "[Content_Types].xml", "xl/_rels/workbook.xml.rels"})
    PartOf(parts, name) = Utf16LittleEndian("<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + PartOf(parts, name), true);
  std::vector<uint8_t> saved;
  ASSERT_EQ(AddBackupAndReadAll(Zip(parts), &saved), kWithBackup);
  ::test::TempFolder folder;
  WriteBytes(folder.Path() / "utf16.xlsx", saved);
  const std::string dump = OpenpyxlDump(folder.Path() / "utf16.xlsx");
  EXPECT_NE(dump.find("CSpreadSheetBackup"), std::string::npos) << dump;
  EXPECT_NE(dump.find("备份"), std::string::npos) << dump;
}

TEST(XlsxRealWorld, APartInAnEncodingThatCannotBeWrittenLeavesTheFileAsItWas) {
  Parts parts = OneSheetPackage(kSheet);
  PartOf(parts, "xl/workbook.xml") = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>" + PartOf(parts, "xl/workbook.xml");
  ::test::TempFolder folder;
  const auto path = folder.Path() / "latin.xlsx";
  const std::vector<uint8_t> original = Zip(parts);
  WriteBytes(path, original);
  auto book = XlsxWorkbook::Load(path.string());
  ASSERT_TRUE(book.ok()) << book.error().text;
  ASSERT_TRUE(book->ReadSheet(0).ok());
  book->AddSheet(u"CSpreadSheetBackup", {{u"a"}});
  auto saved = book->Save(path.string());
  ASSERT_FALSE(saved.ok());
  EXPECT_NE(saved.error().text.find("xl/workbook.xml is stored in the encoding iso-8859-1"), std::string::npos)
      << saved.error().text;
  EXPECT_EQ(ReadBytes(path), original);
}

TEST(XlsxRealWorld, WorksheetsStoredBeforeTheWorkbookPartGetTheBackup) {
  Parts parts = OneSheetPackage(kSheet);
  std::rotate(parts.begin(), parts.end() - 1, parts.end());  // the worksheet first
  std::swap(parts[1], parts[4]);                              // and the workbook part last
  ASSERT_EQ(parts.front().first, "xl/worksheets/sheet1.xml");
  std::vector<uint8_t> saved;
  EXPECT_EQ(AddBackupAndReadAll(Zip(parts), &saved), kWithBackup);
  // A second backup run on the result, as the next reading does.
  auto again = XlsxWorkbook::Parse(saved);
  ASSERT_TRUE(again.ok());
  again->ReplaceSheet(0, {{u"新"}});
  EXPECT_TRUE(again->Serialize().ok());
}

TEST(XlsxRealWorld, AFileChangedOnDiskAfterReadingIsNotOverwritten) {
  ::test::TempFolder folder;
  const auto path = folder.Path() / "board.xlsx";
  WriteBytes(path, Zip(OneSheetPackage(kSheet)));
  auto book = XlsxWorkbook::Load(path.string());
  ASSERT_TRUE(book.ok());
  ASSERT_TRUE(book->ReadSheet(0).ok());
  // Another program saves its own edit in place, keeping the size.
  std::vector<uint8_t> edited = Zip(OneSheetPackage(std::string(kSheet).replace(std::string(kSheet).find("1.5"), 3, "2.5")));
  WriteBytes(path, edited);
  book->AddSheet(u"CSpreadSheetBackup", {{u"a"}});
  auto saved = book->Save(path.string());
  ASSERT_FALSE(saved.ok());
  EXPECT_NE(saved.error().text.find("was changed by another program"), std::string::npos) << saved.error().text;
  EXPECT_EQ(ReadBytes(path), edited);
}

TEST(XlsxRealWorld, AnUnchangedFileIsParsedOnceAndAChangedOneAgain) {
  ::test::TempFolder folder;
  const auto path = folder.Path() / "library.xlsx";
  WriteBytes(path, Zip(OneSheetPackage(kSheet)));
  auto first = XlsxWorkbook::Load(path.string());
  auto second = XlsxWorkbook::Load(path.string());
  ASSERT_TRUE(first.ok() && second.ok());
  auto a = first->SheetCells(0), b = second->SheetCells(0);
  ASSERT_TRUE(a.ok() && b.ok());
  EXPECT_EQ(a->get(), b->get());  // the very same cells: nothing read or parsed again
  // Touched (same bytes, new change time): read afresh.
  struct timespec times[2] = {{0, UTIME_NOW}, {0, UTIME_NOW}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  auto third = XlsxWorkbook::Load(path.string());
  ASSERT_TRUE(third.ok());
  auto c = third->SheetCells(0);
  ASSERT_TRUE(c.ok());
  EXPECT_NE(a->get(), c->get());
  EXPECT_EQ(**a, **c);
}

// Peak memory of this process so far, in bytes.
size_t PeakMemory() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.starts_with("VmHWM:")) return std::stoul(line.substr(6)) * 1024;
  return 0;
}

TEST(XlsxRealWorld, FarCellsAndHugeStringTablesStayWithinTheMemoryBudget) {
  std::string far = "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>";
  for (int r = 1; r <= 50000; ++r)
    far += "<row r=\"" + std::to_string(r) + "\"><c r=\"XFD" + std::to_string(r) + "\"><v>1</v></c></row>";
  far += "</sheetData></worksheet>";
  std::string empty_items = "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
  for (int i = 0; i < 3'000'000; ++i) empty_items += "<si/>";
  empty_items += "</sst>";
  const std::vector<uint8_t> far_package = Zip(OneSheetPackage(far));
  // Noise that does not deflate makes the archive large enough for the
  // strings part to pass as no bomb, as it does in a real file of this kind.
  std::string noise(2 << 20, '\0');
  uint32_t state = 1;
  for (char& byte : noise) byte = static_cast<char>((state = state * 1103515245u + 12345u) >> 24);
  const std::vector<uint8_t> strings_package =
      Zip(OneSheetPackage(kSheet, {{"xl/sharedStrings.xml", empty_items}, {"xl/media/noise.bin", noise}}));
  far.clear();
  far.shrink_to_fit();
  empty_items.clear();
  empty_items.shrink_to_fit();
  const size_t before = PeakMemory();

  auto far_book = XlsxWorkbook::Parse(far_package);
  ASSERT_TRUE(far_book.ok());
  auto far_cells = far_book->ReadSheet(0);
  ASSERT_FALSE(far_cells.ok());
  EXPECT_NE(far_cells.error().text.find("needs more memory than the program allows"), std::string::npos);
  auto strings_book = XlsxWorkbook::Parse(strings_package);
  ASSERT_FALSE(strings_book.ok());
  EXPECT_NE(strings_book.error().text.find("shared strings need more memory"), std::string::npos) << strings_book.error().text;
  EXPECT_LT(PeakMemory() - before, size_t{100} << 20);

  // A few far cells are fine.
  auto few = XlsxWorkbook::Parse(Zip(OneSheetPackage(
      "<worksheet><sheetData><row r=\"3\"><c r=\"XFD3\"><v>7</v></c></row></sheetData></worksheet>")));
  ASSERT_TRUE(few.ok());
  auto cells = few->ReadSheet(0);
  ASSERT_TRUE(cells.ok()) << cells.error().text;
  ASSERT_EQ(cells->size(), 3u);
  EXPECT_EQ(Utf8(cells->back().at(16383)), "7");
}

TEST(XlsxRealWorld, AFormulaWithoutAStoredValueIsNeverANumber) {
  auto book = XlsxWorkbook::Parse(Zip(OneSheetPackage(
      "<worksheet><sheetData><row r=\"1\"><c r=\"A1\"><f>0.6+0.6</f></c><c r=\"B1\"><f>0.6+0.6</f><v>1.2</v></c>"
      "<c r=\"C1\" t=\"str\"><f>\"\"</f><v></v></c><c r=\"D1\"><f t=\"shared\" si=\"0\"/></c>"
      "<c r=\"E1\"><f>2*3</f><v></v></c></row>"
      "</sheetData></worksheet>")));
  ASSERT_TRUE(book.ok());
  auto cells = book->ReadSheet(0);
  ASSERT_TRUE(cells.ok());
  EXPECT_EQ(Rows(*cells), (Table{{"=0.6+0.6", "1.2", "", "=", "=2*3"}}));
  EXPECT_TRUE(IsUncomputedFormula((*cells)[0][0]));
  EXPECT_TRUE(IsUncomputedFormula((*cells)[0][3]));
  EXPECT_FALSE(IsUncomputedFormula((*cells)[0][1]));
}

Parts WithSheetList(const std::string& sheets, const std::string& extra_relationships) {
  return OneSheetPackage(
      kSheet,
      {{"xl/workbook.xml",
        "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>" +
            sheets + "</sheets></workbook>"},
       {"xl/_rels/workbook.xml.rels",
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
        "worksheet\" Target=\"worksheets/sheet1.xml\"/>" +
            extra_relationships + "</Relationships>"}});
}

TEST(XlsxRealWorld, AChartSheetNamedAsTheBackupIsFound) {
  ::test::TempFolder folder;
  const auto path = folder.Path() / "chart.xlsx";
  WriteBytes(path, Zip(WithSheetList(
                       "<sheet name=\"S\" sheetId=\"1\" r:id=\"rId1\"/>"
                       "<sheet name=\"cspreadsheetbackup\" sheetId=\"2\" r:id=\"rId5\"/>",
                       "<Relationship Id=\"rId5\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                       "relationships/chartsheet\" Target=\"chartsheets/sheet1.xml\"/>")));
  auto book = XlsxWorkbook::Load(path.string());
  ASSERT_TRUE(book.ok());
  EXPECT_EQ(book->SheetCount(), 1u);
  EXPECT_TRUE(book->HasSheetNamed(u"CSpreadSheetBackup"));
  auto connection = xls::Connection::Open(path.string(), {});
  ASSERT_TRUE(connection.ok());
  auto created = connection->Execute(u"CREATE TABLE [CSpreadSheetBackup] ([a] char(255))");
  ASSERT_FALSE(created.ok());
  EXPECT_NE(created.error().text.find("already has a sheet"), std::string::npos) << created.error().text;
}

TEST(XlsxRealWorld, ASheetWithAnEmptyRelationshipIdIsTheOnlyOneUnusable) {
  auto book = XlsxWorkbook::Parse(Zip(WithSheetList(
      "<sheet name=\"Bad\" sheetId=\"2\" r:id=\"\"/><sheet name=\"S\" sheetId=\"1\" r:id=\"rId1\"/>", "")));
  ASSERT_TRUE(book.ok()) << book.error().text;
  ASSERT_EQ(book->SheetCount(), 2u);
  auto bad = book->ReadSheet(0);
  ASSERT_FALSE(bad.ok());
  EXPECT_NE(bad.error().text.find("the sheet 'Bad' has no part"), std::string::npos) << bad.error().text;
  auto good = book->ReadSheet(1);
  ASSERT_TRUE(good.ok());
  EXPECT_EQ(Rows(*good), (Table{{"回路", "1.5"}}));
  // The good sheet can still be rewritten; writing the bad one is refused.
  book->ReplaceSheet(1, {{u"n"}});
  EXPECT_TRUE(book->Serialize().ok());
  book->ReplaceSheet(0, {{u"n"}});
  EXPECT_FALSE(book->Serialize().ok());
}

TEST(XlsxRealWorld, AStrayByteBetweenMembersAndAWrongStringCountAreRead) {
  const std::string python = ::test::PythonWithModule("zipfile");
  ASSERT_FALSE(python.empty()) << "python3 is missing: run tools/install-deps.sh";
  ::test::TempFolder folder;
  const auto path = folder.Path() / "stray.xlsx";
  Parts parts = OneSheetPackage(
      "<worksheet><sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row></sheetData></worksheet>",
      {{"xl/sharedStrings.xml", "<sst count=\"99\" uniqueCount=\"42\"><si><t>照明</t></si></sst>"}});
  // Python's zipfile writes each member; one byte is slipped in after the first.
  std::string script = "import zipfile\nz = zipfile.ZipFile('" + path.string() + "', 'w', zipfile.ZIP_DEFLATED)\n";
  for (size_t i = 0; i < parts.size(); ++i) {
    const auto file = folder.Path() / ("part" + std::to_string(i));
    WriteBytes(file, {parts[i].second.begin(), parts[i].second.end()});
    script += "z.writestr('" + parts[i].first + "', open('" + file.string() + "', 'rb').read())\n";
    if (i == 0) script += "z.fp.write(b'\\x00')\nz.start_dir = z.fp.tell()\n";
  }
  script += "z.close()\n";
  WriteBytes(folder.Path() / "make.py", {script.begin(), script.end()});
  int status = 0;
  RunCommand(python + " '" + (folder.Path() / "make.py").string() + "'", &status);
  ASSERT_EQ(status, 0);
  auto book = XlsxWorkbook::Load(path.string());
  ASSERT_TRUE(book.ok()) << book.error().text;
  auto cells = book->ReadSheet(0);
  ASSERT_TRUE(cells.ok()) << cells.error().text;
  EXPECT_EQ(Rows(*cells), (Table{{"照明"}}));
  book->AddSheet(u"CSpreadSheetBackup", {{u"a"}});
  ASSERT_TRUE(book->Save(path.string()).ok());
  auto again = XlsxWorkbook::Load(path.string());
  ASSERT_TRUE(again.ok());
  EXPECT_EQ(again->SheetCount(), 2u);
}

TEST(XlsxRealWorld, AMissingStringTableMakesOnlyTheSheetsUsingItUnreadable) {
  Parts parts = OneSheetPackage(kSheet, {{"xl/sharedStrings.xml", "<sst/>"}});
  parts.pop_back();  // the string table, named by the relationships, is not in the archive
  parts.push_back({"xl/worksheets/sheet2.xml",
                   "<worksheet><sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row></sheetData></worksheet>"});
  PartOf(parts, "xl/workbook.xml") =
      "<workbook xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>"
      "<sheet name=\"S\" sheetId=\"1\" r:id=\"rId1\"/><sheet name=\"T\" sheetId=\"2\" r:id=\"rId3\"/></sheets></workbook>";
  std::string& rels = PartOf(parts, "xl/_rels/workbook.xml.rels");
  rels.insert(rels.find("</Relationships>"),
              "<Relationship Id=\"rId3\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
              "worksheet\" Target=\"worksheets/sheet2.xml\"/>");
  auto book = XlsxWorkbook::Parse(Zip(parts));
  ASSERT_TRUE(book.ok()) << book.error().text;
  auto plain = book->ReadSheet(0);
  ASSERT_TRUE(plain.ok()) << plain.error().text;
  EXPECT_EQ(Rows(*plain), (Table{{"回路", "1.5"}}));
  auto strings = book->ReadSheet(1);
  ASSERT_FALSE(strings.ok());
  EXPECT_NE(strings.error().text.find("the cell A1 refers to the shared strings, which the workbook lacks"),
            std::string::npos) << strings.error().text;
}

TEST(XlsxRealWorld, AnEncryptedWorkbookIsSaidToBePasswordProtected) {
  ::test::TempFolder folder;
  const auto ole = xls::CompoundFile::WithStream(u"EncryptedPackage", std::vector<uint8_t>(5000, 0x5A)).Serialize();
  for (const char* name : {"secret.xlsx", "secret.xls"}) {
    WriteBytes(folder.Path() / name, ole);
    auto book = xls::LoadSheetBook((folder.Path() / name).string());
    ASSERT_FALSE(book.ok());
    EXPECT_NE(book.error().text.find("password-protected"), std::string::npos) << name << ": " << book.error().text;
  }
}

}  // namespace
}  // namespace xlsx::test
