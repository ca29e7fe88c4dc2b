#include "report_pdf/phase_chart_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace report_pdf {

namespace {

// Chart geometry, in millimetres.
constexpr qreal kChartWidthMm = 100;
constexpr qreal kChartHeightMm = 62;
constexpr qreal kAxisLabelsMm = 14;  // left of the plot: the tick values
constexpr qreal kMeanLabelMm = 24;   // right of the plot: the mean's label
constexpr qreal kTopMm = 6;          // above the plot: the unit
constexpr qreal kPhaseLabelsMm = 8;  // below the plot: L1, L2, L3
constexpr qreal kGapMm = 6;          // between chart and notes

// The customary colours of the three phases: yellow, green, red.
const QColor kPhaseColours[3] = {QColor(232, 184, 0), QColor(40, 150, 60), QColor(200, 40, 40)};
const QColor kAxis(60, 60, 60);
const QColor kGridLine(205, 205, 205);
const QColor kMean(30, 70, 170);

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

QString TickText(qreal value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", static_cast<double>(value));
  return QString::fromLatin1(text);
}

class ChartWriter {
 public:
  ChartWriter(PageFlow& flow, const report::PhaseChart& chart, QRectF box)
      : m_flow(flow), m_chart(chart), m_box(box), m_labelHeight(flow.LineHeight(FontRole::Small)) {
    m_plot = QRectF(box.left() + flow.Mm(kAxisLabelsMm), box.top() + flow.Mm(kTopMm),
                    box.width() - flow.Mm(kAxisLabelsMm + kMeanLabelMm),
                    box.height() - flow.Mm(kTopMm + kPhaseLabelsMm));
    ChooseScale();
  }

  void Write() {
    WriteGrid();
    WriteMean();
    for (int i = 0; i < 3; ++i) WriteBar(i);
    m_flow.AddLine(QLineF(m_plot.left(), m_plot.top(), m_plot.left(), m_plot.bottom()), m_flow.Mm(0.3), kAxis);
    m_flow.AddLine(QLineF(m_plot.left(), Y(0), m_plot.right(), Y(0)), m_flow.Mm(0.3), kAxis);
    m_flow.AddText(QRectF(m_box.left(), m_box.top(), m_flow.Mm(kAxisLabelsMm) * 2, m_labelHeight), Q(m_chart.unit),
                   FontRole::Small, Qt::AlignLeft | Qt::AlignVCenter);
  }

 private:
  // From zero (or the lowest value) to the highest, in whole steps, with
  // room for the value labels beyond the longest bars.
  void ChooseScale() {
    qreal low = 0, high = 0;
    for (const auto& bar : m_chart.bars) {
      if (!std::isfinite(bar.value)) continue;
      low = std::min<qreal>(low, bar.value);
      high = std::max<qreal>(high, bar.value);
    }
    if (high == low) high = low + 1;
    m_step = AxisStep(low, high);
    m_low = std::floor(low / m_step) * m_step;
    m_high = std::ceil(high / m_step) * m_step;
    for (int i = 0; i < 20 && (Y(high) - m_plot.top() < m_labelHeight * 1.2); ++i) m_high += m_step;
    for (int i = 0; i < 20 && low < 0 && (m_plot.bottom() - Y(low) < m_labelHeight * 1.2); ++i) m_low -= m_step;
  }

  qreal Y(qreal value) const {
    return m_plot.bottom() - (value - m_low) / (m_high - m_low) * m_plot.height();
  }

  void WriteGrid() {
    const int steps = static_cast<int>(std::lround((m_high - m_low) / m_step));
    for (int i = 0; i <= steps; ++i) {
      const qreal value = m_low + i * m_step;
      const qreal y = Y(value);
      if (i > 0) m_flow.AddLine(QLineF(m_plot.left(), y, m_plot.right(), y), m_flow.Mm(0.15), kGridLine);
      m_flow.AddText(QRectF(m_box.left(), y - m_labelHeight / 2, m_flow.Mm(kAxisLabelsMm - 1.5), m_labelHeight),
                     TickText(std::abs(value) < m_step / 1e6 ? 0 : value), FontRole::Small,
                     Qt::AlignRight | Qt::AlignVCenter);
    }
  }

