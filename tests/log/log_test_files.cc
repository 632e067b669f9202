#include "log_test_files.h"

#include <fstream>
#include <stdexcept>

namespace simlog {
namespace testing_files {

namespace fs = std::filesystem;

std::string TempFolder::Narrow(const std::string& name) const {
  return name.empty() ? path().string() : File(name);
}

void WriteFileOfSize(const std::string& path, uint64_t size, char fill) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  const std::string block(4096, fill);
  while (size > 0) {
    const size_t piece = size < block.size() ? static_cast<size_t>(size) : block.size();
    out.write(block.data(), static_cast<std::streamsize>(piece));
    size -= piece;
  }
  if (!out) throw std::runtime_error("cannot write " + path);
}

void SetAge(const std::string& path, std::chrono::seconds age) {
  fs::last_write_time(path, fs::file_time_type::clock::now() - age);
}

bool FileExists(const std::string& path) {
  std::error_code ignored;
  return fs::exists(path, ignored);
}

std::string ReadWholeFile(const std::string& path) {
  return test_support::ReadFile(path);
}

uint64_t SizeOf(const std::string& path) {
  return static_cast<uint64_t>(fs::file_size(path));
}

}  // namespace testing_files
}  // namespace simlog
