#include <gtest/gtest.h>

#include "workbook/sheet_update.h"

namespace {

TEST(ParseNumberText, TakesPlainDecimalsOnly) {
  EXPECT_EQ(xls::ParseNumberText(u"7.5"), 7.5);
  EXPECT_EQ(xls::ParseNumberText(u"-2"), -2.0);
  EXPECT_EQ(xls::ParseNumberText(u"1e3"), 1000.0);
  EXPECT_EQ(xls::ParseNumberText(u".5"), 0.5);
  for (const char16_t* text : {u"", u"L1", u" 5", u"5 ", u"1e", u"1e+", u"-", u".", u"0x10", u"1,5", u"inf", u"1e999", u"5-"})
    EXPECT_FALSE(xls::ParseNumberText(text)) << std::string(text, text + std::char_traits<char16_t>::length(text));
}

TEST(ApplyUpdate, DeletesThenInsertsThenWrites) {
  xls::Grid grid = {{u"h"}, {u"a"}, {u"b"}, {u"c"}};
  xls::SheetUpdate update;
  update.deleted_rows = {1};
  update.inserted_rows = {2};
  update.cells = {{2, 1, u"new"}, {3, 0, u""}};
  xls::ApplyUpdate(grid, update);
  EXPECT_EQ(grid, (xls::Grid{{u"h"}, {u"b"}, {u"", u"new"}}));
}

}  // namespace
