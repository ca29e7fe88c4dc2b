// The cell texts of one sheet, as every workbook format reads them.
#pragma once

#include <string>
#include <vector>

namespace xls {

// Cell texts of one sheet: element r is sheet row r + 1, element c of a row
// is column c + 1 (A). Rows end at their last non-empty cell; the grid ends
// at the last row holding a value. Numbers read as a spreadsheet shows them
// in General format, booleans as TRUE/FALSE, empty and error cells as "".
using Grid = std::vector<std::vector<std::u16string>>;

}  // namespace xls
