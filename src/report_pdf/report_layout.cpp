#include "report_pdf/report_layout.h"

#include <algorithm>

#include "report_pdf/page_flow.h"
#include "report_pdf/phase_chart_layout.h"
#include "report_pdf/table_layout.h"

namespace report_pdf {

namespace {

constexpr qreal kSectionGapMm = 4;
constexpr qreal kBalancingTableMm = 110;
const QColor kRule(60, 60, 60);

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

}  // namespace

void WriteTitle(PageFlow& flow, const std::string& title) {
  const qreal height = flow.LineHeight(FontRole::Title);
  flow.AddText(QRectF(0, flow.Top(), flow.Width(), height), Q(title), FontRole::Title, Qt::AlignCenter);
  flow.Advance(height + flow.Mm(2));
  flow.AddLine(QLineF(0, flow.Top(), flow.Width(), flow.Top()), flow.Mm(0.4), kRule);
  flow.Advance(flow.Mm(2));
}

// The facts two to a line: they are short. One too long for half the
// line wraps inside its half.
void WriteFacts(PageFlow& flow, const std::vector<std::string>& facts) {
  const qreal height = flow.LineHeight(FontRole::Body);
  const qreal half = flow.Width() / 2;
  const qreal width = half - flow.Mm(2);
  for (size_t first = 0; first < facts.size(); first += 2) {
    int tallest = 1;
    for (size_t k = first; k < first + 2 && k < facts.size(); ++k) {
      const QStringList lines = flow.Wrap(Q(facts[k]), FontRole::Body, width);
      for (int l = 0; l < lines.size(); ++l)
        flow.AddText(QRectF((k - first) * half, flow.Top() + l * height, width, height), lines[l], FontRole::Body,
                     Qt::AlignLeft | Qt::AlignVCenter);
      tallest = std::max(tallest, static_cast<int>(lines.size()));
    }
    flow.Advance(tallest * height);
  }
  flow.Advance(flow.Mm(kSectionGapMm));
}

void WriteSection(PageFlow& flow, const report::TextSection& section) {
  const qreal lineHeight = flow.LineHeight(FontRole::Body);
  const qreal headingHeight = flow.LineHeight(FontRole::Heading) + flow.Mm(1.5);
  QStringList lines;
  for (const std::string& line : section.lines) lines += flow.Wrap(Q(line), FontRole::Body, flow.Width());
  // A short section stays together; a long one may break between lines.
  flow.EnsureRoom(headingHeight + std::min<qreal>(lines.size(), 4) * lineHeight);
  flow.AddText(QRectF(0, flow.Top(), flow.Width(), flow.LineHeight(FontRole::Heading)), Q(section.heading),
               FontRole::Heading, Qt::AlignLeft | Qt::AlignVCenter);
  flow.Advance(headingHeight);
  for (const QString& line : lines) {
    flow.EnsureRoom(lineHeight);
    flow.AddText(QRectF(flow.Mm(4), flow.Top(), flow.Width() - flow.Mm(4), lineHeight), line, FontRole::Body,
                 Qt::AlignLeft | Qt::AlignVCenter);
    flow.Advance(lineHeight);
  }
  flow.Advance(flow.Mm(kSectionGapMm));
}

void NumberPages(std::vector<Page>& pages, const PageFlow& flow, qreal contentHeight) {
  const qreal height = flow.LineHeight(FontRole::Small);
  const qreal top = contentHeight - height;
  for (size_t i = 0; i < pages.size(); ++i) {
    const QString text = QStringLiteral("第 %1 页 / 共 %2 页").arg(i + 1).arg(pages.size());
    pages[i].items.push_back(LineItem{QLineF(0, top - flow.Mm(1.5), flow.Width(), top - flow.Mm(1.5)), flow.Mm(0.2),
                                      kRule, false});
    pages[i].items.push_back(TextItem{QRectF(0, top, flow.Width(), height), text, FontRole::Small, Qt::AlignCenter});
  }
}

void LayOutReportBody(PageFlow& flow, const report::CalculationReport& report) {
  WriteTitle(flow, report.title);
  WriteFacts(flow, report.facts);
  LayOutTable(flow, report.circuits, flow.Width());
  LayOutPhaseChart(flow, report.phases);
  WriteSection(flow, report.board);
  WriteSection(flow, report.switches);
  if (report.balancing) LayOutTable(flow, *report.balancing, flow.Mm(kBalancingTableMm));
}

std::vector<Page> LayOutReport(const report::CalculationReport& report, const QPaintDevice& device, QSizeF content) {
  PageFlow flow(device, content, kReportFooterMm);
  LayOutReportBody(flow, report);
  std::vector<Page> pages = flow.TakePages();
  NumberPages(pages, flow, content.height());
  return pages;
}

}  // namespace report_pdf
