#include "xlsx/cell_parts.h"

#include <charconv>
#include <cstdint>

#include "workbook/number_text.h"
#include "xlsx/xml_events.h"
#include "xlsx/xml_text.h"

namespace xlsx {

namespace {

constexpr uint32_t kMaxRows = 1048576;
constexpr uint32_t kMaxColumns = 16384;

// Text inside <t> of a string item, leaving out phonetic runs.
class StringItemText {
 public:
  void start(std::string_view local) {
    if (local == "rPh") ++m_phonetic;
    if (local == "t" && m_phonetic == 0) m_in_text = true;
  }
  void end(std::string_view local) {
    if (local == "rPh") --m_phonetic;
    if (local == "t") m_in_text = false;
  }
  void text(std::string_view chars) {
    if (m_in_text) m_text += chars;
  }
  std::string take() { return std::move(m_text); }

 private:
  int m_phonetic = 0;
  bool m_in_text = false;
  std::string m_text;
};

class SharedStringReader : public XmlHandler {
 public:
  std::vector<std::u16string> strings;
  void Start(const XmlName& name, const std::vector<XmlAttribute>&, XmlSpan) override {
    if (name.local == "si") m_item = StringItemText();
    m_item.start(name.local);
  }
  void End(const XmlName& name, XmlSpan) override {
    m_item.end(name.local);
    if (name.local == "si") strings.push_back(DecodeCellEscapes(Utf8ToUtf16(m_item.take())));
  }
  void Text(std::string_view text) override { m_item.text(text); }

 private:
  StringItemText m_item;
};

// "AB12" → column 28 and row 12 (1-based); 0 where a part is missing.
struct CellReference {
  uint32_t column = 0;
  uint32_t row = 0;
};

CellReference ParseReference(std::string_view text) {
  CellReference ref;
  size_t i = 0;
  for (; i < text.size() && text[i] >= 'A' && text[i] <= 'Z' && ref.column <= kMaxColumns; ++i)
    ref.column = ref.column * 26 + static_cast<uint32_t>(text[i] - 'A' + 1);
  if (i < text.size()) std::from_chars(text.data() + i, text.data() + text.size(), ref.row);
  return ref;
}

uint32_t ParseRowNumber(std::string_view text) {
  uint32_t row = 0;
  std::from_chars(text.data(), text.data() + text.size(), row);
  return row;
}

std::u16string NumberCellText(const std::string& value) {
  double number = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
  if (error != std::errc() || end != value.data() + value.size()) return Utf8ToUtf16(value);
  return xls::NumberText(number);
}

// Collects cell texts into rows that end at their last non-empty cell. Far
// cells make rows of empty slots; a budget proportional to the part keeps a
// small hostile part from filling memory that way.
class WorksheetReader : public XmlHandler {
 public:
  WorksheetReader(const std::vector<std::u16string>& strings, size_t part_size)
      : m_strings(strings), m_budget(kBaseBudget + kBudgetPerByte * part_size) {}

  xls::Grid grid;

  void Start(const XmlName& name, const std::vector<XmlAttribute>& attributes, XmlSpan) override {
    const std::string_view local = name.local;
    if (local == "sheetData") m_in_data = true;
    if (!m_in_data) return;
    if (local == "row") return start_row(attributes);
    if (local == "c") return start_cell(attributes);
    if (!m_in_cell) return;
    if (local == "v") m_in_value = true;
    if (local == "is") m_in_inline = true;
    if (m_in_inline) m_inline.start(local);
  }

  void End(const XmlName& name, XmlSpan) override {
    const std::string_view local = name.local;
    if (local == "sheetData") m_in_data = false;
    if (!m_in_cell) return;
    if (m_in_inline) m_inline.end(local);
    if (local == "v") m_in_value = false;
    if (local == "is") m_in_inline = false;
    if (local == "c") end_cell();
  }

  void Text(std::string_view text) override {
    if (m_in_value) m_value += text;
    if (m_in_inline) m_inline.text(text);
  }

 private:
  static constexpr size_t kBaseBudget = size_t{1} << 20;
  static constexpr size_t kBudgetPerByte = 4;

