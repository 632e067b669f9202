#include "system/version_digits.h"

#include <climits>

int VersionDigitsValue(const std::string& version_text) {
  std::string digits;
  digits.reserve(version_text.size());
  for (char c : version_text) {
    if (c != '.') digits.push_back(c);
  }
  size_t i = 0;
  while (i < digits.size() && (digits[i] == ' ' || (digits[i] >= '\t' && digits[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < digits.size() && (digits[i] == '+' || digits[i] == '-')) {
    negative = digits[i] == '-';
    ++i;
  }
  long long value = 0;  // kept within int's range plus one, so it never overflows
  for (; i < digits.size() && digits[i] >= '0' && digits[i] <= '9'; ++i) {
    value = value * 10 + (digits[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

bool VersionDigitsGreater(const std::string& version_text, int number) {
  return VersionDigitsValue(version_text) > number;
}
