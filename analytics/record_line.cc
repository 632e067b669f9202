#include "analytics/record_line.h"

#include <string_view>

namespace event_analytics {
namespace {

// A recursive-descent check over one line; each Parse* call consumes what it accepts.
class RecordLineChecker {
 public:
  RecordLineChecker(const char* data, size_t size) : data_(reinterpret_cast<const unsigned char*>(data)), size_(size) {}

  bool Check() { return Peek() == '{' && ParseValue(0) && at_ == size_; }

 private:
  int Peek() const { return at_ < size_ ? data_[at_] : -1; }

  bool Take(unsigned char expected) {
    if (Peek() != expected) return false;
    ++at_;
    return true;
  }

  bool TakeWord(const char* word) {
    for (; *word; ++word) {
      if (!Take(static_cast<unsigned char>(*word))) return false;
    }
    return true;
  }

  bool ParseValue(int depth) {
    switch (Peek()) {
      case '{': return depth < kMaxRecordNesting && ParseObject(depth + 1);
      case '[': return depth < kMaxRecordNesting && ParseList(depth + 1);
      case '"': return ParseString();
      case 't': return TakeWord("true");
      case 'f': return TakeWord("false");
      case 'n': return TakeWord("null");
      default: return ParseNumber();
    }
  }

  // The writer puts an object's members in byte order of their keys, which are names written
  // as they are: each key is greater than the one before it, so none appears twice.
  bool ParseObject(int depth) {
    Take('{');
    if (Take('}')) return true;
    std::string_view previous_key;
    bool first = true;
    do {
      const size_t key_start = at_ + 1;
      if (!ParseString()) return false;
      const std::string_view key(reinterpret_cast<const char*>(data_) + key_start, at_ - 1 - key_start);
      if (key.find('\\') != std::string_view::npos) return false;
      if (!first && key <= previous_key) return false;
      previous_key = key;
      first = false;
      if (!Take(':') || !ParseValue(depth)) return false;
    } while (Take(','));
    return Take('}');
  }

  bool ParseList(int depth) {
    Take('[');
    if (Take(']')) return true;
    do {
      if (!ParseValue(depth)) return false;
    } while (Take(','));
    return Take(']');
  }

  bool TakeDigits() {
    const size_t start = at_;
    while (Peek() >= '0' && Peek() <= '9') ++at_;
    return at_ > start;
  }

  // -? (0 | [1-9][0-9]*) (. [0-9]+)? ([eE] [+-]? [0-9]+)?
  bool ParseNumber() {
    Take('-');
    if (!Take('0')) {
      if (Peek() < '1' || Peek() > '9') return false;
      TakeDigits();
    }
    if (Take('.') && !TakeDigits()) return false;
    if (Take('e') || Take('E')) {
      if (!Take('+')) Take('-');
      if (!TakeDigits()) return false;
    }
    return true;
  }

  bool TakeHexDigit() {
    const int c = Peek();
    if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')) {
      ++at_;
      return true;
    }
    return false;
  }

  bool TakeRange(unsigned char low, unsigned char high) {
    const int c = Peek();
    if (c < low || c > high) return false;
    ++at_;
    return true;
  }

  // One multi-byte UTF-8 character whose lead byte is at the cursor: the well-formed sequences
  // of the Unicode standard (no overlong forms, no surrogates, nothing above U+10FFFF).
  bool TakeUtf8Sequence() {
    const int lead = Peek();
    ++at_;
    if (lead >= 0xC2 && lead <= 0xDF) return TakeRange(0x80, 0xBF);
    if (lead == 0xE0) return TakeRange(0xA0, 0xBF) && TakeRange(0x80, 0xBF);
    if ((lead >= 0xE1 && lead <= 0xEC) || lead == 0xEE || lead == 0xEF) {
      return TakeRange(0x80, 0xBF) && TakeRange(0x80, 0xBF);
    }
    if (lead == 0xED) return TakeRange(0x80, 0x9F) && TakeRange(0x80, 0xBF);
    if (lead == 0xF0) return TakeRange(0x90, 0xBF) && TakeRange(0x80, 0xBF) && TakeRange(0x80, 0xBF);
    if (lead >= 0xF1 && lead <= 0xF3) {
      return TakeRange(0x80, 0xBF) && TakeRange(0x80, 0xBF) && TakeRange(0x80, 0xBF);
    }
    if (lead == 0xF4) return TakeRange(0x80, 0x8F) && TakeRange(0x80, 0xBF) && TakeRange(0x80, 0xBF);
    return false;
  }

  bool ParseString() {
    if (!Take('"')) return false;
    for (;;) {
      const int c = Peek();
      if (c < 0x20) return false;  // the end of the line, or a raw control character
      if (c == '"') {
        ++at_;
        return true;
      }
      if (c >= 0x80) {
        if (!TakeUtf8Sequence()) return false;
        continue;
      }
      ++at_;
      if (c != '\\') continue;
      switch (Peek()) {
        case '"':
        case '\\':
        case '/':
        case 'b':
        case 'f':
        case 'n':
        case 'r':
        case 't': ++at_; break;
        case 'u':
          ++at_;
          if (!TakeHexDigit() || !TakeHexDigit() || !TakeHexDigit() || !TakeHexDigit()) return false;
          break;
        default: return false;
      }
    }
  }

  const unsigned char* data_;
  size_t size_;
  size_t at_ = 0;
};

}  // namespace

bool IsRecordLine(const char* data, size_t size) {
  if (size > kMaxRecordLineBytes) return false;
  return RecordLineChecker(data, size).Check();
}

}  // namespace event_analytics
