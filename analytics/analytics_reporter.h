// The installer's front to analytics: one process-wide reporter that knows the installer's
// fixed (preset) properties, sets the event tracker up on first need and sends every event
// at once.
//
//   AnalyticsReporter& reporter = AnalyticsReporter::Instance();
//   if (reporter.Init()) reporter.SetPresetProperties(mac, version, "windows", os, lan, kind);
//   reporter.PostTrack("pindle_downloader", {{"action", "Downloader_Download_Start"}}, ...);
//   ...
//   reporter.Track("pindle_downloader", {{"action", "Downloader_Install_Finish"}});  // file loop
//   reporter.Shutdown();
#ifndef ANALYTICS_ANALYTICS_REPORTER_H_
#define ANALYTICS_ANALYTICS_REPORTER_H_

#include <cstddef>
#include <map>
#include <memory>
#include <string>

#include "analytics/distinct_id.h"
#include "runtime/lock.h"

class AnalyticsReporter {
 public:
  using Properties = std::map<std::string, std::string>;
  // Called on the I/O loop after a posted Track with its result and the caller's `context`
  // unchanged (the caller logs its own failure line from it).
  typedef void (*TrackDoneCallback)(const std::string& context, bool tracked);

  // The queue and staging limit the installer gives the tracker.
  static constexpr size_t kRecordLimit = 200;
  static const char kStagingFileName[];  // "staging_file"

  // The reporter of the process: made on first use, destroyed at process exit.
  static AnalyticsReporter& Instance();

  // The installer uses Instance(); tests make their own, one at a time, because the event
  // tracker under every reporter is the one of the process.
  AnalyticsReporter();
  // Shuts down (see Shutdown), so records still queued at exit reach the staging file even
  // on an exit path that sent no final event.
  ~AnalyticsReporter();
  AnalyticsReporter(const AnalyticsReporter&) = delete;
  AnalyticsReporter& operator=(const AnalyticsReporter&) = delete;

  // Where the next Init points the tracker; a running tracker keeps what it was given.
  // The collector's address with its scheme, "http://host:port" (the upload path is added;
  // a full upload address is taken as it is). Default: the environment variable
  // PINDLE_COLLECTOR_HOST when it names a service on this machine, else the deployment value.
  void SetCollector(const std::string& collector);
  // The staging file's path, narrow UTF-8. Default: the product data folder
  // + "\staging_file".
  void SetStagingFile(const std::string& path);
  // Where the distinct id is kept. Default: NewDefaultIdStore().
  void SetIdStore(std::unique_ptr<event_analytics::DistinctIdStore> store);

  // Sets the tracker up: staging file, upload address, the distinct id (made once and kept),
  // not a login id, 200 records. True also when it was set up before; false when it cannot
  // be (no staging folder known) or after Shutdown.
  bool Init();
  // Fills the preset properties sent with every event, in place of earlier ones; "product"
  // and "channel_token" (the effective channel token) are added here.
  void SetPresetProperties(const std::string& mac_address, const std::string& app_version, const std::string& os,
                           const std::string& os_version, const std::string& language, const std::string& type);
  // Records one event with `properties` (in map order) and the preset properties on top
  // (they win over an event property of the same key), then sends everything queued.
  // Sets the tracker up first when needed. True only when the event was recorded and
  // every queued record was then delivered. After Shutdown: false, nothing recorded.
  bool Track(const std::string& event_name, const Properties& properties);
  // Posts Track to the I/O loop and returns at once; `done` (may be null) then runs there.
  // False, and nothing is sent, when no I/O loop is registered. The reporter must outlive
  // the loop's pending tasks, which the process-wide one does.
  bool PostTrack(const std::string& event_name, const Properties& properties, TrackDoneCallback done,
                 const std::string& context);
  // Deletes the tracker; its consumer stages what is unsent. Final: later Init and Track
  // calls do nothing and return false.
  void Shutdown();

  bool initialised() const;
  bool shut_down() const;
  // The id the tracker was given (empty before a successful Init).
  std::string distinct_id() const;

 private:
  struct PostedEvent {
    std::string event_name;
    Properties properties;
    TrackDoneCallback done;
    std::string context;
  };

  bool InitLocked();
  void RunPostedTrack(const PostedEvent& event);

  // Guards every member below. Never held while an event is recorded or sent, so a slow
  // upload on one loop does not hold up a Track on another.
  mutable base::Lock lock_;
  Properties preset_properties_;
  bool initialised_ = false;
  bool shut_down_ = false;
  std::string collector_;
  std::string staging_file_;
  std::string distinct_id_;
  std::unique_ptr<event_analytics::DistinctIdStore> id_store_;
};

#endif  // ANALYTICS_ANALYTICS_REPORTER_H_
