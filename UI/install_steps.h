// The install steps after the download: the package check, the unpacking, the product's two
// installers, the files, the registry, the shortcut, the logon value and the product's start.
// Each is a plain call; the controller owns the loops and the window, and learns each outcome
// through InstallReport.
//
// How the controller wires them (F = file loop, U = UI loop):
//   F  CheckPackageDigest       false: the package is gone and "Server_Error" was reported;
//                               ShowFatalMessage("ServiceError") already asked for, stop.
//   F  ExtractPackageStep       post its result to U.
//   U  OnExtractResult          true: post RunInstallers to F. false: "201" and "Fileoccupied"
//                               were reported, stop.
//   F  RunInstallers            kStopped: the engine installer failed, its code and
//                               "Fileoccupied" were reported, stop. Otherwise remember
//                               `reboot_needed`, then FinishInstallFiles on F, then post
//                               FinishInstall to U.
//   U  FinishInstall            then stage := kStageComplete, progress 0.999, the complete
//                               panel; with reboot needed the restart question, whose answer
//                               goes to AnswerRestartQuestion with the SystemRestart seam.
//   U  StartProduct             "id_btn_usenow".
//   F  RemoveOldShortcuts       the install click over an earlier installation.
// InstallReport's calls come on the loop of the step that makes them; the controller posts the
// popup to U itself.
#ifndef PINDLE_UI_INSTALL_STEPS_H_
#define PINDLE_UI_INSTALL_STEPS_H_

#include <string>
#include <vector>

#include "UI/install_rules.h"

namespace app {
class CGlobal;
}
class ExtractEnvironment;

namespace installer {

// Everything the steps read, copied on the UI thread before a step is posted, so the file loop
// never reads the shared state itself.
struct InstallSettings {
  std::wstring install_folder;
  std::wstring package_path;
  std::wstring product_data_folder;
  std::wstring desktop_folder;    // CSIDL_DESKTOPDIRECTORY
  std::wstring roaming_app_data;  // CSIDL_APPDATA
  bool windows_is_64bit = false;
  bool debug = false;
  int os_version_code = 0;
  std::wstring language_code;
  std::string player_version;
  std::string rom_version;
  std::wstring product_name;
  std::wstring product_exe;
  std::wstring product_uninstaller;
  std::wstring desktop_shortcut_name;
  std::wstring display_version;  // the installer's own file version
  std::wstring display_name;     // "Pindle"
  std::wstring publisher;
  std::string package_md5;        // "-md5:" or the download answer's; may be empty or malformed
  std::wstring start_parameters;  // appended to the product's command line
  // Controller fields.
  std::string installed_version;  // of an earlier installation, empty when none
  bool overlay_install = false;
  std::vector<std::wstring> old_shortcut_names;
  int mirror_time_limit_ms = kMirrorTimeLimitMs;
};

// The settings as the shared state holds them, with the folders asked of the shell now; the
// controller then sets its own fields.
InstallSettings InstallSettingsFromGlobal(const app::CGlobal& global);

class InstallReport {
 public:
  virtual ~InstallReport() = default;
  // "Downloader_Install_Fail" with this error_code.
  virtual void ReportInstallFail(const std::string& error_code) = 0;
  // "Downloader_Download_Fail" with this fail_type.
  virtual void ReportDownloadFail(const std::string& fail_type) = 0;
  // The installer ends with the prompt text of `prompt_key` in a kind-1 popup.
  virtual void ShowFatalMessage(const std::string& prompt_key) = 0;
  // Both installers have run: install done, the progress bar to 1.0.
  virtual void InstallersDone() = 0;
  // "Downloader_Install_Finish", sent and waited for on the file loop, then the tracker's
  // shutdown. False when the tracker did not take it.
  virtual bool TrackInstallFinish() = 0;
};

// File loop, before unpacking. True when the package may be unpacked (digest matching, or none
// known). On a mismatch the package file is deleted, both digests are logged, "Server_Error"
// and "ServiceError" are reported, and the result is false. A package that cannot be read
// for hashing counts as a mismatch: what would be unpacked is not what the server described.
bool CheckPackageDigest(const InstallSettings& settings, InstallReport& report);

// File loop: the landed extraction step (stop the product, in process, 7za, the locked-file
// judgement, the installer's own file). True when the package is unpacked.
bool ExtractPackageStep(ExtractEnvironment& env, const InstallSettings& settings);

// UI loop. True: conf.ini has the language and the installers may run. False: "201" and
// "Fileoccupied" were reported.
bool OnExtractResult(bool success, const InstallSettings& settings, InstallReport& report);

struct InstallersResult {
  bool stopped = false;        // the engine installer failed: no later step runs
  bool reboot_needed = false;  // the engine installer asked for a restart (109)
};
// File loop: the mirror installer (logged only, given up at `mirror_time_limit_ms` and ended
// then), then the engine installer (no limit), each deleted after its run as the outcome says.
InstallersResult RunInstallers(const InstallSettings& settings, InstallReport& report);

// File loop, after RunInstallers: "Downloader_Install_Finish", 7za.exe deleted, conf.ini
// version, file access for every user (from Windows 7 on), the firewall rule.
void FinishInstallFiles(const InstallSettings& settings, InstallReport& report);

// UI loop: the registry values, the compatibility-mode value removed, the desktop shortcut and
// the Run value by the autorun rule. Every failure is logged and the installation goes on.
void FinishInstall(const InstallSettings& settings);

// File loop: the product's taskbar pin, and the desktop shortcuts to the main program (with
// `only_old_names`, only those carrying one of the old shortcut names).
void RemoveOldShortcuts(const InstallSettings& settings, bool only_old_names);

// "id_btn_usenow": starts the main program, quoted, with the start parameters, in the install
// folder. The result serves the log and tests only; the installer closes either way.
bool StartProduct(const InstallSettings& settings);

// The machine's restart, the one thing no test may run: tests give AnswerRestartQuestion a
// stand-in.
class RestartSeam {
 public:
  virtual ~RestartSeam() = default;
  virtual void Restart() = 0;
};
// "cmd.exe /C shutdown /r /t 0", hidden; its outcome is not examined.
class SystemRestart : public RestartSeam {
 public:
  void Restart() override;
};
// The restart question's popup result: "Restart" (1) restarts through `seam`, anything else
// does nothing. True when the restart was asked for.
bool AnswerRestartQuestion(int popup_result, RestartSeam& seam);

}  // namespace installer

#endif  // PINDLE_UI_INSTALL_STEPS_H_
