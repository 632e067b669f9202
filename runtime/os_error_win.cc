#include <windows.h>

#include <cstdio>

#include "runtime/os_error.h"
#include "runtime/scoped_handle_win.h"

namespace base {

namespace {

// WinINet keeps its messages in its own module, which may lack some, and Wine's WinINet passes
// socket errors through, for which it has no text: the errors a download meets most often are
// named here so that the log says what happened either way.
const char* NetworkErrorName(unsigned long code) {
  switch (code) {
    case 10054: return "the connection was reset by the server";
    case 10060: return "the connection timed out";
    case 10061: return "the server refused the connection";
    case 12002: return "the operation timed out";
    case 12005: return "the URL is invalid";
    case 12007: return "the server name could not be resolved";
    case 12017: return "the operation was cancelled";
    case 12029: return "a connection with the server could not be established";
    case 12030: return "the connection with the server was ended";
    case 12031: return "the connection with the server was reset";
    case 12152: return "the server returned an invalid or unrecognized response";
    default: return nullptr;
  }
}

std::string SystemText(unsigned long code) {
  DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  HMODULE wininet = nullptr;
  if (code >= 12000 && code < 12200) {
    wininet = GetModuleHandleW(L"wininet.dll");
    if (wininet) flags |= FORMAT_MESSAGE_FROM_HMODULE;
  }
  char* buffer = nullptr;
  const DWORD length =
      FormatMessageA(flags, wininet, static_cast<DWORD>(code), 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  const ScopedLocalMemory owner(buffer);
  std::string text(buffer ? buffer : "", buffer ? length : 0);
  // The system's texts end in a full stop and a line break; the log line goes on or ends itself.
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.')) {
    text.pop_back();
  }
  return text;
}

}  // namespace

std::string OsErrorText(unsigned long code) {
  std::string text = SystemText(code);
  if (text.empty()) {
    const char* name = NetworkErrorName(code);
    text = name ? name : "no text";
  }
  char number[24];
  std::snprintf(number, sizeof number, "%lu: ", code);
  return number + text;
}

unsigned long LastOsError() {
  return GetLastError();
}

}  // namespace base
