#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "system/file_version.h"
#include "system/format_number.h"

namespace {

TEST(NumberTextTest, SignednessOfTheTypeChoosesTheForm) {
  EXPECT_EQ(FormatNumber(0), "0");
  EXPECT_EQ(FormatNumber(-1), "-1");
  EXPECT_EQ(FormatNumber(INT32_MIN), "-2147483648");
  EXPECT_EQ(FormatNumber(INT32_MAX), "2147483647");
  EXPECT_EQ(FormatNumber(0xFFFFFFFFu), "4294967295");
  EXPECT_EQ(FormatNumber(static_cast<uint32_t>(-1)), "4294967295");
  EXPECT_EQ(FormatNumberW(-42), L"-42");
  EXPECT_EQ(FormatNumberW(3000000000u), L"3000000000");
}

TEST(NumberTextTest, FileVersionWords) {
  EXPECT_EQ(FormatFileVersion(0x00030002u, 0x00000001u), L"3.2.0.1");
  EXPECT_EQ(FormatFileVersion(0xFFFF0000u, 0x012C0004u), L"65535.0.300.4");
  EXPECT_EQ(FormatFileVersion(0, 0), L"0.0.0.0");
}

}  // namespace
