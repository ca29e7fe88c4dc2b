// Which files the calculation reads and which names the results can be
// written under. The one place that knows the workbook formats by their
// extensions: a new format is added here.
#pragma once

#include <optional>

#include "platform/text/cstring.h"
#include "workbook/result.h"

namespace workbook_files {

// True when the name (code page 936) ends in an extension the results can be
// written as, in any case.
bool IsWorkbookName(const CString& path);

// The name the results are saved under: a name without an extension gets
// ".xls" (as the save dialog's default extension does); a workbook name is
// kept. Empty, with `error` set, for an extension the results cannot be
// written as.
std::optional<CString> ResultsName(const CString& path, CString& error);

// True when the name survives the way to the operating system's encoding
// and back, so that the file opened is exactly the one named.
bool IsExactName(const CString& path);

// Why the input workbook cannot be read as a file, before its content is
// looked at: it does not exist, it is a folder (or device, FIFO), or the
// permissions forbid reading it. Empty when it can be opened.
std::optional<xls::Error> InputProblem(const CString& path);

}  // namespace workbook_files
