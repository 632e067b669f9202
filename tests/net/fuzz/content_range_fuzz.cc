// Fuzzes the reading of a server's Content-Range header: an accepted range is a real part of
// the file, and the header written back from it reads the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "net/content_range.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  net::ContentRange range;
  if (!net::ParseContentRange(text, &range)) return 0;
  if (range.first > range.last || range.last >= range.total) std::abort();
  const std::string written =
      "bytes " + std::to_string(range.first) + "-" + std::to_string(range.last) + "/" + std::to_string(range.total);
  net::ContentRange again;
  if (!net::ParseContentRange(written, &again) || again.first != range.first || again.last != range.last ||
      again.total != range.total) {
    std::abort();
  }
  return 0;
}
