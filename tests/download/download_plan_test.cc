// The size text and the split of a package into the four parts.
#include "download/download_plan.h"

#include <gtest/gtest.h>

namespace {

using download::ParsePackageSize;
using download::SplitPackage;

TEST(DownloadPlanTest, SizeTextReadsAsAnUnsignedDecimalNumber) {
  struct Case {
    const char* text;
    uint32_t size;
  } const cases[] = {
      {"734003200", 734003200u},
      {"10", 10u},
      {"0", 0u},
      {"", 0u},       // no size at all
      {"abc", 0u},    // not a number
      {"-5", 0u},     // a sign is not a size
      {"  42", 42u},  // leading blanks are skipped
      {"+42", 42u},
      {"42MB", 42u},  // digits up to the first other character
      {"4294967294", 4294967294u},
      {"4294967295", download::kSizeOutOfRange},
      {"4294967296", download::kSizeOutOfRange},  // 4 GiB and more are out of range
      {"99999999999999999999999", download::kSizeOutOfRange},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParsePackageSize(c.text), c.size) << '"' << c.text << '"';
  }
}

TEST(DownloadPlanTest, SplitTable) {
  struct Case {
    uint32_t size;
    uint32_t bounds[5];  // part i covers [bounds[i], bounds[i + 1])
  } const cases[] = {
      {10, {0, 2, 4, 6, 10}},
      {3, {0, 0, 0, 0, 3}},  // below 4: parts 1-3 are empty, part 4 carries the file
      {1, {0, 0, 0, 0, 1}},
      {0, {0, 0, 0, 0, 0}},
      {8, {0, 2, 4, 6, 8}},
      {734003201, {0, 183500800, 367001600, 550502400, 734003201}},
      {0xFFFFFFFEu, {0, 0x3FFFFFFFu, 0x7FFFFFFEu, 0xBFFFFFFDu, 0xFFFFFFFEu}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    const auto parts = SplitPackage(c.size);
    for (int i = 0; i < download::kPartCount; ++i) {
      EXPECT_EQ(parts[i].start, c.bounds[i]) << "part " << i + 1;
      EXPECT_EQ(parts[i].end, c.bounds[i + 1]) << "part " << i + 1;
      EXPECT_EQ(parts[i].tag, parts[i].start) << "part " << i + 1;
    }
  }
}

}  // namespace
