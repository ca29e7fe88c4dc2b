#include "report_pdf/system_report_pdf.h"

#include "report_pdf/page_flow.h"
#include "report_pdf/report_layout.h"
#include "report_pdf/report_pdf.h"
#include "report_pdf/table_layout.h"

namespace report_pdf {

std::vector<Page> LayOutSystemReport(const report::SystemReport& report, const QPaintDevice& device, QSizeF content) {
  PageFlow flow(device, content, kReportFooterMm);
  WriteTitle(flow, report.title);
  WriteFacts(flow, report.facts);
  LayOutTable(flow, report.boards, flow.Width());
  for (const report::TextSection& section : report.sections) WriteSection(flow, section);
  for (const report::CalculationReport& board : report.boardReports) {
    flow.NewPage();
    LayOutReportBody(flow, board);
  }
  std::vector<Page> pages = flow.TakePages();
  NumberPages(pages, flow, content.height());
  return pages;
}

QByteArray RenderSystemReportPdf(const report::SystemReport& report) {
  return RenderPdf(report.title, [&report](const QPaintDevice& device, QSizeF content) {
    return LayOutSystemReport(report, device, content);
  });
}

xls::Status WriteSystemReportPdf(const report::SystemReport& report, const std::string& path) {
  return WritePdf(RenderSystemReportPdf(report), path);
}

}  // namespace report_pdf
