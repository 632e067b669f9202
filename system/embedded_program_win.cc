// Win32 side of the embedded programs: resources of the running program's own module.
#include <windows.h>

#include "system/embedded_program.h"
#include "runtime/scoped_handle_win.h"
#include "system/failure_log.h"

namespace {

// "UN7ZA (APP)"; an integer id reads "#id".
std::wstring ResourceName(const wchar_t* name, const wchar_t* type) {
  auto text = [](const wchar_t* part) {
    return IS_INTRESOURCE(part) ? L"#" + std::to_wstring(reinterpret_cast<uintptr_t>(part)) : std::wstring(part);
  };
  return L"resource " + text(name) + L" (" + text(type) + L")";
}

}  // namespace

bool ReadModuleResource(void* module_handle, const wchar_t* name, const wchar_t* type, std::string* bytes) {
  const HMODULE module = static_cast<HMODULE>(module_handle);
  HRSRC resource = FindResourceW(module, name, type);
  if (!resource) {
    system_log::CallFailed(__LINE__, "FindResource", ResourceName(name, type), GetLastError());
    return false;
  }
  const DWORD size = SizeofResource(module, resource);
  HGLOBAL loaded = LoadResource(module, resource);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data && size > 0) {
    system_log::CallFailed(__LINE__, "LoadResource", ResourceName(name, type), GetLastError());
    return false;
  }
  bytes->assign(static_cast<const char*>(data), size);
  return true;
}

bool ReadOwnResource(const wchar_t* name, const wchar_t* type, std::string* bytes) {
  return ReadModuleResource(GetModuleHandleW(nullptr), name, type, bytes);
}

bool WriteResourceToFile(const std::wstring& path, const wchar_t* name, const wchar_t* type) {
  std::string bytes;
  if (!ReadOwnResource(name, type, &bytes)) return false;
  const DWORD size = static_cast<DWORD>(bytes.size());

  base::ScopedHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    system_log::CallFailed(__LINE__, "CreateFile", path, GetLastError());
    return false;
  }
  DWORD written = 0;
  const bool wrote = WriteFile(file.get(), bytes.data(), size, &written, nullptr) != FALSE;
  if (!wrote || written != size) {
    // A write that ends short without an error has met a full disk.
    system_log::CallFailed(__LINE__, "WriteFile", path, wrote ? ERROR_DISK_FULL : GetLastError());
    return false;
  }
  return true;
}

bool WriteSevenZipTool(const std::wstring& data_folder, std::wstring* tool_path) {
  *tool_path = SevenZipToolPath(data_folder);
  return WriteResourceToFile(*tool_path, kSevenZipResource, kEmbeddedProgramType);
}

bool WriteGpuCheckTool(const std::wstring& data_folder, bool windows_is_64bit, std::wstring* tool_path) {
  *tool_path = GpuCheckToolPath(data_folder);
  return WriteResourceToFile(*tool_path, GpuCheckToolResource(windows_is_64bit), kEmbeddedProgramType);
}
