#include "xlsx/sheet_part_update.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include "xlsx/xml_events.h"
#include "xlsx/xml_text.h"

namespace xlsx {

namespace {

constexpr uint32_t kRowLimit = 1048576;

struct Attribute {
  std::string name;  // as written, with its prefix
  std::string value;
};

struct Tag {
  std::string qname;
  std::vector<Attribute> attributes;
  XmlSpan start;
  XmlSpan end;  // length 0: the element was written empty
};

struct Cell {
  Tag tag;
  uint32_t column = 0;
  bool number = false;   // held a number
  bool formula = false;
  bool shares_formula = false;  // the master of a shared or array formula
  bool original = true;
  bool renumbered = false;
  std::optional<std::string> written;  // the element written anew
  size_t gap_before = 0, gap_length = 0;  // bytes before it inside the row
};

struct Row {
  Tag tag;
  uint32_t number = 0;  // from 1
  bool original = true;
  bool renumbered = false;
  bool cells_added = false;
  std::vector<Cell> cells;
  size_t gap_before = 0, gap_length = 0;  // bytes before it inside sheetData
  size_t tail_from = 0;                    // bytes after its last cell run to its end tag
};

std::string QName(const XmlName& name) {
  return name.prefix.empty() ? std::string(name.local) : std::string(name.prefix) + ":" + std::string(name.local);
}

const std::string* Find(const std::vector<Attribute>& attributes, std::string_view name) {
  for (const Attribute& attribute : attributes)
    if (attribute.name == name) return &attribute.value;
  return nullptr;
}

void Set(std::vector<Attribute>& attributes, std::string_view name, std::string value) {
  for (Attribute& attribute : attributes)
    if (attribute.name == name) {
      attribute.value = std::move(value);
      return;
    }
  attributes.push_back({std::string(name), std::move(value)});
}

void Remove(std::vector<Attribute>& attributes, std::string_view name) {
  std::erase_if(attributes, [&](const Attribute& attribute) { return attribute.name == name; });
}

std::string ColumnName(uint32_t column) {
  std::string name;
  for (uint32_t n = column + 1; n > 0; n = (n - 1) / 26) name.insert(name.begin(), static_cast<char>('A' + (n - 1) % 26));
  return name;
}

// "B12" as column 1, row 12.
std::optional<std::pair<uint32_t, uint32_t>> ParseReference(std::string_view ref) {
  size_t i = 0;
  uint32_t column = 0, row = 0;
  while (i < ref.size() && ref[i] == '$') ++i;
  const size_t letters = i;
  while (i < ref.size() && ref[i] >= 'A' && ref[i] <= 'Z') column = column * 26 + static_cast<uint32_t>(ref[i++] - 'A' + 1);
  if (i == letters || i - letters > 3) return std::nullopt;
  if (i < ref.size() && ref[i] == '$') ++i;
  const size_t digits = i;
  while (i < ref.size() && ref[i] >= '0' && ref[i] <= '9' && row < kRowLimit) row = row * 10 + static_cast<uint32_t>(ref[i++] - '0');
  if (i == digits || i != ref.size() || row == 0) return std::nullopt;
  return std::make_pair(column - 1, row);
}

std::string StartTag(const Tag& tag, bool empty) {
  std::string out = "<" + tag.qname;
  for (const Attribute& attribute : tag.attributes)
    out += " " + attribute.name + "=\"" + EscapeXml(Utf8ToUtf16(attribute.value)) + "\"";
  return out + (empty ? "/>" : ">");
}

std::string NumberXml(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.15g", value);
  if (std::strtod(text, nullptr) != value) std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

// Elements tied to rows that this engine does not renumber.
bool TiedToRows(std::string_view local) {
  static const char* const kTied[] = {"conditionalFormatting", "dataValidations", "hyperlinks", "drawing",
                                      "legacyDrawing", "tableParts", "autoFilter", "rowBreaks", "sortState",
                                      "protectedRanges", "scenarios", "oleObjects", "controls", "ignoredErrors"};
  return std::any_of(std::begin(kTied), std::end(kTied), [&](const char* name) { return local == name; });
}

class SheetReader : public XmlHandler {
 public:
  std::vector<Row> rows;
  std::optional<XmlSpan> data_start, data_end;
  std::string data_qname;
  std::vector<Tag> merged;
  std::optional<Tag> dimension;
  std::string tied;  // the first element tied to rows, if any
  bool declares_namespaces_inside = false;

  explicit SheetReader(std::string_view xml) : m_xml(xml) {}

  void Start(const XmlName& name, const std::vector<XmlAttribute>& attributes, XmlSpan at) override {
    ++m_depth;
    Tag tag{QName(name), {}, at, {}};
    for (const XmlAttribute& attribute : attributes)
      tag.attributes.push_back({QName(attribute.name), std::string(attribute.value)});
    const std::string_view raw = m_xml.substr(at.offset, at.length);
    if (m_depth == 2 && name.local == "sheetData") {
      data_start = at;
      data_qname = tag.qname;
      m_gap_from = at.offset + at.length;
    } else if (m_depth == 3 && data_start && !data_end && name.local == "row") {
      if (raw.find("xmlns") != std::string_view::npos) declares_namespaces_inside = true;
      Row row;
      const std::string* r = Find(tag.attributes, "r");
      row.number = r ? static_cast<uint32_t>(std::strtoul(r->c_str(), nullptr, 10)) : (rows.empty() ? 1 : rows.back().number + 1);
      row.gap_before = m_gap_from;
      row.gap_length = at.offset - m_gap_from;
      row.tag = std::move(tag);
      rows.push_back(std::move(row));
      m_gap_from = at.offset + at.length;
    } else if (m_depth == 4 && !rows.empty() && name.local == "c") {
      if (raw.find("xmlns") != std::string_view::npos) declares_namespaces_inside = true;
      Row& row = rows.back();
      Cell cell;
      const std::string* r = Find(tag.attributes, "r");
      const auto place = r ? ParseReference(*r) : std::nullopt;
      cell.column = place ? place->first : (row.cells.empty() ? 0 : row.cells.back().column + 1);
      const std::string* type = Find(tag.attributes, "t");
      cell.number = !type || *type == "n";
      cell.gap_before = m_gap_from;
      cell.gap_length = at.offset - m_gap_from;
      cell.tag = std::move(tag);
      row.cells.push_back(std::move(cell));
    } else if (m_depth == 5 && !rows.empty() && !rows.back().cells.empty() && name.local == "f") {
      rows.back().cells.back().formula = true;
      if (FindAttribute(attributes, "ref")) rows.back().cells.back().shares_formula = true;
    } else if (name.local == "mergeCell") {
      merged.push_back(std::move(tag));
    } else if (m_depth == 2 && name.local == "dimension") {
      dimension = std::move(tag);
    } else if (m_depth == 2 && tied.empty() && TiedToRows(name.local)) {
      tied = std::string(name.local);
    }
  }

  void End(const XmlName& name, XmlSpan at) override {
    if (m_depth == 2 && name.local == "sheetData" && data_start && !data_end) {
      data_end = at;
      m_rows_end = m_gap_from;
    } else if (m_depth == 3 && data_start && !data_end && name.local == "row" && !rows.empty()) {
      rows.back().tag.end = at;
      rows.back().tail_from = m_gap_from;
      m_gap_from = at.length == 0 ? at.offset : at.offset + at.length;
    } else if (m_depth == 4 && !rows.empty() && name.local == "c" && !rows.back().cells.empty()) {
      rows.back().cells.back().tag.end = at;
      m_gap_from = at.length == 0 ? at.offset : at.offset + at.length;
    } else if (name.local == "mergeCell" && !merged.empty()) {
      merged.back().end = at;
    } else if (m_depth == 2 && name.local == "dimension" && dimension) {
      dimension->end = at;
    }
    --m_depth;
  }

  size_t rows_end() const { return m_rows_end; }

 private:
  std::string_view m_xml;
  int m_depth = 0;
  size_t m_gap_from = 0;
  size_t m_rows_end = 0;
};

}  // namespace

namespace {

std::string_view Raw(std::string_view xml, const Tag& tag) {
  const size_t end = tag.end.length == 0 ? tag.start.offset + tag.start.length : tag.end.offset + tag.end.length;
  return xml.substr(tag.start.offset, end - tag.start.offset);
}

struct Range {
  uint32_t first_column = 0, first_row = 0, last_column = 0, last_row = 0;
};

std::optional<Range> ParseRange(const std::string* ref) {
  if (!ref) return std::nullopt;
  const size_t colon = ref->find(':');
  const auto first = ParseReference(std::string_view(*ref).substr(0, colon));
  const auto last = colon == std::string::npos ? first : ParseReference(std::string_view(*ref).substr(colon + 1));
  if (!first || !last) return std::nullopt;
  return Range{first->first, first->second, last->first, last->second};
}

std::string RangeText(const Range& range) {
  return ColumnName(range.first_column) + std::to_string(range.first_row) + ":" + ColumnName(range.last_column) +
         std::to_string(range.last_row);
}

class SheetEditor {
 public:
  SheetEditor(std::string_view xml, SheetReader& sheet) : m_xml(xml), m_sheet(sheet), m_rows(sheet.rows) {}

