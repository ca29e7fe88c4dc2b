// A change of some cells of one sheet, for writing back into a workbook
// without rewriting the rest: rows removed, empty rows inserted, and cells
// given new texts. Rows and columns count from 0 (row 0 is sheet row 1).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "workbook/grid.h"

namespace xls {

struct CellText {
  uint32_t row = 0;  // after the rows were deleted and inserted
  uint32_t column = 0;
  // Written as a number when it reads as one and the cell held a number (a
  // new cell: the cell above it); otherwise as text. Empty empties the cell.
  std::u16string text;
};

struct SheetUpdate {
  // Rows of the sheet as it is, removed; the rows below move up.
  std::vector<uint32_t> deleted_rows;
  // After the deletion, ascending and each in the final numbering: an empty
  // row is inserted there, formatted like the row above; the rows below move
  // down.
  std::vector<uint32_t> inserted_rows;
  std::vector<CellText> cells;
};

// The value of a text that is a plain decimal number ("7.5", "-2", "1e3"),
// as a spreadsheet would take it typed into a cell; none for anything else.
std::optional<double> ParseNumberText(std::u16string_view text);

// The rows of an update in the order they apply: deletions from the last
// row up, then insertions; false when a row would leave the sheet.
// `apply(deleted, row)` is called for each.
template <class Apply>
bool ForEachRowMove(const SheetUpdate& update, uint32_t row_limit, Apply apply) {
  for (auto row = update.deleted_rows.rbegin(); row != update.deleted_rows.rend(); ++row)
    if (!apply(true, *row)) return false;
  for (const uint32_t row : update.inserted_rows)
    if (row >= row_limit || !apply(false, row)) return false;
  return true;
}

// The same update on a sheet held as texts.
void ApplyUpdate(Grid& cells, const SheetUpdate& update);

}  // namespace xls
