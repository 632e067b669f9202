// UTF-16 text in code that must not depend on the width of wchar_t: paths and entry names are
// std::u16string here, and only the platform files turn them into wchar_t (Windows, where both
// are UTF-16) or UTF-8 (the POSIX host build).
#ifndef PINDLE_EXTRACT_WIDE_TEXT_H_
#define PINDLE_EXTRACT_WIDE_TEXT_H_

#include <string>

namespace extract {

// False when the text holds a lone or reversed surrogate: such a name cannot be turned into a
// file name on any platform.
bool IsWellFormedUtf16(const std::u16string& text);

// UTF-8 form of the text; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(const std::u16string& text);

// UTF-16 form of UTF-8 text; a malformed byte sequence becomes U+FFFD.
std::u16string Utf8ToUtf16(const std::string& text);

// ASCII text widened character by character (for literals and 7-Zip's own messages).
std::u16string AsciiToUtf16(const std::string& text);

// The boundary to code that keeps wide text in std::wstring (the shared state, the system
// helpers). Where wchar_t is UTF-16 (Windows) the units are copied as they are; where it is
// UTF-32 pairs are joined and split, and a lone surrogate becomes U+FFFD.
std::wstring ToWstring(const std::u16string& text);
std::u16string FromWstring(const std::wstring& text);

}  // namespace extract

#endif  // PINDLE_EXTRACT_WIDE_TEXT_H_
