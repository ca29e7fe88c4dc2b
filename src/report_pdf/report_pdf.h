// The 计算书 as a PDF: A4 portrait, vector text in the embedded report
// font, laid out by LayOutReport and painted with Qt's PDF writer. Needs a
// QGuiApplication (fonts); see HeadlessPainting for programs without one.
#pragma once

#include <QByteArray>
#include <QPdfWriter>
#include <functional>
#include <string>
#include <vector>

#include "report/calculation_report.h"
#include "workbook/result.h"
#include "report_pdf/page_items.h"

namespace report_pdf {

// A4 portrait with the report's margins and resolution.
void SetUpReportPage(QPdfWriter& writer);

// Lays a report out on pages of the device, inside its margins.
using LayOut = std::function<std::vector<Page>(const QPaintDevice& device, QSizeF content)>;

// Any report's pages as PDF bytes; empty when painting failed.
QByteArray RenderPdf(const std::string& title, const LayOut& layOut);

// The bytes written to `path` (UTF-8) as a whole, or the error with its kind.
xls::Status WritePdf(const QByteArray& bytes, const std::string& path);

// The PDF file's bytes; empty when painting failed.
QByteArray RenderReportPdf(const report::CalculationReport& report);

// Writes the PDF to `path` (UTF-8) as a whole: a temporary file in the same
// folder renamed over the target, so a failure leaves any old file as it
// was. The error says what kind of failure it was.
xls::Status WriteReportPdf(const report::CalculationReport& report, const std::string& path);

}  // namespace report_pdf
