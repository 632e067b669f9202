// The system's cryptographic random source on Windows (CNG).
#include <windows.h>
#include <bcrypt.h>

#include <climits>

#include "runtime/scoped_handle_win.h"
#include "system/failure_log.h"
#include "system/random_id.h"

bool SystemRandomBytes(void* buffer, size_t size) {
  if (size > ULONG_MAX) return false;
  PUCHAR bytes = static_cast<PUCHAR>(buffer);
  const ULONG length = static_cast<ULONG>(size);
  // The system-preferred generator needs Windows 7; Vista opens the RNG provider itself.
  if (BCRYPT_SUCCESS(BCryptGenRandom(nullptr, bytes, length, BCRYPT_USE_SYSTEM_PREFERRED_RNG))) return true;
  base::ScopedBcryptAlgorithm algorithm;
  const NTSTATUS opened = BCryptOpenAlgorithmProvider(algorithm.receive(), BCRYPT_RNG_ALGORITHM, nullptr, 0);
  if (!BCRYPT_SUCCESS(opened)) {
    system_log::StatusCallFailed(__LINE__, "BCryptOpenAlgorithmProvider", BCRYPT_RNG_ALGORITHM, opened);
    return false;
  }
  const NTSTATUS generated = BCryptGenRandom(algorithm.get(), bytes, length, 0);
  if (!BCRYPT_SUCCESS(generated)) {
    system_log::StatusCallFailed(__LINE__, "BCryptGenRandom", BCRYPT_RNG_ALGORITHM, generated);
    return false;
  }
  return true;
}
