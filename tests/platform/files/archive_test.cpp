#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/files/archive.h"
#include "platform/files/file.h"
#include "../../support/temp_folder.h"

namespace {

class FileStandIn : public ::testing::Test {
 protected:
  void SetUp() override {
  }

  std::string Path(const char* name) const { return m_dir + "/" + name; }

  void Put(const std::string& path, const std::string& bytes) const { std::ofstream(path, std::ios::binary) << bytes; }
  static std::string Get(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

  std::vector<std::string> Lines(const std::string& bytes) {
    const std::string path = Path("lines.txt");
    Put(path, bytes);
    CFile file(path.c_str(), CFile::modeRead | CFile::shareDenyNone);
    CArchive archive(&file, CArchive::load, 4096);
    std::vector<std::string> lines;
    CString line;
    while (archive.ReadString(line)) lines.push_back(line.str());
    return lines;
  }

  size_t FilesInFolder() const {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(m_dir), std::filesystem::directory_iterator()));
  }

  ::test::TempFolder m_temp{"file_standin"};
  const std::string m_dir = m_temp.Path().string();
};

using Lines_ = std::vector<std::string>;

}  // namespace

TEST_F(FileStandIn, LinesEndAtLineFeedCarriageReturnOrBoth) {
  EXPECT_EQ(Lines("a\nb\r\nc"), (Lines_{"a", "b", "c"}));
  EXPECT_EQ(Lines("a\r\nb\r\n"), (Lines_{"a", "b"}));  // no extra row after the last line end
  EXPECT_EQ(Lines("a\rb\r\r\nc"), (Lines_{"a", "b", "", "c"}));  // a lone carriage return ends a line
  EXPECT_EQ(Lines("\n\n"), (Lines_{"", ""}));
  EXPECT_EQ(Lines(""), Lines_{});
  EXPECT_EQ(Lines("\xd6\xd0\xce\xc4,\"x\"\r\n"), (Lines_{"\xd6\xd0\xce\xc4,\"x\""}));  // bytes pass unchanged
}

TEST_F(FileStandIn, LinesLongerThanTheBufferAndEndsAcrossItsBorder) {
  const std::string longLine(10000, 'x');
  EXPECT_EQ(Lines(longLine + "\r\nend"), (Lines_{longLine, "end"}));
  const std::string upToBorder(4095, 'y');  // "\r" is the buffer's last byte, "\n" the next one's first
  EXPECT_EQ(Lines(upToBorder + "\r\nz"), (Lines_{upToBorder, "z"}));
}

TEST_F(FileStandIn, WriteReplacesTheFileOnlyWhenClosed) {
  const std::string path = Path("out.csv");
  Put(path, "old\r\n");
  chmod(path.c_str(), 0640);
  {
    CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::shareDenyNone);
    CArchive archive(&file, CArchive::store, 4096);
    archive.WriteString(std::string(5000, 'n').c_str());
    archive.WriteString("\r\n");
    archive.Flush();
    EXPECT_EQ(Get(path), "old\r\n") << "the old file stays until the write is complete";
    archive.Close();
    file.Close();
  }
  EXPECT_EQ(Get(path), std::string(5000, 'n') + "\r\n");
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_EQ(FilesInFolder(), 1u) << "no temporary file is left behind";
}

TEST_F(FileStandIn, AnAbandonedWriteLeavesTheOldFile) {
  const std::string path = Path("keep.csv");
  Put(path, "keep");
  {
    CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
    file.Write("lost", 4);
  }
  EXPECT_EQ(Get(path), "keep");
  EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(FileStandIn, FailuresThrowWithTheFileName) {
  const std::string missing = Path("missing.csv");
  try {
    CFile file(missing.c_str(), CFile::modeRead);
    FAIL() << "a missing file opened";
  } catch (const CFileException& e) {
    EXPECT_NE(e.m_strError.str().find("missing.csv"), std::string::npos) << e.m_strError.str();
  }
  const std::string nowhere = Path("no folder/out.csv");
  EXPECT_THROW(CFile(nowhere.c_str(), CFile::modeCreate | CFile::modeWrite), CFileException);
}
