// The numbers of dialogs: the float fields' text rule and the rounding of
// dialog units into pixels.
#include <gtest/gtest.h>

#include "platform/ui/data_exchange.h"
#include "platform/ui/dialog_units.h"

namespace {

std::string Shown(float value) { return FormatDialogFloat(value).GetString(); }

bool Parses(const char* text, float& value) { return ParseDialogFloat(CString(text), value); }

TEST(DialogFloatTest, FieldsShowSixSignificantDigits) {
  EXPECT_EQ(Shown(0.0f), "0");
  EXPECT_EQ(Shown(0.5f), "0.5");
  EXPECT_EQ(Shown(87.552f), "87.552");
  EXPECT_EQ(Shown(12.8342247f), "12.8342");
  EXPECT_EQ(Shown(1234567.0f), "1.23457e+06");
  EXPECT_EQ(Shown(-3.0f), "-3");
  EXPECT_EQ(Shown(0.0001f), "0.0001");
}

TEST(DialogFloatTest, FieldsReadDecimalNumbersWithBlanksAround) {
  float value = -1;
  EXPECT_TRUE(Parses(" 0.9 ", value));
  EXPECT_FLOAT_EQ(value, 0.9f);
  EXPECT_TRUE(Parses("+.5", value));
  EXPECT_FLOAT_EQ(value, 0.5f);
  EXPECT_TRUE(Parses("-2e1", value));
  EXPECT_FLOAT_EQ(value, -20.0f);
  EXPECT_TRUE(Parses("1.", value));
  EXPECT_FLOAT_EQ(value, 1.0f);
}

TEST(DialogFloatTest, TextThatIsNoNumberLeavesTheValueAlone) {
  float value = 7;
  for (const char* text : {"", "   ", "abc", "0.5x", "1,5", "1e400", "inf", "nan", "0x10", "+", "--1", "1 2"}) {
    EXPECT_FALSE(Parses(text, value)) << text;
    EXPECT_FLOAT_EQ(value, 7.0f) << text;
  }
}

TEST(DialogUnitsTest, MulDivRoundsHalvesAwayFromZeroAndRefusesZero) {
  EXPECT_EQ(MulDiv(46, 6, 4), 69);
  EXPECT_EQ(MulDiv(1, 6, 4), 2);    // 1.5 rounds up
  EXPECT_EQ(MulDiv(-1, 6, 4), -2);  // and down below zero
  EXPECT_EQ(MulDiv(3, 1, -2), -2);
  EXPECT_EQ(MulDiv(5, 7, 0), -1);
  EXPECT_EQ(MulDiv(1 << 30, 8, 8), 1 << 30);  // no overflow in between
}

TEST(DialogUnitsTest, RectanglesScaleByTheFontsAverageWidthAndHeight) {
  const DialogBaseUnits units{6, 12};
  const QRect rect = DialogUnitsToPixels(units, 319, 67, 46, 16);
  EXPECT_EQ(rect, QRect(479, 101, 69, 24));
}

}  // namespace
