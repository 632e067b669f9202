#include <chrono>

#include "runtime/time_ticks.h"

namespace base {

// A steady clock cut to 32 bits, so the host build wraps the way the Windows counter does.
uint32_t SystemMillisecondCounter() {
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
  return static_cast<uint32_t>(ms.count());
}

}  // namespace base
