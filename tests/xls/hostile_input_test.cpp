// Damaged and hostile files: every one gives an error text, none a crash,
// a hang or an allocation beyond what the file could hold.
#include <gtest/gtest.h>

#include <functional>

#include "test_support.h"
#include "xls/biff_records.h"
#include "xls/byte_io.h"
#include "xls/compound_file.h"
#include "xls/workbook.h"

namespace xls {
namespace {

using test::MakeGrid;

constexpr size_t kSector = 512;

std::vector<uint8_t> SmallWorkbookFile(int rows = 3) {
  Grid cells;
  for (int r = 0; r < rows; ++r) cells.push_back({u"回路", test::Utf16(std::to_string(r)), u"0.85"});
  Workbook book;
  book.AddSheet(u"S", cells);
  return *book.Serialize();
}

// The sector id of the first allocation table sector, and where it lies in the file.
size_t FirstFatSectorAt(const std::vector<uint8_t>& file) { return (GetU32(file, 0x4C) + 1) * kSector; }
size_t DirectoryAt(const std::vector<uint8_t>& file) { return (GetU32(file, 0x30) + 1) * kSector; }

void ExpectRefused(const std::vector<uint8_t>& file, const std::string& words) {
  auto book = Workbook::Parse(file);
  ASSERT_FALSE(book.ok());
  EXPECT_NE(book.error().text.find(words), std::string::npos) << book.error().text;
}

TEST(HostileInput, SectorChainsThatLoopOrLeaveTheFile) {
  std::vector<uint8_t> looping = SmallWorkbookFile();
  PutU32(looping, FirstFatSectorAt(looping) + 4 * 3, 3);  // the stream's sector 3 follows itself
  ExpectRefused(looping, "circle");

  std::vector<uint8_t> outside = SmallWorkbookFile();
  PutU32(outside, FirstFatSectorAt(outside) + 4 * 2, 5000);
  ExpectRefused(outside, "outside");

  std::vector<uint8_t> bad_directory = SmallWorkbookFile();
  PutU32(bad_directory, 0x30, 0x7FFFFFF0);
  ExpectRefused(bad_directory, "damaged");
}

TEST(HostileInput, HugeCountsAndSizes) {
  std::vector<uint8_t> many_fat_sectors = SmallWorkbookFile();
  PutU32(many_fat_sectors, 0x2C, 0xFFFFFFFF);
  ExpectRefused(many_fat_sectors, "more allocation sectors");

  std::vector<uint8_t> huge_stream = SmallWorkbookFile();
  PutU32(huge_stream, DirectoryAt(huge_stream) + 128 + 120, 0x7FFFFFFF);
  ExpectRefused(huge_stream, "larger than the file");

  std::vector<uint8_t> long_stream = SmallWorkbookFile();
  ASSERT_GT(long_stream.size(), 5000u);
  PutU32(long_stream, DirectoryAt(long_stream) + 128 + 120, 5000);  // more than its chain of 4096 bytes holds
  ExpectRefused(long_stream, "shorter");
}

TEST(HostileInput, ExtendedSectorListPointingAtItself) {
  std::vector<uint8_t> file = SmallWorkbookFile(2000);
  const uint32_t fat_sector = GetU32(file, 0x4C);
  PutU32(file, 0x2C, 200);
  PutU32(file, 0x44, fat_sector);
  PutU32(file, 0x48, 1);
  PutU32(file, FirstFatSectorAt(file) + kSector - 4, fat_sector);
  EXPECT_FALSE(Workbook::Parse(file).ok());
}

// A cut file is refused, unless only unused table space at its end is
// missing; a short last sector reads as zeros, as other readers do.
TEST(HostileInput, TruncatedAnywhere) {
  const std::vector<uint8_t> file = SmallWorkbookFile(200);
  const Grid whole = *Workbook::Parse(file)->ReadSheet(0);
  for (size_t size = 0; size < file.size(); size += size < 1100 ? 37 : 509) {
    const std::vector<uint8_t> cut(file.begin(), file.begin() + size);
    auto book = Workbook::Parse(cut);
    if (book.ok()) {
      EXPECT_GT(size, file.size() - kSector) << "cut at " << size;
      EXPECT_EQ(*book->ReadSheet(0), whole);
    }
  }
}

TEST(HostileInput, ScrambledBytesNeverCrash) {
  const std::vector<uint8_t> file = SmallWorkbookFile(40);
  uint32_t state = 12345;
  auto next = [&] { return state = state * 1103515245 + 12345; };
  for (int round = 0; round < 3000; ++round) {
    std::vector<uint8_t> scrambled = file;
    for (int flips = 1 + next() % 8; flips > 0; --flips) scrambled[next() % scrambled.size()] = static_cast<uint8_t>(next() >> 16);
    auto book = Workbook::Parse(scrambled);
    if (!book.ok()) {
      EXPECT_FALSE(book.error().text.empty());
      continue;
    }
    for (size_t s = 0; s < book->SheetCount(); ++s) (void)book->ReadSheet(s);
    (void)book->Serialize();
  }
}

// Rebuilds the file with its workbook stream changed by `change`.
std::vector<uint8_t> WithWorkbookStream(const std::function<void(std::vector<uint8_t>&)>& change) {
  auto container = CompoundFile::Parse(SmallWorkbookFile());
  const size_t entry = *container->FindRootStream(u"Workbook");
  std::vector<uint8_t> stream = container->entries()[entry].data;
  change(stream);
  container->SetStreamData(entry, stream);
  return container->Serialize();
}

TEST(HostileInput, EncryptedAndOldWorkbooksAreRefusedClearly) {
  ExpectRefused(WithWorkbookStream([](std::vector<uint8_t>& stream) {
                  const std::vector<uint8_t> filepass = {0x2F, 0x00, 0x06, 0x00, 0x01, 0x00, 0x01, 0x00, 0x01, 0x00};
                  stream.insert(stream.begin() + 20, filepass.begin(), filepass.end());
                }),
                "encrypted");
  ExpectRefused(WithWorkbookStream([](std::vector<uint8_t>& stream) { PutU16(stream, 4, 0x0500); }), "older");
  ExpectRefused(WithWorkbookStream([](std::vector<uint8_t>& stream) { stream.resize(200); }), "cut short");
}

TEST(HostileInput, SheetListPointingNowhere) {
  ExpectRefused(WithWorkbookStream([](std::vector<uint8_t>& stream) {
                  for (auto rec = record::RecordAt(stream, 0); rec; rec = record::RecordAt(stream, rec->end()))
                    if (rec->id == record::kBoundsheet) PutU32(stream, rec->offset + 4, 0x00FFFFFF);
                }),
                "sheet");
}

TEST(HostileInput, ManySheetEntriesSharingOneSheet) {
  ExpectRefused(WithWorkbookStream([](std::vector<uint8_t>& stream) {
                  std::vector<uint8_t> boundsheet;
                  for (auto rec = record::RecordAt(stream, 0); rec; rec = record::RecordAt(stream, rec->end()))
                    if (rec->id == record::kBoundsheet) boundsheet.assign(stream.begin() + rec->offset, stream.begin() + rec->end());
                  std::vector<uint8_t> copies;
                  for (int i = 0; i < 3000; ++i) copies.insert(copies.end(), boundsheet.begin(), boundsheet.end());
                  stream.insert(stream.begin() + 20, copies.begin(), copies.end());  // offsets now point anywhere, all alike
                }),
                "share");
}

TEST(HostileInput, SharedStringCountBeyondItsContentKeepsWhatIsThere) {
  auto file = WithWorkbookStream([](std::vector<uint8_t>& stream) {
    for (auto rec = record::RecordAt(stream, 0); rec; rec = record::RecordAt(stream, rec->end()))
      if (rec->id == record::kSst) PutU32(stream, rec->offset + 8, 0xFFFFFFF0);
  });
  auto book = Workbook::Parse(file);
  ASSERT_TRUE(book.ok()) << book.error().text;
  EXPECT_EQ((*book->ReadSheet(0))[0][0], u"回路");
}

TEST(HostileInput, NotAWorkbookOrMissing) {
  const std::string text = "name,phase\n1,L1\n";
  ExpectRefused(std::vector<uint8_t>(text.begin(), text.end()), "not an Excel workbook");
  auto missing = Workbook::Load("/nonexistent/folder/book.xls");
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.error().kind, ErrorKind::NotFound);
}

}  // namespace
}  // namespace xls
