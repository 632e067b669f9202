#include <windows.h>

#include <memory>

#include "UI/install_system.h"
#include "UI/installer_services.h"
#include "analytics/analytics_reporter.h"
#include "download/download_controller.h"
#include "log/log_assist.h"
#include "runtime/message_loop.h"
#include "runtime/task.h"
#include "runtime/text_encoding.h"
#include "system/file_delete.h"
#include "system/file_util.h"
#include "system/registry.h"

namespace installer {
namespace {

const char kLogSource[] = "UI\\UIMainWindowEx.cpp";

struct ReleaseFolderStep {
  std::wstring install_folder;
  bool debug;
};

void CreateReleaseFolderTask(ReleaseFolderStep step) {
  if (CreateReleaseFolder(step.install_folder)) {
    SIMLOG(kLogSource, step.debug, "%s",
           base::WideToAnsi(L"Create release path：" + step.install_folder + L"\\").c_str());
  }
}

void RemoveFolderTask(std::wstring folder) {
  DeleteFolderTree(folder);
}

// The posted start is owned until it is handed to the UI loop, so a step the file loop drops at
// exit deletes it (and releases the window it holds).
struct ShortcutStep {
  ShortcutStep() = default;
  ShortcutStep(const ShortcutStep&) = delete;
  ShortcutStep& operator=(const ShortcutStep&) = delete;
  ~ShortcutStep() {
    if (start_download) base::Task::Drop(start_download);
  }
  bool remove_data = false;
  bool have_settings = false;
  InstallSettings settings;
  base::Task* start_download = nullptr;
};

void ShortcutsThenPost(std::shared_ptr<ShortcutStep> step) {
  SIMLOG(kLogSource, true, "RemoveOldShortcuts(%d)", step->remove_data ? 1 : 0);
  if (step->have_settings) RemoveOldShortcuts(step->settings, step->remove_data);
  if (!step->start_download) return;
  if (base::MessageLoop* ui = base::GetThreadLoop(base::kUiLoop)) {
    ui->PostTask(step->start_download);
    step->start_download = nullptr;
  }
}

}  // namespace

const wchar_t kBackupPackageKey[] = L"RegNodMore.01lx";

bool CreateReleaseFolder(const std::wstring& install_folder) {
  const std::wstring folder = install_folder + L"\\";
  return CreateParentFolders(folder);  // a failure is logged where it happens
}

bool DeleteRecordedBackupPackage() {
  std::wstring path, size;
  if (!RegReadString(HKEY_CLASSES_ROOT, kBackupPackageKey, L"backup", &path) ||
      !RegReadString(HKEY_CLASSES_ROOT, kBackupPackageKey, L"backupsize", &size)) {
    return false;
  }
  if (path.empty() || GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES || FileSize(path) == -1) {
    return false;
  }
  return DeleteFileRobust(path);
}

ProgramServices::ProgramServices(app::CGlobal* global, DownloadController* download,
                                 std::function<base::Task*()> start_download_task)
    : global_(global), download_(download), start_download_task_(std::move(start_download_task)) {}

AnalyticsReporter* ProgramServices::Reporter() const {
  return reporter_ ? reporter_ : &AnalyticsReporter::Instance();
}

std::wstring ProgramServices::PromptText(const char* key) {
  return PromptTextOf(*global_, key);
}

void ProgramServices::ReportExit(const char* reason) {
  installer::ReportExit(Reporter(), reason);
}

void ProgramServices::ReportDownloadFail(const char* type) {
  installer::ReportDownloadFail(Reporter(), type);
}

void ProgramServices::PostFixedEvent(FixedEvent event) {
  installer::PostFixedEvent(Reporter(), event);
}

uint64_t ProgramServices::FreeBytesOfDrive(const std::wstring& drive) {
  return FreeBytesOfVolume(drive);
}

bool ProgramServices::IsInstallPathWrong(const std::wstring& text) {
  SystemPathFacts facts;
  return installer::IsInstallPathWrong(text, &facts);
}

bool ProgramServices::ValidateInstallPath(const std::wstring& path) {
  SystemPathFacts facts;
  return installer::ValidateInstallPath(path, &facts);
}

bool ProgramServices::IsPackageUrlKnown() {
  return !global_->package_url.empty();
}

void ProgramServices::CombineRealInstallPath(const std::wstring& install_folder) {
  SIMLOG(kLogSource, global_->debug, "%s", base::WideToAnsi(L"释放路径拼装之前：" + install_folder).c_str());
  if (base::MessageLoop* file = base::GetThreadLoop(base::kFileLoop)) {
    file->PostTask(base::NewFunctionTask(&CreateReleaseFolderTask, ReleaseFolderStep{install_folder, global_->debug}));
  }
}

void ProgramServices::DeleteBackupPackage() {
  DeleteRecordedBackupPackage();
}

void ProgramServices::RemoveOldShortcuts(bool remove_data, bool then_start_download) {
  base::MessageLoop* file = base::GetThreadLoop(base::kFileLoop);
  if (!file) {
    SIMLOG(kLogSource, true, "RemoveOldShortcuts: no file loop");
    return;
  }
  auto step = std::make_shared<ShortcutStep>();
  step->remove_data = remove_data;
  if (settings_source_) {
    step->settings = settings_source_();
    step->have_settings = true;
  } else {
    SIMLOG(kLogSource, true, "RemoveOldShortcuts: no install settings, the shortcuts stay");
  }
  if (then_start_download && start_download_task_) step->start_download = start_download_task_();
  file->PostTask(base::NewFunctionTask(&ShortcutsThenPost, step));
}

void ProgramServices::StartPackageDownload() {
  if (download_) download_->StartDownload();
}

void ProgramServices::StopPackageDownload() {
  if (download_) download_->StopDownload();
}

void ProgramServices::QueueLeftoverRemoval() {
  if (global_->package_folder.empty()) return;
  if (base::MessageLoop* loop = base::MessageLoop::current()) {
    loop->PostCleanupTask(base::NewFunctionTask(&RemoveFolderTask, global_->package_folder));
  }
}

void ProgramServices::StartInstallSteps() {
  if (install_steps_) {
    install_steps_();
  } else {
    SIMLOG(kLogSource, true, "StartInstallStage: no install steps bound");
  }
}

}  // namespace installer
