#include "platform/crt/crt.h"

#include <gtest/gtest.h>

namespace {

TEST(AtofTest, ReadsDecimalPrefixOnly) {
  EXPECT_DOUBLE_EQ(crt::atof("3"), 3.0);
  EXPECT_DOUBLE_EQ(crt::atof("  -0.85kW"), -0.85);
  EXPECT_DOUBLE_EQ(crt::atof("+1.5e2x"), 150.0);
  EXPECT_DOUBLE_EQ(crt::atof("2e"), 2.0);
  EXPECT_DOUBLE_EQ(crt::atof(".5"), 0.5);
  EXPECT_DOUBLE_EQ(crt::atof("7."), 7.0);
  EXPECT_DOUBLE_EQ(crt::atof("1,5"), 1.0);
}

TEST(AtofTest, NonDecimalFormsReadAsZero) {
  EXPECT_EQ(crt::atof("0x10"), 0.0);
  EXPECT_EQ(crt::atof("inf"), 0.0);
  EXPECT_EQ(crt::atof("nan"), 0.0);
  EXPECT_EQ(crt::atof("L1"), 0.0);
  EXPECT_EQ(crt::atof(""), 0.0);
  EXPECT_EQ(crt::atof("."), 0.0);
  EXPECT_EQ(crt::atof(nullptr), 0.0);
}

TEST(StrtoulTest, BaseZeroPicksTheBaseFromThePrefix) {
  char* end = nullptr;
  EXPECT_EQ(crt::strtoul("0x00FF0000", &end, 0), 0x00FF0000u);
  EXPECT_EQ(*end, '\0');
  EXPECT_EQ(crt::strtoul("255", nullptr, 0), 255u);
  EXPECT_EQ(crt::strtoul("017", nullptr, 0), 15u);
  EXPECT_EQ(crt::strtoul("12ab", &end, 0), 12u);
  EXPECT_STREQ(end, "ab");
  EXPECT_EQ(crt::strtoul("0xFFFFFFFFF", nullptr, 0), 0xFFFFFFFFu);
  const char* none = "zz";
  EXPECT_EQ(crt::strtoul(none, &end, 0), 0u);
  EXPECT_EQ(end, none);
}

TEST(RandTest, UnseededSequenceIsTheRuntimes) {
  crt::srand(1);
  EXPECT_EQ(crt::rand(), 41);
  EXPECT_EQ(crt::rand(), 18467);
  EXPECT_EQ(crt::rand(), 6334);
  EXPECT_EQ(crt::rand(), 26500);
  EXPECT_EQ(crt::rand(), 19169);
  for (int i = 0; i < 1000; ++i) {
    const int r = crt::rand();
    ASSERT_GE(r, 0);
    ASSERT_LE(r, crt::RAND_MAX_VALUE);
  }
}

}  // namespace
