// The 计算书: what the printed calculation sheet of a board says, as UTF-8
// texts and the few numbers its chart needs. It is built from a finished
// calculation and knows nothing about pages or fonts; a painter lays it out
// (on a PDF today, on a printer later).
#pragma once

#include <array>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "calc/load_calc_core.h"
#include "calc/switch_combo_box.h"
#include "report/phase_record.h"

namespace report {

// A table that may run over several pages: its header goes on each of them.
struct Table {
  std::string heading;
  std::vector<std::string> headers;
  std::vector<std::vector<std::string>> rows;  // each as wide as headers
};

struct PhaseBar {
  std::string label;      // L1, L2, L3
  float value = 0.0f;     // kW
  std::string valueText;  // as the dialog's field shows it
};

struct PhaseChart {
  std::string heading;
  std::array<PhaseBar, 3> bars;
  float mean = 0.0f;
  std::string meanText;  // "平均 12.3333 kW"
  std::string unit;      // the axis' unit
  // Beside the chart: the unbalance with its formula and the rule it chose.
  std::vector<std::string> notes;
};

// A heading and its lines, each a sentence or a "label: value" pair.
struct TextSection {
  std::string heading;
  std::vector<std::string> lines;
};

struct CalculationReport {
  std::string title;
  std::vector<std::string> facts;  // workbook, time, the board's two inputs
  Table circuits;
  PhaseChart phases;
  TextSection board;     // powers and current with their formulas
  TextSection switches;  // candidates and the selected one
  std::optional<Table> balancing;  // phases before and after 自动平衡
};

// What the calculation itself does not hold.
struct ReportSource {
  std::string workbookName;  // the input workbook's file name, UTF-8
  std::time_t calculatedAt = 0;
  std::optional<PhaseRecord> balanced;  // set when 自动平衡 gave these phases
};

// The report of the calculation the list and the board values show now;
// `switches` is the board's switch choice as the user left it.
CalculationReport BuildCalculationReport(const CLoadCalcCore& core, const SwitchComboBox& switches,
                                         const ReportSource& source);

// The time of a calculation as the report states it: 2026-12-08 06:01:36.
std::string LocalTimeText(std::time_t when);

// True when the list holds the results of a calculation (its result
// columns are in place), so there is something to report.
bool HasCalculationResults(const CLoadCalcCore& core);

}  // namespace report
