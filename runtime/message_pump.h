// How a message loop's thread waits for work and wakes up.
#ifndef RUNTIME_MESSAGE_PUMP_H_
#define RUNTIME_MESSAGE_PUMP_H_

#include "runtime/time_ticks.h"

namespace base {

class MessagePump {
 public:
  // What the pump calls to get work done (the MessageLoop).
  class Delegate {
   public:
    virtual ~Delegate() {}
    // Runs at most one immediate task; true when there may be more.
    virtual bool DoWork() = 0;
    // Runs one due delayed task; sets *next_delayed_work_time to the next run time (null when
    // there is none) and returns true when it ran one.
    virtual bool DoDelayedWork(TimeTicks* next_delayed_work_time) = 0;
    virtual bool DoIdleWork() = 0;
  };

  // Runs the cycle until Quit.
  virtual void Run(Delegate* delegate) = 0;
  // Clears the keep-running flag; Run returns at its next check.
  virtual void Quit() = 0;
  // Makes the pump call DoWork soon. Any thread.
  virtual void ScheduleWork() = 0;
  // Makes the pump call DoDelayedWork no later than `delayed_work_time`. Pump thread only.
  virtual void ScheduleDelayedWork(const TimeTicks& delayed_work_time) = 0;
  virtual ~MessagePump() {}
};

// The pump a loop of `type` gets (0 default, 1 UI, 2 I/O); null when this platform has none
// for the type.
MessagePump* CreateMessagePumpForType(int type);

}  // namespace base

#endif  // RUNTIME_MESSAGE_PUMP_H_
