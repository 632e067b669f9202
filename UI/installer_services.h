// The program's InstallerServices: prompt texts of the chosen language, the reports through the
// process's reporter, the drive and path questions of the real machine, the release folder and
// the backup package on the file loop, the package download of the window's controller.
//
//   ProgramServices services(&app::Global(), download, [this] { return NewStartDownloadTask(); });
//   flow_.Bind(this, &services);
#ifndef UI_INSTALLER_SERVICES_H_
#define UI_INSTALLER_SERVICES_H_

#include <functional>
#include <string>

#include "UI/install_steps.h"
#include "UI/installer_flow.h"
#include "app/global.h"

class AnalyticsReporter;
class DownloadController;
namespace base {
class Task;
}

namespace installer {

// The prompt text under `key` ("Repair", "FREEDISK1", ...); empty for a key the installer does
// not read. Platform-free.
std::wstring PromptTextOf(const app::CGlobal& global, const char* key);

// The backup-package record: HKEY_CLASSES_ROOT\RegNodMore.01lx, values "backup" and "backupsize".
extern const wchar_t kBackupPackageKey[];

class ProgramServices : public InstallerServices {
 public:
  // `download` (may be null until the window has made it) is the window's controller;
  // `start_download_task` makes the UI-loop task that runs the flow's StartDownload (posted back
  // after the old shortcuts are handled on the file loop).
  ProgramServices(app::CGlobal* global, DownloadController* download, std::function<base::Task*()> start_download_task);
  void set_download(DownloadController* download) { download_ = download; }
  // The install settings with the controller's own fields, copied on the UI loop for the
  // shortcut removal; without a source the removal is skipped (logged).
  void set_install_settings_source(std::function<InstallSettings()> source) { settings_source_ = std::move(source); }
  // The window's install steps, run by StartInstallSteps.
  void set_install_steps(std::function<void()> start) { install_steps_ = std::move(start); }
  // The reporter of every report (null: the process's); it outlives the worker loops.
  void set_reporter(AnalyticsReporter* reporter) { reporter_ = reporter; }

  std::wstring PromptText(const char* key) override;
  void ReportExit(const char* reason) override;
  void ReportDownloadFail(const char* type) override;
  void PostFixedEvent(FixedEvent event) override;
  uint64_t FreeBytesOfDrive(const std::wstring& drive) override;
  bool IsInstallPathWrong(const std::wstring& text) override;
  bool ValidateInstallPath(const std::wstring& path) override;
  bool IsPackageUrlKnown() override;
  void CombineRealInstallPath(const std::wstring& install_folder) override;
  void DeleteBackupPackage() override;
  void RemoveOldShortcuts(bool remove_data, bool then_start_download) override;
  void StartPackageDownload() override;
  void StopPackageDownload() override;
  void QueueLeftoverRemoval() override;
  void StartInstallSteps() override;

 private:
  AnalyticsReporter* Reporter() const;

  app::CGlobal* global_;
  DownloadController* download_;
  std::function<base::Task*()> start_download_task_;
  std::function<InstallSettings()> settings_source_;
  std::function<void()> install_steps_;
  AnalyticsReporter* reporter_ = nullptr;
};

// File loop: "\" appended to the folder and its folders created; false when that fails (logged).
bool CreateReleaseFolder(const std::wstring& install_folder);
// Deletes the file the backup-package record names when both values are there and the file
// can be sized. True when a file was deleted.
bool DeleteRecordedBackupPackage();

}  // namespace installer

#endif  // UI_INSTALLER_SERVICES_H_
