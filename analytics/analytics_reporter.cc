#include "analytics/analytics_reporter.h"

#include "analytics/collector_url.h"
#include "app/local_service.h"
#include "analytics/diagnostics.h"
#include "analytics/event_tracker.h"
#include "analytics/object_node.h"
#include "app/app_config.h"
#include "app/global.h"
#include "app/startup.h"
#include "deployment.h"
#include "runtime/message_loop.h"
#include "runtime/task.h"
#include "runtime/text_encoding.h"
#include "system/random_id.h"

namespace {

#ifdef _WIN32
const char kPathSeparator[] = "\\";
#else
const char kPathSeparator[] = "/";
#endif

// The staging file in the product data folder, or empty when no such folder is known (a
// staging file at the root of the current drive would be worse than none).
std::string DefaultStagingFile() {
  std::wstring folder = app::Global().product_data_folder;
  if (folder.empty() && !app::LocalAppDataFolder().empty()) {
    folder = app::GetAppConfig()->ProductDataFolder();
  }
  if (folder.empty()) return std::string();
  return base::WideToUtf8(folder) + kPathSeparator + AnalyticsReporter::kStagingFileName;
}

std::string MakeRandomId() {
  return NewRandomId();
}

}  // namespace

constexpr size_t AnalyticsReporter::kRecordLimit;
const char AnalyticsReporter::kStagingFileName[] = "staging_file";

AnalyticsReporter& AnalyticsReporter::Instance() {
  static AnalyticsReporter reporter;
  return reporter;
}

AnalyticsReporter::AnalyticsReporter()
    : collector_(app::LocalServiceOr("PINDLE_COLLECTOR_HOST", PINDLE_COLLECTOR_HOST)) {
  // Makes the tracker's process-wide slot before this object is complete, so that at exit
  // the slot is destroyed after the process-wide reporter, whose destructor still needs it.
  event_analytics::HasTracker();
}

AnalyticsReporter::~AnalyticsReporter() {
  Shutdown();
}

void AnalyticsReporter::SetCollector(const std::string& collector) {
  base::AutoLock hold(lock_);
  collector_ = collector;
}

void AnalyticsReporter::SetStagingFile(const std::string& path) {
  base::AutoLock hold(lock_);
  staging_file_ = path;
}

void AnalyticsReporter::SetIdStore(std::unique_ptr<event_analytics::DistinctIdStore> store) {
  base::AutoLock hold(lock_);
  id_store_ = std::move(store);
}

bool AnalyticsReporter::Init() {
  base::AutoLock hold(lock_);
  return InitLocked();
}

bool AnalyticsReporter::InitLocked() {
  if (shut_down_) return false;
  if (initialised_) return true;
  const std::string staging_file = staging_file_.empty() ? DefaultStagingFile() : staging_file_;
  if (staging_file.empty()) {
    event_analytics::WriteDiagnostic("No folder for the staging file; analytics stays off.");
    return false;
  }
  const std::string server_url = event_analytics::CollectorUploadUrl(collector_);
  if (!id_store_) id_store_ = event_analytics::NewDefaultIdStore();
  const std::string distinct_id = event_analytics::LoadOrCreateDistinctId(id_store_.get(), &MakeRandomId);
  initialised_ = event_analytics::Init(staging_file, server_url, distinct_id, false, kRecordLimit);
  if (initialised_) distinct_id_ = distinct_id;
  return initialised_;
}

void AnalyticsReporter::SetPresetProperties(const std::string& mac_address, const std::string& app_version,
                                            const std::string& os, const std::string& os_version,
                                            const std::string& language, const std::string& type) {
  Properties presets;
  presets["mac_address"] = mac_address;
  presets["$app_version"] = app_version;
  presets["$os"] = os;
  presets["os_version"] = os_version;
  presets["language"] = language;
  presets["product"] = "Pindle";
  presets["type"] = type;
  presets["channel_token"] = app::EffectiveChannelToken();
  base::AutoLock hold(lock_);
  preset_properties_.swap(presets);
}

bool AnalyticsReporter::Track(const std::string& event_name, const Properties& properties) {
  Properties presets;
  {
    base::AutoLock hold(lock_);
    if (shut_down_ || !InitLocked()) return false;
    presets = preset_properties_;
  }
  event_analytics::PropertiesNode product;
  product.SetString("pindle_product_name", "Pindle");
  event_analytics::RegisterSuperProperties(product);

  // A value the string rule refuses is left out; the event still goes.
  event_analytics::PropertiesNode node;
  for (const auto& entry : properties) node.SetString(entry.first, entry.second);
  for (const auto& entry : presets) node.SetString(entry.first, entry.second);
  const bool recorded = event_analytics::Track(event_name, node);
  // Flushed even when this event was dropped: older records may be waiting. A dropped event
  // is still a failure, whatever the flush did.
  const bool delivered = event_analytics::Flush();
  return recorded && delivered;
}

bool AnalyticsReporter::PostTrack(const std::string& event_name, const Properties& properties, TrackDoneCallback done,
                                  const std::string& context) {
  base::MessageLoop* io_loop = base::GetThreadLoop(base::kIoLoop);
  if (!io_loop) return false;
  PostedEvent event{event_name, properties, done, context};
  io_loop->PostTask(base::NewMethodTask(new base::UnretainedWrapper<AnalyticsReporter>(this),
                                        &AnalyticsReporter::RunPostedTrack, std::move(event)));
  return true;
}

void AnalyticsReporter::RunPostedTrack(const PostedEvent& event) {
  const bool tracked = Track(event.event_name, event.properties);
  if (event.done) event.done(event.context, tracked);
}

void AnalyticsReporter::Shutdown() {
  base::AutoLock hold(lock_);
  shut_down_ = true;
  // Once the slot is empty no Track can reach the tracker; the last call still using it
  // deletes it, and its consumer then stages what is unsent.
  event_analytics::Shutdown();
}

bool AnalyticsReporter::initialised() const {
  base::AutoLock hold(lock_);
  return initialised_;
}

bool AnalyticsReporter::shut_down() const {
  base::AutoLock hold(lock_);
  return shut_down_;
}

std::string AnalyticsReporter::distinct_id() const {
  base::AutoLock hold(lock_);
  return distinct_id_;
}
