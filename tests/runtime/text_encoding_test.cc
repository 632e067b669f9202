#include "runtime/text_encoding.h"

#include <gtest/gtest.h>

namespace base {
namespace {

TEST(Utf8ToWide, DecodesAndReplacesBadBytes) {
  const struct {
    const char* utf8;
    std::wstring wide;
  } cases[] = {
      {"abc", L"abc"},
      {"\xE5\x8D\xB8\xE8\xBD\xBD", L"\u5378\u8F7D"},
      {"\xF0\x9F\x98\x80", L"\U0001F600"},
      {"\xC0\xAF", L"\uFFFD\uFFFD"},                      // overlong
      {"\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD"},            // surrogate
      {"\xF4\x90\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
      {"a\xE5\x8D", L"a\uFFFD\uFFFD"},                    // cut inside a sequence
  };
  for (const auto& c : cases) EXPECT_EQ(c.wide, Utf8ToWide(c.utf8)) << c.utf8;
}

TEST(WideToUtf8, RoundTrips) {
  for (const std::wstring& text :
       {std::wstring(L"Pindle"), std::wstring(L"\u0E17\u0E14\u0E2A\u0E2D\u0E1A"), std::wstring(L"\U0001F600 \u5378")})
    EXPECT_EQ(text, Utf8ToWide(WideToUtf8(text)));
}

TEST(Utf16Test, RoundTripsAndFlagsLoneSurrogates) {
  const std::u16string text = u"caf\u00e9 \u65e5\u672c \U0001F600";
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
  EXPECT_EQ(Utf16ToUtf8(u"\u00e9"), "\xc3\xa9");
  EXPECT_TRUE(IsWellFormedUtf16(text));
  EXPECT_FALSE(IsWellFormedUtf16(std::u16string(1, char16_t(0xD800))));
  EXPECT_FALSE(IsWellFormedUtf16(std::u16string{char16_t(0xDC00), u'a'}));
  EXPECT_FALSE(IsWellFormedUtf16(std::u16string{u'a', char16_t(0xD83D)}));
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xDC00))), "\xef\xbf\xbd");
  EXPECT_EQ(Utf8ToUtf16("\xff"
                        "a\xc3"),
            u"\uFFFDa\uFFFD");
}

TEST(Utf16Test, CrossesToWstringAndBackUnchanged) {
  // What the shared state holds as std::wstring: a path with a character outside the BMP.
  const std::u16string text = u"C:\\\u7a0b\u5e8f\\\U0001F600\\Pindle";
  const std::wstring wide = ToWstring(text);
  EXPECT_EQ(FromWstring(wide), text);
  EXPECT_EQ(wide, std::wstring(L"C:\\\u7a0b\u5e8f\\\U0001F600\\Pindle"));
  EXPECT_EQ(FromWstring(L""), u"");
  if (sizeof(wchar_t) > sizeof(char16_t)) {
    // Where wchar_t holds whole code points a lone surrogate cannot be carried over.
    EXPECT_EQ(ToWstring(std::u16string{u'a', char16_t(0xD800)}), std::wstring(L"a\uFFFD"));
  } else {
    // Where both are UTF-16 every unit is carried over as it is.
    EXPECT_EQ(FromWstring(ToWstring(std::u16string(1, char16_t(0xD800)))), std::u16string(1, char16_t(0xD800)));
  }
}

}  // namespace
}  // namespace base
