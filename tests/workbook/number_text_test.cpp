#include "workbook/number_text.h"

#include <gtest/gtest.h>

#include "workbook/unicode_text.h"

namespace xls {
namespace {

TEST(NumberText, ShowsNumbersAsGeneralFormatDoes) {
  const std::pair<double, const char*> cases[] = {
      {3, "3"},
      {0.85, "0.85"},
      {-0.85, "-0.85"},
      {0, "0"},
      {-0.0, "0"},
      {100, "100"},
      {1234567.5, "1234567.5"},
      {0.1 + 0.2, "0.3"},             // 15 digits hide the binary rounding
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {9.9999999999999999, "10"},
      {123456789012345, "123456789012345"},
      {999999999999999, "999999999999999"},
      {1e15, "1E+15"},
      {1234567890123456789.0, "1.23456789012346E+18"},
      {0.000000001, "0.000000001"},
      {0.0000000012345, "0.0000000012345"},
      {1e-10, "1E-10"},
      {-2.5e-12, "-2.5E-12"},
      {1e300, "1E+300"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(Utf16ToUtf8(NumberText(value)), text) << value;
}

}  // namespace
}  // namespace xls
