#include "extract/installer_extract_environment.h"

#include <memory>
#include <utility>

#include "app/global.h"
#include "extract/extract_task.h"
#include "extract/product_programs.h"
#include "log/log_assist.h"
#include "runtime/text_encoding.h"
#include "system/process_lookup.h"

namespace {

// The step belongs to the installer controller, and its log lines carry the controller's name.
const char kLogSource[] = "UI\\UIMainWindowEx.cpp";

// The system side of stopping the product: process lookup and the kill tool through the
// environment's own file check and process runner.
class InstallerProcessSystem : public extract::ProductProcessSystem {
 public:
  explicit InstallerProcessSystem(ExtractEnvironment& env) : env_(env) {}

  std::vector<uint32_t> FindProcessesByName(const std::u16string& exe_name) override {
    return ::FindProcessesByName(base::ToWstring(exe_name));
  }
  bool GetProcessImagePath(uint32_t pid, std::u16string* path) override {
    std::wstring image;
    if (!::GetProcessImagePath(pid, &image)) return false;
    *path = base::FromWstring(image);
    return true;
  }
  bool FileExists(const std::u16string& path) override { return env_.FileExists(path); }
  void RunKillTool(const std::u16string& command_line, int timeout_ms) override {
    int exit_code = 0;
    std::string out, err;
    env_.RunAndCapture(command_line, timeout_ms, &exit_code, &out, &err);
  }
  void Log(const std::string& message, bool enabled) override { env_.Log(message, enabled); }

 private:
  ExtractEnvironment& env_;
};

}  // namespace

InstallerExtractEnvironment::InstallerExtractEnvironment(const app::CGlobal& global)
    : SystemExtractEnvironment(base::FromWstring(global.product_data_folder)),
      debug_(global.debug),
      windows_is_64bit_(global.is_64bit_windows),
      product_name_(base::FromWstring(global.product_name)),
      previous_install_folder_(base::FromWstring(global.previous_install_folder)),
      product_files_(global.product_files) {}

void InstallerExtractEnvironment::StopProductPrograms(const std::u16string& install_folder) {
  extract::StopProgramsSettings settings;
  settings.product_name = product_name_;
  settings.install_folder = install_folder;
  settings.previous_install_folder = previous_install_folder_;
  settings.windows_is_64bit = windows_is_64bit_;
  InstallerProcessSystem system(*this);
  extract::StopProductPrograms(system, settings);
}

void InstallerExtractEnvironment::Log(const std::string& message, bool enabled) {
  // Already formatted: passed on as it is, so a "%" in a path stays a "%".
  simlog::LogAssist::GetInstance().Log(kLogSource, __LINE__, simlog::kLogLineLevel, message, enabled);
}

bool PostInstallerExtractPackage(const std::wstring& package, const std::wstring& install_folder,
                                 ExtractDoneCallback done) {
  return PostExtractPackage(std::make_shared<InstallerExtractEnvironment>(app::Global()), base::FromWstring(package),
                            base::FromWstring(install_folder), std::move(done));
}