  void start_row(const std::vector<XmlAttribute>& attributes) {
    const std::string_view* number = FindAttribute(attributes, "r");
    m_row = number ? ParseRowNumber(*number) : m_row + 1;
    if (m_row == 0 || m_row > kMaxRows) return Fail("a row number is out of range");
    m_column = 0;
  }

  void start_cell(const std::vector<XmlAttribute>& attributes) {
    const std::string_view* reference = FindAttribute(attributes, "r");
    if (reference) {
      const CellReference at = ParseReference(*reference);
      m_column = at.column;
      if (at.row != 0) m_row = at.row;
    } else {
      ++m_column;
    }
    if (m_row == 0) m_row = 1;  // a cell outside any numbered row
    if (m_column == 0 || m_column > kMaxColumns || m_row > kMaxRows)
      return Fail("a cell reference is out of range");
    const std::string_view* type = FindAttribute(attributes, "t");
    m_type = type ? std::string(*type) : std::string("n");
    m_value.clear();
    m_inline = StringItemText();
    m_in_cell = true;
  }

  void end_cell() {
    m_in_cell = m_in_value = m_in_inline = false;
    set(cell_text());
  }

  std::u16string cell_text() {
    if (m_type == "s") {
      const uint32_t index = ParseRowNumber(m_value);
      return index < m_strings.size() && !m_value.empty() ? m_strings[index] : std::u16string();
    }
    if (m_type == "inlineStr") return DecodeCellEscapes(Utf8ToUtf16(m_inline.take()));
    if (m_type == "str") return DecodeCellEscapes(Utf8ToUtf16(m_value));
    if (m_type == "b") return m_value.empty() ? u"" : m_value == "0" ? u"FALSE" : u"TRUE";
    if (m_type == "e" || m_value.empty()) return {};
    return NumberCellText(m_value);
  }

  void set(std::u16string text) {
    if (text.empty()) return;
    const size_t row = m_row - 1, column = m_column - 1;
    if (grid.size() <= row) {
      m_used += row + 1 - grid.size();
      grid.resize(row + 1);
    }
    auto& cells = grid[row];
    if (cells.size() <= column) m_used += column + 1 - cells.size();
    m_used += text.size();
    if (m_used > m_budget) return Fail("the sheet holds more than the program can keep in memory");
    if (cells.size() <= column) cells.resize(column + 1);
    cells[column] = std::move(text);
  }

  const std::vector<std::u16string>& m_strings;
  size_t m_budget;
  size_t m_used = 0;
  bool m_in_data = false, m_in_cell = false, m_in_value = false, m_in_inline = false;
  uint32_t m_row = 0, m_column = 0;
  std::string m_type, m_value;
  StringItemText m_inline;
};

std::string ColumnName(size_t column) {
  std::string name;
  for (size_t n = column + 1; n > 0; n = (n - 1) / 26) name.insert(name.begin(), static_cast<char>('A' + (n - 1) % 26));
  return name;
}

}  // namespace

xls::Result<std::vector<std::u16string>> ReadSharedStrings(std::string_view xml, const std::string& part) {
  SharedStringReader reader;
  if (auto parsed = ParseXml(xml, reader, part); !parsed) return parsed.error();
  return std::move(reader.strings);
}

xls::Result<xls::Grid> ReadWorksheetPart(std::string_view xml, const std::string& part,
                                         const std::vector<std::u16string>& shared_strings) {
  WorksheetReader reader(shared_strings, xml.size());
  if (auto parsed = ParseXml(xml, reader, part); !parsed) return parsed.error();
  return std::move(reader.grid);
}

std::string WriteWorksheetPart(const xls::Grid& cells) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
      "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>";
  for (size_t r = 0; r < cells.size(); ++r) {
    const auto& row = cells[r];
    bool opened = false;
    const std::string number = std::to_string(r + 1);
    for (size_t c = 0; c < row.size(); ++c) {
      if (row[c].empty()) continue;
      if (!opened) xml += "<row r=\"" + number + "\">";
      opened = true;
      xml += "<c r=\"" + ColumnName(c) + number + "\" t=\"inlineStr\"><is><t xml:space=\"preserve\">";
      xml += EscapeXml(row[c]);
      xml += "</t></is></c>";
    }
    if (opened) xml += "</row>";
  }
  xml += "</sheetData></worksheet>";
  return xml;
}

}  // namespace xlsx
