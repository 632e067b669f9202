// Layout of one log line and the 2048-byte limit of its buffer.
#include "log/log_line.h"

#include <string>

#include <gtest/gtest.h>

#include "log/log_flags.h"

namespace simlog {
namespace {

const LocalTime kMorning = {2024, 3, 7, 9, 5, 1, 42};
const char kStamp[] = "2024.3.7 09:05:01:042 ";

std::string Build(uint32_t flags, bool debug, const char* message, const char* source = "UI\\UIMainWindowEx.cpp",
                  int line = 1484, int level = 3, const LocalTime* time = &kMorning) {
  LogLineParts parts;
  parts.time = time;
  parts.level = level;
  parts.message = message;
  parts.source_file = source;
  parts.source_line = line;
  LogLineBuffer buffer;
  BuildLogLine(flags, debug, parts, &buffer);
  return buffer.ToString();
}

TEST(LogLineBuffer, AppendsAreBoundedAndNullReadsNull) {
  LogLineBuffer buffer;
  buffer.Append(static_cast<const char*>(nullptr));
  EXPECT_EQ("NULL", buffer.ToString());
  buffer.Append(nullptr, 5);
  EXPECT_EQ("NULLNULL", buffer.ToString());
  buffer.AppendInt(-17);
  EXPECT_EQ("NULLNULL-17", buffer.ToString());

  const std::string big(kLogLineCapacity, 'x');
  buffer.Append(big.c_str());
  EXPECT_TRUE(buffer.full());
  EXPECT_EQ(kLogLineCapacity, buffer.size());
  EXPECT_EQ("NULLNULL-17" + big.substr(0, kLogLineCapacity - 11), buffer.ToString());
  buffer.Append("more");
  buffer.AppendInt(5);
  EXPECT_EQ(kLogLineCapacity, buffer.size());

  buffer.Clear();
  buffer.Append("a");
  EXPECT_EQ("a", buffer.ToString());
}

TEST(LogLine, TimestampFormat) {
  struct Case {
    LocalTime time;
    const char* text;
  } cases[] = {
      {{2024, 3, 7, 9, 5, 1, 42}, "2024.3.7 09:05:01:042 "},
      {{1999, 12, 31, 23, 59, 59, 999}, "1999.12.31 23:59:59:999 "},
      {{2025, 1, 1, 0, 0, 0, 0}, "2025.1.1 00:00:00:000 "},
      {{2030, 10, 10, 10, 10, 10, 7}, "2030.10.10 10:10:10:007 "},
  };
  for (const Case& c : cases) EXPECT_EQ(c.text, FormatLogTimestamp(c.time));
}

TEST(LogLine, PartsFollowFlagsAndDebugMode) {
  const std::string stamp = kStamp;
  struct Case {
    uint32_t flags;
    bool debug;
    const char* source;
    std::string expected;
  } cases[] = {
      {kDefaultLogFlags, false, "UI\\UIMainWindowEx.cpp", stamp + "start to query json\n"},
      {kDefaultLogFlags, true, "UI\\UIMainWindowEx.cpp", stamp + "start to query json\tUIMainWindowEx.cpp(1484)\n"},
      {kDefaultLogFlags, true, "DoApp.cpp", stamp + "start to query json\tDoApp.cpp(1484)\n"},
      {kDefaultLogFlags, true, "net\\url_fetcher.cc", stamp + "start to query json\turl_fetcher.cc(1484)\n"},
      // Only a backslash ends the folder part.
      {kDefaultLogFlags, true, "net/url_fetcher.cc", stamp + "start to query json\tnet/url_fetcher.cc(1484)\n"},
      {kDefaultLogFlags, true, nullptr, stamp + "start to query json\tNULL(1484)\n"},
      // Debug mode alone is not enough: the suffix bit must be set as well.
      {kDefaultLogFlags & ~kLogSourceSuffix, true, "DoApp.cpp", stamp + "start to query json\n"},
      {kDefaultLogFlags | kLogLevelPrefix, false, "DoApp.cpp", stamp + "3 start to query json\n"},
      {kLogLevelPrefix | kLogSourceSuffix, true, "a\\b\\c.cc", "3 start to query json\tc.cc(1484)\n"},
      {0, true, "DoApp.cpp", "start to query json\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, Build(c.flags, c.debug, "start to query json", c.source))
        << "flags " << c.flags << " debug " << c.debug;
  }
  EXPECT_EQ(stamp + "NULL\n", Build(kDefaultLogFlags, false, nullptr));
  EXPECT_EQ(stamp + "\n", Build(kDefaultLogFlags, false, ""));
}

TEST(LogLine, OverlongLineIsCutAtBufferSizeAndLosesNewline) {
  const std::string message(5000, 'm');
  const std::string line = Build(kDefaultLogFlags, true, message.c_str());
  ASSERT_EQ(kLogLineCapacity, line.size());
  EXPECT_EQ((kStamp + message).substr(0, kLogLineCapacity), line);
  EXPECT_EQ('m', line.back());
}

TEST(LogLine, LineThatJustFitsKeepsItsNewline) {
  const std::string stamp = kStamp;
  const std::string fits(kLogLineCapacity - stamp.size() - 1, 'f');
  const std::string line = Build(kDefaultLogFlags, false, fits.c_str());
  ASSERT_EQ(kLogLineCapacity, line.size());
  EXPECT_EQ('\n', line.back());

  // One byte more and the newline is the part that gets cut.
  const std::string one_more = fits + "g";
  const std::string cut = Build(kDefaultLogFlags, false, one_more.c_str());
  ASSERT_EQ(kLogLineCapacity, cut.size());
  EXPECT_EQ('g', cut.back());

  // The suffix is cut like any other piece.
  const std::string near(kLogLineCapacity - stamp.size() - 5, 'n');
  const std::string suffixed = Build(kDefaultLogFlags, true, near.c_str(), "x\\DoApp.cpp", 7);
  EXPECT_EQ(stamp + near + "\tDoAp", suffixed);
}

}  // namespace
}  // namespace simlog
