// The whole 计算书 laid out on pages of the device: title and facts, the
// circuit table, the phase chart, the board results, the switch choice and,
// after 自动平衡, the phases before and after; "第 i 页 / 共 n 页" at the
// foot of every page.
#pragma once

#include <QPaintDevice>
#include <QSizeF>
#include <vector>

#include "report/calculation_report.h"
#include "report_pdf/page_items.h"

namespace report_pdf {

// Room kept at the foot of every page for its number.
constexpr qreal kReportFooterMm = 9;

// `content`: the area inside the page margins, in the device's units.
std::vector<Page> LayOutReport(const report::CalculationReport& report, const QPaintDevice& device, QSizeF content);

// The pieces, for reports made of several parts (a building's boards).
class PageFlow;
void LayOutReportBody(PageFlow& flow, const report::CalculationReport& report);
void WriteTitle(PageFlow& flow, const std::string& title);
// Facts two to a line.
void WriteFacts(PageFlow& flow, const std::vector<std::string>& facts);
void WriteSection(PageFlow& flow, const report::TextSection& section);
// "第 i 页 / 共 n 页" at the foot of every page, counted over all of them.
void NumberPages(std::vector<Page>& pages, const PageFlow& flow, qreal contentHeight);

}  // namespace report_pdf
