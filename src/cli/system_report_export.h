// --system --report: the building's 计算书 as a PDF file.
#pragma once

#include <string>

#include "calc/system_calculation.h"
#include "workbook/result.h"

// Writes the report to `path` (UTF-8). Builds without Qt answer with an error.
xls::Status WriteSystemReport(const SystemResult& result, const std::string& path);
