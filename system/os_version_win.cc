// Win32 side of the version facts.
//
// GetVersionExW reports the version the program's manifest declares support for: an
// executable without a compatibility section sees Windows 8.1 and 10 as 6.2.
#include <windows.h>

#include "system/os_version.h"

namespace {

int QueryOsVersionCode() {
  OSVERSIONINFOW info = {};
  info.dwOSVersionInfoSize = sizeof(info);  // the plain record, 276 bytes
  OsVersionFields fields;
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
  fields.query_ok = GetVersionExW(&info) != FALSE;
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
  if (fields.query_ok) {
    fields.platform_id = info.dwPlatformId;
    fields.major = info.dwMajorVersion;
    fields.minor = info.dwMinorVersion;
    size_t length = 0;
    while (length < ARRAYSIZE(info.szCSDVersion) && info.szCSDVersion[length]) ++length;
    fields.service_pack.assign(info.szCSDVersion, length);
  }
  return OsVersionCodeFromFields(fields);
}

}  // namespace

int GetOsVersionCode() {
  // Thread-safe one-time initialisation; the first caller is a static initialiser on the
  // main thread, every later call only reads.
  static const int code = QueryOsVersionCode();
  return code;
}

std::string GetOsName() {
  return OsNameForCode(GetOsVersionCode());
}

bool IsWow64(bool* query_ok) {
  typedef BOOL(WINAPI * IsWow64ProcessFn)(HANDLE, PBOOL);
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (attempt > 0) Sleep(100);
    HMODULE kernel = GetModuleHandleW(L"kernel32");
    // Looked up by name: the function is missing on the oldest systems the program may meet.
    IsWow64ProcessFn is_wow64_process =
        kernel ? reinterpret_cast<IsWow64ProcessFn>(reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")))
               : nullptr;
    BOOL wow64 = FALSE;
    if (is_wow64_process && is_wow64_process(GetCurrentProcess(), &wow64)) {
      if (query_ok) *query_ok = true;
      return wow64 != FALSE;
    }
    if (query_ok) *query_ok = false;
  }
  return false;
}
