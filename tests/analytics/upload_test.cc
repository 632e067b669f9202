// The upload path end to end: consumer, encoder and libcurl against the real test collector.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

#ifndef _WIN32
#include <signal.h>
#endif

#include "analytics/http_post.h"
#include "analytics/record_consumer.h"
#include "analytics/staging_file.h"
#include "collector_test.h"
#include "consumer_test_util.h"
#include "scratch_folder.h"
#include "stderr_capture.h"

namespace event_analytics {
namespace {

using testing::ElementsAreArray;

std::vector<std::string> Texts(const std::vector<Json::Value>& records) {
  std::vector<std::string> out;
  Json::StreamWriterBuilder builder;
  builder["indentation"] = "";
  for (const Json::Value& record : records) out.push_back(Json::writeString(builder, record));
  return out;
}

class UploadTest : public CollectorTest {
 protected:
  void SetUp() override {
    CollectorTest::SetUp();
    if (HasFatalFailure()) return;
  }

  std::string StagingPath() const { return folder_.File("staging_file"); }

  test_support::ScratchFolder folder_;
};

TEST_F(UploadTest, ThirtyFiveRecordsArriveAsRequestsOfThirtyAndFive) {
  RecordConsumer consumer(collector_->UploadUrl(), StagingPath(), 200);
  for (int n = 1; n <= 35; ++n) consumer.AddRecord(NumberedRecord(n));
  EXPECT_TRUE(consumer.Flush());
  EXPECT_EQ(consumer.QueueLength(), 0u);

  const Json::Value requests = collector_->Requests();
  ASSERT_EQ(requests.size(), 2u) << requests;
  EXPECT_EQ(requests[0]["records"].size(), 30u);
  EXPECT_EQ(requests[1]["records"].size(), 5u);
  // The batch text is exactly the queued JSON texts joined in order.
  std::string first_batch = "[";
  for (int n = 1; n <= 30; ++n) first_batch += (n > 1 ? "," : "") + NumberedText(n);
  EXPECT_EQ(requests[0]["batch"].asString(), first_batch + "]");
  EXPECT_THAT(Texts(collector_->AcceptedRecords()), ElementsAreArray(NumberedTexts(1, 35)));

  for (const Json::Value& request : requests) {
    EXPECT_EQ(request["path"].asString(), "/sa?project=default");
    const Json::Value& headers = request["headers"];
    EXPECT_EQ(headers["user-agent"].asString(), "EventAnalytics CPP SDK 0.7");
    EXPECT_EQ(headers["content-type"].asString(), "application/x-www-form-urlencoded");
    EXPECT_FALSE(headers.isMember("cookie"));
  }
}

TEST_F(UploadTest, CookieIsSentWhenSet) {
  RecordConsumer consumer(collector_->UploadUrl(), StagingPath(), 200);
  consumer.set_cookie("session=abc");
  consumer.AddRecord(NumberedRecord(1));
  ASSERT_TRUE(consumer.Flush());
  const Json::Value requests = collector_->Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0]["headers"]["cookie"].asString(), "session=abc");
}

TEST_F(UploadTest, AnswerOtherThan200PutsTheBatchBackForTheNextFlush) {
  for (const char* status : {"500", "201"}) {
    SCOPED_TRACE(status);
    ASSERT_TRUE(collector_->Reset());
    ASSERT_TRUE(collector_->SetMode(status));
    RecordConsumer consumer(collector_->UploadUrl(), StagingPath(), 200);
    for (int n = 1; n <= 35; ++n) consumer.AddRecord(NumberedRecord(n));
    {
      StderrCapture capture;
      EXPECT_FALSE(consumer.Flush());
      EXPECT_EQ(capture.text(), std::string("EventAnalytics SDK send failed: collector answered ") + status + "\n");
    }
    // The failed batch is back at the front, in order, and Flush stopped at it.
    EXPECT_THAT(consumer.QueuedRecords(), ElementsAreArray(NumberedTexts(1, 35)));
    EXPECT_EQ(collector_->Requests().size(), 1u);

    ASSERT_TRUE(collector_->SetMode("200"));
    EXPECT_TRUE(consumer.Flush());
    EXPECT_EQ(consumer.QueueLength(), 0u);
    EXPECT_THAT(Texts(collector_->AcceptedRecords()), ElementsAreArray(NumberedTexts(1, 35)));
  }
}

