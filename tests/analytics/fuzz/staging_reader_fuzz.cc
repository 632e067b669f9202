// Fuzzes the staging-file reader: whatever is in the file, every record taken is one whole
// "{...}" line, and writing the records back and reading them again gives the same records.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <string>
#include <vector>

#include "analytics/staging_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  const std::vector<std::string> records = event_analytics::ParseStagingRecords(text, size);
  size_t lines = 1;
  for (size_t i = 0; i < size; ++i) lines += text[i] == '\n';
  if (records.size() > lines) std::abort();
  for (const std::string& record : records) {
    if (record.empty() || record.front() != '{' || record.back() != '}') std::abort();
    if (record.find('\n') != std::string::npos) std::abort();
  }
  const std::deque<std::string> queue(records.begin(), records.end());
  const std::string written = event_analytics::FormatStagingRecords(queue);
  if (event_analytics::ParseStagingRecords(written.data(), written.size()) != records) {
    std::abort();
  }
  return 0;
}
