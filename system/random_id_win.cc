// The system's cryptographic random source on Windows (CNG).
#include <windows.h>
#include <bcrypt.h>

#include <climits>

#include "system/random_id.h"

bool SystemRandomBytes(void* buffer, size_t size) {
  if (size > ULONG_MAX) return false;
  PUCHAR bytes = static_cast<PUCHAR>(buffer);
  const ULONG length = static_cast<ULONG>(size);
  // The system-preferred generator needs Windows 7; Vista opens the RNG provider itself.
  if (BCRYPT_SUCCESS(BCryptGenRandom(nullptr, bytes, length, BCRYPT_USE_SYSTEM_PREFERRED_RNG))) return true;
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_RNG_ALGORITHM, nullptr, 0))) return false;
  const bool ok = BCRYPT_SUCCESS(BCryptGenRandom(algorithm, bytes, length, 0));
  BCryptCloseAlgorithmProvider(algorithm, 0);
  return ok;
}
