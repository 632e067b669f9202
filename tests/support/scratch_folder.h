// Private scratch folders for tests and whole-file reads and writes, on std::filesystem alone so
// that they work the same in the host tree and under Wine, independent of the code under test.
#ifndef PINDLE_TESTS_SUPPORT_SCRATCH_FOLDER_H_
#define PINDLE_TESTS_SUPPORT_SCRATCH_FOLDER_H_

#include <filesystem>
#include <string>

namespace test_support {

// A new, empty folder under the temporary folder that no other test (of this or any other
// process) uses, removed with everything in it, read-only entries included, at the end.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // `name` inside the folder, as the narrow string that some interfaces take.
  std::string File(const std::string& name) const;

 private:
  std::filesystem::path path_;
  bool created_ = false;
};

// Removes a file or a whole tree even where it holds read-only entries; links are removed, not
// followed. A missing path is no error.
void RemoveTree(const std::filesystem::path& path);

// Replaces the file's contents; false when it cannot be written completely.
bool WriteFile(const std::filesystem::path& path, const std::string& contents);
// The whole file; false when it cannot be opened.
bool ReadFile(const std::filesystem::path& path, std::string* contents);
// The whole file, or an empty text when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);

}  // namespace test_support

#endif  // PINDLE_TESTS_SUPPORT_SCRATCH_FOLDER_H_
