// The one form in which the log gives a system error: "%lu: text", the number first (what a
// support engineer searches for), then the system's own words for it.
#ifndef RUNTIME_OS_ERROR_H_
#define RUNTIME_OS_ERROR_H_

#include <string>

namespace base {

// `code` is a Win32 or WinINet error (GetLastError) on Windows and an errno value elsewhere. The
// text is narrow, in the ANSI code page like every log message; "no text" when the system has none.
std::string OsErrorText(unsigned long code);

// The calling thread's last error: GetLastError() on Windows, errno elsewhere.
unsigned long LastOsError();

}  // namespace base

#endif  // RUNTIME_OS_ERROR_H_
