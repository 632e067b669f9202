#include "analytics/staging_file.h"

#include <algorithm>
#include <limits>

#include "analytics/diagnostics.h"
#include "analytics/record_line.h"
#include "analytics/staging_io.h"

namespace event_analytics {

#ifdef _WIN32
const char kStagingLineBreak[] = "\r\n";
#else
const char kStagingLineBreak[] = "\n";
#endif

namespace {

// How much of a dropped line the diagnostic shows, with anything unprintable as "?".
constexpr size_t kDropExcerptBytes = 60;

std::string Excerpt(const char* data, size_t size) {
  std::string text(data, std::min(size, kDropExcerptBytes));
  for (char& c : text) {
    if (c < 0x20 || c > 0x7E) c = '?';
  }
  if (size > kDropExcerptBytes) text += "...";
  return text;
}

bool IsBlank(const char* data, size_t size) {
  return std::all_of(data, data + size, [](char c) { return c == ' ' || c == '\t' || c == '\r'; });
}

}  // namespace

std::vector<std::string> ParseStagingRecords(const char* data, size_t size, StagingDrops* drops) {
  std::vector<std::string> records;
  size_t start = 0;
  while (start < size) {
    size_t end = start;
    while (end < size && data[end] != '\n') ++end;
    size_t stop = end;
    if (stop > start && data[stop - 1] == '\r') --stop;
    if (IsRecordLine(data + start, stop - start)) {
      records.emplace_back(data + start, stop - start);
    } else if (drops && !IsBlank(data + start, stop - start)) {
      if (drops->lines++ == 0) drops->first = Excerpt(data + start, stop - start);
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

std::vector<std::string> StagingFile::Read(size_t max_records) const {
  if (max_records == 0) return {};
  // Every record that can be used fits in this much of the file's end, line breaks included.
  const size_t per_record = kMaxRecordLineBytes + 2;
  const size_t limit = std::numeric_limits<size_t>::max() / per_record;
  const size_t max_bytes = std::min(max_records, limit) * per_record;
  std::string contents;
  uint64_t file_size = 0;
  if (!ReadFileTail(path_, max_bytes, &contents, &file_size)) return {};
  const char* data = contents.data();
  size_t size = contents.size();
  if (file_size > contents.size()) {
    WriteDiagnostic("The staging file " + path_ + " holds " + std::to_string(file_size) + " bytes; only its last " +
                    std::to_string(contents.size()) + " are read");
    // The read began inside a line: that piece is not a record.
    const char* line_end = std::find(data, data + size, '\n');
    const size_t skipped = line_end == data + size ? size : static_cast<size_t>(line_end - data) + 1;
    data += skipped;
    size -= skipped;
  }
  StagingDrops drops;
  std::vector<std::string> records = ParseStagingRecords(data, size, &drops);
  if (drops.lines > 0) {
    WriteDiagnostic("Dropped " + std::to_string(drops.lines) + " line(s) of the staging file " + path_ +
                    " that are not records, the first: " + drops.first);
  }
  if (records.size() > max_records) {
    records.erase(records.begin(), records.end() - static_cast<std::ptrdiff_t>(max_records));
  }
  return records;
}

bool StagingFile::Empty() const {
  return TruncateFile(path_);
}

bool StagingFile::Rewrite(const std::deque<std::string>& records) const {
  return ReplaceFileContents(path_, temp_path(), FormatStagingRecords(records));
}

}  // namespace event_analytics
