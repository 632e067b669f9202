#include "analytics/property_rules.h"

#include <gtest/gtest.h>

#include <string>

#include "stderr_capture.h"

namespace event_analytics {
namespace {

const char kBadName[] = "need to be a valid variable name.";
const char kBadLength[] = "is empty or too long, max length is 100";

struct NameCase {
  const char* label;
  std::string name;
  const char* problem;  // nullptr: accepted
};

TEST(PropertyRulesTest, NameRule) {
  const NameCase cases[] = {
      {"installer event", "pindle_downloader", nullptr},
      {"dollar first", "$SignUp", nullptr},
      {"underscore first", "_private", nullptr},
      {"digits after first", "a1_2$3", nullptr},
      {"single letter", "Z", nullptr},
      {"100 bytes", std::string(100, 'n'), nullptr},
      {"101 bytes", std::string(101, 'n'), kBadLength},
      {"empty", "", kBadLength},
      {"digit first", "1abc", kBadName},
      {"dot", "pindle.downloader", kBadName},
      {"dash", "a-b", kBadName},
      {"space", "a b", kBadName},
      {"non-ASCII letter", "caf\xc3\xa9", kBadName},
      {"NUL inside", std::string("ab\0c", 4), kBadName},
      {"101 bad bytes: length is judged first", std::string(101, '.'), kBadLength},
  };
  for (const char* kind : {kEventNameKind, kPropertyKeyKind}) {
    for (const NameCase& c : cases) {
      SCOPED_TRACE(std::string(kind) + ": " + c.label);
      StderrCapture capture;
      EXPECT_EQ(CheckName(c.name, kind), c.problem == nullptr);
      const std::string expected = c.problem ? std::string("The ") + kind + " " + c.problem + "\n" : std::string();
      EXPECT_EQ(capture.text(), expected);
    }
  }
}

TEST(PropertyRulesTest, LengthRule) {
  struct Case {
    std::string id;
    const char* expected;
  } const cases[] = {
      {"x", ""},
      {std::string(255, 'i'), ""},
      {"any bytes \x01 . - go", ""},
      {"", "The Distinct ID is empty.\n"},
      {std::string(256, 'i'), "The Distinct ID is too long, max length is 255.\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id.size());
    StderrCapture capture;
    EXPECT_EQ(CheckIdLength(c.id, kDistinctIdKind), std::string(c.expected).empty());
    EXPECT_EQ(capture.text(), c.expected);
  }
  StderrCapture capture;
  EXPECT_FALSE(CheckIdLength("", kOriginalIdKind));
  EXPECT_EQ(capture.text(), "The Original ID is empty.\n");
}

struct TextCase {
  const char* label;
  std::string bytes;
  bool accepted;
};

TEST(PropertyRulesTest, Utf8Rule) {
  const TextCase cases[] = {
      {"plain ASCII", "Downloader_Download_Launch", true},
      {"empty", "", true},
      {"tab, line feed, carriage return", "a\tb\nc\r", true},
      {"space and tilde", " ~", true},
      {"NUL", std::string("a\0b", 3), false},
      {"SOH", "\x01", false},
      {"escape 0x1B", "\x1b[0m", false},
      {"unit separator 0x1F", "\x1f", false},
      {"form feed", "\x0c", false},
      {"DEL 0x7F", "a\x7f", false},
      {"U+0080 (C2 80)", "\xc2\x80", true},
      {"U+07FF", "\xdf\xbf", true},
      {"overlong slash C0 AF", "\xc0\xaf", false},
      {"overlong C1 BF", "\xc1\xbf", false},
      {"overlong 3 bytes E0 80 AF", "\xe0\x80\xaf", false},
      {"overlong 3 bytes E0 9F BF", "\xe0\x9f\xbf", false},
      {"U+0800 E0 A0 80", "\xe0\xa0\x80", true},
      {"Chinese", "\xe4\xb8\xad\xe6\x96\x87", true},
      {"U+D7FF ED 9F BF", "\xed\x9f\xbf", true},
      {"surrogate U+D800 ED A0 80", "\xed\xa0\x80", false},
      {"surrogate U+DFFF ED BF BF", "\xed\xbf\xbf", false},
      {"surrogate pair as CESU", "\xed\xa0\xbd\xed\xb8\x80", false},
      {"U+E000 EE 80 80", "\xee\x80\x80", true},
      {"U+FFFF EF BF BF", "\xef\xbf\xbf", true},
      {"overlong 4 bytes F0 8F BF BF", "\xf0\x8f\xbf\xbf", false},
      {"U+10000 F0 90 80 80", "\xf0\x90\x80\x80", true},
      {"emoji U+1F600", "\xf0\x9f\x98\x80", true},
      {"U+10FFFF F4 8F BF BF", "\xf4\x8f\xbf\xbf", true},
      {"U+110000 F4 90 80 80", "\xf4\x90\x80\x80", false},
      {"lead F5", "\xf5\x80\x80\x80", false},
      {"lead FF", "\xff", false},
      {"lone continuation", "a\x80", false},
      {"truncated at the end", "ok\xe4\xb8", false},
      {"truncated before ASCII",
       "\xe4\xb8"
       "A",
       false},
      {"two continuations too many", "\xc3\xa9\x80", false},
      {"five-byte form", "\xf8\x88\x80\x80\x80", false},
      {"latin-1 e acute", "caf\xe9", false},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(IsAcceptedText(c.bytes.data(), c.bytes.size()), c.accepted);
    StderrCapture capture;
    EXPECT_EQ(CheckStringValue("key", c.bytes), c.accepted);
    EXPECT_EQ(capture.text(), c.accepted ? std::string()
                                         : "String property 'key' is not valid UTF-8 string, "
                                           "value: " +
                                               c.bytes + "\n");
  }
}

TEST(PropertyRulesTest, StringLengthLimitIs8192Bytes) {
  struct Case {
    const char* label;
    std::string value;
    bool accepted;
  };
  const std::string chinese = "\xe4\xb8\xad";  // 3 bytes
  const Case cases[] = {
      {"8192 ASCII", std::string(8192, 'a'), true},
      {"8193 ASCII", std::string(8193, 'a'), false},
      {"8192 bytes ending in a 3-byte character", std::string(8189, 'a') + chinese, true},
      {"8193 bytes ending in a 3-byte character", std::string(8190, 'a') + chinese, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    StderrCapture capture;
    EXPECT_EQ(CheckStringValue("long_key", c.value), c.accepted);
    EXPECT_EQ(capture.text(),
              c.accepted ? std::string() : "String property 'long_key' is too long, value: " + c.value + "\n");
  }
  // Length is judged before content: an over-long bad value gets the length message.
  StderrCapture capture;
  EXPECT_FALSE(CheckStringValue("k", std::string(8193, '\x7f')));
  EXPECT_EQ(capture.text().rfind("String property 'k' is too long, value: ", 0), 0u);
}

}  // namespace
}  // namespace event_analytics
