#include <gtest/gtest.h>

#include "sql/sql_grid.h"

using namespace xls::sql;
using xls::Grid;
using Names = std::vector<std::u16string>;

namespace {

// Every field of a record, the empty ones after its last value included.
Names Fields(const QueryResult& result, size_t record) {
  Names fields;
  for (size_t c = 0; c < result.columns.size(); ++c) fields.push_back(result.Field(record, c));
  return fields;
}

}  // namespace

TEST(SqlGrid, SelectNamesColumnsByTheFirstRowUpToTheLastUsedColumn) {
  // Column C holds a value only in row 3; column B has no name.
  const Grid grid = {{u"x", u"", u""}, {u"1"}, {u"2", u"", u"late"}, {}, {}};
  const QueryResult result = SelectFromGrid(grid, 65536);
  EXPECT_EQ(result.columns, (Names{u"x", u"F2", u"F3"}));
  ASSERT_EQ(result.records.size(), 2u);  // trailing empty rows are not records
  EXPECT_EQ(Fields(result, 0), (Names{u"1", u"", u""}));
  EXPECT_EQ(Fields(result, 1), (Names{u"2", u"", u"late"}));
}

TEST(SqlGrid, RecordsOfAWideSparseSheetHoldOnlyTheirValues) {
  // A1 and IV65536: 256 columns and 65,535 records, two values in all.
  Grid grid(65536);
  grid[0] = {u"name"};
  grid[65535].resize(256);
  grid[65535][255] = u"corner";
  const QueryResult result = SelectFromGrid(grid, 65536);
  ASSERT_EQ(result.columns.size(), 256u);
  EXPECT_EQ(result.columns[255], u"F256");
  ASSERT_EQ(result.records.size(), 65535u);
  size_t stored = 0;
  for (const auto& record : result.records) stored += record.size();
  EXPECT_EQ(stored, 256u);  // the last record, up to its value
  EXPECT_EQ(result.Field(0, 255), u"");
  EXPECT_EQ(result.Field(65534, 255), u"corner");
}

TEST(SqlGrid, SelectOfAnEmptySheetOrAHeaderOnly) {
  EXPECT_TRUE(SelectFromGrid(Grid{}, 65536).columns.empty());
  EXPECT_TRUE(SelectFromGrid(Grid{{u""}, {}}, 65536).columns.empty());
  const QueryResult header = SelectFromGrid(Grid{{u"a", u"b"}}, 65536);
  EXPECT_EQ(header.columns, (Names{u"a", u"b"}));
  EXPECT_TRUE(header.records.empty());
  // An empty row between records stays a record.
  EXPECT_EQ(SelectFromGrid(Grid{{u"a"}, {}, {u"3"}}, 65536).records.size(), 2u);
  // A smaller range stops at its last row.
  EXPECT_EQ(SelectFromGrid(Grid{{u"a"}, {u"1"}, {u"2"}}, 2).records.size(), 1u);
}

TEST(SqlGrid, InsertLandsJustBelowTheRangeByColumnName) {
  Grid grid;
  ASSERT_TRUE(WriteHeader(grid, 65536, {u"x", u"y", u"z"}).ok());
  ASSERT_TRUE(InsertIntoGrid(grid, 1, {u"z", u"x"}, {u"3", u"1"}).ok());
  ASSERT_TRUE(InsertIntoGrid(grid, 2, {u"Y"}, {u"only y"}).ok());  // letters' case does not matter
  ASSERT_TRUE(InsertIntoGrid(grid, 4, {u"x"}, {u"after a gap"}).ok());
  EXPECT_EQ(grid, (Grid{{u"x", u"y", u"z"}, {u"1", u"", u"3"}, {u"", u"only y"}, {}, {u"after a gap"}}));
}

