#include "system/format_number.h"

#include <cinttypes>
#include <cstdio>

std::string FormatSigned32(int32_t n) {
  char text[16];
  std::snprintf(text, sizeof(text), "%" PRId32, n);
  return text;
}

std::string FormatUnsigned32(uint32_t n) {
  char text[16];
  std::snprintf(text, sizeof(text), "%" PRIu32, n);
  return text;
}

std::wstring FormatSigned32W(int32_t n) {
  const std::string text = FormatSigned32(n);
  return std::wstring(text.begin(), text.end());
}

std::wstring FormatUnsigned32W(uint32_t n) {
  const std::string text = FormatUnsigned32(n);
  return std::wstring(text.begin(), text.end());
}
