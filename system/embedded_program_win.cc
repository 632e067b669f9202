// Win32 side of the embedded programs: resources of the running program's own module.
#include <windows.h>

#include "system/embedded_program.h"
#include "runtime/scoped_handle_win.h"

bool ReadOwnResource(const wchar_t* name, const wchar_t* type, std::string* bytes) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC resource = FindResourceW(module, name, type);
  if (!resource) return false;
  const DWORD size = SizeofResource(module, resource);
  HGLOBAL loaded = LoadResource(module, resource);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data && size > 0) return false;
  bytes->assign(static_cast<const char*>(data), size);
  return true;
}

bool WriteResourceToFile(const std::wstring& path, const wchar_t* name, const wchar_t* type) {
  std::string bytes;
  if (!ReadOwnResource(name, type, &bytes)) return false;
  const DWORD size = static_cast<DWORD>(bytes.size());

  base::ScopedHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  DWORD written = 0;
  if (!WriteFile(file.get(), bytes.data(), size, &written, nullptr)) return false;
  return written == size;
}

bool WriteSevenZipTool(const std::wstring& data_folder, std::wstring* tool_path) {
  *tool_path = SevenZipToolPath(data_folder);
  return WriteResourceToFile(*tool_path, kSevenZipResource, kEmbeddedProgramType);
}

bool WriteGpuCheckTool(const std::wstring& data_folder, bool windows_is_64bit, std::wstring* tool_path) {
  *tool_path = GpuCheckToolPath(data_folder);
  return WriteResourceToFile(*tool_path, GpuCheckToolResource(windows_is_64bit), kEmbeddedProgramType);
}
