#include "sql/sql_grid.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "sql/sql_statement.h"
#include "sql/sql_text.h"
#include "workbook/number_text.h"

namespace xls::sql {

namespace {

bool RowHasValue(const std::vector<std::u16string>& row) {
  return std::any_of(row.begin(), row.end(), [](const std::u16string& cell) { return !cell.empty(); });
}

size_t RowsInRange(const Grid& grid, int lastRow) { return std::min(grid.size(), static_cast<size_t>(lastRow)); }

// Number of columns: up to the last column holding a value in rows 1..lastRow.
size_t ColumnCount(const Grid& grid, int lastRow) {
  size_t count = 0;
  for (size_t r = 0; r < RowsInRange(grid, lastRow); ++r) {
    const auto& row = grid[r];
    for (size_t c = row.size(); c > count; --c) {
      if (!row[c - 1].empty()) {
        count = c;
        break;
      }
    }
  }
  return count;
}

// Rows 1..n where n is the last row holding a value in the range.
size_t UsedRows(const Grid& grid, int lastRow) {
  size_t used = RowsInRange(grid, lastRow);
  while (used > 0 && !RowHasValue(grid[used - 1])) --used;
  return used;
}

const std::u16string& CellAt(const Grid& grid, size_t row, size_t column) {
  static const std::u16string empty;
  if (row >= grid.size() || column >= grid[row].size()) return empty;
  return grid[row][column];
}

// The name a column without a header text goes by: F<column number>.
std::u16string GeneratedName(size_t column) {
  const std::string generated = "F" + std::to_string(column + 1);
  return std::u16string(generated.begin(), generated.end());
}

// Column n of a name F<n> (n from 1 to 256, no leading zero), as the names
// of columns without a header text are made.
std::optional<size_t> GeneratedColumn(const std::u16string& name) {
  if (name.size() < 2 || name.size() > 4 || name[0] != u'F' || name[1] == u'0') return std::nullopt;
  size_t number = 0;
  for (size_t i = 1; i < name.size(); ++i) {
    if (name[i] < u'0' || name[i] > u'9') return std::nullopt;
    number = number * 10 + (name[i] - u'0');
  }
  if (number < 1 || number > static_cast<size_t>(kSheetColumns)) return std::nullopt;
  return number - 1;
}

std::u16string ColumnName(const Grid& grid, size_t column) {
  const std::u16string& name = CellAt(grid, 0, column);
  if (!name.empty()) return name;
  return GeneratedName(column);
}

std::vector<std::u16string> ColumnNames(const Grid& grid, int lastRow) {
  std::vector<std::u16string> names;
  for (size_t c = 0; c < ColumnCount(grid, lastRow); ++c) names.push_back(ColumnName(grid, c));
  return names;
}

// Resolves the column names of INSERT statements from the header row alone;
// the rows below it are looked at only for a name beyond the header's last
// text, so that writing a sheet row by row costs time in proportion to the
// rows written.
class ColumnFinder {
 public:
  explicit ColumnFinder(const Grid& grid) : m_grid(grid) {
    if (!grid.empty()) m_header = grid[0];
    while (!m_header.empty() && m_header.back().empty()) m_header.pop_back();
    for (size_t c = 0; c < m_header.size(); ++c) {
      m_exact.try_emplace(name_of(c), c);
      if (m_header[c].empty()) m_exact.try_emplace(std::u16string(), c);
    }
  }

  // The exact name first, then one differing in the case of its letters, as
  // the Excel driver matches names; columns in sheet order. An empty name
  // finds the first column whose header text is empty.
  std::optional<size_t> find(const std::u16string& wanted) {
    if (auto found = m_exact.find(wanted); found != m_exact.end()) return found->second;
    if (const size_t c = m_header.size(); wanted.empty() && c < column_count()) return c;
    if (auto c = GeneratedColumn(wanted); c && *c >= m_header.size() && *c < column_count()) return c;
    for (size_t c = 0; c < m_header.size(); ++c)
      if (EqualsIgnoringCase(name_of(c), wanted)) return c;
    for (size_t c = m_header.size(); c < column_count(); ++c)
      if (EqualsIgnoringCase(GeneratedName(c), wanted)) return c;
    return std::nullopt;
  }

 private:
  std::u16string name_of(size_t c) const { return m_header[c].empty() ? GeneratedName(c) : m_header[c]; }
  size_t column_count() {
    if (!m_columns) m_columns = ColumnCount(m_grid, kSheetRows);
    return *m_columns;
  }

