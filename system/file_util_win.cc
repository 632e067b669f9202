// Win32 side of the folder and file queries.
#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <vector>

#include "system/file_util.h"
#include "runtime/scoped_handle_win.h"

namespace {

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool CreateFolder(const std::wstring& path) {
  if (path.empty()) return false;
  if (CreateDirectoryW(path.c_str(), nullptr)) return true;
  // "Already exists" is also the answer when a file holds the name: only a folder will do.
  return GetLastError() == ERROR_ALREADY_EXISTS && IsFolder(path);
}

bool CreateParentFolders(const std::wstring& path) {
  std::vector<std::wstring> folders;
  switch (PlanParentFolders(path, &folders)) {
    case ParentFolderPlan::kInvalid: return false;
    case ParentFolderPlan::kNothing: return true;
    case ParentFolderPlan::kCreate: break;
  }
  bool created = false;
  for (const std::wstring& folder : folders) created = CreateFolder(folder);
  return created;
}

bool CreateEmptyFile(const std::wstring& path) {
  if (path.empty()) return false;
  CreateParentFolders(path);
  base::ScopedHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.valid();
}

std::wstring GetSpecialFolder(int csidl, bool create) {
  wchar_t buffer[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, buffer, csidl, create ? TRUE : FALSE)) return std::wstring();
  return buffer;
}

std::wstring CanonicalPath(const std::wstring& path) {
  if (path.size() >= MAX_PATH) return std::wstring();
  const std::wstring input = WithBackslashes(path);
  wchar_t buffer[MAX_PATH] = {};
  if (!PathCanonicalizeW(buffer, input.c_str())) return std::wstring();
  return buffer;
}

int32_t FileSize(const std::wstring& path) {
  base::ScopedHandle file(
      CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return -1;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > INT32_MAX) return -1;
  return static_cast<int32_t>(size.QuadPart);
}

bool IsExistingFileWithExtension(const std::wstring& path, const std::wstring& extension) {
  const std::wstring canonical = CanonicalPath(path);
  if (canonical.empty()) return false;
  const DWORD attributes = GetFileAttributesW(canonical.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  const wchar_t* found = PathFindExtensionW(canonical.c_str());
  const int found_length = lstrlenW(found);
  return CompareStringOrdinal(found, found_length, extension.c_str(), static_cast<int>(extension.size()), TRUE) ==
         CSTR_EQUAL;
}
