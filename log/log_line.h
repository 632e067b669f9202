// One log line as it goes to the file: a fixed 2048-byte buffer whose appends never overrun it,
// and the builder that lays out timestamp, level, text, source suffix and newline.
#ifndef PINDLE_LOG_LOG_LINE_H_
#define PINDLE_LOG_LOG_LINE_H_

#include <cstddef>
#include <cstdint>
#include <string>

namespace simlog {

constexpr size_t kLogLineCapacity = 2048;

// Wall-clock time of the local time zone, as the timestamp shows it.
struct LocalTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

// Text of at most kLogLineCapacity bytes, not NUL-terminated. A piece that does not fit is cut
// to the remaining room, after which the buffer is full and further appends add nothing.
class LogLineBuffer {
 public:
  LogLineBuffer() = default;
  LogLineBuffer(const LogLineBuffer&) = delete;
  LogLineBuffer& operator=(const LogLineBuffer&) = delete;

  // Appends a NUL-terminated string; a null pointer is written as "NULL".
  void Append(const char* text);
  void Append(const char* text, size_t size);
  void AppendInt(long long value);
  void Clear() { size_ = 0; }

  const char* data() const { return text_; }
  size_t size() const { return size_; }
  bool full() const { return size_ == kLogLineCapacity; }
  std::string ToString() const { return std::string(text_, size_); }

 private:
  char text_[kLogLineCapacity];
  size_t size_ = 0;
};

// The part of a source path after its last backslash ("UI\\UIMainWindowEx.cpp" gives
// "UIMainWindowEx.cpp"); the whole text when there is none, "NULL" for a null pointer.
const char* SourceFileName(const char* source_path);

// What one line says; the builder decides from the flags which parts appear.
struct LogLineParts {
  const LocalTime* time = nullptr;  // used with kLogTimestamp; null leaves the stamp out
  int level = 0;
  const char* message = nullptr;
  const char* source_file = nullptr;
  int source_line = 0;
};

// Lays out one line: [timestamp][level ][message][\t<file>(<line>)]\n. The source suffix needs
// both kLogSourceSuffix and the process debug flag. `out` is cleared first.
void BuildLogLine(uint32_t flags, bool debug, const LogLineParts& parts, LogLineBuffer* out);

// "%d.%d.%d %02d:%02d:%02d:%03d " for the given time.
std::string FormatLogTimestamp(const LocalTime& time);

}  // namespace simlog

#endif  // PINDLE_LOG_LOG_LINE_H_
