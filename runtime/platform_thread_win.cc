#include <windows.h>
#include <process.h>

#include "runtime/platform_thread.h"
#include "runtime/scoped_handle_win.h"

namespace base {

namespace {

struct Start {
  PlatformThreadFunction function;
  void* argument;
};

unsigned __stdcall ThreadStart(void* raw) {
  Start start = *static_cast<Start*>(raw);
  delete static_cast<Start*>(raw);
  start.function(start.argument);
  return 0;
}

}  // namespace

bool CreatePlatformThread(size_t stack_size, PlatformThreadFunction function, void* argument,
                          PlatformThreadHandle* handle) {
  Start* start = new Start{function, argument};
  unsigned id = 0;
  // The CRT's thread start, so the C runtime's per-thread state is set up and freed.
  const uintptr_t thread = _beginthreadex(nullptr, static_cast<unsigned>(stack_size), &ThreadStart, start,
                                          stack_size ? STACK_SIZE_PARAM_IS_A_RESERVATION : 0, &id);
  if (!thread) {
    delete start;
    return false;
  }
  *handle = thread;
  return true;
}

void JoinPlatformThread(PlatformThreadHandle handle) {
  if (!handle) return;
  const ScopedHandle thread(reinterpret_cast<HANDLE>(handle));
  WaitForSingleObject(thread.get(), INFINITE);
}

uint32_t CurrentPlatformThreadId() {
  return GetCurrentThreadId();
}

}  // namespace base
