// --system --report: the building's 计算书 as a PDF file.
#pragma once

#include <string>

#include "calc/system_calculation.h"

// Writes the report to `path` (UTF-8); the error text, or an empty text
// when the file is written. Builds without Qt answer with an error.
std::string WriteSystemReport(const SystemResult& result, const std::string& path);
