// Conversion of a path in device form ("\Device\HarddiskVolume3\x\y.exe"), as the process
// queries give it, into drive-letter form ("D:\x\y.exe").
#ifndef PINDLE_SYSTEM_DEVICE_PATH_H_
#define PINDLE_SYSTEM_DEVICE_PATH_H_

#include <string>
#include <vector>

// One logical drive and the device name behind it.
struct DriveDevice {
  std::wstring drive;   // "D:"
  bool known = false;   // false when the device name could not be read
  std::wstring device;  // "\Device\HarddiskVolume3"
};

// Walks `drives` in order, skipping A: and B:. The first drive whose device name starts
// `device_path` (without regard to case) at a path boundary gives its drive followed by the
// rest of the path. A drive whose device name is unknown stops the walk with false. When no
// drive matches, `dos_path` receives `device_path` unchanged and the result is false. Pure.
bool MapDevicePathToDos(const std::wstring& device_path, const std::vector<DriveDevice>& drives,
                        std::wstring* dos_path);

// MapDevicePathToDos over the system's logical drives (QueryDosDeviceW).
bool DevicePathToDosPath(const std::wstring& device_path, std::wstring* dos_path);

#endif  // PINDLE_SYSTEM_DEVICE_PATH_H_
