#include <windows.h>
#include <mmsystem.h>

#include "runtime/time_ticks.h"

namespace base {

uint32_t SystemMillisecondCounter() {
  return timeGetTime();
}

}  // namespace base