  xls::Status Apply(const xls::SheetUpdate& update) {
    if (!m_sheet.data_start || !m_sheet.data_end) return xls::MakeError("The sheet part has no cell table");
    const bool moves = !update.deleted_rows.empty() || !update.inserted_rows.empty();
    if (moves) {
      if (auto allowed = CheckRowsCanMove(); !allowed) return allowed;
    }
    xls::Status moved = xls::Ok{};
    const bool fits = xls::ForEachRowMove(update, kRowLimit, [&](bool deleted, uint32_t row) {
      moved = MoveRows(row + 1, deleted ? -1 : 1);
      return moved.ok();
    });
    if (!moved) return moved;
    if (!fits) return xls::MakeError("The sheet has no room for another row");
    for (const xls::CellText& cell : update.cells)
      if (!SetCell(cell.row + 1, cell.column, cell.text))
        return xls::MakeError("The changed cell carries a formula other cells share", xls::ErrorKind::CannotKeep);
    return xls::Ok{};
  }

  std::string Write() const {
    const XmlSpan start = *m_sheet.data_start, end = *m_sheet.data_end;
    std::string out;
    size_t from = 0;
    if (m_sheet.dimension && m_moved) {
      const Tag& dimension = *m_sheet.dimension;
      out += m_xml.substr(0, dimension.start.offset);
      Tag written = dimension;
      if (auto range = ParseRange(Find(dimension.attributes, "ref")); range && !m_rows.empty()) {
        range->last_row = std::max(range->first_row, m_rows.back().number);
        Set(written.attributes, "ref", RangeText(*range));
      }
      out += StartTag(written, true);
      from = dimension.start.offset + Raw(m_xml, dimension).size();
    }
    const bool empty_data = end.length == 0;
    out += m_xml.substr(from, start.offset - from);
    out += empty_data && !m_rows.empty() ? "<" + m_sheet.data_qname + ">" : std::string(m_xml.substr(start.offset, start.length));
    for (const Row& row : m_rows) WriteRow(row, out);
    if (!empty_data) {
      out += m_xml.substr(m_sheet.rows_end(), end.offset + end.length - m_sheet.rows_end());
    } else if (!m_rows.empty()) {
      out += "</" + m_sheet.data_qname + ">";
    }
    from = empty_data ? start.offset + start.length : end.offset + end.length;
    for (size_t i = 0; i < m_sheet.merged.size() && m_moved; ++i) {
      const Tag& tag = m_sheet.merged[i];
      out += m_xml.substr(from, tag.start.offset - from);
      Tag written = tag;
      Set(written.attributes, "ref", RangeText(m_merged[i]));
      out += StartTag(written, true);
      from = tag.start.offset + Raw(m_xml, tag).size();
    }
    out += m_xml.substr(from);
    return out;
  }

