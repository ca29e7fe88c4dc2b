#include "workbook/sheet_update.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace xls {

std::optional<double> ParseNumberText(std::u16string_view text) {
  std::string ascii;
  bool digits = false, exponent = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    const bool sign = (c == u'+' || c == u'-') && (i == 0 || text[i - 1] == u'e' || text[i - 1] == u'E');
    const bool digit = c >= u'0' && c <= u'9';
    const bool point = c == u'.' && !exponent && ascii.find('.') == std::string::npos;
    const bool mark = (c == u'e' || c == u'E') && digits && !exponent;
    if (!sign && !digit && !point && !mark) return std::nullopt;
    if (mark) exponent = true;
    if (digit && !exponent) digits = true;
    ascii.push_back(static_cast<char>(c));
  }
  if (!digits) return std::nullopt;
  const char last = ascii.back();
  if (last == 'e' || last == 'E' || last == '+' || last == '-') return std::nullopt;
  const double value = std::strtod(ascii.c_str(), nullptr);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

void ApplyUpdate(Grid& cells, const SheetUpdate& update) {
  ForEachRowMove(update, std::numeric_limits<uint32_t>::max(), [&](bool deleted, uint32_t row) {
    if (deleted) {
      if (row < cells.size()) cells.erase(cells.begin() + row);
    } else if (row <= cells.size()) {
      cells.insert(cells.begin() + row, std::vector<std::u16string>());
    } else {
      cells.resize(row + 1);
    }
    return true;
  });
  for (const CellText& cell : update.cells) {
    if (cells.size() <= cell.row) cells.resize(cell.row + 1);
    auto& row = cells[cell.row];
    if (row.size() <= cell.column) row.resize(cell.column + 1);
    row[cell.column] = cell.text;
  }
  for (auto& row : cells)
    while (!row.empty() && row.back().empty()) row.pop_back();
  while (!cells.empty() && cells.back().empty()) cells.pop_back();
}

}  // namespace xls
