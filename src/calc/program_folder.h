// The folder of the running executable, where the input workbook lies.
#pragma once

#include "platform/text/cstring.h"

// The directory of /proc/self/exe with a trailing "/", in code page 936.
// Kept in its own case: file names here are case-sensitive.
CString GetProgramFolder();

// Test seam: GetProgramFolder answers `folder` (ending in "/") instead, so
// that tests writing into the program folder each get a private one; an
// empty text restores the real folder.
void OverrideProgramFolder(const CString& folder);

// The input workbook's name, "电气计算.xls", in code page 936.
CString InputWorkbookName();
