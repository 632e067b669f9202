// The installer's extraction step: stop the product, unpack the package in process, and fall
// back to the 7-Zip console program (first on the package, then, unless only harmless files
// were locked, on the installer's own file). It runs on the file loop; the caller posts the
// outcome to the UI loop.
//
// The services it needs from elsewhere in the program (the kill tool, the logger, the shared
// state's paths and product file list, the embedded 7za.exe, child processes) come through
// ExtractEnvironment, which the installer controller implements with the system helpers.
#ifndef PINDLE_EXTRACT_EXTRACT_PACKAGE_H_
#define PINDLE_EXTRACT_EXTRACT_PACKAGE_H_

#include <functional>
#include <string>
#include <vector>

#include "extract/unpack7z.h"

class ExtractEnvironment {
 public:
  virtual ~ExtractEnvironment() = default;

  // Stops the product's running programs before files in `install_folder` are replaced (the
  // kill tool may live there).
  virtual void StopProductPrograms(const std::u16string& install_folder) = 0;
  // One line of the controller's log (source "UI\UIMainWindowEx.cpp", level 3); `enabled` is
  // true for lines that are always written and the debug flag for debug-only ones.
  virtual void Log(const std::string& message, bool enabled) = 0;
  // The process's debug flag.
  virtual bool debug() const = 0;
  // A path in the ANSI code page, for the log.
  virtual std::string ToAnsi(const std::u16string& text) = 0;

  virtual bool IsFolder(const std::u16string& path) = 0;
  // Creates the folder and every missing parent.
  virtual bool CreateFolderWithParents(const std::u16string& path) = 0;
  virtual bool FileExists(const std::u16string& path) = 0;

  // The in-process attempt; by default the real one.
  virtual bool Unpack7zInFolder(const std::u16string& archive, const std::u16string& folder, int* code,
                                UnpackDetails* details) {
    return ::Unpack7zInFolder(archive, folder, code, details);
  }
  // Writes the embedded 7-Zip console program to disk; *tool_path is where it went.
  virtual bool WriteSevenZipTool(std::u16string* tool_path) = 0;
  // RunAndCapture: a hidden child process with captured output and error streams. A program
  // that outlives `timeout_ms` has been ended when this returns false with exit code 301, so
  // the next attempt never shares the install folder with it.
  virtual bool RunAndCapture(const std::u16string& command_line, int timeout_ms, int* exit_code, std::string* out,
                             std::string* err) = 0;
  // The installer's own executable file, the archive of the last attempt.
  virtual std::u16string OwnExecutablePath() = 0;
  // The product's own files, whose being locked makes the extraction fail.
  virtual std::vector<std::string> ProductFileList() = 0;
};

struct ExtractOutcome {
  // Which attempt decided the outcome.
  enum Attempt {
    kInProcess,        // Unpack7zInFolder
    kSevenZa,          // 7za on the package
    kLockedFilesOnly,  // 7za failed, but only on harmless locked files
    kSelfArchive,      // 7za on the installer's own file
  };
  bool success = false;
  int unpack_code = -1;  // the in-process code
  Attempt attempt = kInProcess;
};

// The whole extraction step for `package` into `install_folder` (absolute paths). File loop.
ExtractOutcome ExtractPackage(ExtractEnvironment& env, const std::u16string& package,
                              const std::u16string& install_folder);

// The same, handing the outcome to `done` (which posts it to the UI loop) as the file-loop task
// that the controller queues does.
using ExtractDoneCallback = std::function<void(const ExtractOutcome& outcome)>;
void ExtractPackage(ExtractEnvironment& env, const std::u16string& package, const std::u16string& install_folder,
                    const ExtractDoneCallback& done);

#endif  // PINDLE_EXTRACT_EXTRACT_PACKAGE_H_
