#include "log_test_files.h"

#include <fstream>
#include <stdexcept>

namespace simlog {
namespace testing_files {

namespace fs = std::filesystem;

std::string TempFolder::Narrow(const std::string& name) const {
  return (name.empty() ? path() : path() / fs::u8path(name)).u8string();
}

void WriteFileOfSize(const std::string& path, uint64_t size, char fill) {
  std::ofstream out(fs::u8path(path), std::ios::binary | std::ios::trunc);
  const std::string block(4096, fill);
  while (size > 0) {
    const size_t piece = size < block.size() ? static_cast<size_t>(size) : block.size();
    out.write(block.data(), static_cast<std::streamsize>(piece));
    size -= piece;
  }
  if (!out) throw std::runtime_error("cannot write " + path);
}

void SetAge(const std::string& path, std::chrono::seconds age) {
  fs::last_write_time(fs::u8path(path), fs::file_time_type::clock::now() - age);
}

bool FileExists(const std::string& path) {
  std::error_code ignored;
  return fs::exists(fs::u8path(path), ignored);
}

std::string ReadWholeFile(const std::string& path) {
  return test_support::ReadFile(fs::u8path(path));
}

uint64_t SizeOf(const std::string& path) {
  return static_cast<uint64_t>(fs::file_size(fs::u8path(path)));
}

}  // namespace testing_files
}  // namespace simlog
