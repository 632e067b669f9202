#include <windows.h>

#include <limits>

#include "runtime/text_encoding.h"

namespace base {

std::string WideToAnsi(const std::wstring& wide) {
  if (wide.empty() || wide.size() > static_cast<size_t>(std::numeric_limits<int>::max())) return std::string();
  const int length = static_cast<int>(wide.size());
  const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::string();
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), length, &out[0], size, nullptr, nullptr);
  return out;
}

std::wstring AnsiToWide(const std::string& ansi) {
  if (ansi.empty() || ansi.size() > static_cast<size_t>(std::numeric_limits<int>::max())) return std::wstring();
  const int length = static_cast<int>(ansi.size());
  const int size = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
  if (size <= 0) return std::wstring();
  std::wstring out(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, &out[0], size);
  return out;
}

}  // namespace base
