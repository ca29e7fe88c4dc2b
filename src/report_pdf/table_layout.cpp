#include "report_pdf/table_layout.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace report_pdf {

namespace {

const QColor kGrid(90, 90, 90);
const QColor kHeaderShade(225, 230, 238);
constexpr qreal kPaddingMm = 1.2;
constexpr qreal kGridMm = 0.2;

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

struct WrappedRow {
  std::vector<QStringList> cells;
  int lines = 1;
};

class TableWriter {
 public:
  TableWriter(PageFlow& flow, const report::Table& table, qreal width)
      : m_flow(flow), m_table(table), m_pad(flow.Mm(kPaddingMm)), m_lineHeight(flow.LineHeight(FontRole::Table)) {
    m_widths = FitColumns(NeededWidths(), std::min(width, flow.Width()));
    m_header = Wrap(m_table.headers);
  }

  void Write() {
    // The heading and the header never stay alone at the foot of a page.
    const qreal firstRow =
        m_table.rows.empty() ? 0 : std::min(RowHeight(Wrap(m_table.rows.front()).lines), PageRoomBelowHeader());
    m_flow.EnsureRoom(HeadingHeight() + RowHeight(m_header.lines) + firstRow);
    WriteHeading(Q(m_table.heading));
    WriteHeaderRow();
    for (const auto& row : m_table.rows) WriteRow(Wrap(row));
    m_flow.Advance(m_flow.Mm(4));
  }

 private:
  std::vector<qreal> NeededWidths() const {
    std::vector<qreal> needed(m_table.headers.size(), 0);
    auto widen = [&](const std::vector<std::string>& texts) {
      for (size_t c = 0; c < needed.size() && c < texts.size(); ++c)
        needed[c] = std::max(needed[c], m_flow.TextWidth(Q(texts[c]), FontRole::Table) + 2 * m_pad + 1);
    };
    widen(m_table.headers);
    for (const auto& row : m_table.rows) widen(row);
    return needed;
  }

  WrappedRow Wrap(const std::vector<std::string>& texts) const {
    WrappedRow row;
    for (size_t c = 0; c < m_widths.size(); ++c) {
      const QString text = c < texts.size() ? Q(texts[c]) : QString();
      row.cells.push_back(m_flow.Wrap(text, FontRole::Table, m_widths[c] - 2 * m_pad));
      row.lines = std::max(row.lines, static_cast<int>(row.cells.back().size()));
    }
    return row;
  }

  qreal RowHeight(int lines) const { return lines * m_lineHeight + 2 * m_pad; }
  qreal HeadingHeight() const { return m_flow.LineHeight(FontRole::Heading) + m_flow.Mm(1.5); }
  qreal TableWidth() const { return std::accumulate(m_widths.begin(), m_widths.end(), qreal(0)); }

  void WriteHeading(const QString& text) {
    m_flow.AddText(QRectF(0, m_flow.Top(), m_flow.Width(), m_flow.LineHeight(FontRole::Heading)), text,
                   FontRole::Heading, Qt::AlignLeft | Qt::AlignVCenter);
    m_flow.Advance(HeadingHeight());
  }

  void WriteHeaderRow() {
    const qreal height = RowHeight(m_header.lines);
    m_flow.AddFill(QRectF(0, m_flow.Top(), TableWidth(), height), kHeaderShade);
    HorizontalRule(m_flow.Top());
    WriteLines(m_header, 0, m_header.lines, Qt::AlignHCenter);
    m_rowsOnPage = 0;
  }

  // Where a row does not fit: it moves whole to the next page when a page
  // can hold it, otherwise it fills this page and goes on on the next.
  void WriteRow(const WrappedRow& row) {
    int done = 0;
    while (done < row.lines) {
      const int rest = row.lines - done;
      const int room = static_cast<int>(std::floor((m_flow.Remaining() - 2 * m_pad) / m_lineHeight));
      const bool belowHeader = m_rowsOnPage == 0;
      if (rest <= room) {
        WriteLines(row, done, rest, Qt::AlignLeft);
        return;
      }
      const bool fitsFreshPage = RowHeight(rest) <= PageRoomBelowHeader();
      if (room >= 1 && (belowHeader || !fitsFreshPage)) {
        WriteLines(row, done, room, Qt::AlignLeft);
        done += room;
      } else if (belowHeader) {
        // Not even one line fits below the header: write one anyway, so
        // the table always moves on.
        WriteLines(row, done, 1, Qt::AlignLeft);
        ++done;
      }
      if (done < row.lines) ContinueOnNewPage();
    }
  }

  qreal PageRoomBelowHeader() const { return m_flow.Bottom() - HeadingHeight() - RowHeight(m_header.lines); }

  void ContinueOnNewPage() {
    m_flow.NewPage();
    WriteHeading(Q(m_table.heading) + QStringLiteral("（续）"));
    WriteHeaderRow();
  }

  // Lines [first, first + count) of every cell, framed by the grid.
  void WriteLines(const WrappedRow& row, int first, int count, int alignment) {
    const qreal top = m_flow.Top();
    const qreal height = RowHeight(count);
    qreal x = 0;
    for (size_t c = 0; c < m_widths.size(); ++c) {
      const QStringList& lines = row.cells[c];
      for (int i = 0; i < count && first + i < lines.size(); ++i) {
        const QRectF box(x + m_pad, top + m_pad + i * m_lineHeight, m_widths[c] - 2 * m_pad, m_lineHeight);
        m_flow.AddText(box, lines[first + i], FontRole::Table, alignment | Qt::AlignVCenter);
      }
      VerticalRule(x, top, height);
      x += m_widths[c];
    }
    VerticalRule(x, top, height);
    HorizontalRule(top + height);
    m_flow.Advance(height);
    ++m_rowsOnPage;
  }

  void HorizontalRule(qreal y) { m_flow.AddLine(QLineF(0, y, TableWidth(), y), m_flow.Mm(kGridMm), kGrid); }
  void VerticalRule(qreal x, qreal top, qreal height) {
    m_flow.AddLine(QLineF(x, top, x, top + height), m_flow.Mm(kGridMm), kGrid);
  }

  PageFlow& m_flow;
  const report::Table& m_table;
  const qreal m_pad;
  const qreal m_lineHeight;
  std::vector<qreal> m_widths;
  WrappedRow m_header;
  int m_rowsOnPage = 0;  // row pieces written below the current page's header
};

}  // namespace

std::vector<qreal> FitColumns(const std::vector<qreal>& needed, qreal total) {
  const qreal sum = std::accumulate(needed.begin(), needed.end(), qreal(0));
  std::vector<qreal> widths(needed.size(), 0);
  if (needed.empty()) return widths;
  if (sum <= total) {
    for (size_t c = 0; c < needed.size(); ++c) widths[c] = sum > 0 ? needed[c] * total / sum : total / needed.size();
    return widths;
  }
  std::vector<bool> settled(needed.size(), false);
  qreal left = total;
  size_t open = needed.size();
  for (bool changed = true; changed && open > 0;) {
    changed = false;
    const qreal share = left / static_cast<qreal>(open);
    for (size_t c = 0; c < needed.size(); ++c) {
      if (settled[c] || needed[c] > share) continue;
      widths[c] = needed[c];
      settled[c] = true;
      left -= needed[c];
      --open;
      changed = true;
    }
  }
  for (size_t c = 0; c < needed.size(); ++c)
    if (!settled[c]) widths[c] = left / static_cast<qreal>(open);
  return widths;
}

void LayOutTable(PageFlow& flow, const report::Table& table, qreal width) {
  TableWriter(flow, table, width).Write();
}

}  // namespace report_pdf
