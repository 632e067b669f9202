// A millisecond counter the test sets by hand, installed for the lifetime of the object.
#ifndef TESTS_RUNTIME_TEST_CLOCK_H_
#define TESTS_RUNTIME_TEST_CLOCK_H_

#include <atomic>
#include <cstdint>

#include "runtime/time_ticks.h"

namespace base {
namespace testing {

class ScopedManualClock {
 public:
  explicit ScopedManualClock(uint32_t start_ms) {
    Now().store(start_ms);
    previous_ = TimeTicks::SetMillisecondSourceForTesting(&Read);
  }
  ~ScopedManualClock() { TimeTicks::SetMillisecondSourceForTesting(previous_); }

  void Set(uint32_t ms) { Now().store(ms); }
  void Advance(uint32_t ms) { Now().fetch_add(ms); }

 private:
  static std::atomic<uint32_t>& Now() {
    static std::atomic<uint32_t> now(0);
    return now;
  }
  static uint32_t Read() { return Now().load(); }

  TimeTicks::MillisecondSource previous_;
};

}  // namespace testing
}  // namespace base

#endif  // TESTS_RUNTIME_TEST_CLOCK_H_
