#include "analytics/event_tracker.h"

#include <memory>

#include "analytics/diagnostics.h"
#include "analytics/property_rules.h"

namespace event_analytics {

EventTracker::EventTracker(const std::string& staging_file, const std::string& server_url,
                           const std::string& distinct_id, bool is_login_id, size_t max_staging_records)
    : consumer_(server_url, staging_file, max_staging_records) {
  super_properties_.SetString("$lib", kLibName);
  super_properties_.SetString("$lib_version", kLibVersion);
  identity_.distinct_id = distinct_id;
  identity_.is_login_id = is_login_id;
}

void EventTracker::RegisterSuperProperties(const PropertiesNode& properties) {
  // Keys go into the JSON text as they are, so a super property must pass the same key rule
  // as an event property.
  PropertiesNode accepted = properties;
  for (const auto& entry : properties.values()) {
    if (!CheckName(entry.first, kPropertyKeyKind)) accepted.Remove(entry.first);
  }
  std::lock_guard<std::mutex> hold(super_lock_);
  super_properties_.Merge(accepted);
}

bool EventTracker::AddEvent(const std::string& action, const std::string& event_name, const PropertiesNode& properties,
                            const std::string& original_id) {
  utils::ObjectNode record;
  EventIdentity identity = identity_;
  identity.original_id = original_id;
  bool built;
  {
    std::lock_guard<std::mutex> hold(super_lock_);
    built = BuildRecord(action, event_name, properties, super_properties_, identity, CurrentTimeMillis(), &record);
  }
  if (!built) return false;
  consumer_.AddRecord(record);
  return true;
}

namespace {

// The one tracker. Callers copy the pointer under the lock and work without it, so a slow
// flush never holds up Track on another loop, and Shutdown cannot pull the tracker from
// under a call in progress (the last holder deletes it).
std::mutex& TrackerLock() {
  static std::mutex lock;
  return lock;
}
std::shared_ptr<EventTracker>& TrackerSlot() {
  static std::shared_ptr<EventTracker> slot;
  return slot;
}
std::shared_ptr<EventTracker> CurrentTracker() {
  std::lock_guard<std::mutex> hold(TrackerLock());
  return TrackerSlot();
}

}  // namespace

bool Init(const std::string& staging_file, const std::string& server_url, const std::string& distinct_id,
          bool is_login_id, size_t max_staging_records) {
  if (!CheckIdLength(distinct_id, kDistinctIdKind)) return false;
  std::lock_guard<std::mutex> hold(TrackerLock());
  if (!TrackerSlot()) {
    TrackerSlot() =
        std::make_shared<EventTracker>(staging_file, server_url, distinct_id, is_login_id, max_staging_records);
  }
  return true;
}

void RegisterSuperProperties(const PropertiesNode& properties) {
  if (std::shared_ptr<EventTracker> tracker = CurrentTracker()) {
    tracker->RegisterSuperProperties(properties);
  }
}

bool Track(const std::string& event_name, const PropertiesNode& properties) {
  std::shared_ptr<EventTracker> tracker = CurrentTracker();
  return tracker && tracker->AddEvent(kTrackAction, event_name, properties, std::string());
}

bool Flush() {
  std::shared_ptr<EventTracker> tracker = CurrentTracker();
  return tracker && tracker->Flush();
}

bool HasTracker() {
  return static_cast<bool>(CurrentTracker());
}

void Shutdown() {
  std::shared_ptr<EventTracker> tracker;
  {
    std::lock_guard<std::mutex> hold(TrackerLock());
    tracker.swap(TrackerSlot());
  }
  // Deleted here, outside the lock, unless a call in progress still holds it.
}

}  // namespace event_analytics
