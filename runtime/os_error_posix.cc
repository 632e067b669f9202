#include <errno.h>
#include <string.h>

#include <cstdio>

#include "runtime/os_error.h"

namespace base {

std::string OsErrorText(unsigned long code) {
  char text[256] = "no text";
  // The GNU strerror_r returns its text (perhaps not in the buffer); the POSIX one fills the buffer.
#if defined(__GLIBC__) && defined(_GNU_SOURCE)
  const char* found = strerror_r(static_cast<int>(code), text, sizeof text);
#else
  const char* found = strerror_r(static_cast<int>(code), text, sizeof text) == 0 ? text : "no text";
#endif
  char line[320];
  std::snprintf(line, sizeof line, "%lu: %s", code, found ? found : "no text");
  return line;
}

unsigned long LastOsError() {
  return static_cast<unsigned long>(errno);
}

}  // namespace base
