// What the program says when a workbook, one of its sheets or a file it
// writes cannot be used: the Chinese texts for the kinds of errors the
// workbook layers report, shared by the dialog and loadcalc-cli. An English
// detail follows in parentheses where it says more than the kind.
#pragma once

#include "calc/results_target.h"
#include "platform/text/cstring.h"
#include "workbook/result.h"

namespace calc_text {

// The reason alone: "文件是只读的 (The file is read-only: …)".
CString Reason(const xls::Error& error);
CString Reason(const TargetRefusal& refusal);

CString WorkbookNotFound(const CString& file);  // 找不到工作簿 …
CString SheetMissing(const CString& sheet);      // 工作簿中没有工作表“…”
// A sheet of the input workbook that cannot be read: names the file, the
// sheet and why.
CString SheetUnreadable(const CString& file, const CString& sheet, const xls::Error& error);
// The circuit sheet was read and holds no circuit.
CString NoCircuits(const CString& file);
// The backup sheet was not written; the calculation goes on.
CString BackupNotWritten(const CString& file, const xls::Error& error);
// The name of a file given cannot reach the file system exactly.
CString NameNotExact();
// The target of the results or the report is refused; nothing was written.
CString TargetRefused(const CString& file, const TargetRefusal& refusal);
// A command stopped on an error nothing else expected.
CString UnexpectedFailure(const CString& detail);

}  // namespace calc_text
