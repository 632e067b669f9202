// Win32 side of the folder and file queries.
#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <vector>

#include "system/file_util.h"
#include "runtime/scoped_handle_win.h"
#include "runtime/text_encoding.h"
#include "system/failure_log.h"

namespace {

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool CreateFolder(const std::wstring& path) {
  if (path.empty()) return false;
  if (CreateDirectoryW(path.c_str(), nullptr)) return true;
  const DWORD error = GetLastError();
  // "Already exists" is also the answer when a file holds the name: only a folder will do.
  if (error == ERROR_ALREADY_EXISTS && IsFolder(path)) return true;
  system_log::CallFailed(__LINE__, "CreateDirectory", path, error);
  return false;
}

bool CreateParentFolders(const std::wstring& path) {
  std::vector<std::wstring> folders;
  switch (PlanParentFolders(path, &folders)) {
    case ParentFolderPlan::kInvalid:
      system_log::Failed(__LINE__, "no folders can be made for the path \"" + base::WideToAnsi(path) + "\"");
      return false;
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
  if (!file.valid()) system_log::CallFailed(__LINE__, "CreateFile", path, GetLastError());
  return file.valid();
}

std::wstring GetSpecialFolder(int csidl, bool create) {
  wchar_t buffer[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, buffer, csidl, create ? TRUE : FALSE)) {
    system_log::CallFailed(__LINE__, "SHGetSpecialFolderPath", L"CSIDL " + std::to_wstring(csidl), GetLastError());
    return std::wstring();
  }
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

bool ReadSmallFile(const std::wstring& path, size_t max_bytes, std::string* bytes, uint32_t* error) {
  bytes->clear();
  *error = ERROR_SUCCESS;
  base::ScopedHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size;
  if (!file.valid() || !GetFileSizeEx(file.get(), &size)) {
    *error = GetLastError();
    return false;
  }
  if (static_cast<uint64_t>(size.QuadPart) > max_bytes) {
    *error = ERROR_FILE_TOO_LARGE;
    return false;
  }
  bytes->resize(static_cast<size_t>(size.QuadPart));
  size_t filled = 0;
  while (filled < bytes->size()) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(bytes->size() - filled > 0x10000000 ? 0x10000000 : bytes->size() - filled);
    const bool read = ReadFile(file.get(), &(*bytes)[filled], want, &got, nullptr) != FALSE;
    if (!read || got == 0) {
      // A file that shrank while being read is not the document that was measured.
      *error = read ? ERROR_HANDLE_EOF : GetLastError();
      bytes->clear();
      return false;
    }
    filled += got;
  }
  return true;
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
