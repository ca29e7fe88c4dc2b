// What writing changed cells into a package needs beyond the sheet part:
// the part's stored text decoded and encoded again, and the check that no
// other part refers to rows that would move.
#pragma once

#include <optional>
#include <string>

#include "workbook/result.h"
#include "workbook/sheet_update.h"
#include "xlsx/package_file.h"

namespace xlsx {

// Refused when the workbook defines names or another worksheet holds
// formulas: either may point into the rows that move.
xls::Status OthersAllowRowMoves(const PackageFile& file, size_t sheet);

// The sheet part `part` (as `earlier` holds it after an earlier update, or
// as stored) with the update applied, in the part's own encoding.
xls::Result<std::string> UpdateSheetPart(const ZipPackage& package, const std::optional<std::string>& earlier,
                                         const std::string& part, const xls::SheetUpdate& update);

}  // namespace xlsx
