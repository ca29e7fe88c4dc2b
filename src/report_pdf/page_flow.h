// Lays blocks out top to bottom over pages of one size: measures text with
// the target device's fonts, breaks it into lines that fit, and starts a new
// page when a block does not fit on the current one.
#pragma once

#include <QFont>
#include <QPaintDevice>
#include <QSizeF>
#include <QStringList>
#include <vector>

#include "report_pdf/page_items.h"

namespace report_pdf {

class PageFlow {
 public:
  // `content` is the printable area inside the margins, in device units;
  // its bottom `footerMm` millimetres stay free for the page number.
  PageFlow(const QPaintDevice& device, QSizeF content, qreal footerMm);

  qreal Mm(qreal millimetres) const;
  QFont Font(FontRole role) const;
  qreal LineHeight(FontRole role) const;
  qreal TextWidth(const QString& text, FontRole role) const;
  // Lines no wider than `width`: broken between words where it can, inside
  // a word where it must; at least one line, even for an empty text.
  QStringList Wrap(const QString& text, FontRole role, qreal width) const;

  qreal Width() const { return m_content.width(); }
  qreal Top() const { return m_y; }
  qreal Bottom() const { return m_content.height() - m_footer; }
  qreal Remaining() const { return Bottom() - m_y; }
  bool AtPageTop() const { return m_y <= 0; }
  void Advance(qreal height) { m_y += height; }
  // A new page unless the current one has `height` left (or is still empty).
  void EnsureRoom(qreal height);
  void NewPage();

  void AddText(const QRectF& box, const QString& text, FontRole role, int alignment);
  void AddLine(const QLineF& line, qreal width, const QColor& color, bool dashed = false);
  void AddFill(const QRectF& box, const QColor& fill, const QColor& outline = QColor(), qreal outlineWidth = 0);

  std::vector<Page> TakePages();

 private:
  const QPaintDevice& m_device;
  QSizeF m_content;
  qreal m_footer;
  qreal m_y = 0;
  std::vector<Page> m_pages;
};

}  // namespace report_pdf
