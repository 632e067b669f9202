// Owners of Win32 handles, GDI objects, global memory and COM pointers, so that every path out
// of a helper releases what it acquired.
#ifndef PINDLE_SYSTEM_SCOPED_HANDLE_WIN_H_
#define PINDLE_SYSTEM_SCOPED_HANDLE_WIN_H_

#include <windows.h>

#include <objbase.h>

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

// Memory the shell hands over with CoTaskMemAlloc (item id lists of the folder dialog).
class ScopedCoTaskMemory {
 public:
  explicit ScopedCoTaskMemory(void* memory) : memory_(memory) {}
  ~ScopedCoTaskMemory() {
    if (memory_) CoTaskMemFree(memory_);
  }
  ScopedCoTaskMemory(const ScopedCoTaskMemory&) = delete;
  ScopedCoTaskMemory& operator=(const ScopedCoTaskMemory&) = delete;
  void* get() const { return memory_; }

 private:
  void* memory_;
};

// A GDI object (bitmap, font, pen, brush, region) made by this code: deleted with DeleteObject.
class ScopedGdiObject {
 public:
  ScopedGdiObject() = default;
  explicit ScopedGdiObject(HGDIOBJ object) : object_(object) {}
  ~ScopedGdiObject() { reset(nullptr); }
  ScopedGdiObject(const ScopedGdiObject&) = delete;
  ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;
  HGDIOBJ get() const { return object_; }
  void reset(HGDIOBJ object) {
    if (object_) DeleteObject(object_);
    object_ = object;
  }
  // Hands the object to the caller, who deletes it.
  HGDIOBJ release() {
    HGDIOBJ object = object_;
    object_ = nullptr;
    return object;
  }

 private:
  HGDIOBJ object_ = nullptr;
};

// A memory device context from CreateCompatibleDC: deleted with DeleteDC.
class ScopedMemoryDc {
 public:
  explicit ScopedMemoryDc(HDC compatible_with) : dc_(CreateCompatibleDC(compatible_with)) {}
  ~ScopedMemoryDc() {
    if (dc_) DeleteDC(dc_);
  }
  ScopedMemoryDc(const ScopedMemoryDc&) = delete;
  ScopedMemoryDc& operator=(const ScopedMemoryDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// An object selected into a device context for a scope: the previous one is selected back.
class ScopedSelectObject {
 public:
  ScopedSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
  ~ScopedSelectObject() {
    if (previous_) SelectObject(dc_, previous_);
  }
  ScopedSelectObject(const ScopedSelectObject&) = delete;
  ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// Memory from GlobalAlloc: freed with GlobalFree unless ownership passed on (release).
class ScopedGlobalMemory {
 public:
  explicit ScopedGlobalMemory(HGLOBAL memory) : memory_(memory) {}
  ~ScopedGlobalMemory() {
    if (memory_) GlobalFree(memory_);
  }
  ScopedGlobalMemory(const ScopedGlobalMemory&) = delete;
  ScopedGlobalMemory& operator=(const ScopedGlobalMemory&) = delete;
  HGLOBAL get() const { return memory_; }
  HGLOBAL release() {
    HGLOBAL memory = memory_;
    memory_ = nullptr;
    return memory;
  }

 private:
  HGLOBAL memory_;
};

// A COM interface pointer: released at the end of the scope.
template <typename Interface>
class ScopedComPtr {
 public:
  ScopedComPtr() = default;
  ~ScopedComPtr() {
    if (pointer_) pointer_->Release();
  }
  ScopedComPtr(const ScopedComPtr&) = delete;
  ScopedComPtr& operator=(const ScopedComPtr&) = delete;
  Interface* get() const { return pointer_; }
  Interface** receive() { return &pointer_; }

 private:
  Interface* pointer_ = nullptr;
};

#endif  // PINDLE_SYSTEM_SCOPED_HANDLE_WIN_H_
