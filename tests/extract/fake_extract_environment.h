// An ExtractEnvironment for tests: records every call as a line of a trace, answers from a
// script, and runs the real in-process extraction unless told otherwise.
#ifndef PINDLE_TESTS_EXTRACT_FAKE_EXTRACT_ENVIRONMENT_H_
#define PINDLE_TESTS_EXTRACT_FAKE_EXTRACT_ENVIRONMENT_H_

#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "extract/extract_package.h"
#include "runtime/text_encoding.h"

namespace extract_test {

// One scripted run of a child process.
struct ScriptedRun {
  bool finished = true;
  int exit_code = 0;
  std::string err;
};

class FakeExtractEnvironment : public ExtractEnvironment {
 public:
  // Scripted answers.
  bool debug_flag = false;
  bool folder_exists = true;
  bool package_exists = true;
  bool use_real_unpack = false;
  int unpack_code = 0;           // when not real
  UnpackDetails unpack_details;  // when not real
  std::deque<ScriptedRun> runs;  // one per RunAndCapture, in order
  std::vector<std::string> product_files = {"PindleCommon.dll", "pindle.rcc", "Vesk.exe", "Uninstall.exe"};

  // What happened.
  std::vector<std::string> trace;  // calls, in order
  std::vector<std::string> logs;   // logged messages (enabled ones only)
  std::vector<std::u16string> command_lines;
  std::vector<int> timeouts;
  std::vector<std::u16string> stop_folders;  // the install folder of each StopProductPrograms

  void StopProductPrograms(const std::u16string& install_folder) override {
    trace.push_back("stop");
    stop_folders.push_back(install_folder);
  }
  void Log(const std::string& message, bool enabled) override {
    if (enabled) logs.push_back(message);
  }
  bool debug() const override { return debug_flag; }
  std::string ToAnsi(const std::u16string& text) override { return base::Utf16ToUtf8(text); }
  bool IsFolder(const std::u16string& path) override {
    if (use_real_unpack) return std::filesystem::is_directory(std::filesystem::path(path));
    return folder_exists;
  }
  bool CreateFolderWithParents(const std::u16string& path) override {
    trace.push_back("create folder");
    if (use_real_unpack) {
      std::error_code ec;
      return std::filesystem::create_directories(std::filesystem::path(path), ec);
    }
    folder_exists = true;
    return true;
  }
  bool FileExists(const std::u16string& path) override {
    if (use_real_unpack) return std::filesystem::exists(std::filesystem::path(path));
    return package_exists;
  }
  bool Unpack7zInFolder(const std::u16string& archive, const std::u16string& folder, int* code,
                        UnpackDetails* details) override {
    trace.push_back("unpack");
    if (use_real_unpack) return ExtractEnvironment::Unpack7zInFolder(archive, folder, code, details);
    *code = unpack_code;
    *details = unpack_details;
    return unpack_code == 0;
  }
  bool WriteSevenZipTool(std::u16string* tool_path) override {
    trace.push_back("write 7za");
    *tool_path = u"C:\\data\\7za.exe";
    return true;
  }
  bool RunAndCapture(const std::u16string& command_line, int timeout_ms, int* exit_code, std::string* out,
                     std::string* err) override {
    trace.push_back("run");
    command_lines.push_back(command_line);
    timeouts.push_back(timeout_ms);
    ScriptedRun run;
    if (!runs.empty()) {
      run = runs.front();
      runs.pop_front();
    }
    *exit_code = run.exit_code;
    out->clear();
    *err = run.err;
    return run.finished;
  }
  std::u16string OwnExecutablePath() override { return u"C:\\dl\\PindleDownloader.exe"; }
  std::vector<std::string> ProductFileList() override { return product_files; }
};

}  // namespace extract_test

#endif  // PINDLE_TESTS_EXTRACT_FAKE_EXTRACT_ENVIRONMENT_H_
