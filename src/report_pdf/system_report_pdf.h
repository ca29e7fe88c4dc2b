// The building's 计算书 as a PDF: the system's title part, then every
// board's report starting on a page of its own, numbered throughout.
#pragma once

#include <QByteArray>
#include <QPaintDevice>
#include <QSizeF>
#include <string>
#include <vector>

#include "report/system_report.h"
#include "report_pdf/page_items.h"
#include "workbook/result.h"

namespace report_pdf {

std::vector<Page> LayOutSystemReport(const report::SystemReport& report, const QPaintDevice& device, QSizeF content);

QByteArray RenderSystemReportPdf(const report::SystemReport& report);

// Written whole (temporary file, rename), or the error with its kind.
xls::Status WriteSystemReportPdf(const report::SystemReport& report, const std::string& path);

}  // namespace report_pdf
