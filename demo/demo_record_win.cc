#include "demo/demo_record_win.h"

#include <windows.h>

#include <cstdio>

#include "runtime/scoped_handle_win.h"

namespace demo {

namespace {

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (length == 0) return std::wstring();
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace

std::wstring ProgramFolder() {
  const std::wstring path = ModulePath();
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

std::wstring ProgramStem() {
  std::wstring name = ModulePath();
  const size_t slash = name.find_last_of(L"\\/");
  if (slash != std::wstring::npos) name.erase(0, slash + 1);
  const size_t dot = name.rfind(L'.');
  if (dot != std::wstring::npos) name.erase(dot);
  return name;
}

std::wstring RecordPath(const wchar_t* variable, const wchar_t* suffix) {
  wchar_t value[MAX_PATH * 2];
  const DWORD length = ::GetEnvironmentVariableW(variable, value, MAX_PATH * 2);
  if (length > 0 && length < MAX_PATH * 2) return value;
  return ProgramFolder() + L"\\" + ProgramStem() + suffix;
}

bool AppendUtf8(const std::wstring& path, const std::wstring& text) {
  std::string bytes;
  const int needed =
      ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  bytes.resize(needed > 0 ? needed : 0);
  if (needed > 0) {
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &bytes[0], needed, nullptr, nullptr);
  }
  base::ScopedHandle file(::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    std::fprintf(stderr, "cannot open %ls: error %lu\n", path.c_str(), ::GetLastError());
    return false;
  }
  DWORD written = 0;
  if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size()) {
    std::fprintf(stderr, "cannot write %ls: error %lu\n", path.c_str(), ::GetLastError());
    return false;
  }
  return true;
}

std::wstring CurrentFolder() {
  const DWORD needed = ::GetCurrentDirectoryW(0, nullptr);
  if (needed == 0) return std::wstring();
  std::wstring folder(needed, L'\0');
  const DWORD length = ::GetCurrentDirectoryW(needed, &folder[0]);
  folder.resize(length < needed ? length : 0);
  return folder;
}

}  // namespace demo