 private:
  xls::Status CheckRowsCanMove() {
    if (!m_sheet.tied.empty())
      return xls::MakeError("The sheet holds " + m_sheet.tied + ", tied to its rows", xls::ErrorKind::CannotKeep);
    for (const Row& row : m_rows)
      for (const Cell& cell : row.cells)
        if (cell.formula)
          return xls::MakeError("The sheet holds formulas, whose references would not follow the moved rows",
                                xls::ErrorKind::CannotKeep);
    if (m_sheet.declares_namespaces_inside)
      return xls::MakeError("The sheet's rows declare namespaces of their own", xls::ErrorKind::CannotKeep);
    for (const Tag& tag : m_sheet.merged) {
      auto range = ParseRange(Find(tag.attributes, "ref"));
      if (!range || tag.end.length != 0) return xls::MakeError("A merged range cannot be moved", xls::ErrorKind::CannotKeep);
      m_merged.push_back(*range);
    }
    return xls::Ok{};
  }

  // Rows from `number` on move by `delta`: -1 deletes row `number`, +1
  // inserts an empty one there, formatted like the row above.
  xls::Status MoveRows(uint32_t number, int delta) {
    for (const Range& range : m_merged)
      if ((range.first_row < number && number <= range.last_row) || (delta < 0 && range.first_row == number))
        return xls::MakeError("A merged range spans the rows that would move", xls::ErrorKind::CannotKeep);
    if (delta > 0 && !m_rows.empty() && m_rows.back().number >= kRowLimit)
      return xls::MakeError("The sheet has no room for another row");
    m_moved = true;
    for (Range& range : m_merged)
      if (range.first_row >= number) {
        range.first_row = static_cast<uint32_t>(range.first_row + delta);
        range.last_row = static_cast<uint32_t>(range.last_row + delta);
      }
    if (delta < 0) std::erase_if(m_rows, [&](const Row& row) { return row.number == number; });
    for (Row& row : m_rows)
      if (row.number >= number) {
        row.number = static_cast<uint32_t>(row.number + delta);
        row.renumbered = true;
      }
    if (delta > 0) InsertRowLikeAbove(number);
    return xls::Ok{};
  }

