#include "analytics/staging_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "analytics/record_line.h"
#include "open_handles.h"
#include "scratch_folder.h"
#include "stderr_capture.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

namespace event_analytics {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

std::vector<std::string> Parse(const std::string& text) {
  return ParseStagingRecords(text.data(), text.size());
}

TEST(StagingFileTest, ReaderTakesOnlyWholeRecordLines) {
  struct Case {
    const char* label;
    std::string text;
    std::vector<std::string> records;
  } const cases[] = {
      {"empty file", "", {}},
      {"LF lines", "{\"a\":1}\n{\"b\":2}\n", {"{\"a\":1}", "{\"b\":2}"}},
      {"CRLF lines", "{\"a\":1}\r\n{\"b\":2}\r\n", {"{\"a\":1}", "{\"b\":2}"}},
      {"last line without a break", "{\"a\":1}\n{\"b\":2}", {"{\"a\":1}", "{\"b\":2}"}},
      {"torn last line", "{\"a\":1}\n{\"b\":", {"{\"a\":1}"}},
      {"blank lines", "\n\r\n{}\n\n", {"{}"}},
      {"leading junk", "x{\"a\":1}\n {\"b\":2}\n", {}},
      {"trailing junk", "{\"a\":1} \n{\"b\":2}x\n", {}},
      {"single braces", "{\n}\n", {}},
      {"stray CR inside", "{\"a\r\":1}\n{\"b\":2}\n", {"{\"b\":2}"}},
      {"NUL bytes inside", std::string("{\0}\n", 4), {}},
      {"braces around foreign text", "{not json}\n{\"a\":1}\n{\"b\":2,}\n", {"{\"a\":1}"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(Parse(c.text), c.records);
  }
}

TEST(StagingFileTest, ReaderCountsTheLinesItDropsButNotBlankOnes) {
  StagingDrops drops;
  const std::string text = "\r\n  \n{\"a\":1}\r\n{\"a\":\x01}\r\n" + std::string(100, 'x') + "\n{\"b\":2}\n";
  EXPECT_THAT(ParseStagingRecords(text.data(), text.size(), &drops), ElementsAre("{\"a\":1}", "{\"b\":2}"));
  EXPECT_EQ(drops.lines, 2u);
  EXPECT_EQ(drops.first, "{\"a\":?}");
}

TEST(StagingFileTest, WriterUsesThePlatformLineBreakAndReadsBack) {
#ifdef _WIN32
  EXPECT_STREQ(kStagingLineBreak, "\r\n");
#else
  EXPECT_STREQ(kStagingLineBreak, "\n");
#endif
  const std::deque<std::string> records = {"{\"a\":1}", "{\"b\":\"\\n\"}"};
  const std::string text = FormatStagingRecords(records);
  EXPECT_EQ(text, std::string("{\"a\":1}") + kStagingLineBreak + "{\"b\":\"\\n\"}" + kStagingLineBreak);
  EXPECT_THAT(Parse(text), ElementsAre("{\"a\":1}", "{\"b\":\"\\n\"}"));
  EXPECT_EQ(FormatStagingRecords({}), "");
}

class StagingFileOnDiskTest : public testing::Test {
 protected:
  test_support::ScratchFolder folder_;
  StagingFile staging_{folder_.File("staging_file")};
};

TEST_F(StagingFileOnDiskTest, MissingFileReadsAsEmptyAndEmptyCreatesIt) {
  EXPECT_THAT(staging_.Read(200), IsEmpty());
  ASSERT_TRUE(staging_.Empty());
  std::string contents = "unchanged";
  ASSERT_TRUE(test_support::ReadFile(staging_.path(), &contents));
  EXPECT_EQ(contents, "");
}

TEST_F(StagingFileOnDiskTest, ReadTakesTheLastRecordsAndSaysWhatItDropped) {
  ASSERT_TRUE(test_support::WriteFile(staging_.path(), "{\"a\":1}\n{\"b\":2}\n{torn\n{\"c\":3}\n"));
  StderrCapture capture;
  EXPECT_THAT(staging_.Read(2), ElementsAre("{\"b\":2}", "{\"c\":3}"));
  EXPECT_EQ(capture.text(),
            "Dropped 1 line(s) of the staging file " + staging_.path() + " that are not records, the first: {torn\n");
  EXPECT_THAT(staging_.Read(0), IsEmpty());
}

// A staging file grown huge (a foreign program, a broken disk) costs no more than the records
// the queue can take: only the end of the file is read, and the line cut by that start is not
// taken for a record.
TEST_F(StagingFileOnDiskTest, OnlyTheEndOfALargeFileIsRead) {
  const uint64_t kLargeSize = 64ull << 20;
  {
    std::ofstream out(staging_.path(), std::ios::binary);
    out << "{\"first\":1}\n";
  }
  std::filesystem::resize_file(staging_.path(), kLargeSize);  // a sparse hole of zero bytes
  const std::string tail = "\n{\"a\":1}\n{\"b\":2}\n{\"c\":3}\n";
  {
    std::ofstream out(staging_.path(), std::ios::binary | std::ios::app);
    out << tail;
  }
  const size_t expected_bytes = 2 * (kMaxRecordLineBytes + 2);
  StderrCapture capture;
  EXPECT_THAT(staging_.Read(2), ElementsAre("{\"b\":2}", "{\"c\":3}"));
  EXPECT_EQ(capture.text().rfind("The staging file " + staging_.path() + " holds " +
                                     std::to_string(kLargeSize + tail.size()) + " bytes; only its last " +
                                     std::to_string(expected_bytes) + " are read\n",
                                 0),
            0u)
      << capture.text();
  // A record that the cut splits is not taken in pieces.
  ASSERT_TRUE(test_support::WriteFile(staging_.path(), "{\"x\":\"" + std::string(expected_bytes, 'y') + "\"}\n"));
  EXPECT_THAT(staging_.Read(2), IsEmpty());
}

TEST_F(StagingFileOnDiskTest, RewriteReplacesTheContentsAndLeavesNoTemporaryFile) {
  ASSERT_TRUE(test_support::WriteFile(staging_.path(), "{\"old\":1}\n{\"old\":2}\n"));
  ASSERT_TRUE(staging_.Rewrite({"{\"new\":1}"}));
  EXPECT_THAT(staging_.Read(200), ElementsAre("{\"new\":1}"));
  EXPECT_FALSE(std::filesystem::exists(staging_.temp_path()));
  ASSERT_TRUE(staging_.Rewrite({}));
  EXPECT_THAT(staging_.Read(200), IsEmpty());
}

TEST_F(StagingFileOnDiskTest, LeftoverTemporaryFileOfAnEarlierCrashIsReplaced) {
  ASSERT_TRUE(test_support::WriteFile(staging_.temp_path(), "{\"torn\":"));
  ASSERT_TRUE(staging_.Rewrite({"{\"a\":1}", "{\"b\":2}"}));
  EXPECT_THAT(staging_.Read(200), ElementsAre("{\"a\":1}", "{\"b\":2}"));
  EXPECT_FALSE(std::filesystem::exists(staging_.temp_path()));
}

TEST_F(StagingFileOnDiskTest, FailedRewriteKeepsTheOldRecords) {
  ASSERT_TRUE(test_support::WriteFile(staging_.path(), "{\"old\":1}\n{\"old\":2}\n"));
  // Something in the way of the temporary file: the new contents cannot be written.
  test_support::WriteFile(staging_.temp_path(), "");
  std::remove(staging_.temp_path().c_str());
  ASSERT_TRUE(std::filesystem::create_directory(staging_.temp_path()));
  const long handles = test_support::OpenHandleCount();
  EXPECT_FALSE(staging_.Rewrite({"{\"new\":1}"}));
  EXPECT_EQ(test_support::OpenHandleCount(), handles);
  EXPECT_THAT(staging_.Read(200), ElementsAre("{\"old\":1}", "{\"old\":2}"));
}

TEST_F(StagingFileOnDiskTest, RewriteThatCannotReplaceTheFileClosesAndRemovesItsTemporaryFile) {
  // The staging path itself is a folder: the temporary file is written, but cannot take its place.
  ASSERT_TRUE(std::filesystem::create_directory(staging_.path()));
  ASSERT_TRUE(test_support::WriteFile(std::filesystem::path(staging_.path()) / "inside", "x"));
  const long handles = test_support::OpenHandleCount();
  EXPECT_FALSE(staging_.Rewrite({"{\"new\":1}"}));
  EXPECT_EQ(test_support::OpenHandleCount(), handles);
  EXPECT_FALSE(std::filesystem::exists(staging_.temp_path()));
}

#ifndef _WIN32
// Past this size the kernel kills the writing process with SIGXFSZ.
void LimitFileSize(rlim_t bytes) {
  rlimit limit;
  limit.rlim_cur = limit.rlim_max = bytes;
  setrlimit(RLIMIT_FSIZE, &limit);
}

// A real interruption: the writing process is killed by the kernel part-way through the
// write (SIGXFSZ once the file-size limit is reached). The old records must survive it.
TEST_F(StagingFileOnDiskTest, WriteKilledHalfwayLeavesTheOldRecordsReadable) {
  // Fork at the statement so the child writes to this test's folder (no threads run here).
  GTEST_FLAG_SET(death_test_style, "fast");
  const std::string old_text = "{\"old\":1}\n{\"old\":2}\n{\"old\":3}\n";
  ASSERT_TRUE(test_support::WriteFile(staging_.path(), old_text));
  std::deque<std::string> big;
  for (int i = 0; i < 200; ++i) big.push_back("{\"n\":\"" + std::string(4000, 'x') + "\"}");
  EXPECT_EXIT(
      {
        LimitFileSize(64 * 1024);
        staging_.Rewrite(big);
        std::_Exit(0);
      },
      testing::KilledBySignal(SIGXFSZ), "");
  std::string after;
  ASSERT_TRUE(test_support::ReadFile(staging_.path(), &after));
  EXPECT_EQ(after, old_text);
  // The temporary file shows that the write did start and stopped in the middle.
  std::string torn;
  ASSERT_TRUE(test_support::ReadFile(staging_.temp_path(), &torn));
  EXPECT_EQ(torn.size(), 64u * 1024);
  // The next run's reader still gets the old records, and its rewrite succeeds.
  EXPECT_THAT(staging_.Read(200), ElementsAre("{\"old\":1}", "{\"old\":2}", "{\"old\":3}"));
  ASSERT_TRUE(staging_.Rewrite({"{\"new\":1}"}));
  EXPECT_THAT(staging_.Read(200), ElementsAre("{\"new\":1}"));
}
#endif

}  // namespace
}  // namespace event_analytics