  void WriteBar(int index) {
    const auto& bar = m_chart.bars[static_cast<size_t>(index)];
    const qreal slot = m_plot.width() / 3;
    const qreal centre = m_plot.left() + slot * (index + 0.5);
    const qreal barWidth = slot * 0.5;
    const qreal zero = Y(0);
    qreal end = zero;
    if (std::isfinite(bar.value)) {
      end = Y(bar.value);
      const QRectF body(centre - barWidth / 2, std::min(zero, end), barWidth, std::abs(end - zero));
      m_flow.AddFill(body, kPhaseColours[index], kAxis, m_flow.Mm(0.2));
    }
    // The value beyond the bar's end: above a load, below a negative one.
    const bool below = std::isfinite(bar.value) && bar.value < 0;
    const qreal labelTop = below ? end + m_labelHeight * 0.1 : end - m_labelHeight * 1.1;
    // On white, so the mean's line never runs through the figures.
    const qreal labelWidth = m_flow.TextWidth(Q(bar.valueText), FontRole::Small) + m_flow.Mm(1);
    m_flow.AddFill(QRectF(centre - labelWidth / 2, labelTop, labelWidth, m_labelHeight), Qt::white);
    m_flow.AddText(QRectF(centre - slot / 2, labelTop, slot, m_labelHeight), Q(bar.valueText), FontRole::Small,
                   Qt::AlignHCenter | Qt::AlignVCenter);
    m_flow.AddText(QRectF(centre - slot / 2, m_plot.bottom() + m_flow.Mm(1.5), slot, m_flow.LineHeight(FontRole::Body)),
                   Q(bar.label), FontRole::Body, Qt::AlignHCenter | Qt::AlignVCenter);
  }

  void WriteMean() {
    if (!std::isfinite(m_chart.mean)) return;
    const qreal y = Y(m_chart.mean);
    m_flow.AddLine(QLineF(m_plot.left(), y, m_plot.right(), y), m_flow.Mm(0.35), kMean, true);
    m_flow.AddText(QRectF(m_plot.right() + m_flow.Mm(1), y - m_labelHeight / 2, m_flow.Mm(kMeanLabelMm - 1),
                          m_labelHeight),
                   Q(m_chart.meanText), FontRole::Small, Qt::AlignLeft | Qt::AlignVCenter);
  }

  PageFlow& m_flow;
  const report::PhaseChart& m_chart;
  const QRectF m_box;
  const qreal m_labelHeight;
  QRectF m_plot;
  qreal m_low = 0, m_high = 1, m_step = 1;
};

// The notes beside the chart, each wrapped to the width left for them.
QStringList NoteLines(const PageFlow& flow, const report::PhaseChart& chart, qreal width) {
  QStringList lines;
  for (const std::string& note : chart.notes) lines += flow.Wrap(Q(note), FontRole::Body, width);
  return lines;
}

}  // namespace

qreal AxisStep(qreal low, qreal high) {
  const qreal rough = (high - low) / 4;
  if (!(rough > 0) || !std::isfinite(rough)) return 1;
  const qreal magnitude = std::pow(10.0, std::floor(std::log10(rough)));
  for (const qreal factor : {1.0, 2.0, 5.0})
    if (rough <= factor * magnitude) return factor * magnitude;
  return 10 * magnitude;
}

void LayOutPhaseChart(PageFlow& flow, const report::PhaseChart& chart) {
  const qreal chartWidth = std::min(flow.Mm(kChartWidthMm), flow.Width() / 2);
  const qreal notesLeft = chartWidth + flow.Mm(kGapMm);
  const qreal lineHeight = flow.LineHeight(FontRole::Body);
  const QStringList notes = NoteLines(flow, chart, flow.Width() - notesLeft);
  const qreal headingHeight = flow.LineHeight(FontRole::Heading) + flow.Mm(1.5);
  const qreal blockHeight = std::max(flow.Mm(kChartHeightMm), flow.Mm(kTopMm) + notes.size() * lineHeight);
  flow.EnsureRoom(headingHeight + blockHeight);

  flow.AddText(QRectF(0, flow.Top(), flow.Width(), flow.LineHeight(FontRole::Heading)), Q(chart.heading),
               FontRole::Heading, Qt::AlignLeft | Qt::AlignVCenter);
  flow.Advance(headingHeight);
  const qreal top = flow.Top();
  ChartWriter(flow, chart, QRectF(0, top, chartWidth, flow.Mm(kChartHeightMm))).Write();
  const qreal notesTop = top + flow.Mm(kTopMm);
  for (int i = 0; i < notes.size(); ++i)
    flow.AddText(QRectF(notesLeft, notesTop + i * lineHeight, flow.Width() - notesLeft, lineHeight), notes[i],
                 FontRole::Body, Qt::AlignLeft | Qt::AlignVCenter);
  flow.Advance(blockHeight + flow.Mm(4));
}

}  // namespace report_pdf
