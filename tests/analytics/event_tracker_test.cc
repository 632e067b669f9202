// The tracker functions over the real consumer and the test collector.
#include "analytics/event_tracker.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "analytics/staging_file.h"
#include "collector_test.h"
#include "scratch_folder.h"
#include "stderr_capture.h"

namespace event_analytics {
namespace {

class EventTrackerTest : public CollectorTest {
 protected:
  void SetUp() override {
    CollectorTest::SetUp();
    if (HasFatalFailure()) return;
  }
  void TearDown() override { Shutdown(); }

  bool InitTracker(const std::string& distinct_id = "5f3a-1c-77") {
    return Init(StagingPath(), collector_->UploadUrl(), distinct_id, false, 200);
  }
  std::string StagingPath() const { return folder_.File("staging_file"); }

  static PropertiesNode Action(const std::string& action) {
    PropertiesNode properties;
    properties.SetString("action", action);
    return properties;
  }

  test_support::ScratchFolder folder_;
};

TEST_F(EventTrackerTest, InitChecksTheDistinctId) {
  {
    StderrCapture capture;
    EXPECT_FALSE(InitTracker(""));
    EXPECT_FALSE(InitTracker(std::string(256, 'd')));
    EXPECT_EQ(capture.text(), "The Distinct ID is empty.\nThe Distinct ID is too long, max length is 255.\n");
  }
  EXPECT_FALSE(Track("pindle_downloader", Action("x")));  // nothing was made
  EXPECT_FALSE(Flush());
  EXPECT_TRUE(InitTracker(std::string(255, 'd')));
  // A second Init keeps the first tracker.
  EXPECT_TRUE(InitTracker("other"));
  ASSERT_TRUE(Track("pindle_downloader", Action("x")));
  ASSERT_TRUE(Flush());
  const std::vector<Json::Value> records = collector_->AcceptedRecords();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0]["distinct_id"].asString(), std::string(255, 'd'));
}

TEST_F(EventTrackerTest, TrackedEventArrivesAsATrackRecord) {
  ASSERT_TRUE(InitTracker());
  PropertiesNode super;
  super.SetString("pindle_product_name", "Pindle");
  RegisterSuperProperties(super);
  PropertiesNode properties = Action("Downloader_Exit");
  properties.SetString("exit_reason", "32True Color");

  const int64_t before = CurrentTimeMillis();
  ASSERT_TRUE(Track("pindle_downloader", properties));
  ASSERT_TRUE(Flush());
  const int64_t after = CurrentTimeMillis();

  const std::vector<Json::Value> records = collector_->AcceptedRecords();
  ASSERT_EQ(records.size(), 1u);
  const Json::Value& record = records[0];
  EXPECT_EQ(record["type"].asString(), "track");
  EXPECT_EQ(record["event"].asString(), "pindle_downloader");
  EXPECT_EQ(record["distinct_id"].asString(), "5f3a-1c-77");
  EXPECT_GE(record["time"].asInt64(), before);
  EXPECT_LE(record["time"].asInt64(), after);
  Json::Value lib;
  lib["$lib"] = "cpp";
  lib["$lib_method"] = "code";
  lib["$lib_version"] = "0.7";
  EXPECT_EQ(record["lib"], lib);
  Json::Value expected_properties;
  expected_properties["$lib"] = "cpp";
  expected_properties["$lib_version"] = "0.7";
  expected_properties["pindle_product_name"] = "Pindle";
  expected_properties["action"] = "Downloader_Exit";
  expected_properties["exit_reason"] = "32True Color";
  EXPECT_EQ(record["properties"], expected_properties);
  EXPECT_FALSE(record.isMember("project"));
  EXPECT_FALSE(record.isMember("original_id"));
}

