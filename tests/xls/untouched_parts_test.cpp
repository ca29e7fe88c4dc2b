// What a save must keep of the parts it did not rewrite: formatting runs and
// phonetic data of shared strings, the meaning of every cell of an untouched
// sheet (even one pointing past the string table), and the workbook's count
// of its own sheets.
#include <gtest/gtest.h>

#include "test_support.h"
#include "xls/biff_records.h"
#include "xls/byte_io.h"
#include "xls/compound_file.h"
#include "xls/shared_strings.h"
#include "xls/workbook.h"

namespace xls {
namespace {

using test::MakeGrid;
using test::Utf16;

// The body parts of the SST and its CONTINUE records in `bytes`.
std::vector<std::span<const uint8_t>> SstParts(const std::vector<uint8_t>& bytes) {
  std::vector<std::span<const uint8_t>> parts;
  for (auto rec = record::RecordAt(bytes, 0); rec && rec->id != record::kExtsst; rec = record::RecordAt(bytes, rec->end()))
    parts.push_back(rec->body);
  return parts;
}

TEST(SharedStrings, RunsAndPhoneticDataAreWrittenBackOverContinues) {
  std::vector<std::u16string> texts;
  std::vector<StringFormatting> formatting;
  for (int i = 0; i < 1500; ++i) {
    texts.push_back(Utf16("普通加粗 " + std::to_string(i)) + std::u16string(static_cast<size_t>(i % 40), u'字'));
    StringFormatting format;
    for (int run = 0; run < i % 7; ++run) format.runs.insert(format.runs.end(), {uint8_t(run), 0, uint8_t(5 + run), 0});
    if (i % 5 == 0) format.phonetic.assign(static_cast<size_t>(10 + i % 23), static_cast<uint8_t>(i));
    formatting.push_back(format);
  }
  SharedStringTable table(texts, formatting, 1500);
  EXPECT_EQ(table.Add(texts[7]), 7u) << "a plain loaded string is shared";
  EXPECT_EQ(table.Add(texts[2]), 1500u) << "a new plain cell never takes a string with runs";
  const std::vector<uint8_t> bytes = WriteSstAndExtsst(table, 0);
  auto read = ReadSstWithFormatting(SstParts(bytes));
  ASSERT_TRUE(read.ok()) << read.error().text;
  ASSERT_EQ(read->strings.size(), 1501u);
  for (size_t i = 0; i < texts.size(); ++i) {
    ASSERT_EQ(read->strings[i], texts[i]) << i;
    ASSERT_EQ(read->formatting[i].runs, formatting[i].runs) << i;
    ASSERT_EQ(read->formatting[i].phonetic, formatting[i].phonetic) << i;
  }
  EXPECT_TRUE(read->formatting[1500].empty());
}

// A workbook of sheets "A" (x) and "B" (y, z): strings 0, 1 and 2.
std::vector<uint8_t> TwoSheetWorkbook() {
  Workbook book;
  book.AddSheet(u"A", MakeGrid({{"x"}}));
  book.AddSheet(u"B", MakeGrid({{"y", "z"}}));
  return *book.Serialize();
}

// Points the last LABELSST cell of the file at `index`.
void PointLastCellAt(std::vector<uint8_t>& file, uint32_t index) {
  size_t last = 0;
  for (size_t at = 0; at + 14 <= file.size(); ++at)
    if (GetU16(file, at) == record::kLabelsst && GetU16(file, at + 2) == 10) last = at;
  ASSERT_NE(last, 0u);
  PutU32(file, last + 4 + 6, index);
}

TEST(UntouchedSheets, ACellPastTheStringTableKeepsReadingEmpty) {
  std::vector<uint8_t> file = TwoSheetWorkbook();
  PointLastCellAt(file, 5);
  auto book = Workbook::Parse(file);
  ASSERT_TRUE(book.ok()) << book.error().text;
  ASSERT_EQ(*book->ReadSheet(1), MakeGrid({{"y"}}));

  Grid added;
  for (int i = 0; i < 10; ++i) added.push_back({Utf16("新" + std::to_string(i))});
  book->ReplaceSheet(0, MakeGrid({{"rewritten"}}));
  book->AddSheet(u"C", added);
  auto saved = book->Serialize();
  ASSERT_TRUE(saved.ok()) << saved.error().text;
  auto again = Workbook::Parse(*saved);
  ASSERT_TRUE(again.ok());
  EXPECT_EQ(*again->ReadSheet(1), MakeGrid({{"y"}}));
  EXPECT_EQ(*again->ReadSheet(2), added);
}

TEST(UntouchedSheets, ACellFarPastTheStringTableRefusesTheSave) {
  std::vector<uint8_t> file = TwoSheetWorkbook();
  PointLastCellAt(file, 0x7FFFFFFF);
  auto book = Workbook::Parse(file);
  ASSERT_TRUE(book.ok());
  book->AddSheet(u"C", MakeGrid({{"new"}}));
  auto saved = book->Serialize();
  ASSERT_FALSE(saved.ok());
  EXPECT_NE(saved.error().text.find("refers to shared string 2147483647 of 3"), std::string::npos) << saved.error().text;
}

// The sheet count in the workbook's reference to itself, or -1 when it has none.
int SelfReferenceSheetCount(const std::vector<uint8_t>& file) {
  auto container = CompoundFile::Parse(file);
  if (!container) return -1;
  auto entry = container->FindRootStream(u"Workbook");
  if (!entry) return -1;
  const std::vector<uint8_t>& stream = container->entries()[*entry].data;
  for (auto rec = record::RecordAt(stream, 0); rec && rec->id != record::kEof; rec = record::RecordAt(stream, rec->end()))
    if (rec->id == record::kSupbook && rec->body.size() == 4 && GetU16(rec->body, 2) == 0x0401)
      return GetU16(rec->body, 0);
  return -1;
}

class XlwtWorkbook : public ::testing::Test {
 protected:
  // Runs the Python script with the workbook's path as its argument; "" when
  // xlrd and xlwt are missing.
  std::string Python(const std::string& script) {
    const std::string python = test::PythonWithXlrd();
    if (python.empty()) return "";
    int status = -1;
    const std::string out = test::RunCommand(python + " -c '" + script + "' '" + m_path + "'", &status);
    EXPECT_EQ(status, 0) << out;
    return out;
  }

