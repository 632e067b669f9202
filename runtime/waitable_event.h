// An event a thread can block on until another thread signals it.
#ifndef RUNTIME_WAITABLE_EVENT_H_
#define RUNTIME_WAITABLE_EVENT_H_

#include <cstdint>

namespace base {

class WaitableEvent {
 public:
  // An auto-reset event wakes one waiter and returns to "not signalled" by itself.
  WaitableEvent(bool manual_reset, bool initially_signaled);
  ~WaitableEvent();
  WaitableEvent(const WaitableEvent&) = delete;
  WaitableEvent& operator=(const WaitableEvent&) = delete;

  void Signal();
  void Reset();
  // Blocks until signalled.
  void Wait();
  // Blocks until signalled or `timeout_ms` has passed; true when signalled.
  bool TimedWait(int64_t timeout_ms);

 private:
  struct Native;
  Native* native_;
};

}  // namespace base

#endif  // RUNTIME_WAITABLE_EVENT_H_
