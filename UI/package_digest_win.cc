#include "UI/package_digest.h"

#include <windows.h>

#include <bcrypt.h>

#include <vector>

#include "runtime/scoped_handle_win.h"

namespace installer {
namespace {

// Large enough that the hash, not the system calls, sets the pace; small enough to stay out of
// the way of the extraction that follows.
constexpr DWORD kReadBufferBytes = 256 * 1024;
constexpr DWORD kMd5Bytes = 16;

bool Failed(NTSTATUS status, uint32_t* error) {
  if (BCRYPT_SUCCESS(status)) return false;
  *error = static_cast<uint32_t>(status);
  return true;
}

}  // namespace

bool FileMd5(const std::wstring& path, std::string* hex, uint32_t* error) {
  hex->clear();
  *error = 0;
  base::ScopedHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file.valid()) {
    *error = GetLastError();
    return false;
  }
  base::ScopedBcryptAlgorithm algorithm;
  if (Failed(BCryptOpenAlgorithmProvider(algorithm.receive(), BCRYPT_MD5_ALGORITHM, nullptr, 0), error)) return false;
  base::ScopedBcryptHash hash;
  // Without a caller buffer the provider keeps the hash state itself (Windows 7 and later;
  // Vista needs one, so one of the size the provider asks for is always given).
  DWORD object_bytes = 0;
  ULONG written = 0;
  if (Failed(BCryptGetProperty(algorithm.get(), BCRYPT_OBJECT_LENGTH, reinterpret_cast<PUCHAR>(&object_bytes),
                               sizeof(object_bytes), &written, 0),
             error)) {
    return false;
  }
  std::vector<UCHAR> hash_object(object_bytes);
  if (Failed(BCryptCreateHash(algorithm.get(), hash.receive(), hash_object.data(), object_bytes, nullptr, 0, 0),
             error)) {
    return false;
  }
  std::vector<UCHAR> buffer(kReadBufferBytes);
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file.get(), buffer.data(), kReadBufferBytes, &read, nullptr)) {
      *error = GetLastError();
      return false;
    }
    if (read == 0) break;
    if (Failed(BCryptHashData(hash.get(), buffer.data(), read, 0), error)) return false;
  }
  UCHAR digest[kMd5Bytes];
  if (Failed(BCryptFinishHash(hash.get(), digest, kMd5Bytes, 0), error)) return false;
  static const char kDigits[] = "0123456789abcdef";
  hex->reserve(2 * kMd5Bytes);
  for (UCHAR byte : digest) {
    hex->push_back(kDigits[byte >> 4]);
    hex->push_back(kDigits[byte & 0x0F]);
  }
  return true;
}

}  // namespace installer
