// Texts of 规范法 and of boards with three-phase or fixed circuits, as code
// page 936 byte strings.
#pragma once

#include "calc/standard_method.h"
#include "platform/text/cstring.h"

namespace calc_text {

CString StandardInputRange(StandardInputProblem problem);
CString AllCircuitsFixed();      // balancing a board without a free circuit
CString BelowNeedsMovableBoard();  // a bound for balancing, with fixed or three-phase circuits
CString StandardResultsSheet();  // 规范法计算结果
CString MethodName(bool standard);  // 原方法 / 规范法
CString SinglePhaseRuleName(SinglePhaseRule rule);

}  // namespace calc_text
