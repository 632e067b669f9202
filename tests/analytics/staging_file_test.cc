#include "analytics/staging_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "open_handles.h"
#include "scratch_folder.h"

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
      {"stray CR inside stays", "{\"a\r\":1}\n", {"{\"a\r\":1}"}},
      {"NUL bytes inside", std::string("{\0}\n", 4), {std::string("{\0}", 3)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(Parse(c.text), c.records);
  }
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
  EXPECT_THAT(staging_.Read(), IsEmpty());
  ASSERT_TRUE(staging_.Empty());
  std::string contents = "unchanged";
  ASSERT_TRUE(test_support::ReadFile(staging_.path(), &contents));
  EXPECT_EQ(contents, "");
}

TEST_F(StagingFileOnDiskTest, RewriteReplacesTheContentsAndLeavesNoTemporaryFile) {
  ASSERT_TRUE(test_support::WriteFile(staging_.path(), "{\"old\":1}\n{\"old\":2}\n"));
  ASSERT_TRUE(staging_.Rewrite({"{\"new\":1}"}));
  EXPECT_THAT(staging_.Read(), ElementsAre("{\"new\":1}"));
  EXPECT_FALSE(std::filesystem::exists(staging_.temp_path()));
  ASSERT_TRUE(staging_.Rewrite({}));
  EXPECT_THAT(staging_.Read(), IsEmpty());
}

TEST_F(StagingFileOnDiskTest, LeftoverTemporaryFileOfAnEarlierCrashIsReplaced) {
  ASSERT_TRUE(test_support::WriteFile(staging_.temp_path(), "{\"torn\":"));
  ASSERT_TRUE(staging_.Rewrite({"{\"a\":1}", "{\"b\":2}"}));
  EXPECT_THAT(staging_.Read(), ElementsAre("{\"a\":1}", "{\"b\":2}"));
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
  EXPECT_THAT(staging_.Read(), ElementsAre("{\"old\":1}", "{\"old\":2}"));
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
  EXPECT_THAT(staging_.Read(), ElementsAre("{\"old\":1}", "{\"old\":2}", "{\"old\":3}"));
  ASSERT_TRUE(staging_.Rewrite({"{\"new\":1}"}));
  EXPECT_THAT(staging_.Read(), ElementsAre("{\"new\":1}"));
}
#endif

}  // namespace
}  // namespace event_analytics
