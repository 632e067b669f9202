// Strict reader of prompt-text documents for the tests: accepts exactly the form the installer
// ships (UTF-8 without byte-order mark, CRLF lines, one section "INFO", key="value" lines) and
// says why anything else is refused.
#ifndef PINDLE_TESTS_APP_PROMPT_DOCUMENT_H_
#define PINDLE_TESTS_APP_PROMPT_DOCUMENT_H_

#include <string>
#include <utility>
#include <vector>

struct PromptDocument {
  bool ok = false;
  std::string error;                                        // first problem found, with its line
  std::vector<std::pair<std::string, std::string>> values;  // key, UTF-8 value without quotes

  // Value of `key` (exact spelling), or nullptr when the document lacks it.
  const std::string* Find(const std::string& key) const;
};

PromptDocument ParsePromptDocument(const std::string& bytes);

// Reads a whole file; false when it cannot be opened.
bool ReadWholeFile(const std::string& path, std::string* bytes);

// Decodes UTF-8 into code points; false on any malformed, overlong or surrogate sequence.
bool DecodeUtf8(const std::string& text, std::u32string* out);

// Code points of a wide string (UTF-16 with surrogate pairs on Windows, UTF-32 elsewhere).
std::u32string WideToCodePoints(const std::wstring& text);

#endif  // PINDLE_TESTS_APP_PROMPT_DOCUMENT_H_