TEST_F(UploadTest, HangingCollectorTimesOutAndNewerRecordsWinThePlacesLeft) {
  ASSERT_TRUE(collector_->SetMode("hang"));
  RecordConsumer consumer(collector_->UploadUrl(), StagingPath(), 200);
  for (int n = 1; n <= 30; ++n) consumer.AddRecord(NumberedRecord(n));

  bool flushed = true;
  const auto start = std::chrono::steady_clock::now();
  std::thread flusher([&] {
    StderrCapture capture;  // this thread is the only writer meanwhile
    flushed = consumer.Flush();
  });
  // Once the request is in flight the queue is free for new records: 195 of them leave room
  // for only the newest 5 of the batch.
  while (collector_->Requests().size() == 0u) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  for (int n = 1001; n <= 1195; ++n) consumer.AddRecord(NumberedRecord(n));
  flusher.join();
  const auto elapsed = std::chrono::steady_clock::now() - start;

  EXPECT_FALSE(flushed);
  EXPECT_GE(elapsed, std::chrono::milliseconds(2900));  // the 3-second limit, no earlier
  std::vector<std::string> expected = NumberedTexts(26, 30);
  for (const std::string& text : NumberedTexts(1001, 1195)) expected.push_back(text);
  EXPECT_THAT(consumer.QueuedRecords(), ElementsAreArray(expected));
  ASSERT_TRUE(collector_->SetMode("200"));
}

