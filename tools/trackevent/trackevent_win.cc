// trackevent.exe COLLECTOR_URL STAGING_FILE EVENT [key=value ...]
//
// Sends one event the way the installer sends its last one: start-up fills the shared state
// from the built-in custom settings, the saved or system language and the device id; the
// reporter is set up with the installer's preset properties, tracks the event (which flushes
// the queue and any staged records) and is shut down, which stages what is left unsent.
//
// COLLECTOR_URL is the collector's address with its scheme ("http://127.0.0.1:18081"; a full
// upload address is accepted as well). Property values are sent as UTF-8.
// Exit codes: 0 the event was recorded and everything queued was delivered; 1 it was not
// (dropped by the rules, or the collector did not take it: it is then in STAGING_FILE);
// 2 the command line is wrong (nothing is sent).
#include <windows.h>

#include <cstdio>
#include <string>

#include "analytics/analytics_reporter.h"
#include "analytics/installer_presets.h"
#include "app/startup.h"
#include "net/curl_global.h"
#include "runtime/at_exit.h"
#include "runtime/text_encoding.h"

namespace {

const int kDelivered = 0;
const int kNotDelivered = 1;
const int kUsage = 2;

int Usage(const char* problem) {
  std::fprintf(stderr,
               "trackevent: %s\n"
               "usage: trackevent COLLECTOR_URL STAGING_FILE EVENT [key=value ...]\n",
               problem);
  return kUsage;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Before any thread: events are sent over libcurl on the reporter's loop.
  net::CurlGlobalScope curl_global;
  base::AtExitManager at_exit;
  if (argc < 4) return Usage("too few arguments");
  const std::string collector = base::WideToUtf8(argv[1]);
  // The staging path is narrow UTF-8, as the installer's is.
  const std::string staging_file = base::WideToUtf8(argv[2]);
  const std::string event_name = base::WideToUtf8(argv[3]);
  if (collector.empty()) return Usage("empty COLLECTOR_URL");
  if (staging_file.empty()) return Usage("empty STAGING_FILE");
  AnalyticsReporter::Properties properties;
  for (int i = 4; i < argc; ++i) {
    const std::string argument = base::WideToUtf8(argv[i]);
    const size_t equals = argument.find('=');
    if (equals == std::string::npos) return Usage("a property is not key=value");
    if (equals == 0) return Usage("a property has an empty key");
    // A repeated key keeps its last value, as a later value replaces an earlier one.
    properties[argument.substr(0, equals)] = argument.substr(equals + 1);
  }

  app::ReadCustomSettings();
  app::ChooseLanguageAtStartup();
  app::StoreDeviceIdAndToken();

  AnalyticsReporter& reporter = AnalyticsReporter::Instance();
  reporter.SetCollector(collector);
  reporter.SetStagingFile(staging_file);
  if (!reporter.Init()) {
    std::fprintf(stderr, "trackevent: the tracker could not be set up\n");
    return kNotDelivered;
  }
  SetInstallerPresetProperties(&reporter);
  const bool tracked = reporter.Track(event_name, properties);
  reporter.Shutdown();
  if (!tracked) {
    std::fprintf(stderr, "trackevent: the event was not recorded and delivered\n");
    return kNotDelivered;
  }
  return kDelivered;
}
