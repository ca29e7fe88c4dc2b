#include "cli/system_report_export.h"

std::string WriteSystemReport(const SystemResult&, const std::string&) {
  return "this loadcalc-cli was built without Qt (LOADCALC_WITH_GUI=OFF)";
}
