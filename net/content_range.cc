#include "net/content_range.h"

namespace net {

namespace {

void SkipBlanks(const std::string& text, size_t* i) {
  while (*i < text.size() && (text[*i] == ' ' || text[*i] == '\t')) ++*i;
}

bool ReadNumber(const std::string& text, size_t* i, uint32_t* value) {
  SkipBlanks(text, i);
  uint64_t number = 0;
  const size_t begin = *i;
  while (*i < text.size() && text[*i] >= '0' && text[*i] <= '9') {
    number = number * 10 + static_cast<uint64_t>(text[*i] - '0');
    if (number > 0xFFFFFFFFull) return false;
    ++*i;
  }
  if (*i == begin) return false;
  *value = static_cast<uint32_t>(number);
  SkipBlanks(text, i);
  return true;
}

bool Expect(const std::string& text, size_t* i, char c) {
  if (*i >= text.size() || text[*i] != c) return false;
  ++*i;
  return true;
}

}  // namespace

bool ParseContentRange(const std::string& text, ContentRange* range) {
  size_t i = 0;
  SkipBlanks(text, &i);
  static const char kUnit[] = "bytes";
  for (size_t k = 0; k < sizeof kUnit - 1; ++k, ++i) {
    if (i >= text.size() || (text[i] | 0x20) != kUnit[k]) return false;
  }
  if (i >= text.size() || (text[i] != ' ' && text[i] != '\t')) return false;
  ContentRange parsed;
  if (!ReadNumber(text, &i, &parsed.first) || !Expect(text, &i, '-') || !ReadNumber(text, &i, &parsed.last) ||
      !Expect(text, &i, '/') || !ReadNumber(text, &i, &parsed.total) || i != text.size()) {
    return false;
  }
  if (parsed.first > parsed.last || parsed.last >= parsed.total) return false;
  *range = parsed;
  return true;
}

}  // namespace net
