#include "runtime/text_encoding.h"

#include <cstdint>

namespace base {

namespace {

const uint32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(uint32_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(uint32_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}
bool IsSurrogate(uint32_t unit) {
  return unit >= 0xD800 && unit <= 0xDFFF;
}

// The code point at utf8[*i], stepping *i past it; a malformed sequence yields U+FFFD for its first
// byte alone, so every bad byte becomes one replacement.
uint32_t NextUtf8CodePoint(const std::string& utf8, size_t* i) {
  const unsigned char lead = static_cast<unsigned char>(utf8[*i]);
  size_t length = 0;
  uint32_t cp = 0;
  uint32_t minimum = 0;
  if (lead < 0x80) {
    ++*i;
    return lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, cp = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, cp = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, cp = lead & 0x07, minimum = 0x10000;
  }
  bool ok = length != 0 && *i + length <= utf8.size();
  for (size_t k = 1; ok && k < length; ++k) {
    const unsigned char next = static_cast<unsigned char>(utf8[*i + k]);
    if ((next & 0xC0) != 0x80) ok = false;
    cp = (cp << 6) | (next & 0x3F);
  }
  if (!ok || cp < minimum || cp > 0x10FFFF || IsSurrogate(cp)) {
    ++*i;
    return kReplacement;
  }
  *i += length;
  return cp;
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

// Appends a code point as UTF-16 units to a string of 16-bit units (u16string, or wstring where
// wchar_t is 16 bits) or as one unit to a string of 32-bit units.
template <class String>
void AppendCodePoint(String* out, uint32_t cp) {
  using Unit = typename String::value_type;
  if (sizeof(Unit) == 2 && cp > 0xFFFF) {
    cp -= 0x10000;
    out->push_back(static_cast<Unit>(0xD800 + (cp >> 10)));
    out->push_back(static_cast<Unit>(0xDC00 + (cp & 0x3FF)));
  } else {
    out->push_back(static_cast<Unit>(cp));
  }
}

// The code point at text[*i] of UTF-16 (16-bit units) or UTF-32 text, stepping *i past it; a lone
// surrogate, or a value beyond U+10FFFF, reads as U+FFFD.
template <class String>
uint32_t NextCodePoint(const String& text, size_t* i) {
  using Unit = typename String::value_type;
  const uint32_t unit = static_cast<uint32_t>(text[*i]) & (sizeof(Unit) == 2 ? 0xFFFF : 0xFFFFFFFF);
  ++*i;
  if (sizeof(Unit) == 2 && IsHighSurrogate(unit) && *i < text.size()) {
    const uint32_t low = static_cast<uint32_t>(text[*i]) & 0xFFFF;
    if (IsLowSurrogate(low)) {
      ++*i;
      return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
    }
  }
  return IsSurrogate(unit) || unit > 0x10FFFF ? kReplacement : unit;
}

template <class String>
String DecodeUtf8(const std::string& utf8) {
  String out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) AppendCodePoint(&out, NextUtf8CodePoint(utf8, &i));
  return out;
}

template <class String>
std::string EncodeUtf8(const String& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) AppendUtf8(&out, NextCodePoint(text, &i));
  return out;
}

}  // namespace

std::wstring Utf8ToWide(const std::string& utf8) {
  return DecodeUtf8<std::wstring>(utf8);
}

std::string WideToUtf8(const std::wstring& wide) {
  return EncodeUtf8(wide);
}

std::u16string Utf8ToUtf16(const std::string& utf8) {
  return DecodeUtf8<std::u16string>(utf8);
}

std::string Utf16ToUtf8(const std::u16string& text) {
  return EncodeUtf8(text);
}

std::u16string AsciiToUtf16(const std::string& ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

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

std::wstring ToWstring(const std::u16string& text) {
  if (sizeof(wchar_t) == sizeof(char16_t)) return std::wstring(text.begin(), text.end());
  std::wstring out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) out.push_back(static_cast<wchar_t>(NextCodePoint(text, &i)));
  return out;
}

std::u16string FromWstring(const std::wstring& text) {
  if (sizeof(wchar_t) == sizeof(char16_t)) return std::u16string(text.begin(), text.end());
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) AppendCodePoint(&out, NextCodePoint(text, &i));
  return out;
}

#ifndef _WIN32
// Outside Windows the "ANSI code page" is UTF-8.
std::string WideToAnsi(const std::wstring& wide) {
  return WideToUtf8(wide);
}
std::wstring AnsiToWide(const std::string& ansi) {
  return Utf8ToWide(ansi);
}
#endif

}  // namespace base
