// Reading a workbook back in tests: every sheet's name and cell texts in UTF-8.
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
