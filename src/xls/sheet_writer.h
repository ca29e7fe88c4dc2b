// A worksheet substream made from cell texts: every non-empty cell becomes a
// LABELSST cell pointing into the shared string table, except the cells
// listed in `numbers`, which become NUMBER cells holding their texts' values.
#pragma once

#include <cstdint>
#include <vector>

#include "workbook/number_cells.h"
#include "workbook/result.h"
#include "xls/shared_strings.h"
#include "xls/workbook.h"

namespace xls {

// Offsets in the INDEX record count from the substream's start; the caller
// moves them to the substream's place in the stream (RelocateSubstream).
// `selected` marks the sheet whose tab the workbook opens on.
Result<std::vector<uint8_t>> WriteWorksheet(const Grid& cells, const NumberCells& numbers, uint16_t cell_format, bool selected,
                                            SharedStringTable& strings);

// Adds `delta` to the absolute stream offsets a sheet substream holds (its INDEX record).
void RelocateSubstream(std::vector<uint8_t>& substream, int64_t delta);

}  // namespace xls
