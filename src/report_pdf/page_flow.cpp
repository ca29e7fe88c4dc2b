#include "report_pdf/page_flow.h"

#include <QFontMetricsF>
#include <QTextLayout>
#include <QTextOption>
#include <cmath>

#include "report_pdf/report_font.h"

namespace report_pdf {

PageFlow::PageFlow(const QPaintDevice& device, QSizeF content, qreal footerMm)
    : m_device(device), m_content(content), m_footer(Mm(footerMm)), m_pages(1) {}

qreal PageFlow::Mm(qreal millimetres) const { return millimetres * m_device.logicalDpiY() / 25.4; }

QFont PageFlow::Font(FontRole role) const { return ReportFont(role); }

qreal PageFlow::LineHeight(FontRole role) const {
  const QFontMetricsF metrics(Font(role), &m_device);
  return std::ceil(metrics.height() * 1.15);
}

qreal PageFlow::TextWidth(const QString& text, FontRole role) const {
  return QFontMetricsF(Font(role), &m_device).horizontalAdvance(text);
}

QStringList PageFlow::Wrap(const QString& text, FontRole role, qreal width) const {
  // A list of switch models ("C16;C32;MCCB-125;") breaks after a ";"
  // rather than inside a model's name: a zero-width space there offers the
  // break, and leaves the lines again.
  constexpr QChar kBreak(0x200B);
  QString breakable = text;
  breakable.replace(QChar(';'), QString(QChar(';')) + kBreak);
  QTextLayout layout(breakable, Font(role), &m_device);
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  QStringList lines;
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(width);
    lines.append(breakable.mid(line.textStart(), line.textLength()).remove(kBreak).trimmed());
  }
  layout.endLayout();
  if (lines.isEmpty()) lines.append(QString());
  return lines;
}

void PageFlow::EnsureRoom(qreal height) {
  if (!AtPageTop() && height > Remaining()) NewPage();
}

void PageFlow::NewPage() {
  m_pages.emplace_back();
  m_y = 0;
}

void PageFlow::AddText(const QRectF& box, const QString& text, FontRole role, int alignment) {
  m_pages.back().items.push_back(TextItem{box, text, role, alignment});
}

void PageFlow::AddLine(const QLineF& line, qreal width, const QColor& color, bool dashed) {
  m_pages.back().items.push_back(LineItem{line, width, color, dashed});
}

void PageFlow::AddFill(const QRectF& box, const QColor& fill, const QColor& outline, qreal outlineWidth) {
  m_pages.back().items.push_back(FillItem{box, fill, outline, outlineWidth});
}

std::vector<Page> PageFlow::TakePages() { return std::move(m_pages); }

}  // namespace report_pdf
