#include "runtime/message_pump_default.h"

namespace base {

MessagePumpDefault::MessagePumpDefault() : keep_running_(true), event_(false, false), have_work_(0) {}

MessagePumpDefault::~MessagePumpDefault() {}

void MessagePumpDefault::Run(Delegate* delegate) {
  for (;;) {
    bool more = delegate->DoWork();
    if (!keep_running_) break;
    more |= delegate->DoDelayedWork(&delayed_work_time_);
    if (!keep_running_) break;
    if (more) continue;
    more = delegate->DoIdleWork();
    if (!keep_running_) break;
    if (more) continue;

    if (delayed_work_time_.is_null()) {
      event_.Wait();
    } else {
      const TimeDelta delay = delayed_work_time_ - TimeTicks::Now();
      if (delay > TimeDelta())
        event_.TimedWait(delay.InMillisecondsRoundedUp());
      else
        delayed_work_time_ = TimeTicks();
    }
    // Cleared after every wait and before the next DoWork: a post that finds it set was queued
    // before this point, or its poster's signal is still to come, so no wake-up is lost.
    have_work_.exchange(0);
  }
}

void MessagePumpDefault::Quit() {
  keep_running_ = false;
}

void MessagePumpDefault::ScheduleWork() {
  if (have_work_.exchange(1)) return;  // a signal is already on its way
  event_.Signal();
}

void MessagePumpDefault::ScheduleDelayedWork(const TimeTicks& delayed_work_time) {
  delayed_work_time_ = delayed_work_time;
}

}  // namespace base
