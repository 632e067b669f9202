// Log messages are narrow text in the system ANSI code page; several of the fetcher's are
// Chinese and are kept as wide literals in the source.
#ifndef NET_ANSI_TEXT_WIN_H_
#define NET_ANSI_TEXT_WIN_H_

#include <windows.h>

#include <string>

namespace net {

inline std::string AnsiText(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return std::string();
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, &out[0], size, nullptr, nullptr);
  out.resize(static_cast<size_t>(size - 1));
  return out;
}

}  // namespace net

#endif  // NET_ANSI_TEXT_WIN_H_
