#include "workbook/number_cells.h"

#include <gtest/gtest.h>

namespace xls {
namespace {

// The program's own numbers ("%f" texts and integers) are numbers; labels
// that merely look like one are not.
TEST(NumberCells, PlainDecimalsAreTheProgramsOwnNumbers) {
  for (const char* number : {"0", "12", "-0.5", "1.080000", "42.900002", "0.000000", "-0", "100000000000000000000.000000"})
    EXPECT_TRUE(IsPlainDecimal(std::string_view(number))) << number;
  for (const char* text : {"", "007", "01.5", "1.", ".5", "-", "+1", "1e3", "3E+2", " 1", "1 ", "1,5", "inf", "nan",
                           "0x10", "WL1", "1.2.3", "--1", "１２"})
    EXPECT_FALSE(IsPlainDecimal(std::string_view(text))) << text;
  EXPECT_TRUE(IsPlainDecimal(std::u16string_view(u"-12.25")));
  EXPECT_FALSE(IsPlainDecimal(std::u16string_view(u"007")));
}

TEST(NumberCells, StoredValueIsTheValueTheTextShows) {
  EXPECT_EQ(StoredNumber(u"1.080000"), 1.08);
  EXPECT_EQ(StoredNumber(u"-0.5"), -0.5);
  EXPECT_EQ(StoredNumber(u"1E+20"), 1e20);  // as General format shows a large value
  for (const char16_t* text : {u"", u"inf", u"nan", u"1e999", u"WL1", u"1.5x", u"１"})
    EXPECT_FALSE(StoredNumber(text).has_value());
}

}  // namespace
}  // namespace xls
