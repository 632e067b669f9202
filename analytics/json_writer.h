// The JSON text of an event record as the collector reads it: one line, no spaces, members in
// byte-wise key order.
#ifndef ANALYTICS_JSON_WRITER_H_
#define ANALYTICS_JSON_WRITER_H_

#include <cstdint>
#include <string>

#include "analytics/object_node.h"

namespace event_analytics {
namespace utils {

std::string ToJson(const ObjectNode& node);

// Appends `text` as a JSON string (quotes included).
void AppendJsonString(const std::string& text, std::string* out);
// "YYYY-MM-DD hh:mm:ss.mmm" in local time, without quotes.
std::string FormatLocalDateTime(int64_t seconds, int milliseconds);

}  // namespace utils
}  // namespace event_analytics

#endif  // ANALYTICS_JSON_WRITER_H_
