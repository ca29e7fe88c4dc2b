#include "cli/system_report_export.h"

xls::Status WriteSystemReport(const SystemResult&, const std::string&) {
  return xls::MakeError("this loadcalc-cli was built without Qt (LOADCALC_WITH_GUI=OFF)");
}
