// System facts against the real (Wine) system.
#include <windows.h>

#include <gtest/gtest.h>

#include "system/device_id.h"
#include "system/file_version.h"
#include "system/os_version.h"
#include "tests/system/win_test_support.h"

namespace {

TEST(SystemInfoWinTest, VersionCodeMatchesTheSystemRecord) {
  OSVERSIONINFOEXW record = {};
  record.dwOSVersionInfoSize = sizeof(record);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  ASSERT_TRUE(GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&record)));
#pragma GCC diagnostic pop
  const int code = GetOsVersionCode();
  // Wine's prefix reports Windows 7 SP1 unless configured otherwise; whatever it reports, the
  // code must be the table's value for it and a supported system.
  if (record.dwMajorVersion == 6 && record.dwMinorVersion == 1) {
    EXPECT_EQ(code, 9);
  }
  if (record.dwMajorVersion == 10) {
    EXPECT_EQ(code, 12);
  }
  EXPECT_GT(code, 6) << record.dwMajorVersion << "." << record.dwMinorVersion;
  EXPECT_EQ(GetOsVersionCode(), code);
  EXPECT_EQ(GetOsName(), OsNameForCode(code));
  EXPECT_NE(GetOsName(), "unknown");
}

TEST(SystemInfoWinTest, Wow64AnswersForThisProcess) {
  bool query_ok = false;
  const bool wow64 = IsWow64(&query_ok);
  EXPECT_TRUE(query_ok);
  SYSTEM_INFO native = {};
  GetNativeSystemInfo(&native);
  const bool windows_is_64 = native.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64;
  EXPECT_EQ(wow64, sizeof(void*) == 4 && windows_is_64);
  EXPECT_EQ(IsWow64(nullptr), wow64);  // the flag is optional
}

TEST(SystemInfoWinTest, DeviceIdOfTheRealAdapters) {
  std::vector<AdapterRecord> adapters;
  const bool readable = ReadAdapterRecords(&adapters);
  const std::string id = GetDeviceId();
  if (!readable) {
    EXPECT_EQ(id, kUnreadableDeviceId);
    return;
  }
  EXPECT_EQ(id, DeviceIdFromAdapters(adapters));
  if (id.empty()) return;  // no connected adapter on this machine
  ASSERT_EQ(id.size(), 17u) << id;
  for (size_t i = 0; i < id.size(); ++i) {
    const char c = id[i];
    if (i % 3 == 2) {
      EXPECT_EQ(c, ':') << id;
    } else {
      EXPECT_TRUE((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')) << id;
    }
  }
  EXPECT_NE(id, "00:00:00:00:00:00");
}

TEST(SystemInfoWinTest, FileVersionOfAProgramAndOfOtherFiles) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  // The test program's resource script says FILEVERSION 65535,0,300,4.
  EXPECT_EQ(GetFileVersionText(self), L"65535.0.300.4");

  ScratchFolder folder;
  const std::wstring text_file = folder / L"notes.txt";
  ASSERT_TRUE(WriteFileBytes(text_file, "not a program"));
  EXPECT_EQ(GetFileVersionText(text_file), L"");
  EXPECT_EQ(GetFileVersionText(folder / L"missing.exe"), L"");
  EXPECT_EQ(GetFileVersionText(L""), L"");
  // The helper program has no version resource.
  EXPECT_EQ(GetFileVersionText(ChildProgram()), L"");
}

}  // namespace
