// Saving replaces a workbook only once the new one is complete; on failure
// the old file stays as it was.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "test_support.h"
#include "xls/workbook.h"

namespace xls {
namespace {

namespace fs = std::filesystem;
using test::MakeGrid;

Workbook OneSheetBook(const char* text) {
  Workbook book;
  book.AddSheet(u"S", MakeGrid({{text}}));
  return book;
}

std::u16string FirstCell(const fs::path& path) {
  auto book = Workbook::Load(path.string());
  return book.ok() ? (*book->ReadSheet(0))[0][0] : u"";
}

size_t FilesIn(const fs::path& folder) { return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator())); }

TEST(AtomicWrite, FailureLeavesTheOriginalUntouched) {
  test::TempFolder folder;
  const fs::path path = folder.path("book.xls");
  ASSERT_TRUE(OneSheetBook("old").Save(path.string()).ok());
  const auto before = test::ReadBytes(path);

  Workbook unsavable;
  unsavable.AddSheet(u"bad/name", {});
  EXPECT_FALSE(unsavable.Save(path.string()).ok());
  EXPECT_EQ(test::ReadBytes(path), before);
  EXPECT_EQ(FilesIn(folder.path("")), 1u);  // no temporary file left behind

  auto missing_folder = OneSheetBook("new").Save(folder.path("no/such/folder/book.xls").string());
  ASSERT_FALSE(missing_folder.ok());
  EXPECT_NE(missing_folder.error().text.find("no/such/folder"), std::string::npos) << missing_folder.error().text;

  EXPECT_FALSE(OneSheetBook("new").Save(folder.path("").string()).ok());  // a folder, not a file
}

TEST(AtomicWrite, ReadOnlyFolderGivesAnErrorAndKeepsTheFile) {
  if (geteuid() == 0) GTEST_SKIP() << "the superuser writes into read-only folders";
  test::TempFolder folder;
  const fs::path path = folder.path("book.xls");
  ASSERT_TRUE(OneSheetBook("old").Save(path.string()).ok());
  fs::permissions(folder.path(""), fs::perms::owner_read | fs::perms::owner_exec);
  auto saved = OneSheetBook("new").Save(path.string());
  fs::permissions(folder.path(""), fs::perms::owner_all);
  EXPECT_FALSE(saved.ok());
  EXPECT_EQ(FirstCell(path), u"old");
}

TEST(AtomicWrite, KeepsPermissions) {
  test::TempFolder folder;
  const fs::path path = folder.path("book.xls");
  ASSERT_TRUE(OneSheetBook("old").Save(path.string()).ok());
  chmod(path.c_str(), 0640);
  ASSERT_TRUE(OneSheetBook("new").Save(path.string()).ok());
  struct stat info;
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(FirstCell(path), u"new");
}

TEST(AtomicWrite, WritesThroughSymbolicLinks) {
  test::TempFolder folder;
  fs::create_directory(folder.path("data"));
  const fs::path target = folder.path("data/book.xls");
  ASSERT_TRUE(OneSheetBook("old").Save(target.string()).ok());
  const fs::path link = folder.path("link.xls");
  fs::create_symlink("data/book.xls", link);

  ASSERT_TRUE(OneSheetBook("new").Save(link.string()).ok());
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(FirstCell(target), u"new");

  const fs::path dangling = folder.path("dangling.xls");
  fs::create_symlink("data/created.xls", dangling);
  ASSERT_TRUE(OneSheetBook("created").Save(dangling.string()).ok());
  EXPECT_TRUE(fs::is_symlink(dangling));
  EXPECT_EQ(FirstCell(folder.path("data/created.xls")), u"created");
}

}  // namespace
}  // namespace xls
