#include "system/os_version.h"

namespace {

constexpr uint32_t kPlatformWin32Nt = 2;
// The record's service-pack text is a 128-character field; the comparison never looks past
// its 127 usable characters.
constexpr size_t kServicePackCompareLimit = 127;

wchar_t FoldAscii(wchar_t c) {
  return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// Case-insensitive equality over at most kServicePackCompareLimit characters, stopping at an
// embedded NUL as the C string in the record would.
bool ServicePackIs(const std::wstring& text, const char* expected) {
  for (size_t i = 0; i < kServicePackCompareLimit; ++i) {
    const wchar_t a = i < text.size() ? text[i] : L'\0';
    const wchar_t b = static_cast<unsigned char>(expected[i]);
    if (FoldAscii(a) != FoldAscii(b)) return false;
    if (a == L'\0') return true;
  }
  return true;
}

}  // namespace

int OsVersionCodeFromFields(const OsVersionFields& fields) {
  if (!fields.query_ok || fields.platform_id != kPlatformWin32Nt) return kOsVersionUnknown;
  if (fields.major < 5) return kOsVersionTooOld;
  switch (fields.major) {
    case 5: return kOsVersionTooOld;
    case 6:
      switch (fields.minor) {
        case 0:
          return (ServicePackIs(fields.service_pack, "Service Pack 1") ||
                  ServicePackIs(fields.service_pack, "Service Pack 2"))
                     ? kOsVersionVistaSp
                     : kOsVersionVista;
        case 1: return kOsVersionWin7;
        case 2: return kOsVersionWin8;
        case 3: return kOsVersionWin81;
        default: return kOsVersionUnknown;
      }
    case 10: return kOsVersionWin10;
    default: return kOsVersionUnknown;
  }
}

std::string OsNameForCode(int code) {
  switch (code) {
    case kOsVersionVista:
    case kOsVersionVistaSp: return "WindowsVista";
    case kOsVersionWin7: return "Windows7";
    case kOsVersionWin8: return "Windows8";
    case kOsVersionWin81: return "Windows8.1";
    case kOsVersionWin10: return "Windows10";
    default: return "unknown";
  }
}
