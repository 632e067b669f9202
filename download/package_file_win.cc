#include <windows.h>

#include <utility>

#include "download/package_file.h"
#include "log/log_assist.h"
#include "runtime/os_error.h"
#include "runtime/scoped_handle_win.h"
#include "runtime/text_encoding.h"
#include "system/file_delete.h"

namespace download {

namespace {

// The package file is the download step's: its failures carry that step's source name.
void LogFailure(int line, const std::string& message) {
  simlog::LogAssist::GetInstance().Log("UI\\UIMainWindowEx.cpp", line, simlog::kLogLineLevel, message, true);
}

// "<what> <path>: <error>", the error read before anything else can change it.
void LogFileFailure(int line, const char* what, const std::wstring& path) {
  const unsigned long error = GetLastError();
  LogFailure(line, std::string(what) + " " + base::WideToAnsi(path) + ": " + base::OsErrorText(error));
}

}  // namespace

bool PreallocatePackageFile(const std::wstring& path, uint32_t size) {
  bool sized = false;
  {
    base::ScopedHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
      LogFileFailure(__LINE__, "cannot create the package file", path);
      return false;
    }
    // Some file systems (and Wine over Linux ones) extend a file without reserving its blocks;
    // ask the volume first so that a full disk fails here and not halfway through the download.
    std::wstring folder = FolderOf(path);
    if (folder.empty()) folder = L".\\";
    ULARGE_INTEGER available;
    if (GetDiskFreeSpaceExW(folder.c_str(), &available, nullptr, nullptr) && available.QuadPart < size) {
      LogFailure(__LINE__, simlog::LogAssist::FormatString("package of %u bytes does not fit: %llu bytes free on %s",
                                                           size, static_cast<unsigned long long>(available.QuadPart),
                                                           base::WideToAnsi(folder).c_str()));
      file.Close();
      DeleteFileW(path.c_str());
      return false;
    }
    LARGE_INTEGER distance;
    distance.QuadPart = size;
    if (SetFilePointerEx(file.get(), distance, nullptr, FILE_BEGIN) && SetEndOfFile(file.get())) {
      distance.QuadPart = 0;
      sized = SetFilePointerEx(file.get(), distance, nullptr, FILE_BEGIN) != 0;
    }
    if (!sized) LogFileFailure(__LINE__, "cannot give its size to the package file", path);
  }
  if (!sized) DeleteFileW(path.c_str());
  return sized;
}

int64_t PackageFileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return -1;
  return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool DeletePackageFile(const std::wstring& path) {
  if (DeleteFileW(path.c_str())) return true;
  return GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

bool RemovePackageFolder(const std::wstring& folder) {
  std::wstring path = folder;
  while (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  if (path.empty()) return false;
  return DeleteFolderTree(path);
}

struct PackageFileWriter::File {
  base::ScopedHandle handle;
};

PackageFileWriter::PackageFileWriter() = default;
PackageFileWriter::~PackageFileWriter() = default;

bool PackageFileWriter::Create(const std::wstring& path) {
  Close();
  DeleteFileW(path.c_str());
  base::ScopedHandle handle(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle.valid()) return false;
  file_.reset(new File{std::move(handle)});
  return true;
}

bool PackageFileWriter::Write(const void* data, size_t size) {
  if (!is_open()) return false;
  const char* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const DWORD step = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(file_->handle.get(), bytes, step, &written, nullptr) || written != step) return false;
    bytes += step;
    size -= step;
  }
  return true;
}

void PackageFileWriter::Close() {
  file_.reset();
}
}  // namespace download