TEST(SqlGrid, InsertFindsColumnsWithoutHeaderTextByTheirDriverNames) {
  // Column B has no header text; column D holds a value only further down.
  Grid grid = {{u"a", u"", u"f2"}, {u"1", u"", u"", u"d"}};
  ASSERT_TRUE(InsertIntoGrid(grid, 2, {u"F4"}, {u"beyond the header"}).ok());
  ASSERT_TRUE(InsertIntoGrid(grid, 3, {u""}, {u"empty name"}).ok());
  // "F2" is column B's name exactly, so it wins over C's header text "f2",
  // which differs only in case; "F3" names nothing, as column C has a text.
  ASSERT_TRUE(InsertIntoGrid(grid, 4, {u"F2", u"A"}, {u"b", u"a"}).ok());
  EXPECT_FALSE(InsertIntoGrid(grid, 5, {u"F3"}, {u"x"}).ok());
  EXPECT_FALSE(InsertIntoGrid(grid, 5, {u"F5"}, {u"x"}).ok());  // beyond the last column holding a value
  EXPECT_EQ(grid, (Grid{{u"a", u"", u"f2"},
                        {u"1", u"", u"", u"d"},
                        {u"", u"", u"", u"beyond the header"},
                        {u"", u"empty name"},
                        {u"a", u"b"}}));
}

// Numbers take the text a spreadsheet shows and are listed until dropped.
TEST(SqlGrid, ValuesWrittenAsNumbersAreListedUntilTheRowsAreCleared) {
  Grid grid = {{u"id", u"kw"}};
  xls::NumberCells numbers;
  InsertRow insert{{u"S", true, 1}, {u"id", u"kw"}, {u"1", u"1.080000"}, {false, true}};
  ASSERT_TRUE(InsertIntoGrid(grid, numbers, insert).ok());
  insert.table.lastRow = 2;
  insert.values = {u"-0.500000", u"C65"};
  insert.numbers = {true, false};
  ASSERT_TRUE(InsertIntoGrid(grid, numbers, insert).ok());
  EXPECT_EQ(grid, (Grid{{u"id", u"kw"}, {u"1", u"1.08"}, {u"-0.5", u"C65"}}));
  EXPECT_EQ(numbers, (xls::NumberCells{{1, 1}, {2, 0}}));
  ClearNumbers(numbers, 2);
  EXPECT_EQ(numbers, (xls::NumberCells{{2, 0}}));
  ClearNumbers(numbers, 65536);
  EXPECT_TRUE(numbers.empty());
}

TEST(SqlGrid, RefusedInsertChangesNothing) {
  Grid grid = {{u"x", u"y"}, {u"1", u"2"}};
  const Grid before = grid;
  auto unknown = InsertIntoGrid(grid, 2, {u"x", u"nope"}, {u"a", u"b"});
  ASSERT_FALSE(unknown.ok());
  EXPECT_NE(unknown.error().text.find("'nope'"), std::string::npos) << unknown.error().text;
  // Row 2 lies below a range ending at row 1 and already holds values.
  EXPECT_FALSE(InsertIntoGrid(grid, 1, {u"x"}, {u"a"}).ok());
  EXPECT_FALSE(InsertIntoGrid(grid, 65536, {u"x"}, {u"a"}).ok());
  EXPECT_EQ(grid, before);
}

TEST(SqlGrid, DropClearsTheRangeAndCreateWritesTheHeaderAgain) {
  Grid grid = {{u"a", u"b"}, {u"1", u"2"}, {u"3"}};
  EXPECT_FALSE(WriteHeader(grid, 65536, {u"c"}).ok());  // values are never overwritten
  ClearRows(grid, 65536);
  EXPECT_TRUE(grid.empty());
  ASSERT_TRUE(WriteHeader(grid, 65536, {u"c", u"d"}).ok());
  EXPECT_EQ(grid, (Grid{{u"c", u"d"}}));

  Grid partial = {{u"a"}, {u"1"}, {u"2"}};
  ClearRows(partial, 2);
  EXPECT_EQ(partial, (Grid{{}, {}, {u"2"}}));
}

TEST(SqlGrid, CreateRefusesDuplicateAndTooManyColumns) {
  Grid grid;
  EXPECT_FALSE(WriteHeader(grid, 65536, {u"a", u"b", u"a"}).ok());
  EXPECT_FALSE(WriteHeader(grid, 65536, Names(257, u"n")).ok());
  EXPECT_TRUE(grid.empty());
}

TEST(SqlGrid, SheetNamesFollowTheSpreadsheetRules) {
  EXPECT_TRUE(CheckSheetName(u"各回路负荷计算结果").ok());
  EXPECT_TRUE(CheckSheetName(std::u16string(31, u'a')).ok());
  EXPECT_FALSE(CheckSheetName(std::u16string(32, u'a')).ok());
  EXPECT_FALSE(CheckSheetName(u"").ok());
  EXPECT_FALSE(CheckSheetName(u"a]b").ok());
  EXPECT_FALSE(CheckSheetName(u"a/b").ok());
}
