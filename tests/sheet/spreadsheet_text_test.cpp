#include <sys/stat.h>
#include <unistd.h>

#include "sheet_test_support.h"

namespace {

class TextSheet : public SheetTest {
 protected:
  // A text table of `rows`, written by the component itself.
  void Make(const std::string& name, const std::vector<Row>& rows, const char* separator = ",") {
    CSpreadSheet sheet(Path(name), separator, false);
    sheet.BeginTransaction();
    for (const Row& row : rows) {
      CStringArray values = Values(row);
      sheet.AddRow(values);
    }
    ASSERT_TRUE(sheet.Commit()) << sheet.GetLastErrorText().str();
  }
};

}  // namespace

TEST_F(TextSheet, FileNamesChooseTheMode) {
  CSpreadSheet csv(Path("data.csv"), ",", false);
  CSpreadSheet txt(Path("data.txt"), ",", false);
  EXPECT_EQ(csv.GetLastErrorText().str(), "Error in opening file\n");
  EXPECT_EQ(txt.GetLastErrorText().str(), "Error in opening file\n");
  EXPECT_TRUE(m_statements.empty());
  CSpreadSheet workbook(Path("DATA.XLS"), "Sheet1", false);
  EXPECT_EQ(m_statements, (std::vector<std::string>{"SELECT * FROM [Sheet1$A1:IV65536]"}));
}

TEST_F(TextSheet, NewFileIsWrittenWithQuotedValuesAndLineEnds) {
  CSpreadSheet sheet(Path("new.csv"), ";", false);
  CStringArray header = Values({"x", "y"});
  ASSERT_TRUE(sheet.AddHeaders(header));
  CStringArray row = Values({"1", "\xd6\xd0\xce\xc4"});
  ASSERT_TRUE(sheet.AddRow(row));
  CStringArray last = Values({"2"});
  ASSERT_TRUE(sheet.AddRow(last));
  EXPECT_EQ(Get("new.csv"), "\"x\";\"y\"\r\n\"1\";\"\xd6\xd0\xce\xc4\"\r\n\"2\"\r\n");

  CSpreadSheet again(Path("new.csv"), ";", false);
  EXPECT_EQ(again.GetTotalRows(), 3);
  EXPECT_EQ(AllRows(again), (std::vector<Row>{{"x", "y"}, {"1", "\xd6\xd0\xce\xc4"}, {"2"}}));
}

TEST_F(TextSheet, ReadsTheThreeLineForms) {
  Put("forms.csv", "\"a\",\"b\",\"c\"\r\na,b,c\r\na,\"b\",c\r\n\"a\"\r\n\r\n\"a,b\",\"c\"\n\"\",\"\",\"\"\rlast");
  CSpreadSheet sheet(Path("forms.csv"), ",", false);
  ASSERT_EQ(sheet.GetTotalRows(), 8);
  EXPECT_EQ(Read(sheet, 1), (Row{"a", "b", "c"}));
  EXPECT_EQ(Read(sheet, 2), (Row{"a", "b", "c"}));
  EXPECT_EQ(Read(sheet, 3), (Row{"a", "\"b\"", "c"}));
  EXPECT_EQ(Read(sheet, 4), (Row{"a"}));
  EXPECT_EQ(Read(sheet, 5), (Row{""}));
  EXPECT_EQ(Read(sheet, 6), (Row{"a,b", "c"}));
  EXPECT_EQ(Read(sheet, 7), (Row{"", "", ""}));  // ended by a lone carriage return
  EXPECT_EQ(Read(sheet, 8), (Row{"last"}));
  // Lines keep their own form when written back.
  ASSERT_TRUE(sheet.Commit());
  EXPECT_EQ(Get("forms.csv"), "\"a\",\"b\",\"c\"\r\na,b,c\r\na,\"b\",c\r\n\"a\"\r\n\r\n\"a,b\",\"c\"\r\n\"\",\"\",\"\"\r\nlast\r\n");
}

