#include "system/os_version.h"

#include <gtest/gtest.h>

namespace {

struct VersionCase {
  const char* what;
  bool query_ok;
  uint32_t platform;
  uint32_t major;
  uint32_t minor;
  const wchar_t* service_pack;
  int code;
  const char* name;
};

const VersionCase kVersionCases[] = {
    {"query failed", false, 2, 10, 0, L"", -1000, "unknown"},
    {"Windows 98 platform", true, 1, 4, 10, L"", -1000, "unknown"},
    {"NT 4", true, 2, 4, 0, L"Service Pack 6", -999, "unknown"},
    {"Windows 2000", true, 2, 5, 0, L"Service Pack 4", -999, "unknown"},
    {"XP SP3", true, 2, 5, 1, L"Service Pack 3", -999, "unknown"},
    {"Server 2003", true, 2, 5, 2, L"", -999, "unknown"},
    {"Vista RTM", true, 2, 6, 0, L"", 7, "WindowsVista"},
    {"Vista SP1", true, 2, 6, 0, L"Service Pack 1", 8, "WindowsVista"},
    {"Vista SP2", true, 2, 6, 0, L"Service Pack 2", 8, "WindowsVista"},
    {"Vista SP2 other case", true, 2, 6, 0, L"SERVICE PACK 2", 8, "WindowsVista"},
    {"Vista, service pack text with more after it", true, 2, 6, 0, L"Service Pack 2, v.286", 7, "WindowsVista"},
    {"Vista, service pack 3 does not exist", true, 2, 6, 0, L"Service Pack 3", 7, "WindowsVista"},
    {"Vista, text is a prefix only", true, 2, 6, 0, L"Service Pack ", 7, "WindowsVista"},
    {"Windows 7 SP1", true, 2, 6, 1, L"Service Pack 1", 9, "Windows7"},
    {"Windows 8", true, 2, 6, 2, L"", 10, "Windows8"},
    {"Windows 8.1", true, 2, 6, 3, L"", 11, "Windows8.1"},
    {"6.4 preview", true, 2, 6, 4, L"", -1000, "unknown"},
    {"Windows 10", true, 2, 10, 0, L"", 12, "Windows10"},
    {"Windows 11 (still 10.0)", true, 2, 10, 0, L"", 12, "Windows10"},
    {"10 with a minor", true, 2, 10, 1, L"", 12, "Windows10"},
    {"major 7", true, 2, 7, 0, L"", -1000, "unknown"},
    {"major 11", true, 2, 11, 0, L"", -1000, "unknown"},
};

TEST(OsVersionTest, CodeAndNameFromVersionFields) {
  for (const VersionCase& c : kVersionCases) {
    OsVersionFields fields;
    fields.query_ok = c.query_ok;
    fields.platform_id = c.platform;
    fields.major = c.major;
    fields.minor = c.minor;
    fields.service_pack = c.service_pack;
    const int code = OsVersionCodeFromFields(fields);
    EXPECT_EQ(code, c.code) << c.what;
    EXPECT_EQ(OsNameForCode(code), c.name) << c.what;
  }
}

TEST(OsVersionTest, ServicePackComparedOverAtMost127Characters) {
  OsVersionFields fields;
  fields.query_ok = true;
  fields.platform_id = 2;
  fields.major = 6;
  fields.minor = 0;
  // A text that matches only after an embedded NUL is what the fixed record would hold: the
  // C string ends at the NUL.
  fields.service_pack = std::wstring(L"Service Pack 1\0garbage", 22);
  EXPECT_EQ(OsVersionCodeFromFields(fields), 8);
  fields.service_pack = std::wstring(200, L'x');
  EXPECT_EQ(OsVersionCodeFromFields(fields), 7);
}

TEST(OsVersionTest, NamesOfCodesOutsideTheTable) {
  for (int code : {-1000, -999, -1, 0, 6, 13, 100}) EXPECT_EQ(OsNameForCode(code), "unknown") << code;
}

}  // namespace
