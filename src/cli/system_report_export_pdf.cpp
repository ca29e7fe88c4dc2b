#include <ctime>

#include "cli/system_report_export.h"
#include "report/system_report.h"
#include "report_pdf/headless_painting.h"
#include "report_pdf/system_report_pdf.h"

xls::Status WriteSystemReport(const SystemResult& result, const std::string& path) {
  const report_pdf::HeadlessPainting painting;
  return report_pdf::WriteSystemReportPdf(report::BuildSystemReport(result, std::time(nullptr)), path);
}
