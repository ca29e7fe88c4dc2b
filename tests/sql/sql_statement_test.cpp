#include <gtest/gtest.h>

#include "sql/sql_connect_string.h"
#include "sql/sql_statement.h"

using namespace xls::sql;

namespace {

Statement Parse(std::u16string_view text) {
  auto parsed = ParseStatement(text);
  EXPECT_TRUE(parsed.ok()) << (parsed.ok() ? "" : parsed.error().text);
  return parsed.ok() ? parsed.value() : Statement{};
}

}  // namespace

TEST(SqlStatement, ReadsTheStatementsTheWriterSends) {
  auto select = std::get<SelectAll>(Parse(u"SELECT * FROM [线路负荷计算$A1:IV65536]"));
  EXPECT_EQ(select.table.sheet, u"线路负荷计算");
  EXPECT_TRUE(select.table.isRange);
  EXPECT_EQ(select.table.lastRow, 65536);

  auto created = std::get<CreateTable>(Parse(u"CREATE TABLE [TestSheet] ([x] char(255), [y] char(255))"));
  EXPECT_EQ(created.table.sheet, u"TestSheet");
  EXPECT_FALSE(created.table.isRange);
  EXPECT_EQ(created.columns, (std::vector<std::u16string>{u"x", u"y"}));

  auto recreated = std::get<CreateTable>(Parse(u"CREATE TABLE [TestSheet$A1:IV65536] ([x] char(255))"));
  EXPECT_TRUE(recreated.table.isRange);

  auto dropped = std::get<DropTable>(Parse(u"drop table [Sheet1$A1:IV65536]"));
  EXPECT_EQ(dropped.table.sheet, u"Sheet1");

  auto inserted = std::get<InsertRow>(Parse(u"INSERT INTO [TestSheet$A1:IV7] ([x], [y]) VALUES ('1', '2')"));
  EXPECT_EQ(inserted.table.lastRow, 7);
  EXPECT_EQ(inserted.columns, (std::vector<std::u16string>{u"x", u"y"}));
  EXPECT_EQ(inserted.values, (std::vector<std::u16string>{u"1", u"2"}));
}

TEST(SqlStatement, DoubledDelimitersStandForThemselves) {
  auto inserted = std::get<InsertRow>(Parse(u"insert into [a]]b$A1:IV1] ([c]]], [d]) values ('it''s', '')"));
  EXPECT_EQ(inserted.table.sheet, u"a]b");
  EXPECT_EQ(inserted.columns[0], u"c]");
  EXPECT_EQ(inserted.values[0], u"it's");
  EXPECT_EQ(inserted.values[1], u"");
}

// Values written bare are numbers, stored as such; the rest stays text.
TEST(SqlStatement, ValuesWrittenAsNumbersAreMarked) {
  auto inserted = std::get<InsertRow>(
      Parse(u"INSERT INTO [a$A1:IV1] ([x], [y], [z], [w]) VALUES ('1', 1.080000, -0.5, 12)"));
  EXPECT_EQ(inserted.values, (std::vector<std::u16string>{u"1", u"1.080000", u"-0.5", u"12"}));
  EXPECT_EQ(inserted.numbers, (std::vector<bool>{false, true, true, true}));
  // A name of digits alone is still a name, and a length still a length.
  auto created = std::get<CreateTable>(Parse(u"CREATE TABLE 2024 ([x] char(255))"));
  EXPECT_EQ(created.table.sheet, u"2024");
}

TEST(SqlStatement, RefusesEverythingElseWithASyntaxError) {
  const std::u16string refused[] = {
      u"",
      u"UPDATE [a$A1:IV65536] SET x = '1'",
      u"SELECT x FROM [a$A1:IV65536]",
      u"SELECT * FROM [a]",                      // a sheet range is needed
      u"SELECT * FROM [a$B2:C5]",                // ranges start at A1 and span A..IV
      u"SELECT * FROM [a$A1:IV65537]",
      u"SELECT * FROM [a$A1:IV65536] extra",
      u"DROP TABLE [a]",
      u"CREATE TABLE [a] ()",
      u"CREATE TABLE [a] ([x] int)",
      u"CREATE TABLE [a] ([x] char(0))",
      u"CREATE TABLE [a] ([x] char(255)",
      u"INSERT INTO [a$A1:IV1] ([x]) VALUES ('1', '2')",
      u"INSERT INTO [a$A1:IV1] ([x]) VALUES (007)",  // a label, not a number
      u"INSERT INTO [a$A1:IV1] ([x]) VALUES (1e3)",
      u"INSERT INTO [a$A1:IV1] ([x]) VALUES (1.5.2)",
      u"INSERT INTO [a$A1:IV1] ([x]) VALUES (-)",
      u"INSERT INTO [a$A1:IV1] ([x]) VALUES (inf)",
      u"INSERT INTO [a$A1:IV1] ([x]) ('1')",
      u"INSERT INTO [a$A1:IV1] ([x]) VALUES ('1)",
      u"SELECT * FROM [a$A1:IV65536",
      u"SELECT * FROM [$A1:IV65536]",
  };
  for (const auto& text : refused) {
    auto parsed = ParseStatement(text);
    ASSERT_FALSE(parsed.ok()) << std::string(text.begin(), text.end());
    EXPECT_EQ(parsed.error().kind, xls::ErrorKind::Syntax);
    EXPECT_NE(parsed.error().text.find("Syntax error"), std::string::npos) << parsed.error().text;
  }
}

TEST(SqlConnectString, ReadsTheWriterConnectionString) {
  auto settings = ParseConnectString(
      u"DRIVER={Microsoft Excel Driver (*.xls)};DSN='';FIRSTROWHASNAMES=1;READONLY=FALSE;"
      u"CREATE_DB=\"/tmp/a b;c.xls\";DBQ=/tmp/book.xls");
  ASSERT_TRUE(settings.ok()) << settings.error().text;
  EXPECT_EQ(settings->driver, u"Microsoft Excel Driver (*.xls)");
  EXPECT_EQ(settings->dsn, u"");
  EXPECT_EQ(settings->createPath, u"/tmp/a b;c.xls");
  EXPECT_EQ(settings->workbook, u"/tmp/book.xls");
  EXPECT_FALSE(settings->readOnly);
}

TEST(SqlConnectString, ReadsFlagsAndRefusesWhatItCannotServe) {
  auto readOnly = ParseConnectString(u"driver={x};readonly=true;DBQ=a.xls");
  ASSERT_TRUE(readOnly.ok());
  EXPECT_TRUE(readOnly->readOnly);
  EXPECT_EQ(readOnly->createPath, u"");

  EXPECT_FALSE(ParseConnectString(u"DRIVER={x};FIRSTROWHASNAMES=0;DBQ=a.xls").ok());
  EXPECT_FALSE(ParseConnectString(u"DRIVER={x};READONLY=maybe;DBQ=a.xls").ok());
  EXPECT_FALSE(ParseConnectString(u"DRIVER={x};DBQ=").ok());
  EXPECT_FALSE(ParseConnectString(u"DRIVER={x;DBQ=a.xls").ok());
  EXPECT_FALSE(ParseConnectString(u"DRIVER={x};nonsense;DBQ=a.xls").ok());
}
