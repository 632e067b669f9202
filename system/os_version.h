// Facts about the running Windows: a numeric version code, its readable name and whether a
// 32-bit process runs on 64-bit Windows.
//
// The code is compared numerically by its users: greater than 6 means Vista or later, -999
// means too old to install, 9 is Windows 7, below 9 the systems before Windows 7.
#ifndef PINDLE_SYSTEM_OS_VERSION_H_
#define PINDLE_SYSTEM_OS_VERSION_H_

#include <cstdint>
#include <string>

constexpr int kOsVersionUnknown = -1000;  // query failed, not NT, or a version we do not know
constexpr int kOsVersionTooOld = -999;    // Windows 2000, XP, Server 2003 and older
constexpr int kOsVersionVista = 7;
constexpr int kOsVersionVistaSp = 8;  // Vista with service pack 1 or 2
constexpr int kOsVersionWin7 = 9;
constexpr int kOsVersionWin8 = 10;
constexpr int kOsVersionWin81 = 11;
constexpr int kOsVersionWin10 = 12;  // Windows 10 and 11 both report major version 10

// The fields of the system's version record that decide the code.
struct OsVersionFields {
  bool query_ok = false;     // the version query itself succeeded
  uint32_t platform_id = 0;  // 2 = VER_PLATFORM_WIN32_NT
  uint32_t major = 0;
  uint32_t minor = 0;
  std::wstring service_pack;  // the record's service-pack text ("Service Pack 2")
};

// Version code for the record (see the constants above). Pure.
int OsVersionCodeFromFields(const OsVersionFields& fields);

// Readable name sent with analytics events: "WindowsVista", "Windows7", "Windows8",
// "Windows8.1", "Windows10", or "unknown" for any other code. Pure.
std::string OsNameForCode(int code);

// The running system's code, computed on the first call and cached for the process.
int GetOsVersionCode();

// OsNameForCode(GetOsVersionCode()).
std::string GetOsName();

// True when this is a 32-bit process on 64-bit Windows. `query_ok` (may be null) tells whether
// the answer could be obtained at all; after five failed attempts, 100 ms apart, the result is
// false with `query_ok` false.
bool IsWow64(bool* query_ok);

#endif  // PINDLE_SYSTEM_OS_VERSION_H_
