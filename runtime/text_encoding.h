// The program's one set of text conversions. Resource documents, JSON and the collector's values
// are UTF-8; paths and texts shown to the user are wide; log messages, command-line values made
// narrow and the paths of narrow APIs are in the system ANSI code page (UTF-8 outside Windows).
//
// Wide text is std::wstring wherever it meets the shared state or a Win32 call: on Windows wchar_t
// is UTF-16, so the string goes to the API as it is. Portable code that must count and check
// UTF-16 units the same in every build (archive entry names, whose surrogates decide whether a file
// can be written) keeps std::u16string, since wchar_t is 32 bits in the host build, and crosses to
// std::wstring with ToWstring / FromWstring.
//
// Malformed input never fails a conversion: each byte of a malformed UTF-8 sequence, and each lone
// surrogate, becomes U+FFFD.
#ifndef RUNTIME_TEXT_ENCODING_H_
#define RUNTIME_TEXT_ENCODING_H_

#include <string>

namespace base {

std::wstring Utf8ToWide(const std::string& utf8);
std::string WideToUtf8(const std::wstring& wide);
std::string WideToAnsi(const std::wstring& wide);
std::wstring AnsiToWide(const std::string& ansi);

std::u16string Utf8ToUtf16(const std::string& utf8);
std::string Utf16ToUtf8(const std::u16string& text);
// ASCII text widened character by character (for literals and 7-Zip's own messages).
std::u16string AsciiToUtf16(const std::string& ascii);
// False when the text holds a lone or reversed surrogate: such a name cannot be turned into a
// file name on any platform.
bool IsWellFormedUtf16(const std::u16string& text);

// Where wchar_t is UTF-16 (Windows) the units are copied as they are; where it is UTF-32 pairs are
// joined and split, and a lone surrogate becomes U+FFFD.
std::wstring ToWstring(const std::u16string& text);
std::u16string FromWstring(const std::wstring& text);

}  // namespace base

#endif  // RUNTIME_TEXT_ENCODING_H_
