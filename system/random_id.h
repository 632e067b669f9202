// GUID-shaped random identifiers, used as the analytics distinct id of an installation.
#ifndef PINDLE_SYSTEM_RANDOM_ID_H_
#define PINDLE_SYSTEM_RANDOM_ID_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// Formats r8, r7, r6, (r5 & 0x0FFF) | 0x4000, (r4 % 0x3FFF) + 0x8000, r3, r2, r1 with
// "%x%x-%x-%x-%x-%x%x%x", where numbers[0] is r1. Each number is taken as 0..32767 (its low
// 15 bits). Hexadecimal fields carry no leading zeros, so field widths vary. Pure.
std::string FormatRandomId(const std::array<uint16_t, 8>& numbers);

// A new identifier from eight numbers drawn from the system's cryptographic random source.
// Every installation draws its own numbers, so two ids made anywhere in the same second
// differ (seeding a C-library generator with the time made them equal).
std::string NewRandomId();

// Fills `size` bytes from the system's cryptographic random source; false when it fails.
bool SystemRandomBytes(void* buffer, size_t size);

#endif  // PINDLE_SYSTEM_RANDOM_ID_H_
