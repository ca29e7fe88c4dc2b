// The one safe write every file of the program goes through: what it
// refuses, what it keeps of the replaced file, and how it treats links.
#include <sys/file.h>
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "../support/files_and_commands.h"
#include "../support/temp_folder.h"
#include "workbook/atomic_file.h"

namespace xls {
namespace {

namespace fs = std::filesystem;

std::span<const uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

std::string Contents(const fs::path& path) {
  const auto bytes = test::ReadBytes(path);
  return {bytes.begin(), bytes.end()};
}

size_t EntriesIn(const fs::path& folder) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(SafeWrite, ADanglingLinkIsWrittenThroughAndStaysALink) {
  test::TempFolder folder;
  fs::create_directory(folder.path("targets"));
  fs::create_symlink("targets/results.xls", folder.path("link.xls"));  // relative, target missing
  ASSERT_TRUE(WriteFileAtomically(folder.path("link.xls").string(), Bytes("new")).ok());
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder.path("link.xls"))));
  EXPECT_EQ(Contents(folder.path("targets/results.xls")), "new");
  EXPECT_EQ(EntriesIn(folder.path("targets")), 1u);
}

TEST(SafeWrite, AChainOfLinksReachesTheFileAndKeepsItsMode) {
  test::TempFolder folder;
  test::WriteBytes(folder.path("real.txt"), {'o', 'l', 'd'});
  fs::permissions(folder.path("real.txt"), fs::perms(0640));
  fs::create_symlink(folder.path("real.txt"), folder.path("first"));
  fs::create_symlink("first", folder.path("second"));
  ASSERT_TRUE(WriteFileAtomically(folder.path("second").string(), Bytes("new")).ok());
  EXPECT_EQ(Contents(folder.path("real.txt")), "new");
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder.path("first"))));
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder.path("second"))));
  EXPECT_EQ(fs::status(folder.path("real.txt")).permissions(), fs::perms(0640));
}

TEST(SafeWrite, RefusesWhatIsNoWritableRegularFileAndLeavesItAlone) {
  test::TempFolder folder;
  fs::create_directory(folder.path("folder"));
  ASSERT_EQ(mkfifo(folder.path("pipe").c_str(), 0600), 0);
  test::WriteBytes(folder.path("locked.xls"), {'o', 'l', 'd'});
  fs::permissions(folder.path("locked.xls"), fs::perms(0444));
  for (const char* name : {"folder", "pipe", "locked.xls"}) {
    const Status written = WriteFileAtomically(folder.path(name).string(), Bytes("new"));
    EXPECT_FALSE(written.ok()) << name;
  }
  EXPECT_TRUE(fs::is_directory(folder.path("folder")));
  EXPECT_TRUE(fs::is_fifo(folder.path("pipe")));
  EXPECT_EQ(Contents(folder.path("locked.xls")), "old");
  EXPECT_EQ(EntriesIn(folder.Path()), 3u);  // no temporary file left
}

TEST(SafeWrite, AFileAnotherProgramHasOpenIsLeftAsItIs) {
  test::TempFolder folder;
  test::WriteBytes(folder.path("board.xls"), {'o', 'l', 'd'});
  test::WriteBytes(folder.path(".~lock.board.xls#"), {});
  EXPECT_NE(WriteFileAtomically(folder.path("board.xls").string(), Bytes("new")).error().text.find("another program"),
            std::string::npos);
  fs::remove(folder.path(".~lock.board.xls#"));

  // A lock held through another open file description, as another process would.
  const int other = open(folder.path("board.xls").c_str(), O_RDONLY);
  ASSERT_GE(other, 0);
  ASSERT_EQ(flock(other, LOCK_EX), 0);
  EXPECT_FALSE(WriteFileAtomically(folder.path("board.xls").string(), Bytes("new")).ok());
  close(other);
  EXPECT_EQ(Contents(folder.path("board.xls")), "old");
  EXPECT_TRUE(WriteFileAtomically(folder.path("board.xls").string(), Bytes("new")).ok());
  EXPECT_EQ(Contents(folder.path("board.xls")), "new");
}

TEST(SafeWrite, AReplacementNeverCommittedLeavesTheOldFile) {
  test::TempFolder folder;
  test::WriteBytes(folder.path("notes.txt"), {'o', 'l', 'd'});
  {
    auto replacement = FileReplacement::Begin(folder.path("notes.txt").string());
    ASSERT_TRUE(replacement.ok());
    ASSERT_TRUE(replacement->Write(Bytes("half")).ok());
  }
  EXPECT_EQ(Contents(folder.path("notes.txt")), "old");
  EXPECT_EQ(EntriesIn(folder.Path()), 1u);
}

}  // namespace
}  // namespace xls
