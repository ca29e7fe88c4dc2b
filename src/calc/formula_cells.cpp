#include "calc/formula_cells.h"

#include <string>

namespace {

// The columns whose texts the calculation reads as numbers.
constexpr int kNumberColumns[] = {2, 3, 4};

// List row 0 is sheet row 2: row 1 holds the captions.
CString SheetCell(int row, int column) {
  return CString(std::string(1, static_cast<char>('A' + column)) + std::to_string(row + 2));
}

}  // namespace

std::vector<FormulaCell> FindFormulaCells(const CircuitTable& list) {
  std::vector<FormulaCell> found;
  for (int row = 0; row < list.GetItemCount(); ++row)
    for (int column : kNumberColumns) {
      const CString text = list.GetItemText(row, column);
      if (text.GetLength() > 0 && text.GetAt(0) == '=') found.push_back({list.GetItemText(row, 0), SheetCell(row, column), text});
    }
  return found;
}