TEST_F(TextSheet, ColumnCountIsTheWidestRow) {
  Put("wide.csv", "a,b\r\n1\r\n1,2,3,4\r\n");
  CSpreadSheet sheet(Path("wide.csv"), ",", false);
  CStringArray row = Values({"x"});
  ASSERT_TRUE(sheet.AddRow(row, 6));  // gap row 5 holds one empty cell per column
  EXPECT_EQ(Read(sheet, 5), (Row{"", "", "", ""}));
}

TEST_F(TextSheet, EmptyFileLoadsAsAnEmptyTable) {
  Put("empty.csv", "");
  CSpreadSheet sheet(Path("empty.csv"), ",", true);
  EXPECT_EQ(sheet.GetTotalRows(), 0);
  EXPECT_EQ(sheet.GetLastErrorText().str(), "Desired row is greater than total number of rows in spreadsheet\n");
  EXPECT_FALSE(Exists("empty.csv.bak"));
}

TEST_F(TextSheet, GapRowsInsertAndReplace) {
  Make("rows.csv", {{"h1", "h2", "h3"}, {"a", "b", "c"}});
  CSpreadSheet sheet(Path("rows.csv"), ",", false);
  CStringArray values = Values({"5a", "5b", "5c"});
  ASSERT_TRUE(sheet.AddRow(values, 5, false));
  EXPECT_EQ(sheet.GetTotalRows(), 5);
  EXPECT_EQ(Read(sheet, 0), (Row{"5a", "5b", "5c"})) << "the current row is the new row";
  EXPECT_EQ(Read(sheet, 3), (Row{"", "", ""}));
  EXPECT_EQ(Read(sheet, 4), (Row{"", "", ""}));
  EXPECT_EQ(Get("rows.csv"), "\"h1\",\"h2\",\"h3\"\r\n\"a\",\"b\",\"c\"\r\n\"\",\"\",\"\"\r\n\"\",\"\",\"\"\r\n\"5a\",\"5b\",\"5c\"\r\n");

  CStringArray sixth = Values({"6"});
  ASSERT_TRUE(sheet.AddRow(sixth));  // six rows now
  CStringArray inserted = Values({"new 2"});
  ASSERT_TRUE(sheet.AddRow(inserted, 2, false));
  EXPECT_EQ(sheet.GetTotalRows(), 7);
  EXPECT_EQ(Read(sheet, 2), (Row{"new 2"}));
  EXPECT_EQ(Read(sheet, 3), (Row{"a", "b", "c"}));
  CStringArray replaced = Values({"replaced"});
  ASSERT_TRUE(sheet.AddRow(replaced, 6, true));
  EXPECT_EQ(sheet.GetTotalRows(), 7);
  EXPECT_EQ(Read(sheet, 6), (Row{"replaced"}));
  EXPECT_EQ(Read(sheet, 7), (Row{"6"}));
}

TEST_F(TextSheet, AppendLeavesTheCurrentRowAndSequentialReadsEndSilently) {
  Make("seq.csv", {{"h"}, {"2"}, {"3"}, {"4"}});
  CSpreadSheet sheet(Path("seq.csv"), ",", false);
  EXPECT_EQ(Read(sheet, 3), Row{"3"});
  CStringArray appended = Values({"5"});
  ASSERT_TRUE(sheet.AddRow(appended, 0));
  EXPECT_EQ(Read(sheet, 0), Row{"4"});
  EXPECT_EQ(Read(sheet, 0), Row{"5"});
  sheet.ReadRow(appended, 99);
  const CString error = sheet.GetLastErrorText();
  EXPECT_EQ(error.str(), "Desired row is greater than total number of rows in spreadsheet\n");
  CStringArray untouched = Values({"keep"});
  EXPECT_FALSE(sheet.ReadRow(untouched, 0));
  EXPECT_EQ(ToRow(untouched), Row{"keep"});
  EXPECT_EQ(sheet.GetLastErrorText(), error) << "the end of a sequential read sets no message";
}

