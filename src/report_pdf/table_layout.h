// A table over as many pages as it needs: its heading, a shaded header row
// repeated at the top of every page it reaches, and rows whose cells wrap
// inside their columns. A row taller than a page continues on the next.
#pragma once

#include "report/calculation_report.h"
#include "report_pdf/page_flow.h"

namespace report_pdf {

// `width`: the table's width at most (it is narrower when its texts are).
void LayOutTable(PageFlow& flow, const report::Table& table, qreal width);

// Column widths that add up to `total`: columns that need less than an even
// share get what they need, the others share the rest evenly; when all fit,
// each grows in proportion to its need.
std::vector<qreal> FitColumns(const std::vector<qreal>& needed, qreal total);

}  // namespace report_pdf
