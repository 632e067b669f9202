// Real files for the extraction tests: the archives and source tree built by
// make_test_archives.py, tree comparison, the error file, and a file system that
// records what the extractor prints and where the current folder is while files are created.
#ifndef PINDLE_TESTS_EXTRACT_EXTRACT_TEST_SUPPORT_H_
#define PINDLE_TESTS_EXTRACT_EXTRACT_TEST_SUPPORT_H_

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "extract/unpack_file_system.h"
#include "scratch_folder.h"

namespace extract_test {

namespace fs = std::filesystem;

// The folder with the generated archives ("<data>/<name>.7z") and the expected tree ("<data>/tree").
fs::path DataFolder();
fs::path Archive(const std::string& name);
fs::path ExpectedTree();

// The path as the extractor takes it (UTF-16, the platform's separators).
std::u16string U16(const fs::path& path);

// Private scratch folders and whole-file reads and writes: the shared test support.
using test_support::ReadFile;
using test_support::RemoveTree;
using test_support::ScratchFolder;
using test_support::WriteFile;

// Relative paths of every file and folder below `root` (folders end with "/"), sorted.
std::vector<std::string> ListTree(const fs::path& root);

// Sum of the sizes of the files below `root`.
uint64_t TreeBytes(const fs::path& root);

// Adds a failure for every entry that differs: missing, extra, different bytes.
void ExpectSameTree(const fs::path& expected, const fs::path& actual);

bool IsReadOnly(const fs::path& path);

// The extraction error file of this platform (the Windows local application data folder, or
// its POSIX counterpart). ErrorFileFolder creates its folder; the destructor of the returned
// guard removes what the test created.
class ErrorFileGuard {
 public:
  ErrorFileGuard();
  ~ErrorFileGuard();
  ErrorFileGuard(const ErrorFileGuard&) = delete;
  ErrorFileGuard& operator=(const ErrorFileGuard&) = delete;
  const fs::path& file() const { return file_; }
  std::string Contents() const;

 private:
  fs::path file_;
  fs::path created_;  // the outermost folder this guard created, if any
};

// The platform's file system, with Print() recorded (and still printed) and the current folder
// noted at every OpenOutput.
class RecordingFileSystem : public extract::UnpackFileSystem {
 public:
  RecordingFileSystem();
  const std::string& printed() const { return printed_; }
  const std::vector<fs::path>& folders_at_open() const { return folders_at_open_; }

  bool IsFolder(const std::u16string& path) override { return real_.IsFolder(path); }
  bool Exists(const std::u16string& path) override { return real_.Exists(path); }
  std::unique_ptr<extract::UnpackArchiveFile> OpenArchive(const std::u16string& path) override {
    return real_.OpenArchive(path);
  }
  void MakeFolder(const std::u16string& path) override { real_.MakeFolder(path); }
  std::unique_ptr<extract::UnpackOutputFile> OpenOutput(const std::u16string& path) override;
  void ApplyAttributes(const std::u16string& path, uint32_t attributes) override {
    real_.ApplyAttributes(path, attributes);
  }
  bool NameConvertsToOem(const std::u16string& name) override { return real_.NameConvertsToOem(name); }
  std::string ToNarrow(const std::u16string& text) override { return real_.ToNarrow(text); }
  void AppendErrorFile(const std::string& text) override { real_.AppendErrorFile(text); }
  void Print(const std::string& text) override;
  bool CurrentFolder(std::u16string* path) override { return real_.CurrentFolder(path); }
  bool ChangeFolder(const std::u16string& path) override { return real_.ChangeFolder(path); }

 private:
  extract::UnpackFileSystem& real_;
  std::string printed_;
  std::vector<fs::path> folders_at_open_;
};

}  // namespace extract_test

#endif  // PINDLE_TESTS_EXTRACT_EXTRACT_TEST_SUPPORT_H_
