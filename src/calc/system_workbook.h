// Reads the system workbook: the sheet "配电系统" (a header row, then
// 配电箱编号 | 工作簿 | 备注 per board) and the optional sheet "系统参数"
// (参数 | 值). Only reads: nothing is written into the system workbook.
#pragma once

#include "calc/system_model.h"

// The boards and inputs, overrides applied; problems collected, never thrown.
SystemDefinition ReadSystemWorkbook(const CString& path, const SystemOverrides& overrides = {});

// A board's 工作簿 as written, resolved against the system workbook's
// folder unless absolute. A name written with "\" that does not exist as
// written is tried with "/" (a system workbook made on Windows).
CString ResolveBoardWorkbook(const CString& systemPath, const CString& written);

// Applies the overrides and checks every input's range.
void ApplySystemOverrides(SystemInputs& inputs, const SystemOverrides& overrides);
std::vector<SystemProblem> CheckSystemInputs(const SystemInputs& inputs);
