#include "freexl_text_cells.h"
#include "sheet_test_support.h"

namespace {

using Statements = std::vector<std::string>;

class WorkbookSheet : public SheetTest {
 protected:
  // A sheet of `rows` (row 1 the header) in `file`, written by the component.
  void Make(const std::string& file, const char* sheetName, const std::vector<Row>& rows) {
    CSpreadSheet sheet(Path(file), sheetName, false);
    sheet.BeginTransaction();
    CStringArray header = Values(rows.front());
    ASSERT_TRUE(sheet.AddHeaders(header, true)) << sheet.GetLastErrorText().str();
    for (size_t r = 1; r < rows.size(); ++r) {
      CStringArray values = Values(rows[r]);
      ASSERT_TRUE(sheet.AddRow(values)) << sheet.GetLastErrorText().str();
    }
    ASSERT_TRUE(sheet.Commit()) << sheet.GetLastErrorText().str();
    m_statements.clear();
  }
};

// The sheet's cells as FreeXL reads them, a cell without text (here: a
// number) as "(number)".
std::vector<Row> SeenByFreeXL(const std::string& path, const char* sheet) {
  std::vector<Row> rows;
  VisitTextCellsWithFreeXL(path, sheet, [&](unsigned row, unsigned short, const char* text) {
    if (rows.size() <= row) rows.resize(row + 1);
    rows[row].push_back(text ? text : "(number)");
  });
  return rows;
}

}  // namespace

TEST_F(WorkbookSheet, NewSheetIsCreatedAndFilledByTheseStatements) {
  CSpreadSheet sheet(Path("Test.xls"), "TestSheet", true);
  sheet.BeginTransaction();
  CStringArray header = Values({"x", "y"});
  ASSERT_TRUE(sheet.AddHeaders(header));
  CStringArray row = Values({"1", "2"});
  ASSERT_TRUE(sheet.AddRow(row));
  m_statements.clear();
  ASSERT_TRUE(sheet.Commit()) << sheet.GetLastErrorText().str();
  EXPECT_EQ(m_statements, (Statements{"CREATE TABLE [TestSheet] ([x] char(255), [y] char(255))",
                                      "INSERT INTO [TestSheet$A1:IV1] ([x], [y]) VALUES ('1', '2')"}));
}

TEST_F(WorkbookSheet, ExistingSheetIsDroppedAndWrittenAgainRowByRow) {
  Make("book.xls", "S", {{"a", "b", "c"}, {"1", "2", "3"}});
  CSpreadSheet sheet(Path("book.xls"), "s", false);
  ASSERT_EQ(AllRows(sheet), (std::vector<Row>{{"a", "b", "c"}, {"1", "2", "3"}}));
  CStringArray shortRow = Values({"only a"});
  ASSERT_TRUE(sheet.AddRow(shortRow));
  EXPECT_EQ(m_statements, (Statements{
                              "SELECT * FROM [s$A1:IV65536]",
                              "DROP TABLE [s$A1:IV65536]",
                              "CREATE TABLE [s$A1:IV65536] ([a] char(255), [b] char(255), [c] char(255))",
                              "INSERT INTO [s$A1:IV1] ([a], [b], [c]) VALUES ('1', '2', '3')",
                              "INSERT INTO [s$A1:IV2] ([a]) VALUES ('only a')",
                          }));
  CSpreadSheet again(Path("book.xls"), "S", false);
  EXPECT_EQ(AllRows(again), (std::vector<Row>{{"a", "b", "c"}, {"1", "2", "3"}, {"only a", "", ""}}));
}

TEST_F(WorkbookSheet, HeaderAndRowChecks) {
  CSpreadSheet sheet(Path("checks.xls"), "S", false);
  CStringArray row = Values({"1"});
  EXPECT_FALSE(sheet.AddRow(row, 2));
  EXPECT_EQ(sheet.GetLastErrorText().str(), "No header row. Add header row first\n");
  CStringArray duplicates = Values({"x", "y", "x"});
  EXPECT_FALSE(sheet.AddHeaders(duplicates));
  EXPECT_EQ(sheet.GetLastErrorText().str(), "Duplicate header row field:x\n");

  CStringArray three = Values({"a", "b", "c"});
  ASSERT_TRUE(sheet.AddHeaders(three));
  CStringArray two = Values({"a", "b"});
  EXPECT_FALSE(sheet.AddHeaders(two, true));
  EXPECT_EQ(sheet.GetLastErrorText().str(),
            "Number of columns in new header row cannot be less than the number of columns in previous header row");
  CStringArray four = Values({"1", "2", "3", "4"});
  EXPECT_FALSE(sheet.AddRow(four));
  EXPECT_EQ(sheet.GetLastErrorText().str(), "Number of columns to be added cannot be greater than the number of fields\n");
  CStringArray clash = Values({"d", "b"});
  EXPECT_FALSE(sheet.AddHeaders(clash, false));
  EXPECT_EQ(sheet.GetLastErrorText().str(), "Duplicate header row field:b\n");
  CStringArray extra = Values({"d"});
  ASSERT_TRUE(sheet.AddHeaders(extra, false));
  EXPECT_EQ(Read(sheet, 1), (Row{"a", "b", "c", "d"}));
  CStringArray beyond = Values({"x"});
  EXPECT_FALSE(sheet.AddRow(beyond, 65537));
  EXPECT_EQ(sheet.GetTotalRows(), 1);
}