TEST_F(UploadTest, ConcurrentAddsAndFlushesDeliverEveryRecordExactlyOnce) {
  // Several loops queue and flush at once, as the installer's I/O and file loops do.
  RecordConsumer consumer(collector_->UploadUrl(), StagingPath(), 200);
  constexpr int kThreads = 4, kPerThread = 50;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&consumer, t] {
      for (int i = 0; i < kPerThread; ++i) {
        consumer.AddRecord(NumberedRecord(t * 1000 + i));
        if (i % 7 == 0) consumer.Flush();
      }
      consumer.Flush();
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_TRUE(consumer.Flush());
  std::vector<std::string> arrived = Texts(collector_->AcceptedRecords());
  std::vector<std::string> expected;
  for (int t = 0; t < kThreads; ++t) {
    for (int i = 0; i < kPerThread; ++i) expected.push_back(NumberedText(t * 1000 + i));
  }
  std::sort(arrived.begin(), arrived.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(arrived, expected);
  for (const Json::Value& request : collector_->Requests()) {
    EXPECT_LE(request["records"].size(), 30u);
  }
}

// A staged line in braces that no collector can read used to go into the first batch; the
// collector refused that batch, it came back to the front of the queue, and every later batch
// carried it again. It is now dropped when the file is read, with a diagnostic.
TEST_F(UploadTest, ForeignStagedLineIsDroppedInsteadOfBlockingEveryBatch) {
  ASSERT_TRUE(test_support::WriteFile(StagingPath(), NumberedText(1) + "\n{not a record}\n" + NumberedText(2) + "\n"));
  RecordConsumer consumer(collector_->UploadUrl(), StagingPath(), 200);
  consumer.AddRecord(NumberedRecord(3));
  StderrCapture capture;
  EXPECT_TRUE(consumer.Flush());
  EXPECT_THAT(capture.text(), testing::HasSubstr("Dropped 1 line(s) of the staging file " + StagingPath() +
                                                 " that are not records, the first: {not a record}"));
  EXPECT_THAT(Texts(collector_->AcceptedRecords()), ElementsAreArray(NumberedTexts(1, 3)));
  consumer.AddRecord(NumberedRecord(4));
  EXPECT_TRUE(consumer.Flush());
  EXPECT_TRUE(StagingFile(StagingPath()).Read(200).empty()) << "delivered records leave the file";
}

#ifndef _WIN32
// The staging file keeps each staged record until a request has delivered it: a process killed
// between two requests resends nothing that arrived and loses nothing that did not.
TEST_F(UploadTest, ProcessKilledBetweenRequestsKeepsOnlyTheUndeliveredStagedRecords) {
  GTEST_FLAG_SET(death_test_style, "fast");
  std::string staged;
  for (const std::string& line : NumberedTexts(1, 35)) staged += line + "\n";
  ASSERT_TRUE(test_support::WriteFile(StagingPath(), staged));
  const std::string url = collector_->UploadUrl();
  const std::string path = StagingPath();
  EXPECT_EXIT(
      {
        RecordConsumer consumer(url, path, 200);
        consumer.FlushBatch(30);
        raise(SIGKILL);
      },
      testing::KilledBySignal(SIGKILL), "");
  EXPECT_THAT(Texts(collector_->AcceptedRecords()), ElementsAreArray(NumberedTexts(1, 30)));
  EXPECT_THAT(StagingFile(StagingPath()).Read(200), ElementsAreArray(NumberedTexts(31, 35)));

  RecordConsumer next_run(url, path, 200);
  EXPECT_TRUE(next_run.Flush());
  EXPECT_THAT(Texts(collector_->AcceptedRecords()), ElementsAreArray(NumberedTexts(1, 35)));
  EXPECT_TRUE(StagingFile(StagingPath()).Read(200).empty());
}

// Needs to stop and restart the collector, which only the host tree's tests own.
TEST_F(UploadTest, CollectorDownForAWholeRunThenUp) {
  // Run 1 reports like the installer (flush after every record) while nothing listens, and
  // closes. Run 2 finds the collector up: every staged record arrives, oldest first, then the
  // new one. With more than the limit in run 1 only the newest survive.
  struct Case {
    int first_run_records;
    int first_delivered;  // the oldest record of run 1 that arrives in run 2
  } const cases[] = {{40, 1}, {250, 52}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.first_run_records);
    const int port = collector_->port();
    collector_->Stop();
    {
      RecordConsumer first_run("http://127.0.0.1:" + std::to_string(port) + "/sa?project=default", StagingPath(), 200);
      StderrCapture capture;
      for (int n = 1; n <= c.first_run_records; ++n) {
        first_run.AddRecord(NumberedRecord(n));
        EXPECT_FALSE(first_run.Flush());
      }
      EXPECT_TRUE(first_run.Close());
    }
    EXPECT_EQ(StagingFile(StagingPath()).Read(200).size(), static_cast<size_t>(std::min(200, c.first_run_records)));

    ASSERT_TRUE(collector_->Start(port));
    {
      RecordConsumer second_run(collector_->UploadUrl(), StagingPath(), 200);
      second_run.AddRecord(NumberedRecord(9999));
      EXPECT_TRUE(second_run.Flush());
      EXPECT_TRUE(second_run.Close());
    }
    std::vector<std::string> expected = NumberedTexts(c.first_delivered, c.first_run_records);
    expected.push_back(NumberedText(9999));
    EXPECT_THAT(Texts(collector_->AcceptedRecords()), ElementsAreArray(expected));
    EXPECT_TRUE(StagingFile(StagingPath()).Read(200).empty());
  }
}

#endif

TEST_F(UploadTest, HttpPostReportsStatusHeadersAndTransportErrors) {
  HttpResponse ok = HttpPost(collector_->UploadUrl(), "", "not a batch", 3, {});
  EXPECT_EQ(ok.status, 400);  // the collector refuses what it cannot decode
  EXPECT_EQ(ok.headers["X-Collector"], "pindle test");
  EXPECT_EQ(ok.headers["HTTP/1.1 400 Bad Request"], "present");
  EXPECT_EQ(ok.headers["Content-Type"], "text/plain");

  HttpResponse refused =
      HttpPost("http://127.0.0.1:" + std::to_string(CollectorProcess::UnusedPort()) + "/sa", "", "x", 3, {});
  EXPECT_EQ(refused.status, -1);
  EXPECT_EQ(refused.body, "Couldn't connect to server");
}

}  // namespace
}  // namespace event_analytics
