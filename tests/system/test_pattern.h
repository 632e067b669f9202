// A deterministic byte pattern that covers every byte value (NUL, CR, LF and 0x1A included),
// so text-mode translation or a lost piece shows up as a mismatch.
#ifndef PINDLE_TESTS_SYSTEM_TEST_PATTERN_H_
#define PINDLE_TESTS_SYSTEM_TEST_PATTERN_H_

#include <cstddef>
#include <string>

inline std::string TestPattern(size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  unsigned state = seed * 2654435761u + 1;
  for (size_t i = 0; i < size; ++i) {
    state = state * 1103515245u + 12345u;
    bytes[i] = static_cast<char>((state >> 16) ^ i);
  }
  return bytes;
}

#endif  // PINDLE_TESTS_SYSTEM_TEST_PATTERN_H_
