#include "log/log_path.h"

namespace simlog {

namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

bool IsAsciiLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

std::string FolderOfPath(const std::string& path) {
  const size_t last = path.find_last_of("\\/");
  if (last == std::string::npos) return std::string();
  return path.substr(0, last + 1);
}

bool IsAbsolutePath(const std::string& path) {
  if (path.empty()) return false;
  if (IsSeparator(path[0])) return true;
  return path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':';
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (IsSeparator(folder.back())) return folder + name;
  return folder + kLogPathSeparator + name;
}

std::string CombineLogFolder(const std::string& base_folder, const std::string& folder) {
  if (IsAbsolutePath(folder) || base_folder.empty()) return folder;
  return JoinPath(base_folder, folder);
}

}  // namespace simlog
