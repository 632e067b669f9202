#include "runtime/time_ticks.h"

#include <cstdint>

#include <gtest/gtest.h>

#include "tests/runtime/test_clock.h"

namespace base {
namespace {

TEST(TimeTicksTest, KeepsIncreasingAcrossTheMillisecondWrap) {
  testing::ScopedManualClock clock(0);
  // Successive readings of the 32-bit counter and the clock value each must give.
  const int64_t kWrap = int64_t{1} << 32;
  struct Reading {
    uint32_t counter;
    int64_t expected_ms;
  } readings[] = {
      {0xFFFFFFF0u, 0xFFFFFFF0},
      {5, kWrap + 5},  // wrapped: 21 ms later
      {5, kWrap + 5},  // the same reading is no wrap
      {0xFFFFFFFFu, kWrap + 0xFFFFFFFF},
      {0, 2 * kWrap},  // wrapped again
      {3, 2 * kWrap + 3},
  };
  TimeTicks last;
  for (const Reading& r : readings) {
    clock.Set(r.counter);
    const TimeTicks now = TimeTicks::Now();
    EXPECT_EQ(r.expected_ms * 1000, now.ToInternalValue()) << r.counter;
    EXPECT_GE(now, last);
    last = now;
  }
}

TEST(TimeTicksTest, SystemClockIsMonotonic) {
  TimeTicks last = TimeTicks::Now();
  EXPECT_FALSE(last.is_null());
  for (int i = 0; i < 1000; ++i) {
    const TimeTicks now = TimeTicks::Now();
    EXPECT_GE(now, last);
    last = now;
  }
}

TEST(TimeDeltaTest, WaitsRoundUpToWholeMilliseconds) {
  struct Case {
    int64_t us;
    int64_t ms;
  } cases[] = {{0, 0}, {1, 1}, {999, 1}, {1000, 1}, {1001, 2}, {200000, 200}, {-1, 0}, {-1500, -1}};
  for (const Case& c : cases) EXPECT_EQ(c.ms, TimeDelta::FromMicroseconds(c.us).InMillisecondsRoundedUp()) << c.us;
}

}  // namespace
}  // namespace base
