#include "log/log_line.h"

#include <cstdio>
#include <cstring>

#include "log/log_flags.h"

namespace simlog {

void LogLineBuffer::Append(const char* text) {
  if (!text) text = "NULL";
  Append(text, std::strlen(text));
}

void LogLineBuffer::Append(const char* text, size_t size) {
  if (!text) {
    Append("NULL");
    return;
  }
  const size_t room = kLogLineCapacity - size_;
  if (size > room) size = room;
  if (size == 0) return;
  std::memcpy(text_ + size_, text, size);
  size_ += size;
}

void LogLineBuffer::AppendInt(long long value) {
  char digits[32];
  const int length = std::snprintf(digits, sizeof(digits), "%lld", value);
  if (length > 0) Append(digits, static_cast<size_t>(length));
}

const char* SourceFileName(const char* source_path) {
  if (!source_path) return "NULL";
  const char* last = std::strrchr(source_path, '\\');
  return last ? last + 1 : source_path;
}

std::string FormatLogTimestamp(const LocalTime& time) {
  char stamp[96];
  const int length = std::snprintf(stamp, sizeof(stamp), "%d.%d.%d %02d:%02d:%02d:%03d ", time.year, time.month,
                                   time.day, time.hour, time.minute, time.second, time.millisecond);
  if (length <= 0) return std::string();
  return std::string(stamp, static_cast<size_t>(length) < sizeof(stamp) ? length : sizeof(stamp) - 1);
}

void BuildLogLine(uint32_t flags, bool debug, const LogLineParts& parts, LogLineBuffer* out) {
  out->Clear();
  if ((flags & kLogTimestamp) && parts.time) {
    const std::string stamp = FormatLogTimestamp(*parts.time);
    out->Append(stamp.data(), stamp.size());
  }
  if (flags & kLogLevelPrefix) {
    out->AppendInt(parts.level);
    out->Append(" ", 1);
  }
  out->Append(parts.message);
  if (debug && (flags & kLogSourceSuffix)) {
    out->Append("\t", 1);
    out->Append(SourceFileName(parts.source_file));
    out->Append("(", 1);
    out->AppendInt(parts.source_line);
    out->Append(")", 1);
  }
  out->Append("\n", 1);
}

}  // namespace simlog
