// Monotonic time with millisecond resolution, counted in microseconds.
#ifndef RUNTIME_TIME_TICKS_H_
#define RUNTIME_TIME_TICKS_H_

#include <cstdint>

namespace base {

// A signed span of microseconds.
class TimeDelta {
 public:
  constexpr TimeDelta() : us_(0) {}

  static constexpr TimeDelta FromMicroseconds(int64_t us) { return TimeDelta(us); }
  static constexpr TimeDelta FromMilliseconds(int64_t ms) { return TimeDelta(ms * 1000); }
  static constexpr TimeDelta FromSeconds(int64_t s) { return TimeDelta(s * 1000000); }

  constexpr int64_t InMicroseconds() const { return us_; }
  // What a wait is given: never shorter than the span, so a timed wait does not wake early.
  int64_t InMillisecondsRoundedUp() const;
  constexpr bool is_zero() const { return us_ == 0; }

  constexpr TimeDelta operator+(TimeDelta o) const { return TimeDelta(us_ + o.us_); }
  constexpr TimeDelta operator-(TimeDelta o) const { return TimeDelta(us_ - o.us_); }
  constexpr bool operator==(TimeDelta o) const { return us_ == o.us_; }
  constexpr bool operator!=(TimeDelta o) const { return us_ != o.us_; }
  constexpr bool operator<(TimeDelta o) const { return us_ < o.us_; }
  constexpr bool operator<=(TimeDelta o) const { return us_ <= o.us_; }
  constexpr bool operator>(TimeDelta o) const { return us_ > o.us_; }
  constexpr bool operator>=(TimeDelta o) const { return us_ >= o.us_; }

 private:
  explicit constexpr TimeDelta(int64_t us) : us_(us) {}
  int64_t us_;
};

// A point on the process's monotonic clock; the value 0 means "no time".
class TimeTicks {
 public:
  // Reads a 32-bit millisecond counter that wraps about every 49.7 days.
  typedef uint32_t (*MillisecondSource)();

  constexpr TimeTicks() : us_(0) {}

  // (milliseconds + rollover) * 1000; the rollover grows by 2^32 ms whenever the counter is
  // seen going backwards, so the result keeps increasing across the wrap.
  static TimeTicks Now();

  static constexpr TimeTicks FromInternalValue(int64_t us) { return TimeTicks(us); }
  constexpr int64_t ToInternalValue() const { return us_; }
  constexpr bool is_null() const { return us_ == 0; }

  constexpr TimeTicks operator+(TimeDelta d) const { return TimeTicks(us_ + d.InMicroseconds()); }
  constexpr TimeTicks operator-(TimeDelta d) const { return TimeTicks(us_ - d.InMicroseconds()); }
  constexpr TimeDelta operator-(TimeTicks o) const { return TimeDelta::FromMicroseconds(us_ - o.us_); }
  constexpr bool operator==(TimeTicks o) const { return us_ == o.us_; }
  constexpr bool operator!=(TimeTicks o) const { return us_ != o.us_; }
  constexpr bool operator<(TimeTicks o) const { return us_ < o.us_; }
  constexpr bool operator<=(TimeTicks o) const { return us_ <= o.us_; }
  constexpr bool operator>(TimeTicks o) const { return us_ > o.us_; }
  constexpr bool operator>=(TimeTicks o) const { return us_ >= o.us_; }

  // Replaces the millisecond counter (null restores the system one) and forgets the previous
  // reading and the rollover. Returns the source that was in use. For tests.
  static MillisecondSource SetMillisecondSourceForTesting(MillisecondSource source);

 private:
  explicit constexpr TimeTicks(int64_t us) : us_(us) {}
  int64_t us_;
};

// The platform's 32-bit millisecond counter (timeGetTime on Windows).
uint32_t SystemMillisecondCounter();

}  // namespace base

#endif  // RUNTIME_TIME_TICKS_H_
