// Values of a profile (INI) document held in memory, read by the rules of the Windows profile
// reader (GetPrivateProfileStringA) that the prompt-text documents are written for. Reading
// from bytes rather than through a file name keeps the documents readable wherever the user's
// temporary folder is, including folders whose names the ANSI code page cannot spell.
//
// The rules: lines end with "\n" (a "\r" before it is a trailing blank); blanks around a line,
// a key and a value are dropped; "[name]" starts a section, up to the last "]" of the line;
// section and key names match without regard to ASCII case; only the first section of a name
// is searched, and in it the first line of the key counts (a line without "=" has no value);
// a value enclosed in a pair of double or single quotes loses them, which keeps its blanks; a
// value ends at a NUL byte; a UTF-8 byte-order mark at the start is skipped.
#ifndef APP_INI_DOCUMENT_H_
#define APP_INI_DOCUMENT_H_

#include <cstddef>
#include <string>

namespace app {

// The value of `key` in `section`, cut to its first `max_bytes` bytes (cut by bytes, so UTF-8
// text may lose the end of its last character). False, with an empty value, when the section
// or the key is missing.
bool FindIniValue(const std::string& document, const std::string& section, const std::string& key, size_t max_bytes,
                  std::string* value);

}  // namespace app

#endif  // APP_INI_DOCUMENT_H_
