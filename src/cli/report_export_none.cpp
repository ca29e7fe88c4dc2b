// A build without Qt: reports cannot be painted.
#include "cli/report_export.h"

bool CanWriteReports() { return false; }

xls::Status WriteCalculationReport(const CLoadCalcCore&, const SwitchComboBox&, const report::ReportSource&,
                                   const std::string&) {
  return xls::MakeError("this loadcalc-cli was built without Qt (LOADCALC_WITH_GUI=OFF) and cannot write reports");
}
