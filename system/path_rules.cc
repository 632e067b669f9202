#include "system/path_rules.h"

namespace {

bool IsSeparator(wchar_t c) {
  return c == L'\\' || c == L'/';
}

bool IsDriveDesignator(const std::wstring& prefix) {
  if (prefix.size() != 2 || prefix[1] != L':') return false;
  const wchar_t letter = prefix[0];
  return (letter >= L'A' && letter <= L'Z') || (letter >= L'a' && letter <= L'z');
}

}  // namespace

std::wstring ParentFolder(const std::wstring& path) {
  const size_t last = path.find_last_of(L"\\/");
  if (last == std::wstring::npos) return std::wstring();
  return path.substr(0, last + 1);
}

ParentFolderPlan PlanParentFolders(const std::wstring& path, std::vector<std::wstring>* folders) {
  folders->clear();
  if (path.empty() || path.size() > kMaxFolderPathLength) return ParentFolderPlan::kInvalid;
  for (size_t i = 0; i < path.size(); ++i) {
    if (!IsSeparator(path[i])) continue;
    if (i < 2) continue;  // "\" of a rooted path or "\\" of a network path
    std::wstring prefix = path.substr(0, i);
    // A drive root exists whenever the drive does. Creating "C:" would ask the system to
    // create the drive's current folder, an error on real Windows.
    if (IsDriveDesignator(prefix)) continue;
    // "a\\b" gives the same folder twice; creating it once is enough.
    if (IsSeparator(path[i - 1])) continue;
    folders->push_back(std::move(prefix));
  }
  return folders->empty() ? ParentFolderPlan::kNothing : ParentFolderPlan::kCreate;
}

std::wstring WithBackslashes(const std::wstring& path) {
  std::wstring result = path;
  for (wchar_t& c : result) {
    if (c == L'/') c = L'\\';
  }
  return result;
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& file_name) {
  if (folder.empty()) return file_name;
  if (IsSeparator(folder.back())) return folder + file_name;
  return folder + L"\\" + file_name;
}
