// Workbooks in tests: sheets made from UTF-8 rows, and read back as them.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/text/encoding.h"
#include "xls/workbook.h"

using Rows = std::vector<std::vector<std::string>>;  // UTF-8 cell texts
using NamedSheets = std::vector<std::pair<std::string, Rows>>;

// The sheets of the workbook in file order; empty when it cannot be read.
inline NamedSheets ReadWorkbookBack(const std::string& path) {
  NamedSheets sheets;
  auto book = xls::Workbook::Load(path);
  if (!book.ok()) return sheets;
  for (size_t i = 0; i < book->SheetCount(); ++i) {
    Rows rows;
    auto grid = book->ReadSheet(i);
    if (grid.ok())
      for (const auto& row : grid.value()) {
        std::vector<std::string> cells;
        for (const auto& cell : row) cells.push_back(ToUtf8(FromUtf16(cell)));
        rows.push_back(cells);
      }
    sheets.emplace_back(ToUtf8(FromUtf16(book->SheetName(i))), rows);
  }
  return sheets;
}

// One sheet's cells in the workbook's own text form.
inline std::vector<std::u16string> ToGridRow(const std::vector<std::string>& cells) {
  std::vector<std::u16string> row;
  for (const auto& cell : cells) row.push_back(ToUtf16(FromUtf8(cell)));
  return row;
}

// A sheet of a header row followed by the rows.
inline xls::Grid WithHeader(const std::vector<std::string>& header, const Rows& rows) {
  xls::Grid grid;
  grid.push_back(ToGridRow(header));
  for (const auto& row : rows) grid.push_back(ToGridRow(row));
  return grid;
}
