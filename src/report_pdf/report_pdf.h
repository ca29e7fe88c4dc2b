// The 计算书 as a PDF: A4 portrait, vector text in the embedded report
// font, laid out by LayOutReport and painted with Qt's PDF writer. Needs a
// QGuiApplication (fonts); see HeadlessPainting for programs without one.
#pragma once

#include <QByteArray>
#include <QPdfWriter>
#include <string>

#include "report/calculation_report.h"
#include "workbook/result.h"

namespace report_pdf {

// A4 portrait with the report's margins and resolution.
void SetUpReportPage(QPdfWriter& writer);

// The PDF file's bytes; empty when painting failed.
QByteArray RenderReportPdf(const report::CalculationReport& report);

// Writes the PDF to `path` (UTF-8) as a whole: a temporary file in the same
// folder renamed over the target, so a failure leaves any old file as it
// was. The error says what kind of failure it was.
xls::Status WriteReportPdf(const report::CalculationReport& report, const std::string& path);

}  // namespace report_pdf
