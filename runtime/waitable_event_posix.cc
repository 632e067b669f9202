#include <chrono>
#include <condition_variable>
#include <mutex>

#include "runtime/waitable_event.h"

namespace base {

struct WaitableEvent::Native {
  std::mutex mutex;
  std::condition_variable changed;
  bool manual_reset;
  bool signaled;
};

WaitableEvent::WaitableEvent(bool manual_reset, bool initially_signaled) : native_(new Native) {
  native_->manual_reset = manual_reset;
  native_->signaled = initially_signaled;
}

WaitableEvent::~WaitableEvent() {
  delete native_;
}

void WaitableEvent::Signal() {
  std::lock_guard<std::mutex> hold(native_->mutex);
  native_->signaled = true;
  if (native_->manual_reset)
    native_->changed.notify_all();
  else
    native_->changed.notify_one();
}

void WaitableEvent::Reset() {
  std::lock_guard<std::mutex> hold(native_->mutex);
  native_->signaled = false;
}

void WaitableEvent::Wait() {
  std::unique_lock<std::mutex> hold(native_->mutex);
  native_->changed.wait(hold, [this] { return native_->signaled; });
  if (!native_->manual_reset) native_->signaled = false;
}

bool WaitableEvent::TimedWait(int64_t timeout_ms) {
  if (timeout_ms < 0) timeout_ms = 0;
  // Far-off deadlines would overflow the clock's arithmetic; waking early is harmless because
  // every caller re-checks its own condition.
  const int64_t kLongestWaitMs = int64_t{1} << 31;
  if (timeout_ms > kLongestWaitMs) timeout_ms = kLongestWaitMs;
  std::unique_lock<std::mutex> hold(native_->mutex);
  const bool signaled =
      native_->changed.wait_for(hold, std::chrono::milliseconds(timeout_ms), [this] { return native_->signaled; });
  if (signaled && !native_->manual_reset) native_->signaled = false;
  return signaled;
}

}  // namespace base
