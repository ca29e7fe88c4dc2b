// What the program says about writing a 计算书, as code page 936 texts.
#pragma once

#include <vector>

#include "calc/formula_cells.h"
#include "platform/text/cstring.h"

namespace report {

CString CalculateFirst();  // 请首先进行计算!
CString ReportWritten(const CString& file);
CString ReportWriteFailed(const CString& file, const CString& error);
CString ReportDefaultName();  // 负荷计算书
// Names the circuits and cells whose formulas have no computed value.
CString FormulaCellsWithoutValue(const std::vector<FormulaCell>& cells);

}  // namespace report
