#include "analytics/staging_io.h"

#include <windows.h>

#include "runtime/scoped_handle_win.h"
#include "runtime/text_encoding.h"

namespace event_analytics {
namespace {

HANDLE OpenForWriting(const std::wstring& path) {
  return ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool WriteAll(HANDLE file, const char* data, size_t size) {
  while (size > 0) {
    const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!::WriteFile(file, data, chunk, &written, nullptr) || written == 0) return false;
    data += written;
    size -= written;
  }
  return true;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string* contents) {
  contents->clear();
  const std::wstring wide = base::AnsiToWide(path);
  if (wide.empty()) return false;
  base::ScopedHandle file(::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  char buffer[65536];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
      contents->clear();
      return false;
    }
    if (got == 0) return true;
    contents->append(buffer, got);
  }
}

bool TruncateFile(const std::string& path) {
  const std::wstring wide = base::AnsiToWide(path);
  if (wide.empty()) return false;
  base::ScopedHandle file(OpenForWriting(wide));
  return file.valid() && file.Close();
}

bool ReplaceFileContents(const std::string& path, const std::string& temp_path, const std::string& contents) {
  const std::wstring wide = base::AnsiToWide(path);
  const std::wstring wide_temp = base::AnsiToWide(temp_path);
  if (wide.empty() || wide_temp.empty()) return false;
  base::ScopedHandle file(OpenForWriting(wide_temp));
  if (!file.valid()) return false;
  const bool written =
      WriteAll(file.get(), contents.data(), contents.size()) && ::FlushFileBuffers(file.get()) && file.Close();
  if (!written || !::MoveFileExW(wide_temp.c_str(), wide.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    file.Close();
    ::DeleteFileW(wide_temp.c_str());
    return false;
  }
  return true;
}

}  // namespace event_analytics