TEST_F(EventTrackerTest, SuperPropertiesMergeLaterValuesWinAndBadKeysAreRefused) {
  ASSERT_TRUE(InitTracker());
  PropertiesNode first;
  first.SetString("channel_token", "one");
  first.SetString("language", "lan_en");
  RegisterSuperProperties(first);
  PropertiesNode second;
  second.SetString("channel_token", "two");
  second.SetString("bad key", "x");
  {
    StderrCapture capture;
    RegisterSuperProperties(second);
    EXPECT_EQ(capture.text(), "The Property Key need to be a valid variable name.\n");
  }
  ASSERT_TRUE(Track("pindle_downloader", Action("a")));
  ASSERT_TRUE(Flush());
  const std::vector<Json::Value> records = collector_->AcceptedRecords();
  ASSERT_EQ(records.size(), 1u);
  const Json::Value& properties = records[0]["properties"];
  EXPECT_EQ(properties["channel_token"].asString(), "two");
  EXPECT_EQ(properties["language"].asString(), "lan_en");
  EXPECT_FALSE(properties.isMember("bad key"));
}

TEST_F(EventTrackerTest, DroppedEventIsNotQueued) {
  ASSERT_TRUE(InitTracker());
  StderrCapture capture;
  EXPECT_FALSE(Track("pindle.downloader", Action("a")));
  EXPECT_EQ(capture.text(), "The Event Name need to be a valid variable name.\n");
  EXPECT_TRUE(Flush());
  EXPECT_EQ(collector_->Requests().size(), 0u);
}

TEST_F(EventTrackerTest, ValueOf8193BytesIsLeftOutAndTheEventStillGoes) {
  ASSERT_TRUE(InitTracker());
  PropertiesNode properties = Action("a");
  {
    StderrCapture capture;
    EXPECT_FALSE(properties.SetString("huge", std::string(8193, 'h')));
    EXPECT_FALSE(properties.SetString("escape", "\x1b[31m"));
  }
  EXPECT_TRUE(properties.SetString("largest", std::string(8192, 'l')));
  ASSERT_TRUE(Track("pindle_downloader", properties));
  ASSERT_TRUE(Flush());
  const std::vector<Json::Value> records = collector_->AcceptedRecords();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_FALSE(records[0]["properties"].isMember("huge"));
  EXPECT_FALSE(records[0]["properties"].isMember("escape"));
  EXPECT_EQ(records[0]["properties"]["largest"].asString().size(), 8192u);
}

TEST_F(EventTrackerTest, ShutdownStagesUnsentEventsAndLaterTracksRecordNothing) {
  ASSERT_TRUE(InitTracker());
  ASSERT_TRUE(collector_->SetMode("500"));
  ASSERT_TRUE(Track("pindle_downloader", Action("Downloader_Install_Finish")));
  {
    StderrCapture capture;
    EXPECT_FALSE(Flush());
  }
  Shutdown();
  const std::vector<std::string> staged = StagingFile(StagingPath()).Read(200);
  ASSERT_EQ(staged.size(), 1u);
  EXPECT_NE(staged[0].find("\"action\":\"Downloader_Install_Finish\""), std::string::npos);

  ASSERT_TRUE(collector_->SetMode("200"));
  ASSERT_TRUE(collector_->Reset());
  EXPECT_FALSE(Track("pindle_downloader", Action("after_shutdown")));
  EXPECT_FALSE(Flush());
  Shutdown();  // a second shutdown is harmless
  EXPECT_EQ(collector_->Requests().size(), 0u);
  EXPECT_EQ(StagingFile(StagingPath()).Read(200), staged);

  // The next run sends the staged event first.
  ASSERT_TRUE(InitTracker());
  ASSERT_TRUE(Track("pindle_downloader", Action("Downloader_Download_Launch")));
  ASSERT_TRUE(Flush());
  const std::vector<Json::Value> records = collector_->AcceptedRecords();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0]["properties"]["action"].asString(), "Downloader_Install_Finish");
  EXPECT_EQ(records[1]["properties"]["action"].asString(), "Downloader_Download_Launch");
}

}  // namespace
}  // namespace event_analytics
