// What the program says about editing the circuit list and writing it back
// into the workbook: the Chinese texts for the refusals and outcomes.
#pragma once

#include "calc/circuit_validation.h"
#include "platform/text/cstring.h"
#include "workbook/result.h"

namespace calc_text {

// A value typed into the column `caption` that the calculation would refuse.
CString ValueRefused(CircuitValueProblem problem, const CString& caption, const CString& text);
CString ResultNotEditable();
// 写回工作簿.
CString NothingReadToWriteBack();
CString WrittenBack(const CString& file);
CString WorkbookChangedSinceRead(const CString& file);
CString CircuitSheetChangedSinceRead(const CString& file);
CString WriteBackFailed(const CString& file, const xls::Error& error);

}  // namespace calc_text