TEST_F(TextSheet, HeaderNamesAreNotCheckedInTextMode) {
  CSpreadSheet sheet(Path("dup.csv"), ",", false);
  CStringArray names = Values({"x", "y", "x"});
  EXPECT_TRUE(sheet.AddHeaders(names));
  CStringArray more = Values({"1", "2", "3", "4"});
  EXPECT_TRUE(sheet.AddRow(more));
  CStringArray extra = Values({"z", "x"});
  ASSERT_TRUE(sheet.AddHeaders(extra, false));
  EXPECT_EQ(Read(sheet, 1), (Row{"x", "y", "x", "z", "x"}));
  EXPECT_EQ(sheet.GetTotalRows(), 2);
}

TEST_F(TextSheet, HeadersOnATableWithRowsKeepTheRows) {
  CSpreadSheet sheet(Path("keep.csv"), ",", false);
  CStringArray row = Values({"r"});
  ASSERT_TRUE(sheet.AddRow(row, 3));
  CStringArray header = Values({"h"});
  ASSERT_TRUE(sheet.AddHeaders(header));
  EXPECT_EQ(sheet.GetTotalRows(), 3);
  EXPECT_EQ(Read(sheet, 3), Row{"r"});
}

TEST_F(TextSheet, BackupHoldsTheLinesAsLoaded) {
  Put("data.csv", "a,b\n1,2\n");
  {
    CSpreadSheet sheet(Path("data.csv"), ",", true);
    CStringArray row = Values({"3", "4"});
    ASSERT_TRUE(sheet.AddRow(row));
  }
  EXPECT_EQ(Get("data.csv.bak"), "a,b\r\n1,2\r\n");
  EXPECT_EQ(Get("data.csv"), "a,b\r\n1,2\r\n\"3\",\"4\"\r\n");
}

TEST_F(TextSheet, RefusesNegativeRowsAndAnEmptySeparator) {
  Make("neg.csv", {{"h"}, {"1"}});
  CSpreadSheet sheet(Path("neg.csv"), ",", false);
  CStringArray values = Values({"x"});
  EXPECT_FALSE(sheet.AddRow(values, -1));
  EXPECT_EQ(sheet.GetLastErrorText().str(), "Row number cannot be negative\n");
  EXPECT_FALSE(sheet.ReadRow(values, -2));
  EXPECT_EQ(ToRow(values), Row{"x"});
  EXPECT_EQ(sheet.GetTotalRows(), 2);

  CSpreadSheet none(Path("neg.csv"), "", true);
  EXPECT_EQ(none.GetTotalRows(), 0);
  EXPECT_FALSE(none.AddHeaders(values));
  EXPECT_FALSE(none.AddRow(values));
  EXPECT_FALSE(none.Commit());
  EXPECT_FALSE(none.DeleteSheet());
  EXPECT_FALSE(none.Convert("S"));
  EXPECT_EQ(none.GetLastErrorText().str(), "The separator cannot be empty\n");
  EXPECT_EQ(Get("neg.csv"), "\"h\"\r\n\"1\"\r\n");
  EXPECT_FALSE(Exists("neg.csv.bak"));
}

TEST_F(TextSheet, FailedWriteKeepsTheTableForALaterCommit) {
  CSpreadSheet sheet(Path("missing folder/t.csv"), ",", false);
  sheet.BeginTransaction();
  CStringArray values = Values({"a"});
  ASSERT_TRUE(sheet.AddRow(values));
  EXPECT_FALSE(sheet.Commit());
  EXPECT_EQ(sheet.GetLastErrorText().str(), "Error writing file\n");
  EXPECT_EQ(sheet.GetTotalRows(), 1);
}

TEST_F(TextSheet, ChangesOutsideATransactionReturnTheFailedWrite) {
  CSpreadSheet sheet(Path("missing folder/t.csv"), ",", false);
  CStringArray values = Values({"a"});
  EXPECT_FALSE(sheet.AddRow(values));
  EXPECT_EQ(sheet.GetLastErrorText().str(), "Error writing file\n");
  EXPECT_FALSE(sheet.DeleteSheet());
}

TEST_F(TextSheet, DeleteSheetEmptiesTheFile) {
  Make("del.csv", {{"a"}, {"1"}});
  CSpreadSheet sheet(Path("del.csv"), ",", false);
  ASSERT_TRUE(sheet.DeleteSheet("ignored"));
  EXPECT_EQ(sheet.GetTotalRows(), 0);
  EXPECT_EQ(Get("del.csv"), "");
  CStringArray header = Values({"new"});
  ASSERT_TRUE(sheet.AddHeaders(header));
  EXPECT_EQ(Get("del.csv"), "\"new\"\r\n");
}

