// A laid-out page: what to draw and where, in the device's units. Layout
// fills these; painting only replays them, so both passes agree on every
// line break and on the number of pages.
#pragma once

#include <QColor>
#include <QLineF>
#include <QRectF>
#include <QString>
#include <variant>
#include <vector>

namespace report_pdf {

enum class FontRole { Title, Heading, Body, Table, Small };

// One line of text; layout made sure it fits its box.
struct TextItem {
  QRectF box;
  QString text;
  FontRole role = FontRole::Body;
  int alignment = 0;  // Qt::Alignment flags
};

struct LineItem {
  QLineF line;
  qreal width = 0;  // device units
  QColor color;
  bool dashed = false;
};

struct FillItem {
  QRectF box;
  QColor fill;
  QColor outline;  // invalid: none
  qreal outlineWidth = 0;
};

using PageItem = std::variant<TextItem, LineItem, FillItem>;

struct Page {
  std::vector<PageItem> items;
};

}  // namespace report_pdf
