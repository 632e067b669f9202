// The extraction step's environment as the installer has it: the system helpers of
// SystemExtractEnvironment, plus stopping the product's programs with its kill tool, the
// installer's log, and what the shared state knows (debug flag, product file list, folders).
#ifndef PINDLE_EXTRACT_INSTALLER_EXTRACT_ENVIRONMENT_H_
#define PINDLE_EXTRACT_INSTALLER_EXTRACT_ENVIRONMENT_H_

#include <string>
#include <vector>

#include "extract/extract_package.h"
#include "extract/system_extract_environment.h"

namespace app {
class CGlobal;
}

class InstallerExtractEnvironment : public SystemExtractEnvironment {
 public:
  // Copies what the step needs from `global` now, on the thread that fills it (the UI thread,
  // before the step is posted), so the file loop never reads the shared state itself.
  explicit InstallerExtractEnvironment(const app::CGlobal& global);

  // ExtractEnvironment:
  void StopProductPrograms(const std::u16string& install_folder) override;
  void Log(const std::string& message, bool enabled) override;
  bool debug() const override { return debug_; }
  std::vector<std::string> ProductFileList() override { return product_files_; }

 private:
  bool debug_;
  bool windows_is_64bit_;
  std::u16string product_name_;
  std::u16string previous_install_folder_;
  std::vector<std::string> product_files_;
};

// The controller's entry: the extraction of `package` into `install_folder` on the file loop
// with an InstallerExtractEnvironment made from app::Global() now; `done` gets the outcome on
// the UI loop. False (and `done` never called) when there is no file loop. UI thread.
bool PostInstallerExtractPackage(const std::wstring& package, const std::wstring& install_folder,
                                 ExtractDoneCallback done);

#endif  // PINDLE_EXTRACT_INSTALLER_EXTRACT_ENVIRONMENT_H_
