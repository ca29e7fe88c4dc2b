// Lays out the workbook stream as the file holds it: the globals, with the
// sheet list and the shared strings brought up to date, then each sheet's
// substream at the offset its BOUNDSHEET record gives.
#pragma once

#include <cstdint>
#include <vector>

#include "xls/globals.h"
#include "xls/shared_strings.h"

namespace xls {

struct SheetPart {
  std::vector<uint8_t> boundsheet;  // body; its offset field is filled in here
  std::vector<uint8_t> substream;
  int64_t loaded_offset = 0;  // where the substream's absolute offsets were computed from
  bool added = false;
};

std::vector<uint8_t> AssembleWorkbookStream(const std::vector<StoredRecord>& globals, std::vector<SheetPart> sheets,
                                            const SharedStringTable& strings, bool write_sst);

}  // namespace xls
