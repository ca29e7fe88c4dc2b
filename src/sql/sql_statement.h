// The statements the workbook driver understands:
//   SELECT * FROM [sheet$A1:IV65536]
//   CREATE TABLE [sheet] ([c1] char(255), ...)              a new sheet
//   CREATE TABLE [sheet$A1:IV65536] ([c1] char(255), ...)   header row of an emptied sheet
//   DROP TABLE [sheet$A1:IV65536]                           clears the sheet's cells
//   INSERT INTO [sheet$A1:IVk] ([c1], ...) VALUES ('v1', 1.5, ...)
// A value in apostrophes is stored as text; a value written as a number
// ("12", "-0.5", "1.080000") is stored as a number.
// A table named with "$" is a range of an existing sheet: "sheet$" alone or
// "sheet$A1:IV<row>" (the range always starts at A1 and spans columns A..IV).
#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "workbook/result.h"

namespace xls::sql {

inline constexpr int kSheetRows = 65536;
inline constexpr int kSheetColumns = 256;  // A..IV

struct TableRef {
  std::u16string sheet;
  bool isRange = false;     // named with "$": an existing sheet's range
  int lastRow = kSheetRows; // the range's last sheet row (1-based)
};

struct SelectAll { TableRef table; };
struct DropTable { TableRef table; };
struct CreateTable { TableRef table; std::vector<std::u16string> columns; };
struct InsertRow {
  TableRef table;
  std::vector<std::u16string> columns;
  std::vector<std::u16string> values;
  std::vector<bool> numbers;  // for each value: written as a number, not in apostrophes
};

using Statement = std::variant<SelectAll, DropTable, CreateTable, InsertRow>;

Result<Statement> ParseStatement(std::u16string_view text);

}  // namespace xls::sql
