#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/odbc/database.h"
#include "platform/odbc/odbc_installer.h"
#include "platform/odbc/recordset.h"
#include "../../support/temp_folder.h"

namespace {

class Database : public ::testing::Test {
 protected:
  void SetUp() override {
    CDatabase::SetStatementLog([this](const CString& sql) { m_log.push_back(sql.str()); });
  }
  void TearDown() override {
    CDatabase::SetStatementLog(nullptr);
  }

  CString Connect(const std::string& file, const char* driver = kExcelDriverName) const {
    CString connect;
    connect.Format("DRIVER={%s};DSN='';FIRSTROWHASNAMES=1;READONLY=FALSE;CREATE_DB=\"%s\";DBQ=%s", driver,
                   file.c_str(), file.c_str());
    return connect;
  }

  static std::string ErrorOf(const std::function<void()>& operation) {
    try {
      operation();
    } catch (const CDBException& e) {
      return e.m_strError.str();
    }
    return "(no exception)";
  }

  ::test::TempFolder m_temp{"odbc_standin"};
  const std::string m_dir = m_temp.Path().string();
  std::vector<std::string> m_log;
};

}  // namespace

TEST(OdbcInstaller, ListsTheDriversEachEndedByAZeroByte) {
  char buffer[2000];
  unsigned short count = 0;
  ASSERT_NE(SQLGetInstalledDrivers(buffer, sizeof buffer, &count), 0);
  EXPECT_STREQ(buffer, "Microsoft Excel Driver (*.xls)");
  const char* second = buffer + std::strlen(buffer) + 1;
  EXPECT_STREQ(second, "Microsoft Text Driver (*.txt; *.csv)");
  EXPECT_EQ(second[std::strlen(second) + 1], '\0');
  EXPECT_EQ(SQLGetInstalledDrivers(buffer, 20, &count), 0);
}

TEST_F(Database, OpenRefusesWithTheReason) {
  CDatabase db;
  EXPECT_NE(ErrorOf([&] { db.OpenEx(Connect(m_dir + "/a.xls", ""), CDatabase::noOdbcDialog); }).find("no default driver"),
            std::string::npos);
  EXPECT_NE(ErrorOf([&] { db.OpenEx(Connect(m_dir + "/a.xls", "Microsoft Text Driver (*.txt; *.csv)")); }).find("not available"),
            std::string::npos);
  const std::string missing = "DRIVER={Microsoft Excel Driver (*.xls)};DBQ=" + m_dir + "/missing.xls";
  EXPECT_NE(ErrorOf([&] { db.OpenEx(missing.c_str()); }).find("does not exist"), std::string::npos);
  EXPECT_FALSE(db.IsOpen());
  EXPECT_NE(ErrorOf([&] { db.ExecuteSQL("CREATE TABLE [s] ([a] char(255))"); }).find("not open"), std::string::npos);
}

TEST_F(Database, StatementsAndRecordsThroughTheConnection) {
  CDatabase db;
  ASSERT_TRUE(db.OpenEx(Connect(m_dir + "/book.xls"), CDatabase::noOdbcDialog));
  db.ExecuteSQL("CREATE TABLE [\xb1\xed] ([\xc3\xfb] char(255), [b] char(255))");  // 表 with column 名
  db.ExecuteSQL("INSERT INTO [\xb1\xed$A1:IV1] ([\xc3\xfb], [b]) VALUES ('\xd6\xd0', 'x')");
  db.ExecuteSQL("INSERT INTO [\xb1\xed$A1:IV2] ([b]) VALUES ('y')");

  CRecordset rs(&db);
  rs.Open(CRecordset::forwardOnly, "SELECT * FROM [\xb1\xed$A1:IV65536]", CRecordset::readOnly);
  ASSERT_EQ(rs.GetODBCFieldCount(), 2);
  CODBCFieldInfo info;
  rs.GetODBCFieldInfo(0, info);
  EXPECT_EQ(info.m_strName.str(), "\xc3\xfb");
  std::vector<std::string> cells;
  for (; !rs.IsEOF(); rs.MoveNext()) {
    for (short i = 0; i < 2; ++i) {
      CString value;
      rs.GetFieldValue(i, value);
      cells.push_back(value.str());
    }
  }
  EXPECT_EQ(cells, (std::vector<std::string>{"\xd6\xd0", "x", "", "y"}));
  EXPECT_THROW(rs.MoveNext(), CDBException);
  rs.Close();

  EXPECT_NE(ErrorOf([&] { db.ExecuteSQL("INSERT INTO [\xb1\xed$A1:IV3] ([c]) VALUES ('1')"); }).find("'c'"), std::string::npos);
  EXPECT_EQ(m_log.size(), 5u);
  EXPECT_EQ(m_log[1], "INSERT INTO [\xb1\xed$A1:IV1] ([\xc3\xfb], [b]) VALUES ('\xd6\xd0', 'x')");
  db.Rollback();
  EXPECT_FALSE(db.IsOpen());
  EXPECT_FALSE(std::filesystem::exists(m_dir + "/book.xls"));
}

TEST_F(Database, CloseThrowsWhenTheWorkbookCannotBeWritten) {
  CDatabase db;
  const std::string file = m_dir + "/no folder/book.xls";
  ASSERT_TRUE(db.OpenEx(Connect(file)));
  db.ExecuteSQL("CREATE TABLE [s] ([a] char(255))");
  EXPECT_NE(ErrorOf([&] { db.Close(); }).find("Cannot write the workbook"), std::string::npos);
  EXPECT_FALSE(db.IsOpen());
}

TEST_F(Database, ReadOnlyConnectionRefusesWrites) {
  CDatabase db;
  CString connect = Connect(m_dir + "/ro.xls");
  connect.Replace("READONLY=FALSE", "READONLY=TRUE");
  ASSERT_TRUE(db.OpenEx(connect));
  EXPECT_NE(ErrorOf([&] { db.ExecuteSQL("CREATE TABLE [s] ([a] char(255))"); }).find("read-only"), std::string::npos);
}

TEST_F(Database, RecordTellsHowFarItsValuesReach) {
  CDatabase db;
  ASSERT_TRUE(db.OpenEx(Connect(m_dir + "/wide.xls"), CDatabase::noOdbcDialog));
  db.ExecuteSQL("CREATE TABLE [w] ([a] char(255), [b] char(255), [c] char(255))");
  db.ExecuteSQL("INSERT INTO [w$A1:IV1] ([a], [b]) VALUES ('1', '2')");
  db.ExecuteSQL("INSERT INTO [w$A1:IV3] ([a], [b], [c]) VALUES ('', '', '3')");
  db.ExecuteSQL("INSERT INTO [w$A1:IV4] ([a], [b], [c]) VALUES ('', 'x', '')");

  CRecordset rs(&db);
  rs.Open(CRecordset::forwardOnly, "SELECT * FROM [w$A1:IV65536]", CRecordset::readOnly);
  std::vector<short> reach;
  for (; !rs.IsEOF(); rs.MoveNext()) reach.push_back(rs.GetFieldCountUpToLastValue());
  EXPECT_EQ(reach, (std::vector<short>{2, 0, 3, 2}));
  EXPECT_THROW(rs.GetFieldCountUpToLastValue(), CDBException);
  db.Rollback();
}
