// Which staged lines count as records: everything the JSON writer makes of a record, and
// nothing a collector would refuse.
#include "analytics/record_line.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "analytics/json_writer.h"
#include "analytics/record_builder.h"

namespace event_analytics {
namespace {

bool IsRecord(const std::string& line) {
  return IsRecordLine(line.data(), line.size());
}

std::string Nested(int levels) {
  std::string line;
  for (int i = 0; i < levels; ++i) line += "{\"a\":";
  line += "1";
  for (int i = 0; i < levels; ++i) line += "}";
  return line;
}

TEST(RecordLineTest, EveryRecordTheWriterMakesIsARecordLine) {
  PropertiesNode properties;
  properties.SetString("path", "C:\\Pindle \"x\"\ttab\r\nline");
  properties.SetString("text", "caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80");
  properties.SetNumber("count", -42);
  properties.SetReal("ratio", 0.25);
  properties.SetReal("huge", 1e+300);
  properties.SetReal("tiny", -1.5e-07);
  properties.SetReal("not_finite", std::numeric_limits<double>::infinity());
  properties.SetBool("ok", false);
  properties.SetList("tags", {"a", "\"b\"", ""});
  properties.SetDateTime("when", 1700000000, 5);
  PropertiesNode super;
  super.SetString("$lib", "cpp");
  EventIdentity identity;
  identity.distinct_id = std::string("id\x01\x1f", 4);  // identifiers are checked for length only
  identity.is_login_id = true;
  utils::ObjectNode record;
  ASSERT_TRUE(BuildRecord("track", "pindle_downloader", properties, super, identity, 1700000000123, &record));
  const std::string line = utils::ToJson(record);
  EXPECT_TRUE(IsRecord(line)) << line;
  utils::ObjectNode empty;
  EXPECT_TRUE(IsRecord(utils::ToJson(empty)));
}

TEST(RecordLineTest, AcceptsOnlyOneStrictJsonObjectWithoutSpaces) {
  struct Case {
    const char* label;
    std::string line;
    bool record;
  } const cases[] = {
      {"object", "{\"a\":1,\"b\":[\"x\",\"y\"],\"c\":{\"d\":null,\"e\":true}}", true},
      {"numbers", "{\"a\":0,\"b\":-0.5,\"c\":1E+2,\"d\":12e-3,\"e\":[]}", true},
      {"escapes", "{\"a\":\"\\\"\\\\\\/\\b\\f\\n\\r\\t\\u00e9\\uD83D\"}", true},
      {"seven-bit DEL", "{\"a\":\"\x7f\"}", true},
      {"empty", "", false},
      {"open brace", "{", false},
      {"list", "[1]", false},
      {"string", "\"{}\"", false},
      {"two objects", "{}{}", false},
      {"space after", "{\"a\":1} ", false},
      {"space inside", "{\"a\": 1}", false},
      {"bare key", "{a:1}", false},
      {"key without value", "{\"a\"}", false},
      {"trailing comma", "{\"a\":1,}", false},
      {"lone comma", "{,}", false},
      {"leading zero", "{\"a\":01}", false},
      {"bare point", "{\"a\":1.}", false},
      {"no integer part", "{\"a\":.5}", false},
      {"plus sign", "{\"a\":+1}", false},
      {"empty exponent", "{\"a\":1e}", false},
      {"nan", "{\"a\":nan}", false},
      {"inf", "{\"a\":inf}", false},
      {"cut word", "{\"a\":tru}", false},
      {"unterminated string", "{\"a\":\"x}", false},
      {"unknown escape", "{\"a\":\"\\x\"}", false},
      {"short unicode escape", "{\"a\":\"\\u12g4\"}", false},
      {"raw control byte", "{\"a\":\"\x01\"}", false},
      {"raw carriage return", "{\"a\r\":1}", false},
      {"NUL", std::string("{\"a\":\"\0\"}", 8), false},
      {"invalid byte", "{\"a\":\"\xff\"}", false},
      {"overlong", "{\"a\":\"\xc0\xaf\"}", false},
      {"surrogate", "{\"a\":\"\xed\xa0\x80\"}", false},
      {"above U+10FFFF", "{\"a\":\"\xf4\x90\x80\x80\"}", false},
      {"cut sequence", "{\"a\":\"\xe6\x97\"}", false},
      {"keys out of order", "{\"b\":1,\"a\":2}", false},
      {"key twice", "{\"a\":1,\"a\":2}", false},
      {"nested keys out of order", "{\"a\":{\"y\":1,\"x\":2}}", false},
      {"escaped key", "{\"\\u0061\":1}", false},
      {"keys in byte order", "{\"$lib\":1,\"A\":2,\"_\":3,\"a\":4,\"ab\":5,\"b\":{\"a\":6}}", true},
      {"deepest nesting", Nested(kMaxRecordNesting), true},
      {"too deep", Nested(kMaxRecordNesting + 1), false},
      {"a thousand brackets", std::string(1000, '['), false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsRecord(c.line), c.record) << c.label;
  }
}

TEST(RecordLineTest, LongestLineIsTheLimit) {
  const std::string frame = "{\"a\":\"\"}";
  const std::string longest = "{\"a\":\"" + std::string(kMaxRecordLineBytes - frame.size(), 'x') + "\"}";
  ASSERT_EQ(longest.size(), kMaxRecordLineBytes);
  EXPECT_TRUE(IsRecord(longest));
  EXPECT_FALSE(IsRecord("{\"a\":\"" + std::string(kMaxRecordLineBytes - frame.size() + 1, 'x') + "\"}"));
}

}  // namespace
}  // namespace event_analytics
