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

// What a text costs in memory: the string object, and its characters once
// they no longer fit inside it.
size_t TextBytes(const std::u16string& text) {
  return sizeof(std::u16string) + (text.size() > 7 ? (text.size() + 1) * sizeof(char16_t) : 0);
}

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

// Every item counts against the memory budget, empty ones too: a small part
// can hold millions of them.
class SharedStringReader : public XmlHandler {
 public:
  std::vector<std::u16string> strings;
  void Start(const XmlName& name, const std::vector<XmlAttribute>&, XmlSpan) override {
    if (name.local == "si") m_item = StringItemText();
    m_item.start(name.local);
  }
  void End(const XmlName& name, XmlSpan) override {
    m_item.end(name.local);
    if (name.local != "si") return;
    std::u16string text = DecodeCellEscapes(Utf8ToUtf16(m_item.take()));
    m_used += TextBytes(text);
    if (m_used > kCellMemoryBudget) return Fail("the shared strings need more memory than the program allows");
    strings.push_back(std::move(text));
  }
  void Text(std::string_view text) override { m_item.text(text); }

 private:
  StringItemText m_item;
  size_t m_used = 0;
};

std::string ColumnName(size_t column) {
  std::string name;
  for (size_t n = column + 1; n > 0; n = (n - 1) / 26) name.insert(name.begin(), static_cast<char>('A' + (n - 1) % 26));
  return name;
}

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
// cells make rows of empty slots; every slot and text counts in bytes
// against the memory budget, so a small hostile part cannot fill memory.
class WorksheetReader : public XmlHandler {
 public:
  WorksheetReader(const std::vector<std::u16string>& strings, bool strings_present)
      : m_strings(strings), m_strings_present(strings_present) {}

  xls::Grid grid;

  void Start(const XmlName& name, const std::vector<XmlAttribute>& attributes, XmlSpan) override {
    const std::string_view local = name.local;
    if (local == "sheetData") m_in_data = true;
    if (!m_in_data) return;
    if (local == "row") return start_row(attributes);
    if (local == "c") return start_cell(attributes);
    if (!m_in_cell) return;
    if (local == "v") m_in_value = m_has_value = true;
    if (local == "f") m_has_formula = true;
    if (local == "f") m_in_formula = true;
    if (local == "is") m_in_inline = true;
    if (m_in_inline) m_inline.start(local);
  }

  void End(const XmlName& name, XmlSpan) override {
    const std::string_view local = name.local;
    if (local == "sheetData") m_in_data = false;
    if (!m_in_cell) return;
    if (m_in_inline) m_inline.end(local);
    if (local == "v") m_in_value = false;
    if (local == "f") m_in_formula = false;
    if (local == "is") m_in_inline = false;
    if (local == "c") end_cell();
  }

  void Text(std::string_view text) override {
    if (m_in_value) m_value += text;
    if (m_in_formula) m_formula += text;
    if (m_in_inline) m_inline.text(text);
  }

 private:
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
    m_formula.clear();
    m_has_formula = m_has_value = false;
    m_inline = StringItemText();
    m_in_cell = true;
  }

  void end_cell() {
    m_in_cell = m_in_value = m_in_inline = m_in_formula = false;
    // A formula the writing program never computed has no value to give:
    // it reads as its formula text, which no reader takes for a number.
    // Script writers leave the value out or empty; only a text result can
    // truly be empty.
    const bool computed = m_has_value && (!m_value.empty() || m_type == "str");
    if (m_has_formula && !computed && m_type != "inlineStr")
      return set(Utf8ToUtf16(std::string(1, kFormulaMark) + m_formula));
    set(cell_text());
  }

  std::u16string cell_text() {
    if (m_type == "s") {
      const uint32_t index = ParseRowNumber(m_value);
      // Without the table every such cell's text would be lost without a word.
      if (!m_strings_present)
        Fail("the cell " + ColumnName(m_column - 1) + std::to_string(m_row) +
             " refers to the shared strings, which the workbook lacks");
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
    // Counted before anything is allocated, so the budget bounds the peak.
    if (grid.size() <= row) m_used += (row + 1 - grid.size()) * sizeof(xls::Grid::value_type);
    const size_t held = grid.size() > row ? grid[row].size() : 0;
    if (held <= column) m_used += (column + 1 - held) * sizeof(std::u16string);
    m_used += TextBytes(text);
    if (m_used > kCellMemoryBudget) return Fail("the sheet needs more memory than the program allows");
    if (grid.size() <= row) grid.resize(row + 1);
    auto& cells = grid[row];
    if (cells.size() <= column) cells.resize(column + 1);
    cells[column] = std::move(text);
  }

  const std::vector<std::u16string>& m_strings;
  bool m_strings_present;
  size_t m_used = 0;
  bool m_in_data = false, m_in_cell = false, m_in_value = false, m_in_inline = false;
  bool m_in_formula = false, m_has_formula = false, m_has_value = false;
  uint32_t m_row = 0, m_column = 0;
  std::string m_type, m_value, m_formula;
  StringItemText m_inline;
};


}  // namespace

namespace {

xls::Status ParsePart(const ZipPackage& package, const std::string& part, XmlHandler& handler) {
  XmlStreamParser parser(handler, part);
  auto read = package.ReadPartInPieces(part, [&](std::string_view piece) { return parser.Feed(piece, false); });
  if (!read) return read;
  return parser.Feed({}, true);
}

}  // namespace

xls::Result<std::vector<std::u16string>> ReadSharedStrings(const ZipPackage& package, const std::string& part) {
  SharedStringReader reader;
  if (auto parsed = ParsePart(package, part, reader); !parsed) return parsed.error();
  return std::move(reader.strings);
}

xls::Result<xls::Grid> ReadWorksheetPart(const ZipPackage& package, const std::string& part,
                                         const std::vector<std::u16string>& shared_strings, bool strings_present) {
  WorksheetReader reader(shared_strings, strings_present);
  if (auto parsed = ParsePart(package, part, reader); !parsed) return parsed.error();
  return std::move(reader.grid);
}

bool IsUncomputedFormula(std::u16string_view cell) { return !cell.empty() && cell.front() == kFormulaMark; }

namespace {

// The shortest text that reads back as the same double.
std::string ValueText(double value) {
  char text[32];
  const auto written = std::to_chars(text, text + sizeof text, value);
  return std::string(text, written.ptr);
}

// A listed cell whose text is a number holds it as a value; any other, as text.
std::string CellXml(const std::string& reference, const std::u16string& text, bool listed) {
  if (listed)
    if (const std::optional<double> value = xls::StoredNumber(text))
      return "<c r=\"" + reference + "\"><v>" + ValueText(*value) + "</v></c>";
  return "<c r=\"" + reference + "\" t=\"inlineStr\"><is><t xml:space=\"preserve\">" + EscapeXml(text) + "</t></is></c>";
}

}  // namespace

std::string WriteWorksheetPart(const xls::Grid& cells, const xls::NumberCells& numbers) {
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
      xml += CellXml(ColumnName(c) + number, row[c], numbers.count({r, c}) != 0);
    }
    if (opened) xml += "</row>";
  }
  xml += "</sheetData></worksheet>";
  return xml;
}

}  // namespace xlsx
