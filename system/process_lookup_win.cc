// Win32 side of the process lookup: a process snapshot and the image name query.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include "system/device_path.h"
#include "system/process_lookup.h"
#include "runtime/scoped_handle_win.h"
#include "system/failure_log.h"

std::vector<uint32_t> FindProcessesByName(const std::wstring& exe_name) {
  std::vector<uint32_t> pids;
  // A process still being set up can show an empty name; an empty name matches nothing.
  if (exe_name.empty()) return pids;
  base::ScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot.valid()) {
    system_log::CallFailed(__LINE__, "CreateToolhelp32Snapshot looking for", exe_name, GetLastError());
    return pids;
  }
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
    if (CompareStringOrdinal(entry.szExeFile, -1, exe_name.c_str(), static_cast<int>(exe_name.size()), TRUE) ==
        CSTR_EQUAL) {
      pids.push_back(entry.th32ProcessID);
    }
  }
  return pids;
}

bool GetProcessImagePath(uint32_t pid, std::wstring* path) {
  base::ScopedHandle process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid));
  if (!process.valid()) {
    system_log::CallFailed(__LINE__, "OpenProcess", L"pid " + std::to_wstring(pid), GetLastError());
    return false;
  }
  wchar_t device_path[MAX_PATH] = {};
  if (GetProcessImageFileNameW(process.get(), device_path, MAX_PATH) == 0) {
    system_log::CallFailed(__LINE__, "GetProcessImageFileName", L"pid " + std::to_wstring(pid), GetLastError());
    return false;
  }
  return DevicePathToDosPath(device_path, path);
}
