// Number cells of the circuit list that hold a formula instead of a number:
// a workbook written by a script keeps formulas without a computed value
// (the spreadsheet program computes them on opening), and the workbook
// reader gives such a cell as its formula text, starting with "=". Read as a
// number it would silently be 0.
#pragma once

#include <vector>

#include "calc/circuit_table.h"
#include "platform/text/cstring.h"

struct FormulaCell {
  CString circuit;    // the circuit's number (first column)
  CString reference;  // the cell in the circuit sheet, "C5"
  CString formula;    // as the workbook holds it, "=0.6+0.6"
};

// Power, demand coefficient and power factor of every circuit, in list order.
std::vector<FormulaCell> FindFormulaCells(const CircuitTable& list);
