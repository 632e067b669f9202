#include "system/embedded_program.h"

#include "system/path_rules.h"

const wchar_t kEmbeddedProgramType[] = L"APP";
const wchar_t kSevenZipResource[] = L"UN7ZA";
const wchar_t kGpuCheckResource32[] = L"OPENGLTOOL32";
const wchar_t kGpuCheckResource64[] = L"OPENGLTOOL64";

const wchar_t* GpuCheckToolResource(bool windows_is_64bit) {
  return windows_is_64bit ? kGpuCheckResource64 : kGpuCheckResource32;
}

std::wstring SevenZipToolPath(const std::wstring& data_folder) {
  return JoinPath(data_folder, L"7za.exe");
}

std::wstring GpuCheckToolPath(const std::wstring& data_folder) {
  return JoinPath(data_folder, L"CheckGLVersion.exe");
}
