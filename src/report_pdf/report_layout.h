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

// `content`: the area inside the page margins, in the device's units.
std::vector<Page> LayOutReport(const report::CalculationReport& report, const QPaintDevice& device, QSizeF content);

}  // namespace report_pdf
