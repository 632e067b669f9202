// The part of ExtractEnvironment that the system helpers supply on Windows: files and folders,
// the embedded 7-Zip program, child processes and the program's own path.
// InstallerExtractEnvironment derives from it and adds what belongs to the installer: stopping
// the product, its log, the debug flag and the product file list of the shared state.
#ifndef PINDLE_EXTRACT_SYSTEM_EXTRACT_ENVIRONMENT_H_
#define PINDLE_EXTRACT_SYSTEM_EXTRACT_ENVIRONMENT_H_

#include <string>

#include "extract/extract_package.h"

class SystemExtractEnvironment : public ExtractEnvironment {
 public:
  // `data_folder`: the product data folder, where 7za.exe is written.
  explicit SystemExtractEnvironment(std::u16string data_folder);

  std::string ToAnsi(const std::u16string& text) override;
  bool IsFolder(const std::u16string& path) override;
  bool CreateFolderWithParents(const std::u16string& path) override;
  bool FileExists(const std::u16string& path) override;
  bool WriteSevenZipTool(std::u16string* tool_path) override;
  bool RunAndCapture(const std::u16string& command_line, int timeout_ms, int* exit_code, std::string* out,
                     std::string* err) override;
  std::u16string OwnExecutablePath() override;

  // Where WriteSevenZipTool put the program (empty before it ran).
  const std::u16string& seven_zip_path() const { return seven_zip_path_; }

 private:
  std::u16string data_folder_;
  std::u16string seven_zip_path_;
};

#endif  // PINDLE_EXTRACT_SYSTEM_EXTRACT_ENVIRONMENT_H_
