#include "system/random_id.h"

#include <atomic>
#include <chrono>
#include <cstdio>

namespace {

uint64_t SplitMix64(uint64_t* state) {
  uint64_t z = (*state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// Last resort when the system source fails, which no supported Windows does: mix the clock,
// a process-wide counter and an address so that two calls still differ.
void FallbackNumbers(std::array<uint16_t, 8>* numbers) {
  static std::atomic<uint64_t> counter{0};
  int local = 0;
  uint64_t state = static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
  state ^= (counter.fetch_add(1) + 1) * 0xD1B54A32D192ED03ull;
  state ^= static_cast<uint64_t>(reinterpret_cast<uintptr_t>(&local));
  for (uint16_t& number : *numbers) number = static_cast<uint16_t>(SplitMix64(&state));
}

}  // namespace

std::string FormatRandomId(const std::array<uint16_t, 8>& numbers) {
  unsigned r[9];  // r[1]..r[8] as the format names them
  for (int i = 0; i < 8; ++i) r[i + 1] = numbers[i] & 0x7FFFu;
  char text[64];
  std::snprintf(text, sizeof(text), "%x%x-%x-%x-%x-%x%x%x", r[8], r[7], r[6], (r[5] & 0x0FFFu) | 0x4000u,
                (r[4] % 0x3FFFu) + 0x8000u, r[3], r[2], r[1]);
  return text;
}

std::string NewRandomId() {
  std::array<uint16_t, 8> numbers{};
  if (!SystemRandomBytes(numbers.data(), sizeof(numbers))) FallbackNumbers(&numbers);
  return FormatRandomId(numbers);
}
