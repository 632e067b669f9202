// The bookkeeping of a ranged run: nothing is written past the range end, a run resumes from
// where it stopped, and progress is reported in steps over the whole file.
#include "net/range_cursor.h"

#include <gtest/gtest.h>

namespace {

using net::RangeCursor;

TEST(RangeCursorTest, ReadsAreCappedAtTheRangeEndAndLongAnswersAreCut) {
  // A part of 40000 bytes at offset 100 of a 1000000-byte file, read with a 16385-byte buffer
  // from a server whose answer runs to the end of the file.
  RangeCursor cursor(100, 40100, 100, 1000000);
  uint32_t reads = 0;
  while (!cursor.complete()) {
    const uint32_t ask = cursor.NextReadSize(16385);
    ASSERT_GT(ask, 0u);
    ASSERT_LE(cursor.position() + ask, 40100u);
    const uint32_t to_write = cursor.BytesToWrite(ask);
    EXPECT_EQ(to_write, ask);
    float fraction = 0;
    cursor.Advance(to_write, &fraction);
    ++reads;
  }
  EXPECT_EQ(cursor.position(), 40100u);
  EXPECT_EQ(reads, 3u);  // 16385 + 16385 + 7230
  EXPECT_EQ(cursor.NextReadSize(16385), 0u);
  EXPECT_EQ(cursor.BytesToWrite(100), 0u);

  // A chunk that reaches past the end is cut at the end.
  RangeCursor last(0, 7230, 0, 1000000);
  EXPECT_EQ(last.BytesToWrite(16385), 7230u);
}

TEST(RangeCursorTest, AResumedRunStartsAtItsPositionAndKeepsTheWholeFileFraction) {
  // Part 2 of 4 of a 4 MiB file resumed at 1.5 MiB: tag 1 MiB, range [1.5 MiB, 2 MiB).
  const uint32_t mib = 1 << 20;
  RangeCursor cursor(mib + mib / 2, 2 * mib, mib, 4 * mib);
  EXPECT_EQ(cursor.position(), mib + mib / 2);
  float fraction = -1;
  EXPECT_FALSE(cursor.Advance(net::kRangeProgressStep, &fraction));  // not more than the step yet
  EXPECT_TRUE(cursor.Advance(1, &fraction));
  // The part's share of the whole file: (position - tag) / file size.
  const uint32_t on_disk = mib / 2 + net::kRangeProgressStep + 1;
  EXPECT_FLOAT_EQ(fraction, static_cast<float>(on_disk) / (4.0f * mib));
}

TEST(RangeCursorTest, ProgressIsReportedOnlyAfterMoreThanTheStep) {
  RangeCursor cursor(0, 10 * net::kRangeProgressStep, 0, 10 * net::kRangeProgressStep);
  float fraction = 0;
  int reports = 0;
  for (int i = 0; i < 100; ++i) {
    if (cursor.Advance(net::kRangeProgressStep / 10, &fraction)) ++reports;
  }
  // 100 tenths of a step: a report after every 11 tenths (more than the step), 9 in all.
  EXPECT_EQ(reports, 9);
}

TEST(RangeCursorTest, OddFileSizesNeitherWrapNorDivideByZero) {
  // A server that claims a file of more than 4 GiB: the fraction stays small and positive.
  RangeCursor huge(100, 600000, 0, 0xFFFFFFFFull + 100);
  float fraction = 0;
  ASSERT_TRUE(huge.Advance(300000, &fraction));
  EXPECT_GT(fraction, 0.0f);
  EXPECT_LT(fraction, 0.001f);
  // Writing more than the range holds is counted only up to its end.
  huge.Advance(0xFFFFFFF0u, &fraction);
  EXPECT_EQ(huge.position(), 600000u);
  EXPECT_TRUE(huge.complete());
  // No size at all: nothing to report.
  RangeCursor unknown(0, 600000, 0, 0);
  EXPECT_FALSE(unknown.Advance(300000, &fraction));
}

}  // namespace
