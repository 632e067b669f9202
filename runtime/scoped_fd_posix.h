// A POSIX file descriptor, owned like the Win32 handles (runtime/scoped_object.h).
#ifndef RUNTIME_SCOPED_FD_POSIX_H_
#define RUNTIME_SCOPED_FD_POSIX_H_

#include <unistd.h>

#include "runtime/scoped_object.h"

namespace base {

struct FdTraits {
  using Type = int;
  static Type Null() { return -1; }
  static bool IsValid(Type fd) { return fd >= 0; }
  static bool Close(Type fd) { return ::close(fd) == 0; }
};

using ScopedFd = ScopedObject<FdTraits>;

}  // namespace base

#endif  // RUNTIME_SCOPED_FD_POSIX_H_
