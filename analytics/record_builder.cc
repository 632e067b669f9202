#include "analytics/record_builder.h"

#include <chrono>

#include "analytics/diagnostics.h"
#include "analytics/property_rules.h"

namespace event_analytics {

const char kLibName[] = "cpp";
const char kLibVersion[] = "0.7";
const char kTrackAction[] = "track";
const char kSignUpAction[] = "track_signup";

namespace {
const char kTimeKey[] = "$time";
const char kProjectKey[] = "$project";
}  // namespace

int64_t CurrentTimeMillis() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

bool BuildRecord(const std::string& action, const std::string& event_name, const PropertiesNode& properties,
                 const PropertiesNode& super_properties, const EventIdentity& identity, int64_t now_ms,
                 utils::ObjectNode* record) {
  using utils::ObjectNode;
  for (const auto& entry : properties.values()) {
    if (!CheckName(entry.first, kPropertyKeyKind)) return false;
    if (entry.first == kTimeKey && entry.second.type() != ObjectNode::kDateTime) {
      WriteDiagnostic("The property '$time' should be DateTime type.");
      return false;
    }
    if (entry.first == kProjectKey && entry.second.type() != ObjectNode::kString) {
      WriteDiagnostic("The property '$project' should be String type.");
      return false;
    }
  }
  if (action == kTrackAction) {
    if (!CheckName(event_name, kEventNameKind)) return false;
  } else if (action == kSignUpAction) {
    if (!CheckIdLength(identity.original_id, kOriginalIdKind)) return false;
  }

  // Super properties go first so that the event's own values win.
  ObjectNode merged;
  if (action.find(kTrackAction) != std::string::npos) merged.Merge(super_properties);
  merged.Merge(properties);

  int64_t time_ms = now_ms;
  if (const ObjectNode::Value* when = merged.Find(kTimeKey)) {
    if (when->type() == ObjectNode::kDateTime) {
      const ObjectNode::DateTime parts = when->date_time();
      time_ms = parts.seconds * 1000 + parts.milliseconds;
    }
    merged.Remove(kTimeKey);
  }
  std::string project;
  if (const ObjectNode::Value* value = merged.Find(kProjectKey)) {
    if (value->type() == ObjectNode::kString) project = value->string();
    merged.Remove(kProjectKey);
  }
  if (identity.is_login_id) merged.SetBool("$is_login_id", true);

  ObjectNode lib;
  lib.SetString("$lib", kLibName);
  lib.SetString("$lib_version", kLibVersion);
  lib.SetString("$lib_method", "code");

  *record = ObjectNode();
  record->SetString("type", action);
  record->SetNumber("time", time_ms);
  record->SetString("distinct_id", identity.distinct_id);
  record->SetObject("properties", merged);
  record->SetObject("lib", lib);
  if (!project.empty()) record->SetString("project", project);
  record->SetString("event", event_name);
  if (action == kSignUpAction) record->SetString("original_id", identity.original_id);
  return true;
}

}  // namespace event_analytics