  const Grid& m_grid;
  std::vector<std::u16string> m_header;
  std::unordered_map<std::u16string, size_t> m_exact;
  std::optional<size_t> m_columns;
};

// Trims the one row a statement changed and the empty rows at the grid's
// end; the other rows were left trimmed by the statements before.
void TrimRowAndEnd(Grid& grid, size_t row) {
  if (row < grid.size()) {
    auto& cells = grid[row];
    while (!cells.empty() && cells.back().empty()) cells.pop_back();
  }
  while (!grid.empty() && grid.back().empty()) grid.pop_back();
}

void SetCell(Grid& grid, size_t row, size_t column, const std::u16string& value) {
  if (grid.size() <= row) grid.resize(row + 1);
  if (grid[row].size() <= column) grid[row].resize(column + 1);
  grid[row][column] = value;
}

}  // namespace

QueryResult SelectFromGrid(const Grid& grid, int lastRow) {
  QueryResult result;
  result.columns = ColumnNames(grid, lastRow);
  if (result.columns.empty()) return result;
  const size_t used = UsedRows(grid, lastRow);
  result.records.reserve(used > 0 ? used - 1 : 0);
  for (size_t r = 1; r < used; ++r) {
    const auto& row = grid[r];
    result.records.emplace_back(row.begin(), row.begin() + static_cast<ptrdiff_t>(std::min(row.size(), result.columns.size())));
  }
  return result;
}

void ClearRows(Grid& grid, int lastRow) {
  for (size_t r = 0; r < RowsInRange(grid, lastRow); ++r) grid[r].clear();
  TrimGrid(grid);
}

Status WriteHeader(Grid& grid, int lastRow, const std::vector<std::u16string>& columns) {
  if (UsedRows(grid, lastRow) > 0) return MakeError("The table already holds values; drop it before creating it again");
  if (columns.size() > static_cast<size_t>(kSheetColumns)) return MakeError("A sheet holds at most 256 columns");
  for (size_t i = 0; i < columns.size(); ++i) {
    for (size_t j = 0; j < i; ++j) {
      if (columns[i] == columns[j]) return MakeError("The column name " + Quoted(columns[i]) + " occurs twice");
    }
  }
  for (size_t c = 0; c < columns.size(); ++c) SetCell(grid, 0, c, columns[c]);
  return Ok{};
}

namespace {

// Where each named column stands, once the target row (sheet row
// lastRow + 1) is known to hold no value yet.
Result<std::vector<size_t>> PlaceRow(const Grid& grid, int lastRow, const std::vector<std::u16string>& columns) {
  if (lastRow >= kSheetRows) return MakeError("The sheet is full: it holds at most 65536 rows");
  const size_t target = static_cast<size_t>(lastRow);  // 0-based index of sheet row lastRow + 1
  if (target < grid.size() && RowHasValue(grid[target])) {
    return MakeError("Sheet row " + std::to_string(lastRow + 1) + " below the range already holds values");
  }
  ColumnFinder finder(grid);
  std::vector<size_t> placed;
  for (const std::u16string& column : columns) {
    const auto index = finder.find(column);
    if (!index) return MakeError("The table has no column named " + Quoted(column));
    placed.push_back(*index);
  }
  return placed;
}

}  // namespace

Status InsertIntoGrid(Grid& grid, int lastRow, const std::vector<std::u16string>& columns,
                 const std::vector<std::u16string>& values) {
  auto placed = PlaceRow(grid, lastRow, columns);
  if (!placed) return placed.error();
  const size_t target = static_cast<size_t>(lastRow);
  // The target row holds no value, so an empty value leaves nothing to store.
  for (size_t i = 0; i < values.size(); ++i)
    if (!values[i].empty()) SetCell(grid, target, (*placed)[i], values[i]);
  TrimRowAndEnd(grid, target);
  return Ok{};
}

Status InsertIntoGrid(Grid& grid, NumberCells& numbers, const InsertRow& insert) {
  auto placed = PlaceRow(grid, insert.table.lastRow, insert.columns);
  if (!placed) return placed.error();
  const size_t target = static_cast<size_t>(insert.table.lastRow);
  for (size_t i = 0; i < insert.values.size(); ++i) {
    const std::u16string& text = insert.values[i];
    if (text.empty()) continue;
    const size_t column = (*placed)[i];
    const bool written_as_number = i < insert.numbers.size() && insert.numbers[i];
    const std::optional<double> number = written_as_number ? StoredNumber(text) : std::nullopt;
    SetCell(grid, target, column, number ? NumberText(*number) : text);
    if (number)
      numbers.insert({target, column});
    else
      numbers.erase({target, column});
  }
  TrimRowAndEnd(grid, target);
  return Ok{};
}

void ClearNumbers(NumberCells& numbers, int lastRow) {
  numbers.erase(numbers.begin(), numbers.lower_bound({static_cast<size_t>(lastRow), 0}));
}

void TrimGrid(Grid& grid) {
  for (auto& row : grid) {
    while (!row.empty() && row.back().empty()) row.pop_back();
  }
  while (!grid.empty() && grid.back().empty()) grid.pop_back();
}

Status CheckSheetName(const std::u16string& name) {
  if (name.empty() || name.size() > 31) return MakeError("The sheet name " + Quoted(name) + " must have 1 to 31 characters");
  if (name.find_first_of(u":\\/?*[]") != std::u16string::npos) {
    return MakeError("The sheet name " + Quoted(name) + " must not contain any of : \\ / ? * [ ]");
  }
  return Ok{};
}

}  // namespace xls::sql
