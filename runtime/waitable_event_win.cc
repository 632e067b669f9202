#include <windows.h>

#include <cstdlib>

#include "runtime/scoped_handle_win.h"
#include "runtime/waitable_event.h"

namespace base {

struct WaitableEvent::Native {
  ScopedHandle event;
};

WaitableEvent::WaitableEvent(bool manual_reset, bool initially_signaled) : native_(new Native) {
  native_->event.reset(CreateEventW(nullptr, manual_reset ? TRUE : FALSE, initially_signaled ? TRUE : FALSE, nullptr));
  if (!native_->event.valid()) std::abort();  // like running out of memory: nothing sensible to go on with
}

WaitableEvent::~WaitableEvent() {
  delete native_;
}

void WaitableEvent::Signal() {
  SetEvent(native_->event.get());
}

void WaitableEvent::Reset() {
  ResetEvent(native_->event.get());
}

void WaitableEvent::Wait() {
  WaitForSingleObject(native_->event.get(), INFINITE);
}

bool WaitableEvent::TimedWait(int64_t timeout_ms) {
  if (timeout_ms < 0) timeout_ms = 0;
  // INFINITE is 0xFFFFFFFF: keep finite waits below it.
  const DWORD wait = timeout_ms >= static_cast<int64_t>(INFINITE) ? INFINITE - 1 : static_cast<DWORD>(timeout_ms);
  return WaitForSingleObject(native_->event.get(), wait) == WAIT_OBJECT_0;
}

}  // namespace base
