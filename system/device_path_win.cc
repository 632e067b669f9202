// Win32 side of the device-path conversion: the device name behind each drive letter.
#include <windows.h>

#include "system/device_path.h"

bool DevicePathToDosPath(const std::wstring& device_path, std::wstring* dos_path) {
  std::vector<DriveDevice> drives;
  wchar_t letters[27 * 4 + 1] = {};  // "X:\" NUL for every letter, one more NUL at the end
  const DWORD length = GetLogicalDriveStringsW(ARRAYSIZE(letters) - 1, letters);
  if (length == 0 || length >= ARRAYSIZE(letters)) {
    *dos_path = device_path;
    return false;
  }
  for (const wchar_t* root = letters; *root; root += lstrlenW(root) + 1) {
    DriveDevice drive;
    drive.drive.assign(root, 2);  // "X:"
    wchar_t device[100] = {};
    if (QueryDosDeviceW(drive.drive.c_str(), device, ARRAYSIZE(device))) {
      drive.known = true;
      drive.device = device;  // the first name of the returned list
    }
    drives.push_back(drive);
  }
  return MapDevicePathToDos(device_path, drives, dos_path);
}
