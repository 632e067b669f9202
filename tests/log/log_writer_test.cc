// The log thread's writer against real files: which file a start picks, folder preparation,
// what reaches the disk.
#include "log/log_writer.h"

#include <cstdio>
#include <random>
#include <filesystem>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "log/log_flags.h"
#include "log/log_line.h"
#include "log/log_path.h"
#include "log/log_platform.h"
#include "log_test_files.h"

namespace simlog {
namespace {

using namespace testing_files;
using std::chrono::hours;
using std::chrono::seconds;

const char kName[] = "PindleDownloaderLog";

std::string LineWithoutStamp(const std::string& line) {
  // "y.m.d hh:mm:ss:mmm " — the text starts after the second space.
  const size_t first = line.find(' ');
  const size_t second = first == std::string::npos ? first : line.find(' ', first + 1);
  return second == std::string::npos ? std::string() : line.substr(second + 1);
}

TEST(LogWriter, ChoosesFileAtStart) {
  const int kMissing = -1;
  const int kFull = 200 * 1024;
  struct Case {
    const char* name;
    int size0, size1;
    int age0_s, age1_s;  // how long ago each file was last written; equal ages share one time stamp
    int index;
    bool restarted;
  } cases[] = {
      {"no files yet", kMissing, kMissing, 0, 0, 0, false},
      {"both small, 1 newer", 3000, 4000, 3600, 60, 0, false},
      {"0 at 200 KiB, 1 at 10 KiB", kFull, 10 * 1024, 60, 3600, 1, false},
      {"0 at the threshold, 1 missing", 0x20000, kMissing, 60, 0, 1, false},
      {"both at 200 KiB, 1 older", kFull, kFull, 60, 3600, 1, true},
      {"both at 200 KiB, 0 older", kFull, kFull, 3600, 60, 0, true},
      {"both at 200 KiB, equal times", kFull, kFull, 600, 600, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    const std::string paths[2] = {folder.Narrow(std::string(kName) + "0.log"),
                                  folder.Narrow(std::string(kName) + "1.log")};
    const int sizes[2] = {c.size0, c.size1};
    const auto same_time = std::filesystem::file_time_type::clock::now() - seconds(c.age0_s);
    for (int i = 0; i < 2; ++i) {
      if (sizes[i] == kMissing) continue;
      WriteFileOfSize(paths[i], static_cast<uint64_t>(sizes[i]), static_cast<char>('a' + i));
      if (c.age0_s == c.age1_s)
        std::filesystem::last_write_time(paths[i], same_time);
      else
        SetAge(paths[i], seconds(i == 0 ? c.age0_s : c.age1_s));
    }

    LogWriter writer;
    ASSERT_TRUE(writer.Open(folder.Narrow(), kName));
    EXPECT_EQ(paths[c.index], writer.path());
    writer.Write(kDefaultLogFlags, false, "DoApp.cpp", 10, 3, "marker");

    const std::string chosen = ReadWholeFile(paths[c.index]);
    const size_t kept = (c.restarted || sizes[c.index] == kMissing) ? 0 : static_cast<size_t>(sizes[c.index]);
    ASSERT_GT(chosen.size(), kept);
    EXPECT_EQ(std::string(kept, static_cast<char>('a' + c.index)), chosen.substr(0, kept));
    EXPECT_EQ("marker\n", LineWithoutStamp(chosen.substr(kept)));

    const int other = 1 - c.index;
    if (sizes[other] == kMissing)
      EXPECT_FALSE(FileExists(paths[other]));
    else
      EXPECT_EQ(static_cast<uint64_t>(sizes[other]), SizeOf(paths[other]));
  }
}

TEST(LogWriter, EveryStartAppendsToTheSameSmallFile) {
  TempFolder folder;
  for (const char* text : {"first run", "second run", "third run"}) {
    LogWriter writer;
    ASSERT_TRUE(writer.Open(folder.Narrow(), kName));
    writer.Write(kDefaultLogFlags, false, "DoApp.cpp", 1, 3, text);
  }
  const std::string content = ReadWholeFile(folder.Narrow(std::string(kName) + "0.log"));
  const size_t a = content.find("first run\n"), b = content.find("second run\n"), c = content.find("third run\n");
  ASSERT_NE(std::string::npos, a);
  ASSERT_NE(std::string::npos, b);
  ASSERT_NE(std::string::npos, c);
  EXPECT_LT(a, b);
  EXPECT_LT(b, c);
  EXPECT_FALSE(FileExists(folder.Narrow(std::string(kName) + "1.log")));
}

TEST(LogWriter, FileInPlaceOfTheFolderIsReplaced) {
  TempFolder folder;
  const std::string logs = folder.Narrow("logs");
  WriteFileOfSize(logs, 100);
  std::filesystem::permissions(logs, std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                         std::filesystem::perms::others_read);  // read-only: must still go

  LogWriter writer;
  ASSERT_TRUE(writer.Open(logs, kName));
  EXPECT_TRUE(std::filesystem::is_directory(logs));
  writer.Write(kDefaultLogFlags, false, "DoApp.cpp", 1, 3, "after the swap");
  EXPECT_EQ("after the swap\n", LineWithoutStamp(ReadWholeFile(JoinPath(logs, std::string(kName) + "0.log"))));
}

// A profile folder named in scripts that the ANSI code page cannot spell still gets its log.
TEST(LogWriter, FolderNamedOutsideTheCodePageHoldsTheLog) {
  TempFolder folder;
  const std::string logs = folder.Narrow("\xD0\x9F\xD0\xBE\xD0\xBB\xD1\x8C\xD0\xB7 \xE7\x94\xA8\xE6\x88\xB7");
  const std::string file = JoinPath(logs, std::string(kName) + "0.log");
  LogWriter writer;
  ASSERT_TRUE(writer.Open(logs, kName));
  EXPECT_EQ(file, writer.path());
  writer.Write(kDefaultLogFlags, false, "DoApp.cpp", 1, 3, "in the folder");
  EXPECT_EQ("in the folder\n", LineWithoutStamp(ReadWholeFile(file)));
}

TEST(LogWriter, FolderThatCannotBeMadeMeansNoFileOutput) {
  TempFolder folder;
  // Only one level is created: a missing parent makes the folder impossible.
  const std::string deep = JoinPath(folder.Narrow("missing"), "logs");
  LogWriter writer;
  EXPECT_FALSE(writer.Open(deep, kName));
  EXPECT_TRUE(writer.path().empty());
  writer.Write(kDefaultLogFlags, false, "DoApp.cpp", 1, 3, "lost");
  EXPECT_FALSE(FileExists(folder.Narrow("missing")));
}

TEST(LogWriter, RelativeFolderLivesBesideTheProgram) {
  const std::string relative = "pindle_log_rel_" + std::to_string(std::random_device()());
  const std::string expected_folder = JoinPath(FolderOfPath(GetProgramPath()), relative);
  ASSERT_FALSE(FileExists(expected_folder));
  {
    LogWriter writer;
    ASSERT_TRUE(writer.Open(relative, kName));
    writer.Write(kDefaultLogFlags, false, "DoApp.cpp", 1, 3, "beside the exe");
    EXPECT_EQ(JoinPath(expected_folder, std::string(kName) + "0.log"), writer.path());
  }
  const std::string content = ReadWholeFile(JoinPath(expected_folder, std::string(kName) + "0.log"));
  std::error_code ignored;
  std::filesystem::remove_all(expected_folder, ignored);
  EXPECT_EQ("beside the exe\n", LineWithoutStamp(content));
}

TEST(LogWriter, OverlongLineReachesTheFileCutWithoutNewline) {
  TempFolder folder;
  LogWriter writer;
  ASSERT_TRUE(writer.Open(folder.Narrow(), kName));
  const std::string message(5000, 'z');
  writer.Write(kDefaultLogFlags, true, "UI\\UIMainWindowEx.cpp", 1484, 3, message);
  const std::string content = ReadWholeFile(writer.path());
  ASSERT_EQ(kLogLineCapacity, content.size());
  const std::string text = LineWithoutStamp(content);
  EXPECT_EQ(message.substr(0, text.size()), text);
  EXPECT_EQ('z', content.back());
}

TEST(LogWriter, TimestampIsTheLocalTimeOfWriting) {
  TempFolder folder;
  LogWriter writer;
  ASSERT_TRUE(writer.Open(folder.Narrow(), kName));
  const LocalTime before = GetLocalTimeNow();
  writer.Write(kDefaultLogFlags, false, "DoApp.cpp", 1, 3, "tick");
  const LocalTime after = GetLocalTimeNow();

  const std::string content = ReadWholeFile(writer.path());
  LocalTime stamp;
  char text[16] = {};
  int consumed = 0;
  ASSERT_EQ(8, std::sscanf(content.c_str(), "%d.%d.%d %2d:%2d:%2d:%3d %15s%n", &stamp.year, &stamp.month, &stamp.day,
                           &stamp.hour, &stamp.minute, &stamp.second, &stamp.millisecond, text, &consumed))
      << content;
  EXPECT_STREQ("tick", text);
  EXPECT_EQ(FormatLogTimestamp(stamp) + "tick\n", content) << "fields must be zero-padded as 09:05:01:042";
  auto key = [](const LocalTime& t) {
    return std::make_tuple(t.year, t.month, t.day, t.hour, t.minute, t.second, t.millisecond);
  };
  EXPECT_LE(key(before), key(stamp));
  EXPECT_LE(key(stamp), key(after));
}

TEST(LogWriter, FlagsChooseFileAndConsole) {
  TempFolder folder;
  LogWriter writer;
  ASSERT_TRUE(writer.Open(folder.Narrow(), kName));

  ::testing::internal::CaptureStdout();
  writer.Write(kDefaultLogFlags & ~kLogToFile, false, "DoApp.cpp", 1, 3, "nowhere");
  writer.Write(kLogToStdout, false, "DoApp.cpp", 1, 3, "console only");
  writer.Write(kLogToStdout | kLogToFile, false, "DoApp.cpp", 1, 3, "both");
  const std::string console = ::testing::internal::GetCapturedStdout();

  EXPECT_EQ("console only\nboth\n", console);
  EXPECT_EQ("both\n", ReadWholeFile(writer.path()));
}

}  // namespace
}  // namespace simlog
