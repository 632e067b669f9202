#include "system/version_digits.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(VersionDigitsTest, DotsRemovedThenReadLikeAtoi) {
  struct Case {
    const char* text;
    int value;
  } cases[] = {
      {"3.2.0.1", 3201},
      {"1.10.0", 1100},
      {"", 0},
      {"abc", 0},
      {"...", 0},
      {"  4.5", 45},
      {"4.5beta7", 45},
      {"4 .5", 4},  // the space stops the digits
      {"-1.2", -12},
      {"+7.0", 70},
      {"0.0.9", 9},
      {"9.9.9.9.9.9.9.9.9.9.9", INT_MAX},  // saturates instead of overflowing
      {"-9.9.9.9.9.9.9.9.9.9.9", INT_MIN},
      {"2147483647", INT_MAX},
      {"-2147483648", INT_MIN},
  };
  for (const auto& c : cases) EXPECT_EQ(VersionDigitsValue(c.text), c.value) << c.text;
}

TEST(VersionDigitsTest, GreaterIsStrict) {
  EXPECT_TRUE(VersionDigitsGreater("3.2.0.1", 3200));
  EXPECT_FALSE(VersionDigitsGreater("3.2.0.1", 3201));
  EXPECT_FALSE(VersionDigitsGreater("3.2.0.1", 3202));
  EXPECT_FALSE(VersionDigitsGreater("", 0));
  EXPECT_TRUE(VersionDigitsGreater("", -1));
  EXPECT_FALSE(VersionDigitsGreater("99999999999", INT_MAX));
}

}  // namespace
