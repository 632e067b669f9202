#include <limits.h>
#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "runtime/platform_thread.h"

namespace base {

namespace {

struct Start {
  PlatformThreadFunction function;
  void* argument;
};

void* ThreadStart(void* raw) {
  Start start = *static_cast<Start*>(raw);
  delete static_cast<Start*>(raw);
  start.function(start.argument);
  return nullptr;
}

}  // namespace

static_assert(sizeof(pthread_t) <= sizeof(PlatformThreadHandle), "pthread_t must fit a handle");

bool CreatePlatformThread(size_t stack_size, PlatformThreadFunction function, void* argument,
                          PlatformThreadHandle* handle) {
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  if (stack_size) {
    if (stack_size < static_cast<size_t>(PTHREAD_STACK_MIN)) stack_size = PTHREAD_STACK_MIN;
    pthread_attr_setstacksize(&attributes, stack_size);
  }
  Start* start = new Start{function, argument};
  pthread_t thread;
  const int error = pthread_create(&thread, &attributes, &ThreadStart, start);
  pthread_attr_destroy(&attributes);
  if (error != 0) {
    delete start;
    return false;
  }
  *handle = static_cast<PlatformThreadHandle>(thread);
  return true;
}

void JoinPlatformThread(PlatformThreadHandle handle) {
  pthread_join(static_cast<pthread_t>(handle), nullptr);
}

uint32_t CurrentPlatformThreadId() {
  return static_cast<uint32_t>(syscall(SYS_gettid));
}

}  // namespace base
