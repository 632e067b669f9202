#include "app/ini_document.h"

#include <algorithm>
#include <cstring>

namespace app {
namespace {

// The profile reader's blanks: white space and the DOS end-of-file mark.
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1a';
}

char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(const char* text, size_t size, const std::string& name) {
  if (size != name.size()) return false;
  for (size_t i = 0; i < size; ++i) {
    if (AsciiLower(text[i]) != AsciiLower(name[i])) return false;
  }
  return true;
}

// [begin, end) without blanks at either end.
void Trim(const char** begin, const char** end) {
  while (*begin < *end && IsBlank(**begin)) ++*begin;
  while (*end > *begin && IsBlank((*end)[-1])) --*end;
}

void CopyValue(const char* begin, const char* end, size_t max_bytes, std::string* value) {
  const void* nul = std::memchr(begin, '\0', static_cast<size_t>(end - begin));
  if (nul) end = static_cast<const char*>(nul);
  const size_t size = static_cast<size_t>(end - begin);
  if (size >= 2 && (*begin == '"' || *begin == '\'') && end[-1] == *begin) {
    ++begin;
    --end;
  }
  value->assign(begin, std::min(static_cast<size_t>(end - begin), max_bytes));
}

}  // namespace

bool FindIniValue(const std::string& document, const std::string& section, const std::string& key, size_t max_bytes,
                  std::string* value) {
  value->clear();
  const char* next = document.data();
  const char* const stop = next + document.size();
  if (document.compare(0, 3, "\xEF\xBB\xBF") == 0) next += 3;
  bool in_section = false;
  while (next < stop) {
    const void* break_at = std::memchr(next, '\n', static_cast<size_t>(stop - next));
    const char* line = next;
    const char* line_end = break_at ? static_cast<const char*>(break_at) : stop;
    next = break_at ? line_end + 1 : stop;
    Trim(&line, &line_end);
    if (line == line_end) continue;
    if (*line == '[') {
      // The name ends at the last "]"; a "[" line without one is read as an entry.
      const char* close = line_end;
      while (close > line + 1 && close[-1] != ']') --close;
      if (close > line + 1) {
        // The section searched ends here; a later one of the same name is not searched.
        if (in_section) return false;
        in_section = SameName(line + 1, static_cast<size_t>(close - 1 - (line + 1)), section);
        continue;
      }
    }
    if (!in_section) continue;
    const void* equals = std::memchr(line, '=', static_cast<size_t>(line_end - line));
    const char* name_end = equals ? static_cast<const char*>(equals) : line_end;
    const char* name = line;
    Trim(&name, &name_end);
    if (!SameName(name, static_cast<size_t>(name_end - name), key)) continue;
    // The first line of the key decides; one without "=" has no value.
    if (!equals) return false;
    const char* text = static_cast<const char*>(equals) + 1;
    const char* text_end = line_end;
    Trim(&text, &text_end);
    CopyValue(text, text_end, max_bytes, value);
    return true;
  }
  return false;
}

}  // namespace app
