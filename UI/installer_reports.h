// What the installer reports to the analytics collector: one tracker event "pindle_downloader"
// whose "action" names the step, with at most one more property. Every send is posted to the
// I/O loop and returns at once; a failed send is only logged (debug lines).
#ifndef UI_INSTALLER_REPORTS_H_
#define UI_INSTALLER_REPORTS_H_

#include <string>

#include "analytics/analytics_reporter.h"

namespace installer {

extern const char kTrackerEvent[];  // "pindle_downloader"

// The three steps sent with no extra property.
enum class FixedEvent { kLaunch, kStart, kFinish };
const char* FixedEventAction(FixedEvent event);  // "Downloader_Download_Launch", ..._Start, ..._Finish

// "exit_reason" values of "Downloader_Exit".
namespace exit_reason {
extern const char kAuthority[];        // "Authority"
extern const char kFreeDiskSize[];     // "Freedisksize"
extern const char kCpu[];              // "CPU"
extern const char kNotReady[];         // "32True Color"
extern const char kQuit[];             // "Quit"
extern const char kOperatingSystem[];  // "Operating system": kept as the reason, never sent
}  // namespace exit_reason

// "fail_type" values of "Downloader_Download_Fail".
namespace fail_type {
extern const char kQuit[];         // "Quit"
extern const char kServerError[];  // "Server_Error"
extern const char kNetError[];     // "Net_ERROR"
}  // namespace fail_type

// "error_code" values of "Downloader_Install_Fail" besides the engine installer's exit code.
namespace install_error {
constexpr int kUnpackFailed = 201;
constexpr int kRestartNeeded = 109;
constexpr int kEngineDidNotStart = -1;
}  // namespace install_error

// The super properties handed to the tracker (the reporter adds "product" and "channel_token").
struct TrackerFacts {
  std::string mac_address;   // GetDeviceId()
  std::string app_version;   // player_version
  std::string os_version;    // GetOsName()
  std::string language;      // the language code, "lan_en"
  std::string install_kind;  // "normal", or "upgrade" with "-auto"
};

// Sets the tracker up with the super properties ("$os" is "windows"). On failure logs
// "analytics sdk init failed!" and returns false; later sends then fail and are logged.
bool InitTracker(AnalyticsReporter* reporter, const TrackerFacts& facts);

// Posts a fixed event; a failed send logs "<action> failed.".
bool PostFixedEvent(AnalyticsReporter* reporter, FixedEvent event);

// Posts the tracker event with a copy of `properties`, so the caller's may go at once; a failed
// send logs "DoLogger failed.".
bool DoLogger(AnalyticsReporter* reporter, const std::string& event_name,
              const AnalyticsReporter::Properties& properties);

// The properties of the three report events.
AnalyticsReporter::Properties ExitProperties(const std::string& reason);
AnalyticsReporter::Properties DownloadFailProperties(const std::string& type);
AnalyticsReporter::Properties InstallFailProperties(int code);

// "Downloader_Exit", "Downloader_Download_Fail" and "Downloader_Install_Fail" through DoLogger.
bool ReportExit(AnalyticsReporter* reporter, const std::string& reason);
bool ReportDownloadFail(AnalyticsReporter* reporter, const std::string& type);
bool ReportInstallFail(AnalyticsReporter* reporter, int code);

}  // namespace installer

#endif  // UI_INSTALLER_REPORTS_H_
