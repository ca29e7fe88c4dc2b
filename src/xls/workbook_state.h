// What a Workbook holds: the sheets in file order, and for a loaded file the
// parts kept as they were so that saving changes only what changed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "xls/workbook.h"

namespace xls {

struct SheetEntry {
  std::u16string name;
  std::vector<uint8_t> boundsheet;  // the loaded BOUNDSHEET body; empty for an added sheet
  std::vector<uint8_t> substream;   // the loaded sheet records, BOF to EOF
  uint32_t loaded_offset = 0;       // where the substream stood in the loaded stream
  bool is_worksheet = true;         // chart and macro sheets are kept but not offered
  std::optional<Grid> cells;        // set once the program replaced or added the sheet
  NumberCells numbers;              // which of `cells` are stored as numbers
  bool updated = false;             // the substream holds changed cells (UpdateCells)
};

}  // namespace xls
