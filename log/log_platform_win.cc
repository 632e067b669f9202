// Win32 side of the log writer. The log's narrow paths are UTF-8 and are opened through the
// wide API, so a profile folder named outside the ANSI code page still gets its log.
#include <windows.h>

#include <vector>

#include "log/log_platform.h"
#include "runtime/scoped_handle_win.h"
#include "runtime/text_encoding.h"

namespace simlog {

namespace {

bool IsDirectory(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::string GetProgramPath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::string();
    if (length < buffer.size()) return base::WideToUtf8(std::wstring(buffer.data(), length));
    if (buffer.size() >= 32768) return std::string();
    buffer.resize(buffer.size() * 2);
  }
}

bool EnsureLogFolder(const std::string& utf8_folder) {
  const std::wstring folder = base::Utf8ToWide(utf8_folder);
  if (folder.empty()) return false;
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return true;
    SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(folder.c_str());
  }
  CreateDirectoryW(folder.c_str(), nullptr);
  return IsDirectory(folder);
}

LogFileFacts GetLogFileFacts(const std::string& utf8_path) {
  LogFileFacts facts;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(base::Utf8ToWide(utf8_path).c_str(), GetFileExInfoStandard, &data)) {
    const DWORD error = GetLastError();
    // Present but not readable (locked, no access): counts as an empty file.
    facts.exists = error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
    return facts;
  }
  facts.exists = true;
  facts.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  facts.time_known = true;
  facts.last_write_time =
      (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
  return facts;
}

bool DeleteLogFile(const std::string& utf8_path) {
  const std::wstring path = base::Utf8ToWide(utf8_path);
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return GetLastError() == ERROR_FILE_NOT_FOUND;
  if (attributes & FILE_ATTRIBUTE_READONLY)
    SetFileAttributesW(path.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  return DeleteFileW(path.c_str()) != FALSE;
}

bool AppendToLogFile(const std::string& utf8_path, const char* data, size_t size) {
  // FILE_APPEND_DATA makes every write land at the current end, even if someone else appends too.
  base::ScopedHandle file(CreateFileW(base::Utf8ToWide(utf8_path).c_str(), FILE_APPEND_DATA,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  while (size > 0) {
    DWORD written = 0;
    const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
    if (!WriteFile(file.get(), data, chunk, &written, nullptr) || written == 0) return false;
    data += written;
    size -= written;
  }
  return true;
}

LocalTime GetLocalTimeNow() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  LocalTime time;
  time.year = now.wYear;
  time.month = now.wMonth;
  time.day = now.wDay;
  time.hour = now.wHour;
  time.minute = now.wMinute;
  time.second = now.wSecond;
  time.millisecond = now.wMilliseconds;
  return time;
}

}  // namespace simlog
