// Reading the Content-Range of a 206 answer, where the size of the whole file comes from.
#include "net/content_range.h"

#include <gtest/gtest.h>

namespace {

TEST(ContentRangeTest, Table) {
  struct Case {
    const char* text;
    bool ok;
    uint32_t first, last, total;
  } const cases[] = {
      {"bytes 0-0/734003200", true, 0, 0, 734003200},
      {"bytes 100-199/1000", true, 100, 199, 1000},
      {"Bytes  5-9 / 10", true, 5, 9, 10},
      {"bytes 0-4294967294/4294967295", true, 0, 4294967294u, 4294967295u},
      {"bytes 0-0/4294967296", false, 0, 0, 0},  // 4 GiB and more are out of range
      {"bytes 0-9/*", false, 0, 0, 0},           // unknown total
      {"bytes */1000", false, 0, 0, 0},          // the answer to an unsatisfiable range
      {"bytes 10-5/100", false, 0, 0, 0},
      {"bytes 0-100/100", false, 0, 0, 0},  // last byte past the end
      {"bytes 0-9/10 junk", false, 0, 0, 0},
      {"items 0-9/10", false, 0, 0, 0},
      {"bytes0-9/10", false, 0, 0, 0},
      {"", false, 0, 0, 0},
  };
  for (const Case& c : cases) {
    net::ContentRange range;
    EXPECT_EQ(net::ParseContentRange(c.text, &range), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(range.first, c.first) << c.text;
      EXPECT_EQ(range.last, c.last) << c.text;
      EXPECT_EQ(range.total, c.total) << c.text;
    }
  }
}

}  // namespace
