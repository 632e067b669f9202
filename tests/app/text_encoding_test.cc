#include "app/text_encoding.h"

#include <gtest/gtest.h>

namespace app {
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

}  // namespace
}  // namespace app
