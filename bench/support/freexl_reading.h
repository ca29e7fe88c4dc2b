// The independent reader our workbook reading is measured against: FreeXL
// opening the file and visiting every cell of the first sheet, as we do.
#pragma once

#include <freexl.h>

#include <cstdlib>
#include <string>

namespace bench {

// Characters of the text cells, so the work cannot be optimised away.
inline size_t ReadEveryCellWithFreexl(const std::string& path) {
  const void* handle = nullptr;
  if (freexl_open(path.c_str(), &handle) != FREEXL_OK) std::abort();
  freexl_select_active_worksheet(handle, 0);
  unsigned int rows = 0;
  unsigned short columns = 0;
  freexl_worksheet_dimensions(handle, &rows, &columns);
  size_t characters = 0;
  for (unsigned int r = 0; r < rows; ++r)
    for (unsigned short c = 0; c < columns; ++c) {
      FreeXL_CellValue value;
      if (freexl_get_cell_value(handle, r, c, &value) == FREEXL_OK && value.type == FREEXL_CELL_SST_TEXT)
        characters += std::char_traits<char>::length(value.value.text_value);
    }
  freexl_close(handle);
  return characters;
}

}  // namespace bench
