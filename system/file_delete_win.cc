// Win32 side of the deletion helpers.
#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "system/file_delete.h"
#include "runtime/os_error.h"
#include "runtime/scoped_handle_win.h"
#include "runtime/text_encoding.h"
#include "system/failure_log.h"

bool DeleteFileRobust(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return true;
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (DeleteFileW(path.c_str())) return true;
  // The first refusal is the cause; what became of the file follows it on the same line.
  const DWORD error = GetLastError();

  // In use. A running program cannot be deleted but can be renamed, which frees its name for
  // the new copy at once.
  const std::wstring renamed = path + L".tmp";
  const char* outcome = "renamed to .tmp and deleted";
  if (MoveFileExW(path.c_str(), renamed.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    if (!DeleteFileW(renamed.c_str())) {
      outcome = MoveFileExW(renamed.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)
                    ? "renamed to .tmp, deleted at the next restart"
                    : "renamed to .tmp and left";
    }
  } else {
    outcome = MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) ? "deleted at the next restart" : "left";
  }
  system_log::Failed(__LINE__,
                     "DeleteFile " + base::WideToAnsi(path) + " failed: " + base::OsErrorText(error) + "; " + outcome);
  return false;
}

bool DeleteFolderTree(const std::wstring& path) {
  if (path.empty()) return false;
  DeleteFileW(path.c_str());  // fails harmlessly for a folder

  std::wstring pattern = path;
  if (pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
  pattern += L"*.*";
  pattern.push_back(L'\0');  // the shell takes a list ended by two NULs; c_str() adds the second
  SHFILEOPSTRUCTW operation = {};
  operation.wFunc = FO_DELETE;
  operation.pFrom = pattern.c_str();
  operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION;  // no FOF_ALLOWUNDO: permanent deletion
  SHFileOperationW(&operation);
  if (RemoveDirectoryW(path.c_str())) return true;
  system_log::CallFailed(__LINE__, "RemoveDirectory", path, GetLastError());
  return false;
}

bool DeleteFolderContents(const std::string& path, bool remove_self) {
  const std::string pattern = path + "//*.*";
  WIN32_FIND_DATAA entry;
  {
    base::ScopedFindHandle search(FindFirstFileA(pattern.c_str(), &entry));
    if (search.valid()) {
      do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        const std::string child = path + "//" + name;
        const DWORD attributes = entry.dwFileAttributes;
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
          if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            // A junction or folder link: remove the link, keep whatever it points at.
            RemoveDirectoryA(child.c_str());
          } else {
            DeleteFolderContents(child, true);
          }
        } else {
          DeleteFileA(child.c_str());
        }
      } while (FindNextFileA(search.get(), &entry));
    }
  }
  if (remove_self) return RemoveDirectoryA(path.c_str()) != FALSE;
  return true;
}
