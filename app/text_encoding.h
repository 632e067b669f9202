// Conversions between the program's string kinds: resource documents are UTF-8, paths and
// texts shown to the user are wide, log messages and protocol values are narrow in the
// system ANSI code page (UTF-8 outside Windows).
#ifndef APP_TEXT_ENCODING_H_
#define APP_TEXT_ENCODING_H_

#include <string>

namespace app {

// Invalid sequences become U+FFFD, one per bad byte.
std::wstring Utf8ToWide(const std::string& utf8);
std::string WideToUtf8(const std::wstring& wide);
std::string WideToAnsi(const std::wstring& wide);
std::wstring AnsiToWide(const std::string& ansi);

}  // namespace app

#endif  // APP_TEXT_ENCODING_H_
