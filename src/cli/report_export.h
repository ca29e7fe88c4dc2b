// --report: the 计算书 of the calculation as a PDF file.
#pragma once

#include <string>

#include "calc/load_calc_core.h"
#include "calc/switch_combo_box.h"
#include "report/calculation_report.h"
#include "workbook/result.h"

// False when this build has no painter for reports (built without Qt).
bool CanWriteReports();

// Writes the report of what `core` and `switches` show to `path` (UTF-8).
xls::Status WriteCalculationReport(const CLoadCalcCore& core, const SwitchComboBox& switches,
                                   const report::ReportSource& source, const std::string& path);
