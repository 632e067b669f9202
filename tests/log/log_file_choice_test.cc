// Which of the two log files a start appends to, and when one is started afresh.
#include "log/log_file_choice.h"

#include <gtest/gtest.h>

namespace simlog {
namespace {

LogFileFacts Missing() {
  return LogFileFacts();
}

LogFileFacts File(uint64_t size, uint64_t time) {
  LogFileFacts facts;
  facts.exists = true;
  facts.size = size;
  facts.time_known = true;
  facts.last_write_time = time;
  return facts;
}

LogFileFacts Unreadable() {
  LogFileFacts facts;
  facts.exists = true;
  return facts;
}

LogFileFacts NoTime(uint64_t size) {
  LogFileFacts facts;
  facts.exists = true;
  facts.size = size;
  return facts;
}

TEST(LogFileChoice, Cases) {
  const uint64_t kFull = 200 * 1024;
  struct Case {
    const char* name;
    LogFileFacts file0, file1;
    int index;
    bool delete_first;
  } cases[] = {
      {"neither exists", Missing(), Missing(), 0, false},
      {"both small, 1 newer", File(100, 10), File(100, 20), 0, false},
      {"0 just below the threshold", File(kLogRotateSize - 1, 10), File(5, 20), 0, false},
      {"0 full, 1 small", File(kFull, 10), File(10 * 1024, 20), 1, false},
      {"0 exactly at the threshold, 1 missing", File(kLogRotateSize, 10), Missing(), 1, false},
      {"0 unreadable counts as empty", Unreadable(), File(5, 20), 0, false},
      {"0 full, 1 unreadable", File(kFull, 10), Unreadable(), 1, false},
      {"both full, 1 older", File(kFull, 20), File(kFull, 10), 1, true},
      {"both full, 0 older", File(kFull, 10), File(kFull, 20), 0, true},
      {"both full, equal times", File(kFull, 10), File(kFull, 10), 0, true},
      {"both full, time of 0 unknown", NoTime(kFull), File(kFull, 10), 0, true},
      {"both full, time of 1 unknown", File(kFull, 20), NoTime(kFull), 0, true},
  };
  for (const Case& c : cases) {
    const LogFileChoice choice = ChooseLogFile(c.file0, c.file1);
    EXPECT_EQ(c.index, choice.index) << c.name;
    EXPECT_EQ(c.delete_first, choice.delete_first) << c.name;
  }
}

TEST(LogFileChoice, FileNames) {
  EXPECT_EQ("PindleDownloaderLog0.log", LogFileName("PindleDownloaderLog", 0));
  EXPECT_EQ("PindleDownloaderLog1.log", LogFileName("PindleDownloaderLog", 1));
  EXPECT_EQ("0.log", LogFileName("", 0));
}

}  // namespace
}  // namespace simlog
