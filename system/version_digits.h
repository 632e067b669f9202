// Comparison of a dotted version text with a threshold, used by the install steps.
#ifndef PINDLE_SYSTEM_VERSION_DIGITS_H_
#define PINDLE_SYSTEM_VERSION_DIGITS_H_

#include <string>

// Removes every "." from `version_text`, reads the rest as a decimal integer the way the C
// library's atoi does (leading white space, an optional sign, then digits; 0 when there are
// none) and tells whether it is greater than `number`. "3.2.0.1" reads as 3201. A value beyond
// the range of int saturates instead of overflowing. Pure.
bool VersionDigitsGreater(const std::string& version_text, int number);

// The integer that VersionDigitsGreater compares. Pure.
int VersionDigitsValue(const std::string& version_text);

#endif  // PINDLE_SYSTEM_VERSION_DIGITS_H_