TEST_F(WorkbookSheet, GapRowsReadBackAsSingleSpaces) {
  Make("gap.xls", "S", {{"a", "b", "c"}, {"1", "2", "3"}});
  CSpreadSheet sheet(Path("gap.xls"), "S", false);
  CStringArray values = Values({"5a", "5b", "5c"});
  ASSERT_TRUE(sheet.AddRow(values, 5, false));
  EXPECT_EQ(sheet.GetTotalRows(), 5);
  CSpreadSheet again(Path("gap.xls"), "S", false);
  EXPECT_EQ(AllRows(again), (std::vector<Row>{{"a", "b", "c"}, {"1", "2", "3"}, {" ", " ", " "}, {" ", " ", " "},
                                              {"5a", "5b", "5c"}}));
}

TEST_F(WorkbookSheet, ApostrophesAndBracketsReachTheWorkbookIntact) {
  Make("esc.xls", "S", {{"it's", "a]b", "[c]"}, {"O'Brien", "''", "x]"}});
  CSpreadSheet sheet(Path("esc.xls"), "S", false);
  EXPECT_EQ(AllRows(sheet), (std::vector<Row>{{"it's", "a]b", "[c]"}, {"O'Brien", "''", "x]"}}));
}

TEST_F(WorkbookSheet, BackupSheetIsMadeOnceAndNeverOverwritten) {
  Make("backup.xls", "S", {{"a"}, {"first"}});
  {
    CSpreadSheet sheet(Path("backup.xls"), "S", true);
    EXPECT_EQ(m_statements, (Statements{"SELECT * FROM [S$A1:IV65536]", "CREATE TABLE [CSpreadSheetBackup] ([a] char(255))",
                                        "INSERT INTO [CSpreadSheetBackup$A1:IV1] ([a]) VALUES ('first')"}));
    EXPECT_EQ(Read(sheet, 0), Row{"a"}) << "the backup leaves the current row on row 1";
    CStringArray row = Values({"second"});
    ASSERT_TRUE(sheet.AddRow(row, 2, true));
  }
  CSpreadSheet again(Path("backup.xls"), "S", true);
  EXPECT_NE(again.GetLastErrorText().str().find("already has a sheet named 'CSpreadSheetBackup'"), std::string::npos);
  EXPECT_EQ(AllRows(again), (std::vector<Row>{{"a"}, {"second"}}));
  CSpreadSheet backup(Path("backup.xls"), "CSpreadSheetBackup", false);
  EXPECT_EQ(AllRows(backup), (std::vector<Row>{{"a"}, {"first"}}));
}

// Only the named columns' numbers go bare; the backup made on opening holds
// the sheet as it was, texts throughout.
TEST_F(WorkbookSheet, NumberColumnsSendTheirNumbersBareAndTheBackupStaysText) {
  Make("numbers.xls", "S", {{"id", "kw"}, {"1", "1.5"}});
  {
    CSpreadSheet sheet(Path("numbers.xls"), "S", true);
    sheet.StoreNumbersIn(Values({"kw"}));
    sheet.BeginTransaction();
    for (const Row& row : std::vector<Row>{{"2", "1.080000"}, {"007", "007"}, {"WL4", "C65"}}) {
      CStringArray values = Values(row);
      ASSERT_TRUE(sheet.AddRow(values));
    }
    m_statements.clear();
    ASSERT_TRUE(sheet.Commit()) << sheet.GetLastErrorText().str();
  }
  EXPECT_EQ(std::vector<std::string>(m_statements.begin() + 2, m_statements.end()),
            (Statements{"INSERT INTO [S$A1:IV1] ([id], [kw]) VALUES ('1', 1.5)",
                        "INSERT INTO [S$A1:IV2] ([id], [kw]) VALUES ('2', 1.080000)",
                        "INSERT INTO [S$A1:IV3] ([id], [kw]) VALUES ('007', '007')",
                        "INSERT INTO [S$A1:IV4] ([id], [kw]) VALUES ('WL4', 'C65')"}));
  EXPECT_EQ(SeenByFreeXL(Path("numbers.xls").str(), "S"),
            (std::vector<Row>{{"id", "kw"}, {"1", "(number)"}, {"2", "(number)"}, {"007", "007"}, {"WL4", "C65"}}));
  EXPECT_EQ(SeenByFreeXL(Path("numbers.xls").str(), "CSpreadSheetBackup"), (std::vector<Row>{{"id", "kw"}, {"1", "1.5"}}));
}