  void InsertRowLikeAbove(uint32_t number) {
    Row inserted;
    inserted.original = false;
    inserted.number = number;
    const auto at = std::find_if(m_rows.begin(), m_rows.end(), [&](const Row& row) { return row.number > number; });
    const Row* above = at != m_rows.begin() && std::prev(at)->number == number - 1 ? &*std::prev(at) : nullptr;
    inserted.tag.qname = above ? above->tag.qname : RowName();
    if (above) {
      inserted.tag.attributes = above->tag.attributes;
      Remove(inserted.tag.attributes, "spans");
      for (const Cell& cell : above->cells) {
        Cell blank;
        blank.original = false;
        blank.column = cell.column;
        blank.number = cell.number;
        blank.tag.qname = cell.tag.qname;
        blank.tag.attributes.push_back({"r", ""});
        if (const std::string* style = Find(cell.tag.attributes, "s")) blank.tag.attributes.push_back({"s", *style});
        inserted.cells.push_back(std::move(blank));
      }
    }
    m_rows.insert(at, std::move(inserted));
  }

  std::string RowName() const {
    const size_t colon = m_sheet.data_qname.find(':');
    return colon == std::string::npos ? "row" : m_sheet.data_qname.substr(0, colon + 1) + "row";
  }

  // False for a cell whose formula other cells share.
  bool SetCell(uint32_t number, uint32_t column, const std::u16string& text) {
    auto row = std::find_if(m_rows.begin(), m_rows.end(), [&](const Row& r) { return r.number >= number; });
    if (row == m_rows.end() || row->number != number) {
      if (text.empty()) return true;
      Row added;
      added.original = false;
      added.number = number;
      added.tag.qname = RowName();
      row = m_rows.insert(row, std::move(added));
    }
    auto cell = std::find_if(row->cells.begin(), row->cells.end(), [&](const Cell& c) { return c.column >= column; });
    if (cell == row->cells.end() || cell->column != column) {
      if (text.empty()) return true;
      Cell added;
      added.original = false;
      added.column = column;
      added.number = false;
      added.tag.qname = row->tag.qname.substr(0, row->tag.qname.size() - 3) + "c";
      added.tag.attributes.push_back({"r", ""});
      const std::string* custom = Find(row->tag.attributes, "customFormat");
      const std::string* style = Find(row->tag.attributes, "s");
      if (style && custom && (*custom == "1" || *custom == "true")) added.tag.attributes.push_back({"s", *style});
      cell = row->cells.insert(cell, std::move(added));
      row->cells_added = true;
    }
    if (cell->shares_formula) return false;
    Tag tag = cell->tag;
    Remove(tag.attributes, "r");
    Remove(tag.attributes, "t");
    tag.attributes.insert(tag.attributes.begin(), {"r", ""});
    const std::string prefix = tag.qname.substr(0, tag.qname.size() - 1);
    std::string content;
    if (text.empty()) {
      // stays an empty cell with its format
    } else if (const auto value = xls::ParseNumberText(text); value && cell->number) {
      content = "<" + prefix + "v>" + NumberXml(*value) + "</" + prefix + "v>";
    } else {
      tag.attributes.push_back({"t", "inlineStr"});
      content = "<" + prefix + "is><" + prefix + "t xml:space=\"preserve\">" + EscapeXml(text) + "</" + prefix + "t></" + prefix + "is>";
    }
    cell->tag.attributes = std::move(tag.attributes);
    cell->written = content;
    return true;
  }

