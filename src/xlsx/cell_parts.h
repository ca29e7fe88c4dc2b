// The cell texts of a worksheet part and the shared strings they refer to.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "workbook/grid.h"
#include "workbook/number_cells.h"
#include "workbook/result.h"
#include "xlsx/zip_package.h"

namespace xlsx {

// Reading either part takes at most this much memory for its texts and
// cell slots, or is refused: a small package can claim far more.
constexpr size_t kCellMemoryBudget = size_t{48} << 20;

// Each string item's text, rich-text runs joined, phonetic guides left out.
xls::Result<std::vector<std::u16string>> ReadSharedStrings(const ZipPackage& package, const std::string& part);

// Cell texts as the BIFF8 reader gives them: numbers as the General format
// shows them, booleans TRUE/FALSE, formulas by their cached values, errors
// and empty cells "". A formula stored without a value (as script writers
// leave them for the spreadsheet program to compute) reads as "=" and its
// formula text. Cells and rows without a reference follow the one before them.
// Without `strings_present` (the workbook names a string table it lacks), a
// cell that refers to it makes the sheet unreadable.
xls::Result<xls::Grid> ReadWorksheetPart(const ZipPackage& package, const std::string& part,
                                         const std::vector<std::u16string>& shared_strings,
                                         bool strings_present = true);

// True for the text of a formula cell that holds no computed value.
constexpr char kFormulaMark = '=';
bool IsUncomputedFormula(std::u16string_view cell);

// A worksheet part holding `cells` as inline text cells, except the cells
// listed in `numbers`, which hold their texts' values as numbers.
std::string WriteWorksheetPart(const xls::Grid& cells, const xls::NumberCells& numbers = {});

}  // namespace xlsx
