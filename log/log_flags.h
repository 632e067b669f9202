// Bits of the logger's flag set and the values a fresh logger starts with.
#ifndef PINDLE_LOG_LOG_FLAGS_H_
#define PINDLE_LOG_LOG_FLAGS_H_

#include <cstdint>

namespace simlog {

constexpr uint32_t kLogTimestamp = 0x01;     // "%d.%d.%d %02d:%02d:%02d:%03d " before the text
constexpr uint32_t kLogLevelPrefix = 0x02;   // the level in decimal and a space
constexpr uint32_t kLogSourceSuffix = 0x04;  // tab, file name and line; only in debug mode
constexpr uint32_t kLogToFile = 0x08;        // append the line to the log file
constexpr uint32_t kLogToStdout = 0x10;      // also print the line to standard output
constexpr uint32_t kLogReserved = 0x20;      // kept set for compatibility; has no effect

constexpr uint32_t kDefaultLogFlags = 0x2D;
constexpr int kDefaultLogLevel = 3;

}  // namespace simlog

#endif  // PINDLE_LOG_LOG_FLAGS_H_
