// Owners of Win32 handles so that every path out of a helper closes what it opened.
#ifndef PINDLE_SYSTEM_SCOPED_HANDLE_WIN_H_
#define PINDLE_SYSTEM_SCOPED_HANDLE_WIN_H_

#include <windows.h>

// A kernel handle (file, pipe, process, thread, event, snapshot). Both null and
// INVALID_HANDLE_VALUE count as "no handle".
class ScopedHandle {
 public:
  ScopedHandle() = default;
  explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
  ~ScopedHandle() { Close(); }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;

  bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  HANDLE* receive() {
    Close();
    return &handle_;
  }
  void reset(HANDLE handle) {
    Close();
    handle_ = handle;
  }
  void Close() {
    if (valid()) CloseHandle(handle_);
    handle_ = nullptr;
  }

 private:
  HANDLE handle_ = nullptr;
};

// An open registry key.
class ScopedRegKey {
 public:
  ScopedRegKey() = default;
  ~ScopedRegKey() {
    if (key_) RegCloseKey(key_);
  }
  ScopedRegKey(const ScopedRegKey&) = delete;
  ScopedRegKey& operator=(const ScopedRegKey&) = delete;
  HKEY get() const { return key_; }
  HKEY* receive() { return &key_; }

 private:
  HKEY key_ = nullptr;
};

// A search handle of FindFirstFile.
class ScopedFindHandle {
 public:
  explicit ScopedFindHandle(HANDLE handle) : handle_(handle) {}
  ~ScopedFindHandle() {
    if (valid()) FindClose(handle_);
  }
  ScopedFindHandle(const ScopedFindHandle&) = delete;
  ScopedFindHandle& operator=(const ScopedFindHandle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

// Memory from LocalAlloc (security descriptors and ACLs returned by the security API).
class ScopedLocalMemory {
 public:
  ScopedLocalMemory() = default;
  ~ScopedLocalMemory() {
    if (memory_) LocalFree(memory_);
  }
  ScopedLocalMemory(const ScopedLocalMemory&) = delete;
  ScopedLocalMemory& operator=(const ScopedLocalMemory&) = delete;
  HLOCAL get() const { return memory_; }
  void reset(HLOCAL memory) {
    if (memory_) LocalFree(memory_);
    memory_ = memory;
  }

 private:
  HLOCAL memory_ = nullptr;
};

#endif  // PINDLE_SYSTEM_SCOPED_HANDLE_WIN_H_
