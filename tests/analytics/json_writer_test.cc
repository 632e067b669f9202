#include "analytics/json_writer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <limits>
#include <string>

namespace event_analytics {
namespace utils {
namespace {

// Date-time values are written in local time; pin the zone for the test.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const std::string& zone) { Set(zone); }
  ~ScopedTimeZone() { Set("UTC0"); }

 private:
  static void Set(const std::string& zone) {
#ifdef _WIN32
    _putenv(("TZ=" + zone).c_str());
    _tzset();
#else
    setenv("TZ", zone.c_str(), 1);
    tzset();
#endif
  }
};

TEST(JsonWriterTest, EveryValueTypeExactly) {
  ScopedTimeZone utc("UTC0");
  ObjectNode inner;
  inner.SetString("z", "last");
  inner.SetNumber("a", 1);
  ObjectNode node;
  node.SetNumber("number", -42);
  node.SetNumber("max", std::numeric_limits<int64_t>::max());
  node.SetNumber("min", std::numeric_limits<int64_t>::min());
  node.SetReal("real", 1.5);
  node.SetReal("tenth", 0.1);
  node.SetReal("big", 1e21);
  node.SetReal("round", 100000000.0);
  node.SetString("string", "plain");
  node.SetList("list", {"a", "b\"c"});
  node.SetList("empty_list", {});
  node.SetDateTime("when", 1700000000, 5);
  node.SetBool("yes", true);
  node.SetBool("no", false);
  node.SetObject("inner", inner);
  node.SetObject("empty", ObjectNode());
  EXPECT_EQ(ToJson(node),
            "{\"big\":1e+21,\"empty\":{},\"empty_list\":[],\"inner\":{\"a\":1,\"z\":\"last\"},"
            "\"list\":[\"a\",\"b\\\"c\"],\"max\":9223372036854775807,"
            "\"min\":-9223372036854775808,\"no\":false,\"number\":-42,\"real\":1.5,"
            "\"round\":1e+08,\"string\":\"plain\",\"tenth\":0.1,"
            "\"when\":\"2023-11-14 22:13:20.005\",\"yes\":true}");
}

TEST(JsonWriterTest, StringEscapes) {
  struct Case {
    std::string raw;
    std::string written;
  } const cases[] = {
      {"\b", "\"\\b\""},
      {"\t", "\"\\t\""},
      {"\n", "\"\\n\""},
      {"\f", "\"\\f\""},
      {"\r", "\"\\r\""},
      {"\"", "\"\\\"\""},
      {"\\", "\"\\\\\""},
      {"/", "\"/\""},
      {"\x7f", "\"\x7f\""},
      {"\xe4\xb8\xad", "\"\xe4\xb8\xad\""},
      {"C:\\Program Files\\Pindle\n", "\"C:\\\\Program Files\\\\Pindle\\n\""},
      // Other control bytes would make the record invalid JSON and could split a staging
      // line; they are written as \u escapes.
      {"\x01", "\"\\u0001\""},
      {std::string("\0", 1), "\"\\u0000\""},
      {"\x1b", "\"\\u001b\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.written);
    std::string out;
    AppendJsonString(c.raw, &out);
    EXPECT_EQ(out, c.written);
  }
}

TEST(JsonWriterTest, NonFiniteRealIsWrittenAsNull) {
  ObjectNode node;
  node.SetReal("inf", std::numeric_limits<double>::infinity());
  node.SetReal("nan", std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(ToJson(node), "{\"inf\":null,\"nan\":null}");
}

TEST(JsonWriterTest, DateTimeUsesLocalTimeAndThreeDigitMilliseconds) {
  {
    ScopedTimeZone tokyo("JST-9");
    EXPECT_EQ(FormatLocalDateTime(1700000000, 5), "2023-11-15 07:13:20.005");
  }
  ScopedTimeZone utc("UTC0");
  EXPECT_EQ(FormatLocalDateTime(0, 0), "1970-01-01 00:00:00.000");
  EXPECT_EQ(FormatLocalDateTime(1700000000, 999), "2023-11-14 22:13:20.999");
  // Milliseconds outside 0..999 carry into the seconds.
  EXPECT_EQ(FormatLocalDateTime(1700000000, 1500), "2023-11-14 22:13:21.500");
}

}  // namespace
}  // namespace utils
}  // namespace event_analytics
