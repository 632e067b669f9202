// The installer's reporter over the real tracker, consumer and test collector.
#include "analytics/analytics_reporter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "analytics/event_tracker.h"
#include "analytics/staging_file.h"
#include "app/global.h"
#include "app/startup.h"
#include "collector_test.h"
#include "fake_id_store.h"
#include "random_id_shape.h"
#include "runtime/message_loop.h"
#include "runtime/text_encoding.h"
#include "runtime/thread.h"
#include "runtime/waitable_event.h"
#include "scratch_folder.h"
#include "stderr_capture.h"

namespace {

std::vector<std::string> Actions(const std::vector<Json::Value>& records) {
  std::vector<std::string> out;
  for (const Json::Value& record : records) out.push_back(record["properties"]["action"].asString());
  return out;
}

class AnalyticsReporterTest : public CollectorTest {
 protected:
  void SetUp() override {
    CollectorTest::SetUp();
    if (HasFatalFailure()) return;
    saved_token_ = app::Global().channel_token;
    saved_default_token_ = app::Process().default_channel_token;
    app::Global().channel_token = "";
    app::Process().default_channel_token = "7E1C05B9A2D44F86B0C3E95D61A8F27B";
    id_.has_value = true;
    id_.value = L"5f3a1c77-9e0d-4b2a-8c1d-0e9f8a7b";
  }
  void TearDown() override {
    app::Global().channel_token = saved_token_;
    app::Process().default_channel_token = saved_default_token_;
  }

  // A reporter pointed at the test collector (by its address, as deployment gives it) and at
  // this test's staging file, keeping its distinct id in `id_`.
  void Point(AnalyticsReporter* reporter) {
    reporter->SetCollector(CollectorBase());
    reporter->SetStagingFile(StagingPath());
    reporter->SetIdStore(NewFakeIdStore(&id_));
  }
  static std::string CollectorBase() { return "http://127.0.0.1:" + std::to_string(collector_->port()); }
  std::string StagingPath() const { return folder_.File("staging_file"); }
  static AnalyticsReporter::Properties Action(const std::string& action) { return {{"action", action}}; }

  test_support::ScratchFolder folder_;
  FakeIdState id_;
  std::string saved_token_;
  std::string saved_default_token_;
};

TEST_F(AnalyticsReporterTest, PresetPropertiesGoWithEveryEventAndWinOverEventProperties) {
  AnalyticsReporter reporter;
  Point(&reporter);
  ASSERT_TRUE(reporter.Init());
  reporter.SetPresetProperties("0A:1B:2C:3D:4E:5F", "1.0.1.0000", "windows", "Windows10", "lan_en", "upgrade");
  AnalyticsReporter::Properties properties = Action("Downloader_Download_Launch");
  properties["type"] = "from the event";
  ASSERT_TRUE(reporter.Track("pindle_downloader", properties));

  // A channel token in the custom settings replaces the built-in one.
  app::Global().channel_token = "C0FFEE";
  reporter.SetPresetProperties("0A:1B:2C:3D:4E:5F", "1.0.1.0000", "windows", "Windows10", "lan_en", "normal");
  ASSERT_TRUE(reporter.Track("pindle_downloader", Action("Downloader_Download_Start")));

  const Json::Value requests = collector_->Requests();
  ASSERT_EQ(requests.size(), 2u) << requests;
  EXPECT_EQ(requests[0]["path"].asString(), "/sa?project=default");
  const std::vector<Json::Value> records = collector_->AcceptedRecords();
  ASSERT_EQ(records.size(), 2u);
  Json::Value expected;
  expected["$lib"] = "cpp";
  expected["$lib_version"] = "0.7";
  expected["pindle_product_name"] = "Pindle";
  expected["action"] = "Downloader_Download_Launch";
  expected["mac_address"] = "0A:1B:2C:3D:4E:5F";
  expected["$app_version"] = "1.0.1.0000";
  expected["$os"] = "windows";
  expected["os_version"] = "Windows10";
  expected["language"] = "lan_en";
  expected["product"] = "Pindle";
  expected["type"] = "upgrade";
  expected["channel_token"] = "7E1C05B9A2D44F86B0C3E95D61A8F27B";
  EXPECT_EQ(records[0]["properties"], expected);
  EXPECT_EQ(records[0]["event"].asString(), "pindle_downloader");
  EXPECT_EQ(records[0]["distinct_id"].asString(), "5f3a1c77-9e0d-4b2a-8c1d-0e9f8a7b");
  EXPECT_EQ(records[1]["properties"]["channel_token"].asString(), "C0FFEE");
  EXPECT_EQ(records[1]["properties"]["type"].asString(), "normal");
}

TEST_F(AnalyticsReporterTest, TrackSetsTheTrackerUpWhenNeededWithTheStoredId) {
  id_.value = L"stored-id-1";
  {
    AnalyticsReporter reporter;
    Point(&reporter);
    EXPECT_FALSE(reporter.initialised());
    ASSERT_TRUE(reporter.Track("pindle_downloader", Action("first")));
    EXPECT_TRUE(reporter.initialised());
    EXPECT_EQ(reporter.distinct_id(), "stored-id-1");
  }
  // An empty store: a new id is made once, stored, and the next reporter reuses it.
  id_.has_value = false;
  std::string made;
  {
    AnalyticsReporter reporter;
    Point(&reporter);
    ASSERT_TRUE(reporter.Track("pindle_downloader", Action("second")));
    made = reporter.distinct_id();
  }
  EXPECT_TRUE(HasRandomIdShape(made)) << made;
  EXPECT_EQ(id_.value, std::wstring(made.begin(), made.end()));
  EXPECT_EQ(id_.writes, 1);
  {
    AnalyticsReporter reporter;
    Point(&reporter);
    ASSERT_TRUE(reporter.Track("pindle_downloader", Action("third")));
  }
  EXPECT_EQ(id_.writes, 1);

  const std::vector<Json::Value> records = collector_->AcceptedRecords();
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0]["distinct_id"].asString(), "stored-id-1");
  EXPECT_EQ(records[1]["distinct_id"].asString(), made);
  EXPECT_EQ(records[2]["distinct_id"].asString(), made);
}

