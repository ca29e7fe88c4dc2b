// One sheet of a workbook as the independent reader FreeXL sees it.
#pragma once

#include <freexl.h>

#include <string>

// Calls visit(row, column, text) for every cell of the sheet named
// `sheetName` (UTF-8) over the sheet's dimensions, row by row; `text` is the
// cell's text, or null for a cell that holds none. False when FreeXL cannot
// open the file.
template <class Visit>
bool VisitTextCellsWithFreeXL(const std::string& path, const std::string& sheetName, Visit visit) {
  const void* handle = nullptr;
  if (freexl_open(path.c_str(), &handle) != FREEXL_OK) return false;
  unsigned int sheets = 0;
  freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &sheets);
  for (unsigned short s = 0; s < sheets; ++s) {
    const char* name = nullptr;
    freexl_get_worksheet_name(handle, s, &name);
    if (name == nullptr || sheetName != name) continue;
    freexl_select_active_worksheet(handle, s);
    unsigned int rowCount = 0;
    unsigned short columnCount = 0;
    freexl_worksheet_dimensions(handle, &rowCount, &columnCount);
    for (unsigned int r = 0; r < rowCount; ++r) {
      for (unsigned short c = 0; c < columnCount; ++c) {
        FreeXL_CellValue cell;
        const bool read = freexl_get_cell_value(handle, r, c, &cell) == FREEXL_OK;
        const bool text = read && (cell.type == FREEXL_CELL_TEXT || cell.type == FREEXL_CELL_SST_TEXT);
        visit(r, c, text ? cell.value.text_value : nullptr);
      }
    }
  }
  freexl_close(handle);
  return true;
}
