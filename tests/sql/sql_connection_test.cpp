#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "sql/connection.h"
#include "../support/temp_folder.h"

using xls::Connection;
using xls::ConnectionOptions;
using Names = std::vector<std::u16string>;

namespace {

class SqlConnection : public ::testing::Test {
 protected:
  void SetUp() override {
  }

  std::string Path(const char* name) const { return m_dir + "/" + name; }

  static Connection OpenNew(const std::string& path) {
    auto opened = Connection::Open(path, ConnectionOptions{false, true});
    EXPECT_TRUE(opened.ok()) << opened.error().text;
    return std::move(opened.value());
  }

  static void Run(Connection& connection, std::u16string_view sql) {
    auto done = connection.Execute(sql);
    ASSERT_TRUE(done.ok()) << done.error().text;
  }

  static std::string Fails(Connection& connection, std::u16string_view sql) {
    auto done = connection.Execute(sql);
    EXPECT_FALSE(done.ok());
    return done.ok() ? std::string() : done.error().text;
  }

  ::test::TempFolder m_temp{"sql_connection"};
  const std::string m_dir = m_temp.Path().string();
};

bool Exists(const std::string& path) { return std::filesystem::exists(path); }

}  // namespace

TEST_F(SqlConnection, WritesTheSheetTheWriterSendsAndReadsItBack) {
  Connection connection = OpenNew(Path("new.xls"));
  Run(connection, u"CREATE TABLE [TestSheet] ([x] char(255), [y] char(255))");
  Run(connection, u"INSERT INTO [TestSheet$A1:IV1] ([x], [y]) VALUES ('1', '2')");
  Run(connection, u"INSERT INTO [TestSheet$A1:IV2] ([x]) VALUES ('它''s')");
  auto result = connection.Query(u"SELECT * FROM [testsheet$A1:IV65536]");  // names match without case
  ASSERT_TRUE(result.ok()) << result.error().text;
  EXPECT_EQ(result->columns, (Names{u"x", u"y"}));
  ASSERT_EQ(result->records.size(), 2u);
  EXPECT_EQ(result->records[0], (Names{u"1", u"2"}));
  EXPECT_EQ(result->Field(1, 0), u"它's");
  EXPECT_EQ(result->Field(1, 1), u"");
  connection.Discard();
}

TEST_F(SqlConnection, StatementErrorsNameWhatIsWrong) {
  Connection connection = OpenNew(Path("errors.xls"));
  EXPECT_NE(Fails(connection, u"SELECT * FROM [none$A1:IV65536]").find("'none'"), std::string::npos);
  EXPECT_NE(Fails(connection, u"DROP TABLE [none$A1:IV65536]").find("'none'"), std::string::npos);
  EXPECT_NE(Fails(connection, u"CREATE TABLE [none$A1:IV65536] ([a] char(255))").find("'none'"), std::string::npos);
  Run(connection, u"CREATE TABLE [s] ([a] char(255))");
  EXPECT_NE(Fails(connection, u"CREATE TABLE [S] ([b] char(255))").find("already"), std::string::npos);
  EXPECT_NE(Fails(connection, u"INSERT INTO [s$A1:IV1] ([b]) VALUES ('1')").find("'b'"), std::string::npos);
  EXPECT_NE(Fails(connection, u"CREATE TABLE [a:b] ([a] char(255))").find("must not contain"), std::string::npos);
  EXPECT_NE(Fails(connection, u"DELETE FROM [s$A1:IV65536]").find("Syntax error"), std::string::npos);
  EXPECT_FALSE(connection.Query(u"DROP TABLE [s$A1:IV65536]").ok());
  connection.Discard();
}

TEST_F(SqlConnection, AnExistingEmptySheetHasNoColumnsAndDropKeepsTheSheet) {
  Connection connection = OpenNew(Path("drop.xls"));
  Run(connection, u"CREATE TABLE [s] ([a] char(255), [b] char(255))");
  Run(connection, u"INSERT INTO [s$A1:IV1] ([a], [b]) VALUES ('1', '2')");
  Run(connection, u"DROP TABLE [s$A1:IV65536]");
  auto empty = connection.Query(u"SELECT * FROM [s$A1:IV65536]");
  ASSERT_TRUE(empty.ok());
  EXPECT_TRUE(empty->columns.empty());
  EXPECT_TRUE(empty->records.empty());
  Run(connection, u"CREATE TABLE [s$A1:IV65536] ([c] char(255))");
  auto header = connection.Query(u"SELECT * FROM [s$A1:IV65536]");
  ASSERT_TRUE(header.ok());
  EXPECT_EQ(header->columns, (Names{u"c"}));
  connection.Discard();
}

