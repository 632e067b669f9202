// The operating system's thread start, join and id, behind one small interface.
#ifndef RUNTIME_PLATFORM_THREAD_H_
#define RUNTIME_PLATFORM_THREAD_H_

#include <cstddef>
#include <cstdint>

namespace base {

typedef uintptr_t PlatformThreadHandle;
typedef void (*PlatformThreadFunction)(void* argument);

// Starts `function(argument)` on a new thread. A non-zero `stack_size` is a reservation.
bool CreatePlatformThread(size_t stack_size, PlatformThreadFunction function, void* argument,
                          PlatformThreadHandle* handle);
// Waits without limit for the thread to end, then releases its handle.
void JoinPlatformThread(PlatformThreadHandle handle);
uint32_t CurrentPlatformThreadId();

}  // namespace base

#endif  // RUNTIME_PLATFORM_THREAD_H_
