// The cell texts of a worksheet part and the shared strings they refer to.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "workbook/result.h"
#include "workbook/grid.h"

namespace xlsx {

// Each string item's text, rich-text runs joined, phonetic guides left out.
xls::Result<std::vector<std::u16string>> ReadSharedStrings(std::string_view xml, const std::string& part);

// Cell texts as the BIFF8 reader gives them: numbers as the General format
// shows them, booleans TRUE/FALSE, formulas by their cached values, errors
// and empty cells "". Cells and rows without a reference follow the one
// before them.
xls::Result<xls::Grid> ReadWorksheetPart(std::string_view xml, const std::string& part,
                                         const std::vector<std::u16string>& shared_strings);

// A worksheet part holding `cells` as inline text cells.
std::string WriteWorksheetPart(const xls::Grid& cells);

}  // namespace xlsx