TEST_F(WorkbookSheet, CellsHoldingTheDelimiterOrQuotesReadAndWriteBackExactly) {
  {
    auto book = xls::Connection::Open(std::string(Path("split.xls")), xls::ConnectionOptions{false, true});
    ASSERT_TRUE(book.ok());
    ASSERT_TRUE(book->Execute(u"CREATE TABLE [S] ([a] char(255), [b] char(255))").ok());
    ASSERT_TRUE(book->Execute(u"INSERT INTO [S$A1:IV1] ([a], [b]) VALUES ('x\",;.?\"y', '\"z')").ok());
    ASSERT_TRUE(book->Close().ok());
  }
  CSpreadSheet sheet(Path("split.xls"), "S", false);
  ASSERT_EQ(Read(sheet, 2), (Row{"x\",;.?\"y", "\"z"}));
  ASSERT_TRUE(sheet.Commit()) << sheet.GetLastErrorText().str();
  CSpreadSheet again(Path("split.xls"), "S", false);
  EXPECT_EQ(again.GetTotalRows(), 2);
  EXPECT_EQ(Read(again, 2), (Row{"x\",;.?\"y", "\"z"}));
}

TEST_F(WorkbookSheet, FailedWorkbookWriteFailsTheCommit) {
  CSpreadSheet sheet(Path("no folder/book.xls"), "S", false);
  sheet.BeginTransaction();
  CStringArray header = Values({"a"});
  ASSERT_TRUE(sheet.AddHeaders(header));
  EXPECT_FALSE(sheet.Commit());
  EXPECT_NE(sheet.GetLastErrorText().str().find("Cannot write the workbook"), std::string::npos);
  // Nothing was written, so the next commit still creates the sheet.
  m_statements.clear();
  EXPECT_FALSE(sheet.Commit());
  EXPECT_EQ(m_statements.front(), "CREATE TABLE [S] ([a] char(255))");
}

// Outside a transaction every change is written at once; a write that
// fails is the change's failure.
TEST_F(WorkbookSheet, ChangesOutsideATransactionReturnTheFailedWrite) {
  CSpreadSheet nowhere(Path("no folder/book.xls"), "S", false);
  CStringArray header = Values({"a"});
  EXPECT_FALSE(nowhere.AddHeaders(header));
  EXPECT_NE(nowhere.GetLastErrorText().str().find("Cannot write the workbook"), std::string::npos);

  Make("ro.xls", "S", {{"a"}, {"1"}});
  std::filesystem::permissions(Path("ro.xls").str(), std::filesystem::perms(0444));
  CSpreadSheet readOnly(Path("ro.xls"), "S", false);
  CStringArray row = Values({"2"});
  EXPECT_FALSE(readOnly.AddRow(row));
  EXPECT_EQ(readOnly.GetLastErrorKind(), xls::ErrorKind::ReadOnly);
  EXPECT_FALSE(readOnly.DeleteSheet());
  CSpreadSheet kept(Path("ro.xls"), "S", false);
  EXPECT_EQ(AllRows(kept), (std::vector<Row>{{"a"}, {"1"}}));
}

TEST_F(WorkbookSheet, RefusedStatementLeavesTheWorkbookAsItWas) {
  Make("keep.xls", "S", {{"a"}, {"1"}});
  CSpreadSheet sheet(Path("keep.xls"), "bad:name", false);
  CStringArray header = Values({"a"});
  EXPECT_FALSE(sheet.AddHeaders(header));
  EXPECT_NE(sheet.GetLastErrorText().str().find("must not contain"), std::string::npos);
  CSpreadSheet kept(Path("keep.xls"), "S", false);
  EXPECT_EQ(AllRows(kept), (std::vector<Row>{{"a"}, {"1"}}));
}

