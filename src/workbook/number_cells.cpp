#include "workbook/number_cells.h"

#include <charconv>
#include <cmath>
#include <string>

namespace xls {

namespace {

template <typename Char>
bool IsDigit(Char ch) {
  return ch >= Char('0') && ch <= Char('9');
}

template <typename Char>
bool IsPlainDecimalText(std::basic_string_view<Char> text) {
  size_t at = 0;
  if (at < text.size() && text[at] == Char('-')) ++at;
  const size_t integer = at;
  while (at < text.size() && IsDigit(text[at])) ++at;
  const size_t integer_digits = at - integer;
  if (integer_digits == 0) return false;
  if (integer_digits > 1 && text[integer] == Char('0')) return false;  // "007" is a label
  if (at == text.size()) return true;
  if (text[at] != Char('.')) return false;
  const size_t fraction = ++at;
  while (at < text.size() && IsDigit(text[at])) ++at;
  return at > fraction && at == text.size();
}

}  // namespace

bool IsPlainDecimal(std::string_view text) { return IsPlainDecimalText(text); }

bool IsPlainDecimal(std::u16string_view text) { return IsPlainDecimalText(text); }

std::optional<double> StoredNumber(std::u16string_view text) {
  std::string ascii;
  for (char16_t ch : text) {
    if (ch > 0x7F) return std::nullopt;
    ascii += static_cast<char>(ch);
  }
  double value = 0;
  const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (ascii.empty() || error != std::errc() || end != ascii.data() + ascii.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

}  // namespace xls
