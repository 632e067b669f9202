// Fuzzes the string rule of property values against an independent decoder: the rule checks
// byte ranges per lead byte, the reference decodes code points and judges their values.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "analytics/json_writer.h"
#include "analytics/property_rules.h"

namespace {

bool ReferenceAccepts(const uint8_t* data, size_t size) {
  size_t i = 0;
  while (i < size) {
    const uint8_t lead = data[i];
    if (lead < 0x80) {
      if (lead != 0x09 && lead != 0x0A && lead != 0x0D && (lead < 0x20 || lead == 0x7F)) {
        return false;
      }
      ++i;
      continue;
    }
    size_t length;
    uint32_t code;
    uint32_t minimum;
    if ((lead & 0xE0) == 0xC0) {
      length = 2, code = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3, code = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4, code = lead & 0x07, minimum = 0x10000;
    } else {
      return false;
    }
    if (i + length > size) return false;
    for (size_t k = 1; k < length; ++k) {
      if ((data[i + k] & 0xC0) != 0x80) return false;
      code = (code << 6) | (data[i + k] & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  const bool accepted = event_analytics::IsAcceptedText(text, size);
  if (accepted != ReferenceAccepts(data, size)) std::abort();
  if (accepted) {
    // Accepted text must come out of the JSON writer as one line without raw control bytes.
    std::string json;
    event_analytics::utils::AppendJsonString(std::string(text, size), &json);
    for (char ch : json) {
      if (static_cast<unsigned char>(ch) < 0x20) std::abort();
    }
  }
  return 0;
}