TEST_F(WorkbookSheet, DeleteSheetDropsByRangeAndKeepsTheSheet) {
  Make("del.xls", "S", {{"a", "b"}, {"1", "2"}});
  CSpreadSheet sheet(Path("del.xls"), "S", false);
  EXPECT_FALSE(sheet.DeleteSheet("Other"));
  EXPECT_NE(sheet.GetLastErrorText().str().find("'Other'"), std::string::npos);
  EXPECT_EQ(sheet.GetTotalRows(), 2);
  m_statements.clear();
  ASSERT_TRUE(sheet.DeleteSheet());
  EXPECT_EQ(m_statements, (Statements{"DROP TABLE [S$A1:IV65536]"}));
  EXPECT_EQ(sheet.GetTotalRows(), 0);
  CStringArray names = Values({"c"});
  EXPECT_FALSE(sheet.AddHeaders(names, false));
  EXPECT_EQ(sheet.GetLastErrorText().str(), "Desired row is greater than total number of rows in spreadsheet\n");
  ASSERT_TRUE(sheet.AddHeaders(names, true));
  EXPECT_EQ(m_statements.back(), "CREATE TABLE [S$A1:IV65536] ([c] char(255))");

  CSpreadSheet missing(Path("del.xls"), "Gone", false);
  EXPECT_FALSE(missing.DeleteSheet());
  EXPECT_EQ(missing.GetLastErrorText().str(), "Error deleting sheet\n");
}

TEST_F(WorkbookSheet, ConvertsToATextFileWithEveryRow) {
  Make("Test.xls", "TestSheet", {{"x", "y"}, {"1", "2"}, {"3", "4"}});
  CSpreadSheet sheet(Path("Test.xls"), "TestSheet", false);
  ASSERT_TRUE(sheet.Convert(";"));
  EXPECT_EQ(Get("Test.csv"), "\"x\";\"y\"\r\n\"1\";\"2\"\r\n\"3\";\"4\"\r\n");
  Put("Test.csv", "other\r\n");
  EXPECT_FALSE(sheet.Convert(";"));
  EXPECT_EQ(Get("Test.csv"), "other\r\n");
}

TEST_F(WorkbookSheet, ConvertsATextFileToAWorkbookNumberingDuplicateNames) {
  Put("plain.csv", "a,b\r\n1,2\r\n");
  CSpreadSheet plain(Path("plain.csv"), ",", false);
  ASSERT_TRUE(plain.Convert("Plain")) << plain.GetLastErrorText().str();
  CSpreadSheet converted(Path("plain.xls"), "Plain", false);
  EXPECT_EQ(AllRows(converted), (std::vector<Row>{{"a", "b"}, {"1", "2"}}));
  EXPECT_FALSE(plain.Convert("Plain"));  // the target sheet holds data now

  Put("dup.csv", "x;y;x;y\r\n1;2;3;4\r\n");
  CSpreadSheet dup(Path("dup.csv"), ";", false);
  ASSERT_TRUE(dup.Convert("Dup"));
  EXPECT_EQ(dup.GetLastErrorText().str(), "Duplicate header row field:y\n");
  CSpreadSheet numbered(Path("dup.xls"), "Dup", false);
  EXPECT_EQ(AllRows(numbered),
            (std::vector<Row>{{"1", "2", "3", "4"}, {"x", "y", "x", "y"}, {"1", "2", "3", "4"}}));
}

TEST_F(WorkbookSheet, LineBreaksSurviveConversionToAText) {
  const Row cell = {"\xb5\xda\xd2\xbb\xd0\xd0\n\xb5\xda\xb6\xfe\xd0\xd0", "\"x\""};
  Make("Multi.xls", "Sheet", {{"h1", "h2"}, cell});
  CSpreadSheet sheet(Path("Multi.xls"), "Sheet", false);
  ASSERT_TRUE(sheet.Convert(";")) << sheet.GetLastErrorText().str();
  CSpreadSheet text(Path("Multi.csv"), ";", false);
  EXPECT_EQ(AllRows(text), (std::vector<Row>{{"h1", "h2"}, cell}));
}

TEST_F(WorkbookSheet, FoldersWithSemicolonsAndQuotesInTheirNames) {
  for (const std::string folder : {"a;b=c", "q\"uote;d"}) {
    std::filesystem::create_directory(m_dir + "/" + folder);
    Make(folder + "/book.xls", "S", {{"h"}, {"v"}});
    CSpreadSheet again(Path(folder + "/book.xls"), "S", false);
    EXPECT_EQ(AllRows(again), (std::vector<Row>{{"h"}, {"v"}})) << folder << again.GetLastErrorText().str();
  }
}
