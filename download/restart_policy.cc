#include "download/restart_policy.h"

namespace download {

bool RecordPartFailure(uint32_t* fail_count) {
  *fail_count += kFailIncrement;
  return *fail_count > kFailLimit;
}

uint32_t RestartPauseMs(uint32_t random) {
  uint32_t pause = random % 2000;
  if (pause < 500) pause += 500;
  return pause;
}

}  // namespace download
