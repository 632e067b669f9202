// printf-style formatting of log messages into a bounded buffer.
#ifndef PINDLE_LOG_LOG_FORMAT_H_
#define PINDLE_LOG_LOG_FORMAT_H_

#include <cstdarg>
#include <cstddef>
#include <string>

namespace simlog {

// Size of the formatting buffer; results hold at most one byte less (the terminator's room).
constexpr size_t kFormatBufferSize = 2048;

// Formats into a kFormatBufferSize buffer; longer output is cut to kFormatBufferSize - 1 bytes.
// A null format or a formatting error gives an empty string.
std::string FormatLogMessageV(const char* format, va_list args);
std::string FormatLogMessage(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

}  // namespace simlog

#endif  // PINDLE_LOG_LOG_FORMAT_H_
