// The building's 计算书: a title part with the system's table and the
// busbar, compensation, transformer and main switch told as formulas with
// their numbers, then every board's own report in board order.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "calc/system_calculation.h"
#include "report/calculation_report.h"

namespace report {

struct SystemReport {
  std::string title;
  std::vector<std::string> facts;
  Table boards;
  std::vector<TextSection> sections;  // busbar, compensation, transformer, main switch
  std::vector<CalculationReport> boardReports;
};

// `result` must be complete.
SystemReport BuildSystemReport(const SystemResult& result, std::time_t calculatedAt);

// The transformer's line: the rating chosen and its load rates.
std::string TransformerLine(const TransformerChoice& transformer);

}  // namespace report
