// Opening a workbook reads its globals and the sheet asked for, and opening
// the same file again while it is unchanged reuses what was read; any change
// to the file, even one that keeps its size and modification time, is seen.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "test_support.h"
#include "xls/biff_records.h"
#include "xls/byte_io.h"
#include "xls/compound_file.h"
#include "xls/globals.h"
#include "xls/workbook.h"

namespace xls {
namespace {

using test::MakeGrid;

std::vector<uint8_t> TwoSheetFile(const char* rating) {
  Workbook book;
  book.AddSheet(u"线路", MakeGrid({{"回路"}, {"WL1"}}));
  book.AddSheet(u"开关", MakeGrid({{"型号", "额定"}, {"C16", rating}}));
  auto bytes = book.Serialize();
  EXPECT_TRUE(bytes.ok());
  return *bytes;
}

// Writes `bytes` into the existing file without replacing it, and puts the
// modification time back as it was.
void OverwriteKeepingModificationTime(const std::string& path, const std::vector<uint8_t>& bytes) {
  struct stat before;
  ASSERT_EQ(stat(path.c_str(), &before), 0);
  const int fd = open(path.c_str(), O_WRONLY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(pwrite(fd, bytes.data(), bytes.size(), 0), static_cast<ssize_t>(bytes.size()));
  const struct timespec times[2] = {before.st_atim, before.st_mtim};
  ASSERT_EQ(futimens(fd, times), 0);
  close(fd);
  struct stat after;
  ASSERT_EQ(stat(path.c_str(), &after), 0);
  ASSERT_EQ(after.st_ino, before.st_ino);
  ASSERT_EQ(after.st_size, before.st_size);
  ASSERT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
}

std::u16string Rating(const std::string& path) {
  auto book = Workbook::Load(path);
  EXPECT_TRUE(book.ok()) << book.error().text;
  auto cells = book->ReadSheet(1);
  EXPECT_TRUE(cells.ok()) << cells.error().text;
  return cells.ok() && cells->size() > 1 && (*cells)[1].size() > 1 ? (*cells)[1][1] : u"";
}

TEST(ReadingOnDemand, AChangeInPlaceOfTheSameSizeAndTimeIsSeenByTheNextOpening) {
  test::TempFolder folder;
  const std::string path = folder.path("book.xls").string();
  const std::vector<uint8_t> before = TwoSheetFile("16"), after = TwoSheetFile("63");
  ASSERT_EQ(before.size(), after.size());
  test::WriteBytes(path, before);
  EXPECT_EQ(Rating(path), u"16");
  EXPECT_EQ(Rating(path), u"16");
  OverwriteKeepingModificationTime(path, after);
  EXPECT_EQ(Rating(path), u"63");
  // Replacing the file by another one is seen as well.
  test::WriteBytes(path + ".new", before);
  ASSERT_EQ(rename((path + ".new").c_str(), path.c_str()), 0);
  EXPECT_EQ(Rating(path), u"16");
}

TEST(ReadingOnDemand, AFileChangedInPlaceWhileOpenIsNeitherMixedNorWrittenOver) {
  test::TempFolder folder;
  const std::string path = folder.path("book.xls").string();
  const std::vector<uint8_t> before = TwoSheetFile("16"), after = TwoSheetFile("63");
  test::WriteBytes(path, before);
  auto book = Workbook::Load(path);
  ASSERT_TRUE(book.ok());
  OverwriteKeepingModificationTime(path, after);
  // The library was not read yet: reading it now would pair the old strings
  // with the new records.
  auto library = book->ReadSheet(1);
  ASSERT_FALSE(library.ok());
  EXPECT_NE(library.error().text.find("changed"), std::string::npos) << library.error().text;
  book->ReplaceSheet(0, MakeGrid({{"x"}}));
  EXPECT_FALSE(book->Save(path).ok());
  EXPECT_EQ(test::ReadBytes(path), after);
}

// Where the stream of a workbook the engine wrote puts sheet `index`: its
// stream is the file's first stream, laid out in order after the header.
size_t SheetStartInFile(const std::vector<uint8_t>& file, size_t index) {
  auto container = CompoundFile::Parse(file);
  EXPECT_TRUE(container.ok());
  auto globals = ReadGlobals(container->entries()[*container->FindRootStream(u"Workbook")].data);
  EXPECT_TRUE(globals.ok());
  std::vector<uint32_t> offsets;
  for (const StoredRecord& rec : globals->records)
    if (rec.id == record::kBoundsheet) offsets.push_back(ParseBoundsheet(rec.body).offset);
  return 512 + offsets.at(index);
}

TEST(ReadingOnDemand, OtherSheetsAreNotReadUntilTheWorkbookIsSaved) {
  test::TempFolder folder;
  const std::string path = folder.path("book.xls").string();
  std::vector<uint8_t> bytes = TwoSheetFile("16");
  PutU16(bytes, SheetStartInFile(bytes, 1), 0x1234);  // the second sheet no longer starts with BOF
  test::WriteBytes(path, bytes);

  auto book = Workbook::Load(path);
  ASSERT_TRUE(book.ok()) << book.error().text;
  auto first = book->ReadSheet(0);
  ASSERT_TRUE(first.ok()) << first.error().text;
  EXPECT_EQ(*first, MakeGrid({{"回路"}, {"WL1"}}));
  EXPECT_FALSE(book->ReadSheet(1).ok());
  // Saving copies every sheet, so the damaged one stops it, and the file stays.
  book->AddSheet(u"新", MakeGrid({{"x"}}));
  auto saved = book->Save(path);
  ASSERT_FALSE(saved.ok());
  EXPECT_NE(saved.error().text.find("damaged"), std::string::npos) << saved.error().text;
  EXPECT_EQ(test::ReadBytes(path), bytes);
  // Bytes parsed in memory are still checked whole.
  EXPECT_FALSE(Workbook::Parse(bytes).ok());
}

TEST(ReadingOnDemand, SavingAWorkbookOpenedFromAFileKeepsItsUntouchedSheets) {
  test::TempFolder folder;
  const std::string path = folder.path("book.xls").string();
  test::WriteBytes(path, TwoSheetFile("16"));
  ASSERT_EQ(Rating(path), u"16");  // the library is read and kept
  auto book = Workbook::Load(path);
  ASSERT_TRUE(book.ok());
  book->ReplaceSheet(0, MakeGrid({{"新"}}));
  ASSERT_TRUE(book->Save(path).ok());
  auto again = Workbook::Load(path);
  ASSERT_TRUE(again.ok());
  EXPECT_EQ(*again->ReadSheet(0), MakeGrid({{"新"}}));
  EXPECT_EQ(*again->ReadSheet(1), MakeGrid({{"型号", "额定"}, {"C16", "16"}}));
}

}  // namespace
}  // namespace xls
