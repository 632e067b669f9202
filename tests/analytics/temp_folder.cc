#include "temp_folder.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  std::ostringstream name;
  name << "pindle-analytics-" << stamp << "-" << counter++;
  const fs::path folder = fs::temp_directory_path() / name.str();
  fs::create_directories(folder);
  path_ = folder.string();
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::string TempFolder::File(const std::string& name) const {
  return (fs::path(path_) / name).string();
}

bool TempFolder::WriteFile(const std::string& path, const std::string& contents) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
  return static_cast<bool>(out);
}

bool TempFolder::ReadFile(const std::string& path, std::string* contents) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream all;
  all << in.rdbuf();
  *contents = all.str();
  return true;
}

bool TempFolder::Exists(const std::string& path) {
  std::error_code ignored;
  return fs::exists(path, ignored);
}
