// Win32 side of the file version: the version library reads the resource.
#include <windows.h>

#include <vector>

#include "system/file_version.h"

std::wstring GetFileVersionText(const std::wstring& path) {
  if (path.empty()) return std::wstring();
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  // A version block of a program is a few kilobytes; the reading buffer is 16 KiB.
  constexpr DWORD kMaxVersionInfo = 0x3FFF;
  if (size == 0 || size > kMaxVersionInfo) return std::wstring();
  std::vector<unsigned char> info(0x4000);
  if (!GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data())) return std::wstring();
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixed_size = 0;
  if (!VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixed_size) || !fixed ||
      fixed_size < sizeof(VS_FIXEDFILEINFO)) {
    return std::wstring();
  }
  return FormatFileVersion(fixed->dwFileVersionMS, fixed->dwFileVersionLS);
}
