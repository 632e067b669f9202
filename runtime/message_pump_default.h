// The pump of worker threads without windows or I/O: waits on an event.
#ifndef RUNTIME_MESSAGE_PUMP_DEFAULT_H_
#define RUNTIME_MESSAGE_PUMP_DEFAULT_H_

#include <atomic>

#include "runtime/message_pump.h"
#include "runtime/time_ticks.h"
#include "runtime/waitable_event.h"

namespace base {

class MessagePumpDefault : public MessagePump {
 public:
  MessagePumpDefault();
  ~MessagePumpDefault() override;

  void Run(Delegate* delegate) override;
  void Quit() override;
  void ScheduleWork() override;
  void ScheduleDelayedWork(const TimeTicks& delayed_work_time) override;

 private:
  bool keep_running_;
  WaitableEvent event_;  // auto-reset
  TimeTicks delayed_work_time_;
  // 1 from the first ScheduleWork after a wake-up until the next wake-up: later posts need not
  // signal the event again (each signal is a system call).
  std::atomic<int> have_work_;
};

}  // namespace base

#endif  // RUNTIME_MESSAGE_PUMP_DEFAULT_H_