  test::TempFolder m_folder;
  std::string m_path = m_folder.path("runs.xls").string();
};

constexpr const char kMakeRichWorkbook[] =
    "import sys, xlwt\n"
    "book = xlwt.Workbook(encoding=\"utf-8\")\n"
    "bold = xlwt.Font(); bold.bold = True\n"
    "red = xlwt.Font(); red.colour_index = 2\n"
    "first = book.add_sheet(\"Circuits\")\n"
    "first.write(0, 0, \"回路\")\n"
    "first.write(1, 0, 3)\n"
    "other = book.add_sheet(\"Other\")\n"
    "other.write_rich_text(0, 0, (\"普通\", (\"加粗\", bold)))\n"
    "other.write_rich_text(1, 1, (\"a\", (\"b\", red), \"c\", (\"d\", bold)))\n"
    "other.write(2, 0, xlwt.Formula(\"Circuits!A2*2\"))\n"
    "book.save(sys.argv[1])\n";

constexpr const char kPrintRuns[] =
    "import sys, xlrd\n"
    "book = xlrd.open_workbook(sys.argv[1], formatting_info=True)\n"
    "sheet = book.sheet_by_name(\"Other\")\n"
    "for key in sorted(sheet.rich_text_runlist_map):\n"
    "    print(key, ascii(sheet.cell_value(*key)), sheet.rich_text_runlist_map[key])\n";

TEST_F(XlwtWorkbook, FormattingRunsOfAnUntouchedSheetSurviveAddingASheet) {
  ASSERT_FALSE(Python("import xlwt; print(1)").empty()) << "python3-xlwt is missing: run tools/install-deps.sh";
  Python(kMakeRichWorkbook);
  const std::string before = Python(kPrintRuns);
  ASSERT_NE(before.find("(0, 0) '\\u666e\\u901a\\u52a0\\u7c97' [(2, "), std::string::npos) << before;
  ASSERT_NE(before.find("(1, 1) 'abcd' [(1, "), std::string::npos) << before;
  ASSERT_EQ(SelfReferenceSheetCount(test::ReadBytes(m_path)), 2);

  auto book = Workbook::Load(m_path);
  ASSERT_TRUE(book.ok()) << book.error().text;
  book->ReplaceSheet(0, MakeGrid({{"回路"}, {"普通"}}));  // a plain cell of the same text
  book->AddSheet(u"CSpreadSheetBackup", MakeGrid({{"回路"}, {"3"}}));
  ASSERT_TRUE(book->Save(m_path).ok());

  EXPECT_EQ(Python(kPrintRuns), before);
  EXPECT_EQ(SelfReferenceSheetCount(test::ReadBytes(m_path)), 3);
  auto again = Workbook::Load(m_path);
  ASSERT_TRUE(again.ok());
  EXPECT_EQ(*again->ReadSheet(0), MakeGrid({{"回路"}, {"普通"}}));
}

}  // namespace
}  // namespace xls