  std::string CellStartTag(const Cell& cell, uint32_t row, bool empty) const {
    Tag tag = cell.tag;
    Set(tag.attributes, "r", ColumnName(cell.column) + std::to_string(row));
    return StartTag(tag, empty);
  }

  void WriteCell(const Cell& cell, uint32_t row, bool row_renumbered, std::string& out) const {
    if (cell.original) out += m_xml.substr(cell.gap_before, cell.gap_length);
    if (cell.written) {
      out += CellStartTag(cell, row, cell.written->empty());
      if (!cell.written->empty()) out += *cell.written + "</" + cell.tag.qname + ">";
    } else if (!cell.original) {
      out += CellStartTag(cell, row, true);
    } else if (row_renumbered) {
      const bool empty = cell.tag.end.length == 0;
      out += CellStartTag(cell, row, empty);
      if (!empty) {
        const size_t inner = cell.tag.start.offset + cell.tag.start.length;
        out += m_xml.substr(inner, cell.tag.end.offset + cell.tag.end.length - inner);
      }
    } else {
      out += Raw(m_xml, cell.tag);
    }
  }

  void WriteRow(const Row& row, std::string& out) const {
    if (row.original) out += m_xml.substr(row.gap_before, row.gap_length);
    const bool changed = !row.original || row.renumbered || row.cells_added ||
                         std::any_of(row.cells.begin(), row.cells.end(), [](const Cell& c) { return c.written || !c.original; });
    if (!changed) {
      out += Raw(m_xml, row.tag);
      return;
    }
    Tag tag = row.tag;
    Set(tag.attributes, "r", std::to_string(row.number));
    if (row.cells_added) Remove(tag.attributes, "spans");
    const bool empty = row.cells.empty();
    out += StartTag(tag, empty);
    if (empty) return;
    for (const Cell& cell : row.cells) WriteCell(cell, row.number, row.renumbered || !row.original, out);
    if (row.original && row.tag.end.length != 0) {
      out += m_xml.substr(row.tail_from, row.tag.end.offset + row.tag.end.length - row.tail_from);
    } else {
      out += "</" + row.tag.qname + ">";
    }
  }

  std::string_view m_xml;
  SheetReader& m_sheet;
  std::vector<Row> m_rows;
  std::vector<Range> m_merged;
  bool m_moved = false;
};

class ElementSeeker : public XmlHandler {
 public:
  explicit ElementSeeker(std::string_view local) : m_local(local) {}
  void Start(const XmlName& name, const std::vector<XmlAttribute>&, XmlSpan) override {
    if (name.local == m_local) found = true;
  }
  bool found = false;

 private:
  std::string_view m_local;
};

}  // namespace

xls::Result<std::string> UpdateSheetXml(std::string_view xml, const xls::SheetUpdate& update, const std::string& part) {
  SheetReader sheet(xml);
  if (auto parsed = ParseXml(xml, sheet, part); !parsed) return parsed.error();
  if (!sheet.failure().empty()) return xls::MakeError(sheet.failure());
  SheetEditor editor(xml, sheet);
  if (auto applied = editor.Apply(update); !applied) return applied.error();
  return editor.Write();
}

xls::Result<bool> XmlHoldsElement(std::string_view xml, std::string_view local, const std::string& part) {
  ElementSeeker seeker(local);
  if (auto parsed = ParseXml(xml, seeker, part); !parsed) return parsed.error();
  return seeker.found;
}

}  // namespace xlsx
