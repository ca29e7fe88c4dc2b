// Cells a workbook stores as numbers rather than texts. The Grid still holds
// every cell's text; a writer stores the listed cells as the numbers their
// texts show, so a spreadsheet program can sum them. Everything else stays
// text, as the designer's own sheets always are.
#pragma once

#include <cstddef>
#include <optional>
#include <set>
#include <string_view>
#include <utility>

namespace xls {

// (row, column) as Grid indexes: row 0 is sheet row 1, column 0 is A.
using NumberCells = std::set<std::pair<size_t, size_t>>;

// A number as the program writes one: an optional minus, digits with no
// leading zero (a lone 0 before the point is fine), then optionally a point
// and at least one digit: "12", "-0.5", "1.080000". No "+", exponent, spaces,
// "inf" or "nan": a text such as "007" or "1e3" is a label, not a number.
bool IsPlainDecimal(std::string_view text);
bool IsPlainDecimal(std::u16string_view text);

// The value a number cell holds for its text ("1.080000" holds 1.08, and a
// General-format text such as "1E+20" reads too); none when the text is no
// finite number, and the cell then stays text.
std::optional<double> StoredNumber(std::u16string_view text);

}  // namespace xls
