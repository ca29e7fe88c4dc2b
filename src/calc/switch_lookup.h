// The switch lookup on any workbook's "开关型号库": the models whose
// ratings reach trunc(current × 1.1 + 1), each followed by ";", in library
// order. `backup` brings the spreadsheet component's backup rule, as 读取
// does for the input workbook; the system workbook is read without it.
// May throw CDBException when the workbook cannot be opened.
#pragma once

#include "platform/text/cstring.h"

CString FindSwitchesIn(const CString& workbook, float current, bool backup);
