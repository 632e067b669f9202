// Fuzzes the staging-file reader: whatever is in the file, every record taken is one whole line
// that a strict JSON reader (jsoncpp, an independent one) takes as an object and that holds no
// raw control byte, so the collector can read any batch made of them; writing the records back
// and reading them again gives the same records; and a read that starts inside the file never
// takes the piece of line at its start.
#include <json/json.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "analytics/staging_file.h"

namespace {

bool IsStrictJsonObject(const std::string& text) {
  static const std::unique_ptr<Json::CharReader> reader = [] {
    Json::CharReaderBuilder builder;
    Json::CharReaderBuilder::strictMode(&builder.settings_);
    builder["failIfExtra"] = true;
    return std::unique_ptr<Json::CharReader>(builder.newCharReader());
  }();
  Json::Value value;
  std::string errors;
  return reader->parse(text.data(), text.data() + text.size(), &value, &errors) && value.isObject();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  event_analytics::StagingDrops drops;
  const std::vector<std::string> records = event_analytics::ParseStagingRecords(text, size, &drops);
  size_t lines = 1;
  for (size_t i = 0; i < size; ++i) lines += text[i] == '\n';
  if (records.size() + drops.lines > lines) std::abort();
  for (const std::string& record : records) {
    if (record.empty() || record.front() != '{' || record.back() != '}') std::abort();
    for (char c : record) {
      if (static_cast<unsigned char>(c) < 0x20) std::abort();
    }
    if (!IsStrictJsonObject(record)) std::abort();
  }
  const std::deque<std::string> queue(records.begin(), records.end());
  const std::string written = event_analytics::FormatStagingRecords(queue);
  event_analytics::StagingDrops none;
  if (event_analytics::ParseStagingRecords(written.data(), written.size(), &none) != records || none.lines != 0) {
    std::abort();
  }
  return 0;
}
