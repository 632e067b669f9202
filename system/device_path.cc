#include "system/device_path.h"

namespace {

wchar_t FoldAscii(wchar_t c) {
  return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool StartsWithNoCase(const std::wstring& text, const std::wstring& prefix) {
  if (prefix.size() > text.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (FoldAscii(text[i]) != FoldAscii(prefix[i])) return false;
  }
  return true;
}

bool IsFloppyDrive(const std::wstring& drive) {
  if (drive.empty()) return false;
  const wchar_t letter = FoldAscii(drive[0]);
  return letter == L'a' || letter == L'b';
}

}  // namespace

bool MapDevicePathToDos(const std::wstring& device_path, const std::vector<DriveDevice>& drives,
                        std::wstring* dos_path) {
  for (const DriveDevice& drive : drives) {
    if (IsFloppyDrive(drive.drive)) continue;
    if (!drive.known) {
      *dos_path = device_path;
      return false;
    }
    if (drive.device.empty() || !StartsWithNoCase(device_path, drive.device)) continue;
    // "\Device\HarddiskVolume1" must not claim "\Device\HarddiskVolume10\...".
    const size_t end = drive.device.size();
    if (end < device_path.size() && device_path[end] != L'\\' && drive.device.back() != L'\\') continue;
    *dos_path = drive.drive + device_path.substr(end);
    return true;
  }
  *dos_path = device_path;
  return false;
}
