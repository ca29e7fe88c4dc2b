#include "cli/report_export.h"
#include "report_pdf/headless_painting.h"
#include "report_pdf/report_pdf.h"

bool CanWriteReports() { return true; }

xls::Status WriteCalculationReport(const CLoadCalcCore& core, const SwitchComboBox& switches,
                                   const report::ReportSource& source, const std::string& path) {
  const report_pdf::HeadlessPainting painting;
  return report_pdf::WriteReportPdf(report::BuildCalculationReport(core, switches, source), path);
}
