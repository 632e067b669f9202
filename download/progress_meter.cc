#include "download/progress_meter.h"

#include <cstdio>

namespace download {

bool ProgressThinner::Take() {
  const int n = counter_;
  counter_ = n + 1;
  if (n % 4 != 0) return false;
  counter_ = 1;
  return true;
}

std::string SizeLabel(float overall, uint32_t size) {
  char text[64];
  std::snprintf(text, sizeof text, "%.1fM/%.1fM", overall * static_cast<double>(size) / 1048576.0,
                static_cast<double>(size) / 1048576.0);
  return text;
}

}  // namespace download
