#include "runtime/time_ticks.h"

#include <atomic>
#include <cmath>

#include "runtime/lock.h"

namespace base {

namespace {

struct Clock {
  Lock lock;
  TimeTicks::MillisecondSource source = nullptr;  // null: the system counter
  uint32_t last_reading = 0;
  int64_t rollover_ms = 0;
};

Clock& TheClock() {
  static Clock* clock = new Clock;  // never destroyed: Now() may run during process exit
  return *clock;
}

}  // namespace

int64_t TimeDelta::InMillisecondsRoundedUp() const {
  return static_cast<int64_t>(std::ceil(static_cast<double>(us_) / 1000.0));
}

TimeTicks TimeTicks::Now() {
  Clock& clock = TheClock();
  AutoLock hold(clock.lock);
  // Read inside the lock: a reading taken outside could be older than one another thread has
  // already recorded, and would then look like a wrap.
  const uint32_t now = clock.source ? clock.source() : SystemMillisecondCounter();
  if (now < clock.last_reading) clock.rollover_ms += int64_t{1} << 32;
  clock.last_reading = now;
  return TimeTicks((static_cast<int64_t>(now) + clock.rollover_ms) * 1000);
}

TimeTicks::MillisecondSource TimeTicks::SetMillisecondSourceForTesting(MillisecondSource source) {
  Clock& clock = TheClock();
  AutoLock hold(clock.lock);
  MillisecondSource previous = clock.source;
  clock.source = source;
  clock.last_reading = 0;
  clock.rollover_ms = 0;
  return previous;
}

}  // namespace base
