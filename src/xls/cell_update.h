// Writing changed cells into a loaded worksheet's own records: only the
// cells named change, rows move only where nothing refers to them.
#pragma once

#include <vector>

#include "workbook/result.h"
#include "workbook/sheet_update.h"
#include "xls/globals.h"
#include "xls/workbook_state.h"

namespace xls {

// `sheets` is every sheet of the workbook with its substream loaded;
// `sheet` is the one to change. Nothing changes when it is refused.
Status UpdateSheetRecords(std::vector<SheetEntry>& sheets, size_t sheet, const std::vector<StoredRecord>& globals,
                          const SheetUpdate& update);

}  // namespace xls
