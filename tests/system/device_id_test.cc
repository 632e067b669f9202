#include "system/device_id.h"

#include <gtest/gtest.h>

namespace {

AdapterRecord Adapter(const char* mask, std::array<uint8_t, 6> bytes) {
  AdapterRecord record;
  record.last_ip_mask = mask;
  record.hardware = bytes;
  return record;
}

const AdapterRecord kPhysicalA = Adapter("255.255.255.0", {0x1C, 0x6F, 0x65, 0xA0, 0x0B, 0xFE});
const AdapterRecord kPhysicalB = Adapter("255.255.0.0", {0x3C, 0x97, 0x0E, 0x01, 0x02, 0x03});
const AdapterRecord kVmware = Adapter("255.255.255.0", {0x00, 0x50, 0x56, 0xC0, 0x00, 0x08});
const AdapterRecord kVmwareOld = Adapter("255.255.255.0", {0x00, 0x0C, 0x29, 0x12, 0x34, 0x56});
const AdapterRecord kVmwareEsx = Adapter("255.255.255.0", {0x00, 0x05, 0x69, 0x01, 0x01, 0x01});
const AdapterRecord kVirtualBox = Adapter("255.255.255.0", {0x0A, 0x00, 0x27, 0x00, 0x00, 0x11});
const AdapterRecord kDisconnected = Adapter("0.0.0.0", {0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF});
const AdapterRecord kNoAddress = Adapter("", {0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0x01});
const AdapterRecord kZeroHardware = Adapter("255.0.0.0", {0, 0, 0, 0, 0, 0});

struct ChoiceCase {
  const char* what;
  std::vector<AdapterRecord> adapters;
  const char* expected;
};

TEST(DeviceIdTest, ChoiceOverTheAdapterList) {
  const ChoiceCase cases[] = {
      {"no adapters", {}, ""},
      {"one physical", {kPhysicalA}, "1C:6F:65:A0:0B:FE"},
      {"only VMware", {kVmware}, "00:50:56:C0:00:08"},
      {"VMware first, physical after", {kVmware, kPhysicalA}, "1C:6F:65:A0:0B:FE"},
      {"physical first, VMware after", {kPhysicalA, kVmware}, "1C:6F:65:A0:0B:FE"},
      {"two physical: the last one", {kPhysicalA, kPhysicalB}, "3C:97:0E:01:02:03"},
      {"two physical, reversed", {kPhysicalB, kPhysicalA}, "1C:6F:65:A0:0B:FE"},
      {"only virtual ones: the first stays", {kVirtualBox, kVmware}, "0A:00:27:00:00:11"},
      {"each virtual prefix counts", {kVmwareOld, kVmwareEsx, kVirtualBox, kPhysicalB}, "3C:97:0E:01:02:03"},
      {"disconnected is never used", {kDisconnected}, ""},
      {"disconnected after physical", {kPhysicalA, kDisconnected}, "1C:6F:65:A0:0B:FE"},
      {"no address is never used", {kNoAddress, kVmware}, "00:50:56:C0:00:08"},
      {"all-zero hardware address skipped", {kPhysicalA, kZeroHardware}, "1C:6F:65:A0:0B:FE"},
  };
  for (const ChoiceCase& c : cases) EXPECT_EQ(DeviceIdFromAdapters(c.adapters), c.expected) << c.what;
}

TEST(DeviceIdTest, LastEntryOfTheAddressListDecides) {
  // The wrapper passes the mask of the last IP entry; only that one decides.
  EXPECT_EQ(DeviceIdFromAdapters({Adapter("0.0.0.0", {1, 2, 3, 4, 5, 6})}), "");
  EXPECT_EQ(DeviceIdFromAdapters({Adapter("255.255.255.255", {1, 2, 3, 4, 5, 6})}), "01:02:03:04:05:06");
}

TEST(DeviceIdTest, AddressTextIsUpperCaseWithLeadingZeros) {
  EXPECT_EQ(FormatHardwareAddress({0x00, 0x0a, 0xff, 0x10, 0x01, 0xab}), "00:0A:FF:10:01:AB");
  EXPECT_STREQ(kUnreadableDeviceId, "11:11:11:11:11:11");
  EXPECT_TRUE(IsVirtualAdapterAddress("0A:00:27:00:00:00"));
  EXPECT_FALSE(IsVirtualAdapterAddress("0A:00:28:00:00:00"));
  EXPECT_FALSE(IsVirtualAdapterAddress("00:50"));
}

}  // namespace
