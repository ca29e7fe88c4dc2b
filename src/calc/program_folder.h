// The folder of the running executable, and the folder where the program
// keeps its input workbook and the files it writes for itself.
#pragma once

#include "platform/text/cstring.h"

// The directory of /proc/self/exe with a trailing "/", in code page 936.
// Kept in its own case: file names here are case-sensitive.
CString GetProgramFolder();

// The input workbook's name, "电气计算.xls", in code page 936.
CString InputWorkbookName();

// The folder of the input workbook and of every file the program writes
// beside it (Test.xls), with a trailing "/", in code page 936: the program
// folder, or for an installed copy the user's data folder for the program
// (see ChooseWorkbookFolder), made ready on first use. Why it could not be
// made ready is written to standard error.
CString GetWorkbookFolder();
