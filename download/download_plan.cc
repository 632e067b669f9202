#include "download/download_plan.h"

namespace download {

uint32_t ParsePackageSize(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r' ||
                             text[i] == '\v' || text[i] == '\f')) {
    ++i;
  }
  if (i < text.size() && text[i] == '+') ++i;
  uint64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + static_cast<uint64_t>(text[i] - '0');
    if (value >= kSizeOutOfRange) return kSizeOutOfRange;
  }
  return static_cast<uint32_t>(value);
}

std::array<PartRange, kPartCount> SplitPackage(uint32_t size) {
  const uint32_t q = size / kPartCount;
  std::array<PartRange, kPartCount> parts;
  for (int i = 0; i < kPartCount; ++i) {
    const uint32_t start = q * static_cast<uint32_t>(i);
    parts[i].start = start;
    parts[i].tag = start;
    parts[i].end = i + 1 == kPartCount ? size : start + q;
  }
  return parts;
}

}  // namespace download
