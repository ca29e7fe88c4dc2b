// What the driver's statements do to one sheet's cell texts. The sheet's
// columns run from A to the last column holding a value in any row; row 1
// names them, and an empty name reads as F<column number>, as the Excel
// driver names it.
#pragma once

#include <string>
#include <vector>

#include "workbook/result.h"
#include "workbook/grid.h"
#include "workbook/number_cells.h"
#include "sql/sql_statement.h"

namespace xls::sql {

struct QueryResult {
  std::vector<std::u16string> columns;
  // A record ends at its last value; the fields after it are empty, so that
  // a wide, sparse sheet costs memory for the values it holds.
  std::vector<std::vector<std::u16string>> records;

  const std::u16string& Field(size_t record, size_t column) const {
    static const std::u16string empty;
    const auto& fields = records[record];
    return column < fields.size() ? fields[column] : empty;
  }
};

// Rows 1..lastRow: the columns named by the first row and one record per
// following row up to the last row holding a value (empty cells read "").
QueryResult SelectFromGrid(const Grid& grid, int lastRow);

// Clears rows 1..lastRow; the sheet itself stays.
void ClearRows(Grid& grid, int lastRow);

// Writes the header row into a sheet that holds no value in rows 1..lastRow.
Status WriteHeader(Grid& grid, int lastRow, const std::vector<std::u16string>& columns);

// The row lands on sheet row lastRow + 1, just below the range, which must
// not hold a value yet: the writer fills a sheet row by row, the k-th row
// with the range ending at sheet row k, and nothing is overwritten.
Status InsertIntoGrid(Grid& grid, int lastRow, const std::vector<std::u16string>& columns,
                      const std::vector<std::u16string>& values);

// The same for a statement: a value written as a number takes the text a
// spreadsheet shows for it ("1.080000" becomes "1.08") and its cell is
// listed in `numbers`; a text value's cell is not.
Status InsertIntoGrid(Grid& grid, NumberCells& numbers, const InsertRow& insert);

// Forgets the number cells of rows 1..lastRow, as ClearRows empties them.
void ClearNumbers(NumberCells& numbers, int lastRow);

// Drops empty cells at the ends of rows and empty rows at the end.
void TrimGrid(Grid& grid);

// A sheet name Excel accepts: 1 to 31 characters, none of : \ / ? * [ ].
Status CheckSheetName(const std::u16string& name);

}  // namespace xls::sql
