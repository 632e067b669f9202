// Turns one event (action, name, properties) into the record the collector expects: stamped
// with time, identity and library information.
#ifndef ANALYTICS_RECORD_BUILDER_H_
#define ANALYTICS_RECORD_BUILDER_H_

#include <cstdint>
#include <string>

#include "analytics/object_node.h"

namespace event_analytics {

extern const char kLibName[];       // "cpp"
extern const char kLibVersion[];    // "0.7"
extern const char kTrackAction[];   // "track"
extern const char kSignUpAction[];  // "track_signup"

struct EventIdentity {
  std::string distinct_id;
  bool is_login_id = false;
  std::string original_id;  // used by "track_signup" only
};

// Builds the record into `record` (which is cleared first). Returns false, with the reason on
// the standard error stream, when the event must be dropped. `now_ms` is the time used when the
// event has no "$time" property.
bool BuildRecord(const std::string& action, const std::string& event_name, const PropertiesNode& properties,
                 const PropertiesNode& super_properties, const EventIdentity& identity, int64_t now_ms,
                 utils::ObjectNode* record);

// Milliseconds since 1970-01-01 UTC.
int64_t CurrentTimeMillis();

}  // namespace event_analytics

#endif  // ANALYTICS_RECORD_BUILDER_H_
