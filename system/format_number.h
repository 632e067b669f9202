// Decimal text of a 32-bit number, narrow or wide: "%ld" for signed types, "%u" for unsigned.
#ifndef PINDLE_SYSTEM_FORMAT_NUMBER_H_
#define PINDLE_SYSTEM_FORMAT_NUMBER_H_

#include <cstdint>
#include <string>
#include <type_traits>

std::string FormatSigned32(int32_t n);
std::string FormatUnsigned32(uint32_t n);
std::wstring FormatSigned32W(int32_t n);
std::wstring FormatUnsigned32W(uint32_t n);

// Accepts any 32-bit integer type (int, unsigned, DWORD, LONG); the signedness of the type
// chooses the form. Wider types are refused at compile time rather than cut silently.
template <typename T>
std::string FormatNumber(T n) {
  static_assert(std::is_integral<T>::value && sizeof(T) == 4, "FormatNumber takes a 32-bit integer");
  return std::is_signed<T>::value ? FormatSigned32(static_cast<int32_t>(n))
                                  : FormatUnsigned32(static_cast<uint32_t>(n));
}

template <typename T>
std::wstring FormatNumberW(T n) {
  static_assert(std::is_integral<T>::value && sizeof(T) == 4, "FormatNumberW takes a 32-bit integer");
  return std::is_signed<T>::value ? FormatSigned32W(static_cast<int32_t>(n))
                                  : FormatUnsigned32W(static_cast<uint32_t>(n));
}

#endif  // PINDLE_SYSTEM_FORMAT_NUMBER_H_
