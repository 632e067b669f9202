#include "extract/wide_text.h"

#include <cstdint>

namespace extract {

namespace {

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

void AppendUtf8(std::string* out, uint32_t cp) {
  if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

void AppendUtf16(std::u16string* out, uint32_t cp) {
  if (cp < 0x10000) {
    out->push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out->push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out->push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

// The code point at text[*i], stepping *i over the low half of a surrogate pair; a lone
// surrogate reads as U+FFFD.
uint32_t NextCodePoint(const std::u16string& text, size_t* i) {
  const char16_t unit = text[*i];
  if (IsHighSurrogate(unit) && *i + 1 < text.size() && IsLowSurrogate(text[*i + 1])) {
    ++*i;
    return 0x10000 + ((static_cast<uint32_t>(unit) - 0xD800) << 10) + (text[*i] - 0xDC00);
  }
  return IsHighSurrogate(unit) || IsLowSurrogate(unit) ? 0xFFFD : unit;
}

}  // namespace

bool IsWellFormedUtf16(const std::u16string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsHighSurrogate(text[i])) {
      if (i + 1 >= text.size() || !IsLowSurrogate(text[i + 1])) return false;
      ++i;
    } else if (IsLowSurrogate(text[i])) {
      return false;
    }
  }
  return true;
}

std::string Utf16ToUtf8(const std::u16string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const uint32_t cp = NextCodePoint(text, &i);
    AppendUtf8(&out, cp);
  }
  return out;
}

std::u16string Utf8ToUtf16(const std::string& text) {
  std::u16string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    size_t extra = 0;
    uint32_t cp = 0;
    uint32_t min = 0;
    if (lead < 0x80) {
      cp = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      extra = 1, cp = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2, cp = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3, cp = lead & 0x07, min = 0x10000;
    } else {
      AppendUtf16(&out, 0xFFFD);
      ++i;
      continue;
    }
    size_t k = 1;
    for (; k <= extra; ++k) {
      if (i + k >= text.size()) break;
      const unsigned char c = static_cast<unsigned char>(text[i + k]);
      if ((c & 0xC0) != 0x80) break;
      cp = (cp << 6) | (c & 0x3F);
    }
    if (k <= extra || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      AppendUtf16(&out, 0xFFFD);
      i += k;
      continue;
    }
    AppendUtf16(&out, cp);
    i += extra + 1;
  }
  return out;
}

std::u16string AsciiToUtf16(const std::string& text) {
  return std::u16string(text.begin(), text.end());
}

std::wstring ToWstring(const std::u16string& text) {
  if (sizeof(wchar_t) == sizeof(char16_t)) return std::wstring(text.begin(), text.end());
  std::wstring out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const uint32_t cp = NextCodePoint(text, &i);
    out.push_back(static_cast<wchar_t>(cp));
  }
  return out;
}

std::u16string FromWstring(const std::wstring& text) {
  std::u16string out;
  out.reserve(text.size());
  for (const wchar_t c : text) {
    const uint32_t cp = static_cast<uint32_t>(c);
    if (sizeof(wchar_t) == sizeof(char16_t)) {
      out.push_back(static_cast<char16_t>(cp));
    } else {
      AppendUtf16(&out, cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF) ? 0xFFFD : cp);
    }
  }
  return out;
}

}  // namespace extract
