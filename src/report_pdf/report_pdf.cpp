#include "report_pdf/report_pdf.h"

#include <QBuffer>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <span>

#include "report_pdf/report_font.h"
#include "report_pdf/report_layout.h"
#include "workbook/atomic_file.h"

namespace report_pdf {

namespace {

// Fine enough that measured and drawn text agree to a hair.
constexpr int kResolutionDpi = 600;
// Left wider than right: the sheet is filed with the drawings.
const QMarginsF kMarginsMm(20, 15, 15, 12);

void Paint(QPainter& painter, const TextItem& item) {
  painter.setFont(ReportFont(item.role));
  painter.setPen(Qt::black);
  painter.drawText(item.box, item.alignment | Qt::TextSingleLine | Qt::TextDontClip, item.text);
}

void Paint(QPainter& painter, const LineItem& item) {
  QPen pen(item.color, item.width);
  pen.setCapStyle(Qt::FlatCap);
  if (item.dashed) pen.setStyle(Qt::DashLine);
  painter.setPen(pen);
  painter.drawLine(item.line);
}

void Paint(QPainter& painter, const FillItem& item) {
  painter.fillRect(item.box, item.fill);
  if (!item.outline.isValid()) return;
  painter.setPen(QPen(item.outline, item.outlineWidth));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(item.box);
}

void PaintPage(QPainter& painter, const Page& page) {
  for (const PageItem& item : page.items) std::visit([&painter](const auto& each) { Paint(painter, each); }, item);
}

}  // namespace

void SetUpReportPage(QPdfWriter& writer) {
  writer.setPageSize(QPageSize(QPageSize::A4));
  writer.setPageOrientation(QPageLayout::Portrait);
  writer.setPageMargins(kMarginsMm, QPageLayout::Millimeter);
  writer.setResolution(kResolutionDpi);
}

QByteArray RenderPdf(const std::string& title, const LayOut& layOut) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    SetUpReportPage(writer);
    writer.setTitle(QString::fromStdString(title));
    writer.setCreator(QStringLiteral("loadcalc"));
    const std::vector<Page> pages = layOut(writer, QSizeF(writer.width(), writer.height()));
    QPainter painter;
    if (!painter.begin(&writer)) return {};
    for (size_t i = 0; i < pages.size(); ++i) {
      if (i > 0) writer.newPage();
      PaintPage(painter, pages[i]);
    }
    if (!painter.end()) return {};
  }
  return bytes;
}

QByteArray RenderReportPdf(const report::CalculationReport& report) {
  return RenderPdf(report.title, [&report](const QPaintDevice& device, QSizeF content) {
    return LayOutReport(report, device, content);
  });
}

xls::Status WritePdf(const QByteArray& bytes, const std::string& path) {
  if (bytes.isEmpty()) return xls::MakeError("Cannot paint the report");
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.constData());
  return xls::WriteFileAtomically(path, std::span<const uint8_t>(data, bytes.size()));
}

xls::Status WriteReportPdf(const report::CalculationReport& report, const std::string& path) {
  return WritePdf(RenderReportPdf(report), path);
}

}  // namespace report_pdf
