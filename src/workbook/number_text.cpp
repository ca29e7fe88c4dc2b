#include "workbook/number_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace xls {

namespace {

constexpr int kSignificantDigits = 15;
constexpr int kLargestPlainExponent = 14;
constexpr int kSmallestPlainExponent = -9;

std::u16string Widen(const std::string& text) { return std::u16string(text.begin(), text.end()); }

}  // namespace

std::u16string NumberText(double value) {
  if (!std::isfinite(value)) return u"";
  if (value == 0) return u"0";
  // Rounding to 15 significant digits first also settles the exponent
  // (9.999999999999999 becomes 10).
  char scientific[40];
  std::snprintf(scientific, sizeof scientific, "%.*e", kSignificantDigits - 1, std::fabs(value));
  std::string digits;
  const char* p = scientific;
  for (; *p && *p != 'e'; ++p)
    if (*p != '.') digits += *p;
  const int exponent = std::atoi(p + 1);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string text = value < 0 ? "-" : "";
  if (exponent > kLargestPlainExponent || exponent < kSmallestPlainExponent) {
    text += digits.substr(0, 1);
    if (digits.size() > 1) text += "." + digits.substr(1);
    char tail[16];
    std::snprintf(tail, sizeof tail, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return Widen(text + tail);
  }
  if (exponent < 0) return Widen(text + "0." + std::string(-exponent - 1, '0') + digits);
  const size_t integer_digits = static_cast<size_t>(exponent) + 1;
  if (digits.size() <= integer_digits) return Widen(text + digits + std::string(integer_digits - digits.size(), '0'));
  return Widen(text + digits.substr(0, integer_digits) + "." + digits.substr(integer_digits));
}

}  // namespace xls
