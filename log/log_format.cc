#include "log/log_format.h"

#include <cstdio>
#include <cstring>

namespace simlog {

std::string FormatLogMessageV(const char* format, va_list args) {
  if (!format) return std::string();
  char buffer[kFormatBufferSize];
  buffer[0] = '\0';
  const int length = std::vsnprintf(buffer, sizeof(buffer), format, args);
  // Some C runtimes report a cut result as -1 and leave the buffer unterminated; a real
  // formatting error may leave anything in it.
  buffer[sizeof(buffer) - 1] = '\0';
  if (length < 0 && std::strlen(buffer) < sizeof(buffer) - 1) return std::string();
  return std::string(buffer, std::strlen(buffer));
}

std::string FormatLogMessage(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = FormatLogMessageV(format, args);
  va_end(args);
  return text;
}

}  // namespace simlog