TEST_F(AnalyticsReporterTest, TrackIsTrueOnlyForARecordedAndDeliveredEvent) {
  AnalyticsReporter reporter;
  Point(&reporter);
  ASSERT_TRUE(reporter.Init());
  {
    StderrCapture capture;
    // A dropped event is a failure even though the flush after it had nothing to fail on.
    EXPECT_FALSE(reporter.Track("pindle.downloader", Action("dotted name")));
    EXPECT_FALSE(reporter.Track("pindle_downloader", {{"exit reason", "Quit"}}));
    EXPECT_EQ(capture.text(),
              "The Event Name need to be a valid variable name.\n"
              "The Property Key need to be a valid variable name.\n");
  }
  EXPECT_EQ(collector_->Requests().size(), 0u);

  // A value the string rule refuses is left out; the event still goes.
  {
    StderrCapture capture;
    EXPECT_TRUE(reporter.Track("pindle_downloader", {{"action", "Downloader_Exit"}, {"exit_reason", "Quit\x7F"}}));
  }
  // Not taken by the collector: false, and the event waits for the next send.
  ASSERT_TRUE(collector_->SetMode("500"));
  {
    StderrCapture capture;
    EXPECT_FALSE(reporter.Track("pindle_downloader", Action("Downloader_Download_Fail")));
  }
  ASSERT_TRUE(collector_->SetMode("200"));
  EXPECT_TRUE(reporter.Track("pindle_downloader", Action("Downloader_Install_Fail")));

  const std::vector<Json::Value> records = collector_->AcceptedRecords();
  EXPECT_THAT(Actions(records),
              testing::ElementsAre("Downloader_Exit", "Downloader_Download_Fail", "Downloader_Install_Fail"));
  EXPECT_FALSE(records[0]["properties"].isMember("exit_reason"));
}

