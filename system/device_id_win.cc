// Win32 side of the device identifier: reads the adapter list.
#include <windows.h>
#include <iphlpapi.h>

#include <cstring>

#include "system/device_id.h"

bool ReadAdapterRecords(std::vector<AdapterRecord>* adapters) {
  adapters->clear();
  // 640 bytes hold one adapter record of the 32-bit layout; a larger list asks for more once.
  ULONG size = 640;
  // IP_ADAPTER_INFO holds 64-bit fields: keep the buffer 8-byte aligned.
  std::vector<uint64_t> buffer((size + 7) / 8);
  DWORD result = GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
  if (result == ERROR_BUFFER_OVERFLOW) {
    buffer.assign((size + 7) / 8, 0);
    result = GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
  }
  if (result != ERROR_SUCCESS) return false;
  for (const IP_ADAPTER_INFO* info = reinterpret_cast<const IP_ADAPTER_INFO*>(buffer.data()); info; info = info->Next) {
    AdapterRecord record;
    const IP_ADDR_STRING* last = &info->IpAddressList;
    while (last->Next) last = last->Next;
    record.last_ip_mask.assign(last->IpMask.String, strnlen(last->IpMask.String, sizeof(last->IpMask.String)));
    std::memcpy(record.hardware.data(), info->Address, record.hardware.size());
    adapters->push_back(record);
  }
  return true;
}

std::string GetDeviceId() {
  std::vector<AdapterRecord> adapters;
  if (!ReadAdapterRecords(&adapters)) return kUnreadableDeviceId;
  return DeviceIdFromAdapters(adapters);
}
