// The cells of one worksheet substream as texts.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "workbook/result.h"
#include "xls/workbook.h"

namespace xls {

// The end of the substream whose BOF record stands at `offset` (just after
// its EOF record), counting the BOF/EOF pairs of charts embedded in it.
Result<size_t> FindSubstreamEnd(std::span<const uint8_t> stream, size_t offset);

// `substream` runs from the sheet's BOF to its EOF record.
Result<Grid> ReadWorksheet(std::span<const uint8_t> substream, const std::vector<std::u16string>& shared_strings);

}  // namespace xls