TEST_F(SqlConnection, MissingWorkbookIsMadeOnlyByAWrite) {
  const std::string path = Path("made.xls");
  EXPECT_FALSE(Connection::Open(path, ConnectionOptions{false, false}).ok());

  Connection reader = OpenNew(path);
  EXPECT_FALSE(reader.Query(u"SELECT * FROM [s$A1:IV65536]").ok());
  ASSERT_TRUE(reader.Close().ok());
  EXPECT_FALSE(Exists(path)) << "a read must not leave an empty file behind";

  Connection writer = OpenNew(path);
  Run(writer, u"CREATE TABLE [s] ([a] char(255))");
  Run(writer, u"INSERT INTO [s$A1:IV1] ([a]) VALUES ('1')");
  EXPECT_FALSE(Exists(path)) << "statements change the workbook in memory only";
  ASSERT_TRUE(writer.Close().ok());
  ASSERT_TRUE(Exists(path));

  auto again = Connection::Open(path, ConnectionOptions{});
  ASSERT_TRUE(again.ok()) << again.error().text;
  auto rows = again->Query(u"SELECT * FROM [s$A1:IV65536]");
  ASSERT_TRUE(rows.ok()) << rows.error().text;
  EXPECT_EQ(rows->records, (std::vector<Names>{{u"1"}}));
}

TEST_F(SqlConnection, WritesTheFileOnceWhenItCloses) {
  const std::string path = Path("once.xls");
  {
    Connection first = OpenNew(path);
    Run(first, u"CREATE TABLE [s] ([a] char(255))");
    ASSERT_TRUE(first.Close().ok());
  }
  struct stat before {};
  ASSERT_EQ(stat(path.c_str(), &before), 0);

  auto connection = Connection::Open(path, ConnectionOptions{});
  ASSERT_TRUE(connection.ok());
  for (int k = 1; k <= 50; ++k) {
    const std::string sql = "INSERT INTO [s$A1:IV" + std::to_string(k) + "] ([a]) VALUES ('" + std::to_string(k) + "')";
    Run(connection.value(), std::u16string(sql.begin(), sql.end()));
  }
  struct stat during {};
  ASSERT_EQ(stat(path.c_str(), &during), 0);
  EXPECT_EQ(during.st_ino, before.st_ino) << "the file was replaced before the connection closed";
  ASSERT_TRUE(connection->Close().ok());
  struct stat after {};
  ASSERT_EQ(stat(path.c_str(), &after), 0);
  EXPECT_NE(after.st_ino, before.st_ino);

  // A connection that only reads leaves the file alone.
  auto reader = Connection::Open(path, ConnectionOptions{});
  ASSERT_TRUE(reader.ok());
  ASSERT_TRUE(reader->Query(u"SELECT * FROM [s$A1:IV65536]").ok());
  ASSERT_TRUE(reader->Close().ok());
  struct stat untouched {};
  ASSERT_EQ(stat(path.c_str(), &untouched), 0);
  EXPECT_EQ(untouched.st_ino, after.st_ino);
}

TEST_F(SqlConnection, AFailedWriteIsAnError) {
  Connection connection = OpenNew(Path("no such folder/book.xls"));
  Run(connection, u"CREATE TABLE [s] ([a] char(255))");
  auto closed = connection.Close();
  ASSERT_FALSE(closed.ok());
  EXPECT_NE(closed.error().text.find("Cannot write the workbook"), std::string::npos) << closed.error().text;
  EXPECT_FALSE(connection.IsOpen());
}

TEST_F(SqlConnection, ReadOnlyRefusesWrites) {
  auto connection = Connection::Open(Path("ro.xls"), ConnectionOptions{true, true});
  ASSERT_TRUE(connection.ok());
  EXPECT_NE(Fails(connection.value(), u"CREATE TABLE [s] ([a] char(255))").find("read-only"), std::string::npos);
  ASSERT_TRUE(connection->Close().ok());
  EXPECT_FALSE(Exists(Path("ro.xls")));
}