TEST_F(AnalyticsReporterTest, TrackAfterShutdownReturnsFalseAndSendsNothing) {
  AnalyticsReporter reporter;
  Point(&reporter);
  ASSERT_TRUE(reporter.Track("pindle_downloader", Action("Downloader_Install_Finish")));
  reporter.Shutdown();
  EXPECT_TRUE(reporter.shut_down());
  EXPECT_FALSE(event_analytics::HasTracker());
  ASSERT_TRUE(collector_->Reset());

  EXPECT_FALSE(reporter.Track("pindle_downloader", Action("Downloader_Exit")));
  // Shutdown is final: the tracker is not set up again.
  EXPECT_FALSE(reporter.Init());
  EXPECT_FALSE(reporter.Track("pindle_downloader", Action("Downloader_Exit")));
  EXPECT_FALSE(event_analytics::HasTracker());
  reporter.Shutdown();
  EXPECT_EQ(collector_->Requests().size(), 0u);
  EXPECT_TRUE(event_analytics::StagingFile(StagingPath()).Read(200).empty());
}

// A run that ends without an explicit Shutdown still stages what is unsent; until then the file
// keeps the staged records that no request has delivered.
TEST_F(AnalyticsReporterTest, TeardownWithoutShutdownStagesWhatIsUnsent) {
  ASSERT_TRUE(test_support::WriteFile(
      StagingPath(), "{\"properties\":{\"action\":\"old_1\"}}\n{\"properties\":{\"action\":\"old_2\"}}\n"));
  ASSERT_TRUE(collector_->SetMode("500"));
  {
    AnalyticsReporter reporter;
    Point(&reporter);
    StderrCapture capture;
    EXPECT_FALSE(reporter.Track("pindle_downloader", Action("Downloader_Download_Fail")));
    EXPECT_EQ(event_analytics::StagingFile(StagingPath()).Read(200).size(), 2u);
  }
  const std::vector<std::string> staged = event_analytics::StagingFile(StagingPath()).Read(200);
  ASSERT_EQ(staged.size(), 3u);
  EXPECT_NE(staged[2].find("\"action\":\"Downloader_Download_Fail\""), std::string::npos);

  // The next run delivers all of them, oldest first, before its own event.
  ASSERT_TRUE(collector_->SetMode("200"));
  {
    AnalyticsReporter reporter;
    Point(&reporter);
    EXPECT_TRUE(reporter.Track("pindle_downloader", Action("Downloader_Download_Launch")));
  }
  EXPECT_THAT(Actions(collector_->AcceptedRecords()),
              testing::ElementsAre("old_1", "old_2", "Downloader_Download_Fail", "Downloader_Download_Launch"));
  EXPECT_TRUE(event_analytics::StagingFile(StagingPath()).Read(200).empty());
}

TEST_F(AnalyticsReporterTest, StagingFileDefaultsToTheProductDataFolder) {
  const std::wstring saved_folder = app::Global().product_data_folder;
  app::Global().product_data_folder = base::AnsiToWide(folder_.path().string());
  ASSERT_TRUE(collector_->SetMode("500"));
  {
    AnalyticsReporter reporter;
    reporter.SetCollector(CollectorBase());
    reporter.SetIdStore(NewFakeIdStore(&id_));
    StderrCapture capture;
    EXPECT_FALSE(reporter.Track("pindle_downloader", Action("Downloader_Download_Fail")));
    reporter.Shutdown();
  }
  app::Global().product_data_folder = saved_folder;
  const std::vector<std::string> staged = event_analytics::StagingFile(folder_.File("staging_file")).Read(200);
  ASSERT_EQ(staged.size(), 1u);
  EXPECT_NE(staged[0].find("\"action\":\"Downloader_Download_Fail\""), std::string::npos);
}

// The process-wide reporter is destroyed at exit and its teardown shuts the tracker down, so
// an exit path that never calls Shutdown (every failure exit of the installer) still stages.
TEST_F(AnalyticsReporterTest, ProcessExitWithoutShutdownStagesWhatIsUnsent) {
  // The child may be a new run of this program (Windows), so the path must not depend on
  // this fixture's folder.
  const std::string staging = (std::filesystem::temp_directory_path() / "pindle-reporter-exit-staging_file").string();
  std::remove(staging.c_str());
  EXPECT_EXIT(
      {
        collector_->SetMode("500");  // a re-run child has reset the collector in its SetUp
        AnalyticsReporter& reporter = AnalyticsReporter::Instance();
        reporter.SetCollector(CollectorBase());
        reporter.SetStagingFile(staging);
        reporter.SetIdStore(NewFakeIdStore(&id_));
        const bool tracked = reporter.Track("pindle_downloader", Action("Downloader_Exit"));
        std::exit(!tracked && reporter.initialised() ? 0 : 3);
      },
      testing::ExitedWithCode(0), "");
  const std::vector<std::string> staged = event_analytics::StagingFile(staging).Read(200);
  std::remove(staging.c_str());
  ASSERT_EQ(staged.size(), 1u);
  EXPECT_NE(staged[0].find("\"action\":\"Downloader_Exit\""), std::string::npos);
}

