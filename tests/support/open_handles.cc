#include "open_handles.h"

#ifdef _WIN32
#include <windows.h>

#include <cstdint>
#else
#include <filesystem>
#include <system_error>
#endif

namespace test_support {

long OpenHandleCount() {
#ifdef _WIN32
  DWORD count = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &count) && count != 0) return static_cast<long>(count);
  // Wine answers 0. Its handles are small multiples of 4, given out lowest first: ask each of
  // the first ones whether it is open.
  long open = 0;
  for (uintptr_t value = 4; value < 0x10000; value += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++open;
  }
  return open;
#else
  std::error_code error;
  long count = 0;
  for (std::filesystem::directory_iterator it("/proc/self/fd", error), end; !error && it != end; it.increment(error)) {
    ++count;
  }
  return error ? -1 : count;
#endif
}

}  // namespace test_support
