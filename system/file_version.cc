#include "system/file_version.h"

std::wstring FormatFileVersion(uint32_t most_significant, uint32_t least_significant) {
  return std::to_wstring(most_significant >> 16) + L"." + std::to_wstring(most_significant & 0xFFFFu) + L"." +
         std::to_wstring(least_significant >> 16) + L"." + std::to_wstring(least_significant & 0xFFFFu);
}
