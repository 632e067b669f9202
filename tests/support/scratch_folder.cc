#include "scratch_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

namespace test_support {

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
  std::error_code error;
  const fs::path temp = fs::temp_directory_path(error);
  // Test programs of several build trees run side by side: a counter alone would collide, so the
  // name is random (digits only, so that it never spells a word a test looks for in a path) and
  // the folder counts only when this call created it.
  std::random_device device;
  std::mt19937_64 random((static_cast<uint64_t>(device()) << 32) ^ device() ^
                         static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
  for (int attempt = 0; !error && attempt < 100; ++attempt) {
    const fs::path candidate = temp / ("pindle-test-" + std::to_string(random()));
    if (fs::create_directory(candidate, error)) {
      path_ = candidate;
      created_ = true;
      return;
    }
  }
  ADD_FAILURE() << "cannot create a scratch folder in the temporary folder \"" << temp.u8string()
                << "\": " << error.message();
  // A test that goes on anyway must not leave files elsewhere: nothing can be created below a
  // folder that does not exist.
  path_ = temp / "pindle-test-unavailable" / "scratch";
}

ScratchFolder::~ScratchFolder() {
  if (created_) RemoveTree(path_);
}

std::string ScratchFolder::File(const std::string& name) const {
  return (path_ / name).string();
}

void RemoveTree(const fs::path& path) {
  std::error_code error;
  const fs::file_status status = fs::symlink_status(path, error);
  if (error || !fs::exists(status)) return;
  // A read-only file (Windows) or a folder without write permission (POSIX) stops remove_all,
  // so every entry that is not a link gets its owner's permissions back first.
  if (!fs::is_symlink(status)) fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, error);
  if (fs::is_directory(status)) {
    std::error_code walk_error;
    for (auto it = fs::recursive_directory_iterator(path, walk_error);
         !walk_error && it != fs::recursive_directory_iterator(); it.increment(walk_error)) {
      std::error_code entry_error;
      if (!it->is_symlink(entry_error)) {
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, entry_error);
      }
    }
  }
  fs::remove_all(path, error);
}

bool WriteFile(const fs::path& path, const std::string& contents) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
  out.close();
  return !out.fail();
}

bool ReadFile(const fs::path& path, std::string* contents) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream all;
  all << in.rdbuf();
  *contents = all.str();
  return true;
}

std::string ReadFile(const fs::path& path) {
  std::string contents;
  return ReadFile(path, &contents) ? contents : std::string();
}

}  // namespace test_support
