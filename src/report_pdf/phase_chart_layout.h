// The phase loads as a bar chart (L1, L2, L3, each with its value, the mean
// as a dashed line) with the unbalance notes beside it.
#pragma once

#include "report/calculation_report.h"
#include "report_pdf/page_flow.h"

namespace report_pdf {

void LayOutPhaseChart(PageFlow& flow, const report::PhaseChart& chart);

// Grid lines of a value axis from `low` to `high`: a step of 1, 2 or 5
// times a power of ten giving about four intervals.
qreal AxisStep(qreal low, qreal high);

}  // namespace report_pdf
