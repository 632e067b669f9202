// Real files for the log tests: a private folder per test, files of a given size and age, and
// reading a file back whole.
#ifndef PINDLE_TESTS_LOG_LOG_TEST_FILES_H_
#define PINDLE_TESTS_LOG_LOG_TEST_FILES_H_

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>

#include "scratch_folder.h"

namespace simlog {
namespace testing_files {

// A private scratch folder whose paths the log takes as narrow text. Every narrow path here is
// UTF-8, as the log's are.
class TempFolder : public test_support::ScratchFolder {
 public:
  // UTF-8 path of `name` inside the folder (or of the folder itself for an empty name).
  std::string Narrow(const std::string& name = std::string()) const;
};

void WriteFileOfSize(const std::string& path, uint64_t size, char fill = 'o');
// Sets the last-write time to now minus `age`.
void SetAge(const std::string& path, std::chrono::seconds age);
bool FileExists(const std::string& path);
std::string ReadWholeFile(const std::string& path);
uint64_t SizeOf(const std::string& path);

}  // namespace testing_files
}  // namespace simlog

#endif  // PINDLE_TESTS_LOG_LOG_TEST_FILES_H_
