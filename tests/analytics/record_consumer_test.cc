// The consumer's queue and staging behaviour, without a collector.
#include "analytics/record_consumer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "analytics/staging_file.h"
#include "consumer_test_util.h"
#include "scratch_folder.h"
#include "stderr_capture.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

namespace event_analytics {
namespace {

using testing::ElementsAreArray;
using testing::IsEmpty;

// Nothing listens on port 1 of the loopback address: every request fails at once.
const char kDeadUrl[] = "http://127.0.0.1:1/sa?project=default";

class RecordConsumerTest : public testing::Test {
 protected:
  std::string StagingPath() const { return folder_.File("staging_file"); }

  void WriteStaging(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + kStagingLineBreak;
    ASSERT_TRUE(test_support::WriteFile(StagingPath(), text));
  }

  std::vector<std::string> StagedRecords() const { return StagingFile(StagingPath()).Read(200); }

  test_support::ScratchFolder folder_;
};

TEST_F(RecordConsumerTest, The201stRecordPushesOutTheOldest) {
  RecordConsumer consumer(kDeadUrl, StagingPath(), 200);
  for (int n = 1; n <= 200; ++n) consumer.AddRecord(NumberedRecord(n));
  EXPECT_EQ(consumer.QueueLength(), 200u);
  consumer.AddRecord(NumberedRecord(201));
  EXPECT_THAT(consumer.QueuedRecords(), ElementsAreArray(NumberedTexts(2, 201)));
}

TEST_F(RecordConsumerTest, LoadStagingTakesTheLastRecordsThatFitAndLeavesTheFileAsItIs) {
  struct Case {
    const char* label;
    int queued;                 // records 1001.. already queued in this run
    int expected_first_staged;  // of staged records 1..250; 0: none loaded
  } const cases[] = {
      {"empty queue", 0, 51},
      {"150 queued", 150, 201},
      {"full queue", 200, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    std::vector<std::string> lines = {"not a record", "", "{\"torn\":"};
    for (const std::string& line : NumberedTexts(1, 250)) lines.push_back(line);
    lines.push_back("# trailing junk");
    WriteStaging(lines);
    std::string before;
    ASSERT_TRUE(test_support::ReadFile(StagingPath(), &before));
    RecordConsumer consumer(kDeadUrl, StagingPath(), 200);
    for (int n = 1001; n < 1001 + c.queued; ++n) consumer.AddRecord(NumberedRecord(n));
    StderrCapture capture;
    consumer.LoadStaging();

    std::vector<std::string> expected;
    if (c.expected_first_staged) expected = NumberedTexts(c.expected_first_staged, 250);
    for (const std::string& line : NumberedTexts(1001, 1000 + c.queued)) {
      expected.push_back(line);
    }
    EXPECT_THAT(consumer.QueuedRecords(), ElementsAreArray(expected));
    // Nothing is delivered yet, so the file still holds everything.
    std::string left = "?";
    ASSERT_TRUE(test_support::ReadFile(StagingPath(), &left));
    EXPECT_EQ(left, before);
  }
}

TEST_F(RecordConsumerTest, StagingFileIsReadOnlyOnce) {
  WriteStaging(NumberedTexts(1, 2));
  RecordConsumer consumer(kDeadUrl, StagingPath(), 200);
  consumer.LoadStaging();
  WriteStaging(NumberedTexts(3, 4));  // written by someone else afterwards
  consumer.LoadStaging();
  EXPECT_THAT(consumer.QueuedRecords(), ElementsAreArray(NumberedTexts(1, 2)));
}

TEST_F(RecordConsumerTest, MissingStagingFileIsTreatedAsEmpty) {
  RecordConsumer consumer(kDeadUrl, folder_.File("no/such/folder/staging_file"), 200);
  consumer.AddRecord(NumberedRecord(1));
  consumer.LoadStaging();
  EXPECT_THAT(consumer.QueuedRecords(), ElementsAreArray(NumberedTexts(1, 1)));
}

TEST_F(RecordConsumerTest, CloseStagesEverythingUnsentWithStagedRecordsFirst) {
  WriteStaging(NumberedTexts(1, 3));
  {
    RecordConsumer consumer(kDeadUrl, StagingPath(), 200);
    for (int n = 4; n <= 6; ++n) consumer.AddRecord(NumberedRecord(n));
    EXPECT_TRUE(consumer.Close());
    EXPECT_FALSE(consumer.Close());
    // A closed consumer keeps nothing more and sends nothing.
    consumer.AddRecord(NumberedRecord(7));
    EXPECT_EQ(consumer.QueueLength(), 0u);
    EXPECT_FALSE(consumer.Flush());
  }
  EXPECT_THAT(StagedRecords(), ElementsAreArray(NumberedTexts(1, 6)));
  EXPECT_FALSE(std::filesystem::exists(StagingPath() + ".tmp"));
}

TEST_F(RecordConsumerTest, DestructionStagesLikeClose) {
  {
    RecordConsumer consumer(kDeadUrl, StagingPath(), 200);
    consumer.AddRecord(NumberedRecord(1));
  }
  EXPECT_THAT(StagedRecords(), ElementsAreArray(NumberedTexts(1, 1)));
}

TEST_F(RecordConsumerTest, FailedFlushKeepsTheRecordsQueuedAndSaysWhy) {
  RecordConsumer consumer(kDeadUrl, StagingPath(), 200);
  for (int n = 1; n <= 35; ++n) consumer.AddRecord(NumberedRecord(n));
  StderrCapture capture;
  EXPECT_FALSE(consumer.Flush());
  EXPECT_THAT(consumer.QueuedRecords(), ElementsAreArray(NumberedTexts(1, 35)));
  EXPECT_EQ(capture.text().rfind("EventAnalytics SDK send failed: ", 0), 0u) << capture.text();
  EXPECT_EQ(capture.text().find('\n'), capture.text().size() - 1);  // one request only
}

TEST_F(RecordConsumerTest, FlushOfAnEmptyQueueSucceedsWithoutARequest) {
  RecordConsumer consumer(kDeadUrl, StagingPath(), 200);
  StderrCapture capture;
  EXPECT_TRUE(consumer.Flush());
  EXPECT_TRUE(consumer.FlushBatch(30));
  EXPECT_EQ(capture.text(), "");
}

TEST_F(RecordConsumerTest, VerboseModeTracesQueueSteps) {
  RecordConsumer consumer(kDeadUrl, StagingPath(), 1);
  consumer.set_verbose(true);
  testing::internal::CaptureStdout();
  consumer.AddRecord(NumberedRecord(1));
  consumer.AddRecord(NumberedRecord(2));
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out, "add record:{\"n\":1}\nadd record:{\"n\":2}\nrecord is full, delete record\n");
}

#ifndef _WIN32
// The first flush used to empty the staging file before any of its records had gone out: a
// process killed after a flush that failed (the collector unreachable) lost them all.
TEST_F(RecordConsumerTest, ProcessKilledAfterAFailedFlushLosesNoStagedRecord) {
  GTEST_FLAG_SET(death_test_style, "fast");
  WriteStaging(NumberedTexts(1, 3));
  const std::string path = StagingPath();
  EXPECT_EXIT(
      {
        RecordConsumer consumer(kDeadUrl, path, 200);
        consumer.AddRecord(NumberedRecord(4));
        consumer.Flush();
        raise(SIGKILL);
      },
      testing::KilledBySignal(SIGKILL), "");
  EXPECT_THAT(StagedRecords(), ElementsAreArray(NumberedTexts(1, 3)));
}

void LimitFileSize(rlim_t bytes) {
  rlimit limit;
  limit.rlim_cur = limit.rlim_max = bytes;
  setrlimit(RLIMIT_FSIZE, &limit);
}

// The installer's last act is Close(); a crash or a full disk during it used to cost every
// unsent record. Kill the writer part-way and check the previous run's records survive.
TEST_F(RecordConsumerTest, CloseKilledHalfwayLeavesTheStagedRecordsReadable) {
  // Fork at the statement so the child writes to this test's folder (no threads run here).
  GTEST_FLAG_SET(death_test_style, "fast");
  WriteStaging(NumberedTexts(1, 3));
  std::string before;
  ASSERT_TRUE(test_support::ReadFile(StagingPath(), &before));
  const std::string path = StagingPath();
  EXPECT_EXIT(
      {
        RecordConsumer consumer(kDeadUrl, path, 200);
        for (int n = 4; n < 204; ++n) consumer.AddRecord(NumberedRecord(n, 4000));
        LimitFileSize(64 * 1024);
        consumer.Close();
        std::_Exit(0);
      },
      testing::KilledBySignal(SIGXFSZ), "");
  std::string after;
  ASSERT_TRUE(test_support::ReadFile(StagingPath(), &after));
  EXPECT_EQ(after, before);
  EXPECT_THAT(StagedRecords(), ElementsAreArray(NumberedTexts(1, 3)));
  std::string torn;
  ASSERT_TRUE(test_support::ReadFile(path + ".tmp", &torn));  // the write was cut short
  EXPECT_EQ(torn.size(), 64u * 1024);
}
#endif

}  // namespace
}  // namespace event_analytics
