// Workbooks written by the engine and read back by it.
#include <gtest/gtest.h>

#include <algorithm>

#include "test_support.h"
#include "xls/biff_records.h"
#include "xls/compound_file.h"
#include "xls/workbook.h"

namespace xls {
namespace {

using test::MakeGrid;
using test::Utf16;

Workbook Reload(const Workbook& book) {
  auto bytes = book.Serialize();
  EXPECT_TRUE(bytes.ok()) << bytes.error().text;
  auto loaded = Workbook::Parse(*bytes);
  EXPECT_TRUE(loaded.ok()) << loaded.error().text;
  return std::move(*loaded);
}

TEST(RoundTrip, KeepsSheetsChineseTextsAndEmptyCells) {
  Workbook book;
  book.AddSheet(u"线路负荷计算", MakeGrid({{"回路编号", "相别", "", "备注"}, {}, {"", "L1", "0.85"}}));
  book.AddSheet(u"开关型号库", MakeGrid({{"C65N", "6", "10", "16"}}));

  Workbook loaded = Reload(book);
  ASSERT_EQ(loaded.SheetCount(), 2u);
  EXPECT_EQ(loaded.SheetName(0), u"线路负荷计算");
  EXPECT_EQ(loaded.SheetName(1), u"开关型号库");
  EXPECT_EQ(*loaded.ReadSheet(0), MakeGrid({{"回路编号", "相别", "", "备注"}, {}, {"", "L1", "0.85"}}));
  EXPECT_EQ(*loaded.ReadSheet(1), MakeGrid({{"C65N", "6", "10", "16"}}));
}

// A number cell reads back as a spreadsheet shows its value; a text cell
// keeps its text, so the listed cells show they were stored as numbers.
TEST(RoundTrip, ListedCellsAreStoredAsNumbers) {
  Workbook book;
  book.AddSheet(u"S", {});
  book.ReplaceSheet(0, MakeGrid({{"1.080000", "1.080000", "WL1"}, {"-0.500000", "12"}}), {{0, 0}, {0, 2}, {1, 0}, {1, 1}});
  EXPECT_EQ(*Reload(book).ReadSheet(0), MakeGrid({{"1.08", "1.080000", "WL1"}, {"-0.5", "12"}}));
  auto bytes = book.Serialize();
  ASSERT_TRUE(bytes.ok());
  const std::vector<uint8_t> number = {0x03, 0x02, 14, 0};  // a NUMBER record of 14 bytes
  EXPECT_NE(std::search(bytes->begin(), bytes->end(), number.begin(), number.end()), bytes->end());
}

TEST(RoundTrip, TrailingEmptyCellsAndRowsAreNotStored) {
  Workbook book;
  book.AddSheet(u"S", MakeGrid({{"a", "", ""}, {"", ""}, {}}));
  EXPECT_EQ(*Reload(book).ReadSheet(0), MakeGrid({{"a"}}));
}

TEST(RoundTrip, LongAndManyStringsCrossContinueRecords) {
  Grid cells;
  std::u16string wide(9000, u'电');   // two bytes a character: spans three records
  std::u16string narrow(20000, u'x');  // one byte a character
  cells.push_back({wide, narrow, u"after"});
  for (int i = 0; i < 3000; ++i) cells.push_back({Utf16("行" + std::to_string(i)), Utf16("row " + std::to_string(i))});
  Workbook book;
  book.AddSheet(u"Long", cells);
  EXPECT_EQ(*Reload(book).ReadSheet(0), cells);
}

TEST(RoundTrip, ManyRowsFillRowBlocks) {
  Grid cells(65536, std::vector<std::u16string>{u"x"});
  cells[65535] = {u"", u"", u"last"};
  Workbook book;
  book.AddSheet(u"Big", cells);
  Grid loaded = *Reload(book).ReadSheet(0);
  ASSERT_EQ(loaded.size(), 65536u);
  EXPECT_EQ(loaded[65535], cells[65535]);
  EXPECT_EQ(loaded[31], cells[31]);
  EXPECT_EQ(loaded[32], cells[32]);
}

TEST(RoundTrip, ReplacedSheetKeepsItsPlaceAndTheOthersStay) {
  Workbook book;
  book.AddSheet(u"One", MakeGrid({{"1"}}));
  book.AddSheet(u"Two", MakeGrid({{"2"}}));
  Workbook loaded = Reload(book);
  loaded.ReplaceSheet(0, MakeGrid({{"new", "texts"}}));
  loaded.AddSheet(u"Three", MakeGrid({{"3", "two"}}));
  Workbook again = Reload(loaded);
  ASSERT_EQ(again.SheetCount(), 3u);
  EXPECT_EQ(*again.ReadSheet(0), MakeGrid({{"new", "texts"}}));
  EXPECT_EQ(*again.ReadSheet(1), MakeGrid({{"2"}}));
  EXPECT_EQ(*again.ReadSheet(2), MakeGrid({{"3", "two"}}));
  EXPECT_EQ(again.FindSheet(u"three"), 2u);
}

TEST(RoundTrip, RefusesWhatTheFileCannotHold) {
  Workbook empty;
  EXPECT_FALSE(empty.Serialize().ok());

  Workbook bad_name;
  bad_name.AddSheet(u"a[1]", {});
  EXPECT_FALSE(bad_name.Serialize().ok());

  Workbook twice;
  twice.AddSheet(u"Sheet", {});
  twice.AddSheet(u"SHEET", {});
  EXPECT_FALSE(twice.Serialize().ok());

  Workbook too_wide;
  too_wide.AddSheet(u"S", Grid{std::vector<std::u16string>(257, u"x")});
  EXPECT_FALSE(too_wide.Serialize().ok());

  Workbook too_long;
  too_long.AddSheet(u"S", Grid{{std::u16string(32768, u'x')}});
  EXPECT_FALSE(too_long.Serialize().ok());
}

}  // namespace
}  // namespace xls

namespace xls {
namespace {

// The workbook stream of a small book, without the padding our writer adds.
std::vector<uint8_t> SmallWorkbookStream() {
  Workbook book;
  book.AddSheet(u"小", MakeGrid({{"a", "b"}, {"1"}}));
  auto container = CompoundFile::Parse(*book.Serialize());
  std::vector<uint8_t> stream = container->entries()[*container->FindRootStream(u"Workbook")].data;
  int ends = 0;  // the globals' EOF and the sheet's
  for (auto rec = record::RecordAt(stream, 0); rec; rec = record::RecordAt(stream, rec->end()))
    if (rec->id == record::kEof && ++ends == 2) {
      stream.resize(rec->end());
      break;
    }
  return stream;
}

TEST(ContainerVariants, WorkbookInTheSmallStreamAreaOrNamedBook) {
  const std::vector<uint8_t> stream = SmallWorkbookStream();
  ASSERT_LT(stream.size(), 4096u);  // so the container keeps it among its small streams
  for (const char16_t* name : {u"Workbook", u"Book"}) {
    auto book = Workbook::Parse(CompoundFile::WithStream(name, stream).Serialize());
    ASSERT_TRUE(book.ok()) << book.error().text;
    EXPECT_EQ(book->SheetName(0), u"小");
    EXPECT_EQ(*book->ReadSheet(0), MakeGrid({{"a", "b"}, {"1"}}));
  }
  auto other = Workbook::Parse(CompoundFile::WithStream(u"Data", stream).Serialize());
  ASSERT_FALSE(other.ok());
  EXPECT_NE(other.error().text.find("no Workbook stream"), std::string::npos);
}

}  // namespace
}  // namespace xls
