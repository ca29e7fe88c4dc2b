#include "platform/crt/crt.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string>

namespace crt {

namespace {
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
uint32_t g_randState = 1;
}  // namespace

namespace {
// The decimal number atof reads at the start of `text` (after white space),
// copied without what strtod would read beyond it (hex, inf, nan); `end`
// receives where it stops. Empty when there is no digit.
std::string DecimalPrefix(const char* text, const char** end) {
  const char* p = text;
  while (IsSpace(*p)) ++p;
  std::string number;
  if (*p == '+' || *p == '-') number += *p++;
  bool digits = false;
  while (IsDigit(*p)) { number += *p++; digits = true; }
  if (*p == '.') {
    number += *p++;
    while (IsDigit(*p)) { number += *p++; digits = true; }
  }
  if (!digits) {
    *end = text;
    return std::string();
  }
  if (*p == 'e' || *p == 'E' || *p == 'd' || *p == 'D') {
    const char* q = p + 1;
    std::string exponent = "e";
    if (*q == '+' || *q == '-') exponent += *q++;
    if (IsDigit(*q)) {
      while (IsDigit(*q)) exponent += *q++;
      number += exponent;
      p = q;
    }
  }
  *end = p;
  return number;
}
}  // namespace

double atof(const char* text) {
  if (!text) return 0.0;
  const char* end = nullptr;
  // strtod on the copy keeps glibc's correct rounding.
  const std::string number = DecimalPrefix(text, &end);
  return number.empty() ? 0.0 : std::strtod(number.c_str(), nullptr);
}

bool IsWholeDecimalNumber(const char* text) {
  if (!text) return false;
  const char* end = nullptr;
  if (DecimalPrefix(text, &end).empty()) return false;
  while (IsSpace(*end)) ++end;
  return *end == '\0';
}

uint32_t strtoul(const char* text, char** end, int base) {
  const char* p = text;
  while (IsSpace(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = (*p++ == '-');
  if (base == 0) {
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) { base = 16; p += 2; }
    else if (p[0] == '0') base = 8;
    else base = 10;
  } else if (base == 16 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
    p += 2;
  }
  uint64_t value = 0;
  bool overflow = false;
  const char* start = p;
  for (;; ++p) {
    int digit;
    if (IsDigit(*p)) digit = *p - '0';
    else if (*p >= 'a' && *p <= 'z') digit = *p - 'a' + 10;
    else if (*p >= 'A' && *p <= 'Z') digit = *p - 'A' + 10;
    else break;
    if (digit >= base) break;
    value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    if (value > 0xFFFFFFFFull) { overflow = true; value = 0xFFFFFFFFull; }
  }
  if (end) *end = const_cast<char*>(p == start ? text : p);
  if (overflow) return 0xFFFFFFFFu;
  const auto result = static_cast<uint32_t>(value);
  return negative ? static_cast<uint32_t>(0u - result) : result;
}

int rand() {
  g_randState = g_randState * 214013u + 2531011u;
  return static_cast<int>((g_randState >> 16) & 0x7FFF);
}

void srand(uint32_t seed) { g_randState = seed; }

double pow(double base, double exponent) { return std::pow(base, exponent); }

}  // namespace crt
