#include "log_test_files.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace simlog {
namespace testing_files {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  std::random_device random;
  const std::string stem = "pindle_log_test_" + std::to_string(random()) + "_" + std::to_string(counter++);
  path_ = fs::temp_directory_path() / stem;
  fs::remove_all(path_);
  fs::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::string TempFolder::Narrow(const std::string& name) const {
  return name.empty() ? path_.string() : (path_ / name).string();
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
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint64_t SizeOf(const std::string& path) {
  return static_cast<uint64_t>(fs::file_size(path));
}

}  // namespace testing_files
}  // namespace simlog