TEST_F(TextSheet, EveryValueReadsBackExactly) {
  const std::string nul("g\0h", 3);
  const std::vector<Row> rows = {{"h1", "h2", "h3"},
                                 {"line\nbreak", "cr\r\nlf", "\"quoted\""},
                                 {"a\",\"b", "\"", "semi;colon,comma"},
                                 {nul, "\xb5\xda\xd2\xbb\xd0\xd0\n\xb5\xda\xb6\xfe\xd0\xd0", ""}};
  for (const char* separator : {",", ";", "\t"}) {
    const std::string name = std::string("exact") + (separator[0] == '\t' ? "tab" : separator) + ".csv";
    Make(name, rows, separator);
    CSpreadSheet again(Path(name), separator, false);
    EXPECT_EQ(again.GetTotalRows(), 4) << separator;
    EXPECT_EQ(AllRows(again), rows) << separator;
    // Written back unchanged.
    const std::string bytes = Get(name);
    ASSERT_TRUE(again.Commit());
    EXPECT_EQ(Get(name), bytes) << separator;
  }
  EXPECT_NE(Get("exact,.csv").find(std::string("\"g\0h\"", 5)), std::string::npos);
}

TEST_F(TextSheet, FilesWrittenBeforeValuesWereEscapedStayReadable) {
  // Unescaped quotation marks inside values, a stray opening quotation mark
  // and a last value without its closing one.
  Put("old.csv", "\"5\"\xb4\xe7\",\"x\"\r\n\"open\r\n\"a\",\"b\xd6\xd0\r\n\"x\"\"\r\n\"y\"\r\n");
  CSpreadSheet sheet(Path("old.csv"), ",", false);
  ASSERT_EQ(sheet.GetTotalRows(), 5);
  EXPECT_EQ(Read(sheet, 1), (Row{"5\"\xb4\xe7", "x"}));
  EXPECT_EQ(Read(sheet, 2), (Row{"\"open"}));
  EXPECT_EQ(Read(sheet, 3), (Row{"a", "b\xd6\xd0"})) << "no half character is cut off";
  EXPECT_EQ(Read(sheet, 4), (Row{"x\""})) << "the unclosed value does not swallow the next line";
  EXPECT_EQ(Read(sheet, 5), (Row{"y"}));
}

TEST_F(TextSheet, ReplacingAFileKeepsItsOwnerAndGroup) {
  Make("owned.csv", {{"a"}});
  if (chown(std::string(Path("owned.csv")).c_str(), 4321, 4321) != 0) GTEST_SKIP() << "files cannot be given away here";
  CSpreadSheet sheet(Path("owned.csv"), ",", false);
  CStringArray row = Values({"b"});
  ASSERT_TRUE(sheet.AddRow(row, 1, true));
  struct stat info {};
  ASSERT_EQ(stat(std::string(Path("owned.csv")).c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, 4321u);
  EXPECT_EQ(info.st_gid, 4321u);
  EXPECT_EQ(Get("owned.csv"), "\"b\"\r\n");
}

TEST_F(TextSheet, ReadOnlyFilesAndFoldersNamedAsTheFileAreNotReplaced) {
  Put("locked.csv", "\"a\"\r\n");
  std::filesystem::permissions(m_dir + "/locked.csv", std::filesystem::perms(0444));
  std::filesystem::create_directory(m_dir + "/folder.csv");
  for (const char* name : {"locked.csv", "folder.csv"}) {
    CSpreadSheet sheet(Path(name), ",", false);
    CStringArray row = Values({"new"});
    sheet.AddRow(row, 1, true);
    EXPECT_EQ(sheet.GetLastErrorText().str(), "Error writing file\n") << name;
  }
  EXPECT_EQ(Get("locked.csv"), "\"a\"\r\n");
  EXPECT_TRUE(std::filesystem::is_directory(m_dir + "/folder.csv"));
}
