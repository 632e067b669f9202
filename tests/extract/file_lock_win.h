// An open handle without write sharing, like the one a running program keeps on its files.
#ifndef PINDLE_TESTS_EXTRACT_FILE_LOCK_WIN_H_
#define PINDLE_TESTS_EXTRACT_FILE_LOCK_WIN_H_

#include <windows.h>

#include <filesystem>

namespace extract_test {

class FileLock {
 public:
  explicit FileLock(const std::filesystem::path& path)
      : handle_(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~FileLock() {
    if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
  }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  bool held() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

}  // namespace extract_test

#endif  // PINDLE_TESTS_EXTRACT_FILE_LOCK_WIN_H_
