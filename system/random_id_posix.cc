// The system's random source in the host build (Linux getrandom), so the identifier logic is
// exercised under the sanitizers too.
#include <sys/random.h>

#include <cerrno>

#include "system/random_id.h"

bool SystemRandomBytes(void* buffer, size_t size) {
  unsigned char* bytes = static_cast<unsigned char*>(buffer);
  while (size > 0) {
    const ssize_t got = getrandom(bytes, size, 0);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes += got;
    size -= static_cast<size_t>(got);
  }
  return true;
}
