// The event tracker: checks events, stamps them and hands them to the record consumer. There
// is at most one per process, reached through the functions below.
#ifndef ANALYTICS_EVENT_TRACKER_H_
#define ANALYTICS_EVENT_TRACKER_H_

#include <cstddef>
#include <mutex>
#include <string>

#include "analytics/object_node.h"
#include "analytics/record_builder.h"
#include "analytics/record_consumer.h"

namespace event_analytics {

class EventTracker {
 public:
  EventTracker(const std::string& staging_file, const std::string& server_url, const std::string& distinct_id,
               bool is_login_id, size_t max_staging_records);
  EventTracker(const EventTracker&) = delete;
  EventTracker& operator=(const EventTracker&) = delete;
  // Stages what is unsent (the consumer closes).
  ~EventTracker() = default;

  void RegisterSuperProperties(const PropertiesNode& properties);
  // Builds the record for `action` and queues it; false when the event was dropped.
  bool AddEvent(const std::string& action, const std::string& event_name, const PropertiesNode& properties,
                const std::string& original_id);
  bool Flush() { return consumer_.Flush(); }
  RecordConsumer& consumer() { return consumer_; }

 private:
  std::mutex super_lock_;
  PropertiesNode super_properties_;
  EventIdentity identity_;
  RecordConsumer consumer_;
};

// Makes the tracker unless one exists (true then as well). False, with the reason on the
// standard error stream, when the distinct id is empty or longer than 255 bytes.
bool Init(const std::string& staging_file, const std::string& server_url, const std::string& distinct_id,
          bool is_login_id, size_t max_staging_records);
// Merges the given properties into those sent with every event (later values win).
void RegisterSuperProperties(const PropertiesNode& properties);
// Records one "track" event. False when there is no tracker or the event was dropped.
bool Track(const std::string& event_name, const PropertiesNode& properties);
// Sends everything queued; false when there is no tracker or a request failed.
bool Flush();
// Deletes the tracker; its consumer stages what is unsent. Later calls record nothing.
void Shutdown();
// True while a tracker exists (from a successful Init to Shutdown). The first call of any of
// these functions makes the process-wide slot that holds the tracker; an object that calls
// Shutdown from its destructor at process exit calls this first from its constructor, so the
// slot is destroyed after it.
bool HasTracker();

}  // namespace event_analytics

#endif  // ANALYTICS_EVENT_TRACKER_H_
