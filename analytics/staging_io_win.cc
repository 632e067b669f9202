#include "analytics/staging_io.h"

#include <windows.h>

#include <algorithm>

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

bool ReadFileTail(const std::string& path, size_t max_bytes, std::string* contents, uint64_t* file_size) {
  contents->clear();
  const std::wstring wide = base::Utf8ToWide(path);
  if (wide.empty()) return false;
  base::ScopedHandle file(::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  LARGE_INTEGER size;
  if (!::GetFileSizeEx(file.get(), &size)) return false;
  *file_size = static_cast<uint64_t>(size.QuadPart);
  if (*file_size > max_bytes) {
    LARGE_INTEGER start;
    start.QuadPart = static_cast<LONGLONG>(*file_size - max_bytes);
    if (!::SetFilePointerEx(file.get(), start, nullptr, FILE_BEGIN)) return false;
  }
  char buffer[65536];
  while (contents->size() < max_bytes) {
    const DWORD want = static_cast<DWORD>(std::min(sizeof buffer, max_bytes - contents->size()));
    DWORD got = 0;
    if (!::ReadFile(file.get(), buffer, want, &got, nullptr)) {
      contents->clear();
      return false;
    }
    if (got == 0) break;
    contents->append(buffer, got);
  }
  return true;
}

bool TruncateFile(const std::string& path) {
  const std::wstring wide = base::Utf8ToWide(path);
  if (wide.empty()) return false;
  base::ScopedHandle file(OpenForWriting(wide));
  return file.valid() && file.Close();
}

bool ReplaceFileContents(const std::string& path, const std::string& temp_path, const std::string& contents) {
  const std::wstring wide = base::Utf8ToWide(path);
  const std::wstring wide_temp = base::Utf8ToWide(temp_path);
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
