#include "analytics/staging_file.h"

#include "analytics/staging_io.h"

namespace event_analytics {

#ifdef _WIN32
const char kStagingLineBreak[] = "\r\n";
#else
const char kStagingLineBreak[] = "\n";
#endif

std::vector<std::string> ParseStagingRecords(const char* data, size_t size) {
  std::vector<std::string> records;
  size_t start = 0;
  while (start < size) {
    size_t end = start;
    while (end < size && data[end] != '\n') ++end;
    size_t stop = end;
    if (stop > start && data[stop - 1] == '\r') --stop;
    if (stop > start && data[start] == '{' && data[stop - 1] == '}') {
      records.emplace_back(data + start, stop - start);
    }
    start = end + 1;
  }
  return records;
}

std::string FormatStagingRecords(const std::deque<std::string>& records) {
  std::string text;
  size_t total = 0;
  for (const std::string& record : records) total += record.size() + 2;
  text.reserve(total);
  for (const std::string& record : records) {
    text.append(record);
    text.append(kStagingLineBreak);
  }
  return text;
}

std::vector<std::string> StagingFile::Read() const {
  std::string contents;
  if (!ReadWholeFile(path_, &contents)) return {};
  return ParseStagingRecords(contents.data(), contents.size());
}

bool StagingFile::Empty() const {
  return TruncateFile(path_);
}

bool StagingFile::Rewrite(const std::deque<std::string>& records) const {
  return ReplaceFileContents(path_, temp_path(), FormatStagingRecords(records));
}

}  // namespace event_analytics
