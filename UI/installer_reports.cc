#include "UI/installer_reports.h"

#include "app/global.h"
#include "log/log_assist.h"

namespace installer {

const char kTrackerEvent[] = "pindle_downloader";

namespace exit_reason {
const char kAuthority[] = "Authority";
const char kFreeDiskSize[] = "Freedisksize";
const char kCpu[] = "CPU";
const char kNotReady[] = "32True Color";
const char kQuit[] = "Quit";
const char kOperatingSystem[] = "Operating system";
}  // namespace exit_reason

namespace fail_type {
const char kQuit[] = "Quit";
const char kServerError[] = "Server_Error";
const char kNetError[] = "Net_ERROR";
}  // namespace fail_type

namespace {

const char kLogSource[] = "UI\\UIMainWindowEx.cpp";
const char kDoLoggerContext[] = "DoLogger";

// Runs on the I/O loop after the send; `context` names the line to log.
void OnTracked(const std::string& context, bool tracked) {
  if (tracked) return;
  SIMLOG(kLogSource, app::Global().debug, "%s failed.", context.c_str());
}

}  // namespace

const char* FixedEventAction(FixedEvent event) {
  switch (event) {
    case FixedEvent::kLaunch: return "Downloader_Download_Launch";
    case FixedEvent::kStart: return "Downloader_Download_Start";
    case FixedEvent::kFinish: return "Downloader_Download_Finish";
  }
  return "";
}

bool InitTracker(AnalyticsReporter* reporter, const TrackerFacts& facts) {
  if (!reporter->Init()) {
    SIMLOG(kLogSource, true, "analytics sdk init failed!");
    return false;
  }
  reporter->SetPresetProperties(facts.mac_address, facts.app_version, "windows", facts.os_version, facts.language,
                                facts.install_kind);
  return true;
}

bool PostFixedEvent(AnalyticsReporter* reporter, FixedEvent event) {
  const std::string action = FixedEventAction(event);
  return reporter->PostTrack(kTrackerEvent, {{"action", action}}, &OnTracked, action);
}

bool DoLogger(AnalyticsReporter* reporter, const std::string& event_name,
              const AnalyticsReporter::Properties& properties) {
  return reporter->PostTrack(event_name, properties, &OnTracked, kDoLoggerContext);
}

AnalyticsReporter::Properties ExitProperties(const std::string& reason) {
  return {{"action", "Downloader_Exit"}, {"exit_reason", reason}};
}

AnalyticsReporter::Properties DownloadFailProperties(const std::string& type) {
  return {{"action", "Downloader_Download_Fail"}, {"fail_type", type}};
}

AnalyticsReporter::Properties InstallFailProperties(int code) {
  return {{"action", "Downloader_Install_Fail"}, {"error_code", std::to_string(code)}};
}

bool ReportExit(AnalyticsReporter* reporter, const std::string& reason) {
  return DoLogger(reporter, kTrackerEvent, ExitProperties(reason));
}

bool ReportDownloadFail(AnalyticsReporter* reporter, const std::string& type) {
  return DoLogger(reporter, kTrackerEvent, DownloadFailProperties(type));
}

bool ReportInstallFail(AnalyticsReporter* reporter, int code) {
  return DoLogger(reporter, kTrackerEvent, InstallFailProperties(code));
}

}  // namespace installer
