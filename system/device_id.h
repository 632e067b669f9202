// The device identifier: the MAC address of the machine's network adapter, preferring a
// physical adapter over a virtual machine's.
#ifndef PINDLE_SYSTEM_DEVICE_ID_H_
#define PINDLE_SYSTEM_DEVICE_ID_H_

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// What the choice needs to know about one adapter of the system's list.
struct AdapterRecord {
  std::string last_ip_mask;           // mask text of the last entry of its IP address list
  std::array<uint8_t, 6> hardware{};  // first six bytes of its hardware address
};

// Identifier given when the adapter list cannot be read at all.
extern const char kUnreadableDeviceId[];  // "11:11:11:11:11:11"

// "%02X:%02X:%02X:%02X:%02X:%02X" of the six bytes. Pure.
std::string FormatHardwareAddress(const std::array<uint8_t, 6>& bytes);

// True for the address prefixes of virtual-machine adapters (VMware, VirtualBox). Pure.
bool IsVirtualAdapterAddress(const std::string& formatted_address);

// Chooses the identifier from the adapters in list order: adapters without an address (mask
// empty or "0.0.0.0") and with an all-zero hardware address are skipped; the last physical
// adapter wins; a virtual one is used only while no physical adapter has been seen. Empty when
// no adapter qualifies. Pure.
std::string DeviceIdFromAdapters(const std::vector<AdapterRecord>& adapters);

// The adapter list of the system (GetAdaptersInfo); false when it cannot be read.
bool ReadAdapterRecords(std::vector<AdapterRecord>* adapters);

// DeviceIdFromAdapters of the system's list, or kUnreadableDeviceId when it cannot be read.
std::string GetDeviceId();

#endif  // PINDLE_SYSTEM_DEVICE_ID_H_
