#include "system/device_id.h"

#include <cstdio>

const char kUnreadableDeviceId[] = "11:11:11:11:11:11";

std::string FormatHardwareAddress(const std::array<uint8_t, 6>& bytes) {
  char text[18];
  std::snprintf(text, sizeof(text), "%02X:%02X:%02X:%02X:%02X:%02X", bytes[0], bytes[1], bytes[2], bytes[3], bytes[4],
                bytes[5]);
  return text;
}

bool IsVirtualAdapterAddress(const std::string& formatted_address) {
  // VMware (three prefixes) and VirtualBox host-only adapters.
  static const char* const kVirtualPrefixes[] = {"00:0C:29", "00:50:56", "00:05:69", "0A:00:27"};
  if (formatted_address.size() < 8) return false;
  for (const char* prefix : kVirtualPrefixes) {
    if (formatted_address.compare(0, 8, prefix) == 0) return true;
  }
  return false;
}

std::string DeviceIdFromAdapters(const std::vector<AdapterRecord>& adapters) {
  std::string real;
  std::string virtual_address;
  for (const AdapterRecord& adapter : adapters) {
    if (adapter.last_ip_mask.empty() || adapter.last_ip_mask == "0.0.0.0") continue;  // not connected
    const std::string address = FormatHardwareAddress(adapter.hardware);
    if (address == "00:00:00:00:00:00") continue;
    if (IsVirtualAdapterAddress(address)) {
      virtual_address = address;
    } else {
      real = address;
    }
    if (real.empty()) real = virtual_address;
  }
  return real;
}
