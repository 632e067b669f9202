#include "extract_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#include <shlobj.h>
#endif

namespace extract_test {

namespace {

// Converts a Unix path of the build tree to what a Windows program sees (Wine's Z: drive).
fs::path FromBuildPath(const std::string& unix_path) {
#ifdef _WIN32
  std::string text = "Z:" + unix_path;
  std::replace(text.begin(), text.end(), '/', '\\');
  return fs::path(text);
#else
  return fs::path(unix_path);
#endif
}

}  // namespace

fs::path DataFolder() {
  return FromBuildPath(PINDLE_EXTRACT_TEST_DATA);
}
fs::path Archive(const std::string& name) {
  return DataFolder() / name;
}
fs::path ExpectedTree() {
  return DataFolder() / "tree";
}

std::u16string U16(const fs::path& path) {
  return path.u16string();
}

std::vector<std::string> ListTree(const fs::path& root) {
  std::vector<std::string> entries;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    std::string rel = fs::relative(it->path(), root).generic_u8string();
    if (it->is_directory()) rel += "/";
    entries.push_back(rel);
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

uint64_t TreeBytes(const fs::path& root) {
  uint64_t total = 0;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) total += entry.file_size();
  }
  return total;
}

void ExpectSameTree(const fs::path& expected, const fs::path& actual) {
  const std::vector<std::string> want = ListTree(expected);
  const std::vector<std::string> got = ListTree(actual);
  EXPECT_EQ(want, got) << "entries of " << actual.u8string();
  for (const std::string& rel : want) {
    if (rel.back() == '/') continue;
    const fs::path a = expected / fs::u8path(rel);
    const fs::path b = actual / fs::u8path(rel);
    if (!fs::exists(b)) continue;  // already reported by the listing
    const std::string left = ReadFile(a);
    const std::string right = ReadFile(b);
    EXPECT_EQ(left.size(), right.size()) << rel;
    EXPECT_TRUE(left == right) << rel << " differs";
  }
}

bool IsReadOnly(const fs::path& path) {
  return (fs::status(path).permissions() & fs::perms::owner_write) == fs::perms::none;
}

ErrorFileGuard::ErrorFileGuard() {
#ifdef _WIN32
  wchar_t base[MAX_PATH] = {};
  EXPECT_TRUE(::SHGetSpecialFolderPathW(nullptr, base, CSIDL_LOCAL_APPDATA, FALSE));
  const fs::path vesk = fs::path(base) / "Vesk";
#else
  // The POSIX file system keeps it below $XDG_DATA_HOME; a scratch one stands in for it.
  const fs::path home = FromBuildPath(PINDLE_EXTRACT_TEST_SCRATCH) / "xdg_data_home";
  fs::create_directories(home);
  ::setenv("XDG_DATA_HOME", home.c_str(), 1);
  const fs::path vesk = home / "Vesk";
#endif
  const fs::path folder = vesk / "DravelInstallPack";
  if (!fs::exists(vesk)) {
    created_ = vesk;
  } else if (!fs::exists(folder)) {
    created_ = folder;
  }
  fs::create_directories(folder);
  file_ = folder / "err.txt";
  std::error_code ec;
  fs::remove(file_, ec);
}

ErrorFileGuard::~ErrorFileGuard() {
  std::error_code ec;
  fs::remove(file_, ec);
  if (!created_.empty()) RemoveTree(created_);
#ifndef _WIN32
  RemoveTree(FromBuildPath(PINDLE_EXTRACT_TEST_SCRATCH) / "xdg_data_home");
#endif
}

std::string ErrorFileGuard::Contents() const {
  return ReadFile(file_);
}

RecordingFileSystem::RecordingFileSystem() : real_(extract::PlatformUnpackFileSystem()) {}

std::unique_ptr<extract::UnpackOutputFile> RecordingFileSystem::OpenOutput(const std::u16string& path) {
  folders_at_open_.push_back(fs::current_path());
  return real_.OpenOutput(path);
}

void RecordingFileSystem::Print(const std::string& text) {
  printed_ += text;
  real_.Print(text);
}

}  // namespace extract_test