// What the I/O loop reports back, from whichever thread it ran on.
struct PostedResults {
  std::mutex lock;
  std::vector<std::string> contexts;
  std::vector<bool> results;
  std::vector<base::MessageLoop*> loops;
  base::WaitableEvent* done = nullptr;
  size_t expected = 0;
};
PostedResults* g_posted = nullptr;

void OnPostedTrack(const std::string& context, bool tracked) {
  std::lock_guard<std::mutex> hold(g_posted->lock);
  g_posted->contexts.push_back(context);
  g_posted->results.push_back(tracked);
  g_posted->loops.push_back(base::MessageLoop::current());
  if (g_posted->contexts.size() == g_posted->expected) g_posted->done->Signal();
}

TEST_F(AnalyticsReporterTest, PostTrackSendsOnTheIoLoopInPostingOrder) {
  AnalyticsReporter reporter;
  Point(&reporter);
  ASSERT_TRUE(reporter.Init());
  reporter.SetPresetProperties("0A:1B:2C:3D:4E:5F", "1.0.1.0000", "windows", "Windows10", "lan_en", "normal");
  // No I/O loop: nothing is posted or sent.
  ASSERT_EQ(base::GetThreadLoop(base::kIoLoop), nullptr);
  EXPECT_FALSE(reporter.PostTrack("pindle_downloader", Action("lost"), &OnPostedTrack, "lost"));

  // Declared before the thread, so they outlive it even when an assertion ends the test early.
  base::WaitableEvent done(true, false);
  PostedResults results;
  results.done = &done;
  results.expected = 3;
  g_posted = &results;

  base::Thread io_thread("io_thread");
#ifdef _WIN32
  const int io_type = base::MessageLoop::TYPE_IO;
#else
  const int io_type = base::MessageLoop::TYPE_DEFAULT;  // the only pump outside Windows
#endif
  ASSERT_TRUE(io_thread.StartWithOptions(base::Thread::Options(io_type, 0)));
  base::SetThreadLoop(base::kIoLoop, io_thread.message_loop());

  base::MessageLoop* const io_loop = io_thread.message_loop();
  {
    StderrCapture capture;  // the dropped event's reason, written on the I/O loop
    EXPECT_TRUE(reporter.PostTrack("pindle_downloader", Action("Downloader_Download_Launch"), &OnPostedTrack,
                                   "Downloader_Download_Launch"));
    EXPECT_TRUE(reporter.PostTrack("pindle_downloader", {{"action", "Downloader_Exit"}, {"exit_reason", "CPU"}},
                                   &OnPostedTrack, "DoLogger"));
    EXPECT_TRUE(reporter.PostTrack("pindle_downloader", Action("no callback"), nullptr, ""));
    EXPECT_TRUE(reporter.PostTrack("pindle.downloader", Action("dropped"), &OnPostedTrack, "dropped"));
    ASSERT_TRUE(done.TimedWait(20000));
    io_thread.Stop();
    EXPECT_EQ(capture.text(), "The Event Name need to be a valid variable name.\n");
  }
  base::SetThreadLoop(base::kIoLoop, nullptr);
  g_posted = nullptr;

  EXPECT_THAT(results.contexts, testing::ElementsAre("Downloader_Download_Launch", "DoLogger", "dropped"));
  EXPECT_THAT(results.results, testing::ElementsAre(true, true, false));
  EXPECT_THAT(results.loops, testing::Each(io_loop));
  const std::vector<Json::Value> records = collector_->AcceptedRecords();
  EXPECT_THAT(Actions(records), testing::ElementsAre("Downloader_Download_Launch", "Downloader_Exit", "no callback"));
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[1]["properties"]["exit_reason"].asString(), "CPU");
  EXPECT_EQ(records[1]["properties"]["mac_address"].asString(), "0A:1B:2C:3D:4E:5F");
}

}  // namespace
