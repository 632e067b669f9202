// The extraction's file system over Win32: the calls the installer makes for the package.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "extract/unpack_file_system.h"
#include "extract/unpack_rules.h"
#include "runtime/scoped_handle_win.h"
#include "runtime/text_encoding.h"

namespace extract {

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "wchar_t is UTF-16 on Windows");

const wchar_t* W(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

class WinArchiveFile : public UnpackArchiveFile {
 public:
  explicit WinArchiveFile(HANDLE handle) : handle_(handle) {}
  bool Read(void* data, size_t* size) override {
    // One ReadFile moves at most a DWORD; the decoder asks for far less at a time.
    const DWORD want = *size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(*size);
    DWORD got = 0;
    const BOOL ok = ::ReadFile(handle_.get(), data, want, &got, nullptr);
    *size = got;
    return ok != FALSE;
  }
  bool Seek(int64_t* position, Origin origin) override {
    LARGE_INTEGER distance;
    distance.QuadPart = *position;
    LARGE_INTEGER now;
    const DWORD method = origin == kFromBegin ? FILE_BEGIN : origin == kFromCurrent ? FILE_CURRENT : FILE_END;
    if (!::SetFilePointerEx(handle_.get(), distance, &now, method)) return false;
    *position = now.QuadPart;
    return true;
  }

 private:
  base::ScopedHandle handle_;
};

class WinOutputFile : public UnpackOutputFile {
 public:
  explicit WinOutputFile(HANDLE handle) : handle_(handle) {}
  bool Write(const void* data, size_t size, size_t* written) override {
    // Callers write at most kWriteChunkSize at a time, which a DWORD holds.
    *written = 0;
    if (size > MAXDWORD) return false;
    DWORD put = 0;
    const BOOL ok = ::WriteFile(handle_.get(), data, static_cast<DWORD>(size), &put, nullptr);
    *written = put;
    return ok != FALSE;
  }
  bool Close() override { return handle_.Close(); }

 private:
  base::ScopedHandle handle_;
};

HANDLE CreateOutputHandle(const wchar_t* path) {
  return ::CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

class WinUnpackFileSystem : public UnpackFileSystem {
 public:
  // GetFileAttributesW rather than a directory search: a search finds nothing for a drive root
  // ("D:\") or a folder written with a trailing "\", which are still valid install folders.
  bool IsFolder(const std::u16string& path) override {
    const DWORD attributes = ::GetFileAttributesW(W(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }
  bool Exists(const std::u16string& path) override { return ::GetFileAttributesW(W(path)) != INVALID_FILE_ATTRIBUTES; }
  std::unique_ptr<UnpackArchiveFile> OpenArchive(const std::u16string& path) override {
    HANDLE handle =
        ::CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<WinArchiveFile>(handle);
  }
  void MakeFolder(const std::u16string& path) override { ::CreateDirectoryW(W(path), nullptr); }
  std::unique_ptr<UnpackOutputFile> OpenOutput(const std::u16string& path) override {
    HANDLE handle = CreateOutputHandle(W(path));
    if (handle == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_ACCESS_DENIED) {
      // CREATE_ALWAYS refuses an existing read-only, hidden or system file. Such a file is a
      // copy from an earlier installation (the package marks some files read-only): it is
      // replaced like any other. A locked file fails with a sharing violation instead and
      // stays refused.
      const DWORD attributes = ::GetFileAttributesW(W(path));
      const DWORD blocking = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
      if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
          (attributes & blocking) && ::SetFileAttributesW(W(path), FILE_ATTRIBUTE_NORMAL)) {
        handle = CreateOutputHandle(W(path));
        // Still refused (held open by a program): the file is left exactly as it was.
        if (handle == INVALID_HANDLE_VALUE) ::SetFileAttributesW(W(path), attributes);
      }
    }
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<WinOutputFile>(handle);
  }
  void ApplyAttributes(const std::u16string& path, uint32_t attributes) override {
    ::SetFileAttributesW(W(path), attributes);
  }
  bool NameConvertsToOem(const std::u16string& name) override {
    // With a UTF-8 (or UTF-7) OEM code page Windows refuses a default character, and every name
    // would fail; such a code page represents every character anyway.
    const UINT oem = ::GetOEMCP();
    const bool utf = oem == CP_UTF8 || oem == CP_UTF7;
    const char default_char[] = "_";
    return ::WideCharToMultiByte(CP_OEMCP, 0, W(name), -1, nullptr, 0, utf ? nullptr : default_char, nullptr) > 0;
  }
  std::string ToNarrow(const std::u16string& text) override { return base::WideToAnsi(base::ToWstring(text)); }
  void AppendErrorFile(const std::string& text) override {
    if (text.empty()) return;
    wchar_t folder[MAX_PATH] = {};
    if (!::SHGetSpecialFolderPathW(nullptr, folder, CSIDL_LOCAL_APPDATA, FALSE)) return;
    const std::u16string path = ErrorFilePath(reinterpret_cast<const char16_t*>(folder));
    // Appended, never creating the folders: without them nothing is recorded.
    base::ScopedHandle file(::CreateFileW(W(path), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return;
    DWORD put = 0;
    ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &put, nullptr);
  }
  void Print(const std::string& text) override {
    if (text.empty()) return;
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
  }
  bool CurrentFolder(std::u16string* path) override {
    // Sized by asking first: a current folder longer than MAX_PATH is restored in full too.
    const DWORD needed = ::GetCurrentDirectoryW(0, nullptr);
    if (needed == 0) return false;
    std::wstring buffer(needed, L'\0');
    const DWORD length = ::GetCurrentDirectoryW(needed, &buffer[0]);
    if (length == 0 || length >= needed) return false;
    path->assign(buffer.begin(), buffer.begin() + length);
    return true;
  }
  bool ChangeFolder(const std::u16string& path) override { return ::SetCurrentDirectoryW(W(path)) != FALSE; }
};

}  // namespace

UnpackFileSystem& PlatformUnpackFileSystem() {
  static WinUnpackFileSystem instance;  // stateless
  return instance;
}

}  // namespace extract
