// The installer's reports, sent through the process's reporter to the test collector.
#include "UI/installer_reports.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/global.h"
#include "app/startup.h"
#include "collector_test.h"
#include "fake_id_store.h"
#include "runtime/message_loop.h"
#include "runtime/thread.h"
#include "scratch_folder.h"

namespace installer {
namespace {

using testing::ElementsAre;

class InstallerReportsTest : public CollectorTest {
 protected:
  void SetUp() override {
    CollectorTest::SetUp();
    if (HasFatalFailure()) return;
    saved_token_ = app::Global().channel_token;
    app::Global().channel_token = "C0FFEE";
    id_.has_value = true;
    id_.value = L"5f3a1c77-9e0d-4b2a-8c1d-0e9f8a7b";
    reporter_.SetCollector("http://127.0.0.1:" + std::to_string(collector_->port()));
    reporter_.SetStagingFile(folder_.File("staging_file"));
    reporter_.SetIdStore(NewFakeIdStore(&id_));
#ifdef _WIN32
    const int io_type = base::MessageLoop::TYPE_IO;
#else
    const int io_type = base::MessageLoop::TYPE_DEFAULT;
#endif
    ASSERT_TRUE(io_thread_.StartWithOptions(base::Thread::Options(io_type, 0)));
    base::SetThreadLoop(base::kIoLoop, io_thread_.message_loop());
  }
  void TearDown() override {
    StopIoLoop();
    app::Global().channel_token = saved_token_;
  }
  // Every posted send has run once the I/O loop has stopped.
  void StopIoLoop() {
    io_thread_.Stop();
    base::SetThreadLoop(base::kIoLoop, nullptr);
  }
  static TrackerFacts Facts(const char* kind) {
    return {"0A:1B:2C:3D:4E:5F", "3.2.1.0", "Windows10", "lan_en", kind};
  }

  test_support::ScratchFolder folder_;
  FakeIdState id_;
  std::string saved_token_;
  AnalyticsReporter reporter_;
  base::Thread io_thread_{"io_thread"};
};

TEST_F(InstallerReportsTest, EveryEventCarriesTheSuperProperties) {
  for (const char* kind : {"normal", "upgrade"}) {
    SCOPED_TRACE(kind);
    ASSERT_TRUE(InitTracker(&reporter_, Facts(kind)));
    collector_->Reset();
    EXPECT_TRUE(PostFixedEvent(&reporter_, FixedEvent::kLaunch));
    EXPECT_TRUE(PostFixedEvent(&reporter_, FixedEvent::kStart));
    EXPECT_TRUE(PostFixedEvent(&reporter_, FixedEvent::kFinish));
    StopIoLoop();
    const std::vector<Json::Value> records = collector_->AcceptedRecords();
    ASSERT_EQ(records.size(), 3u);
    std::vector<std::string> actions;
    for (const Json::Value& record : records) {
      const Json::Value& p = record["properties"];
      actions.push_back(p["action"].asString());
      EXPECT_EQ(record["event"].asString(), "pindle_downloader");
      EXPECT_EQ(p["type"].asString(), kind);
      EXPECT_EQ(p["mac_address"].asString(), "0A:1B:2C:3D:4E:5F");
      EXPECT_EQ(p["$app_version"].asString(), "3.2.1.0");
      EXPECT_EQ(p["$os"].asString(), "windows");
      EXPECT_EQ(p["os_version"].asString(), "Windows10");
      EXPECT_EQ(p["language"].asString(), "lan_en");
      EXPECT_EQ(p["product"].asString(), "Pindle");
      EXPECT_EQ(p["channel_token"].asString(), "C0FFEE");
    }
    EXPECT_THAT(actions,
                ElementsAre("Downloader_Download_Launch", "Downloader_Download_Start", "Downloader_Download_Finish"));
    ASSERT_TRUE(io_thread_.StartWithOptions(base::Thread::Options(
#ifdef _WIN32
        base::MessageLoop::TYPE_IO,
#else
        base::MessageLoop::TYPE_DEFAULT,
#endif
        0)));
    base::SetThreadLoop(base::kIoLoop, io_thread_.message_loop());
  }
}

TEST_F(InstallerReportsTest, ReportsCarryTheirValueAndArriveInPostingOrder) {
  ASSERT_TRUE(InitTracker(&reporter_, Facts("normal")));
  {
    // DoLogger copies: the caller's properties are gone before the send runs.
    AnalyticsReporter::Properties properties = ExitProperties(exit_reason::kAuthority);
    EXPECT_TRUE(DoLogger(&reporter_, kTrackerEvent, properties));
    properties["exit_reason"] = "changed";
  }
  EXPECT_TRUE(ReportExit(&reporter_, exit_reason::kNotReady));
  EXPECT_TRUE(ReportDownloadFail(&reporter_, fail_type::kServerError));
  EXPECT_TRUE(ReportDownloadFail(&reporter_, fail_type::kNetError));
  EXPECT_TRUE(ReportInstallFail(&reporter_, install_error::kUnpackFailed));
  EXPECT_TRUE(ReportInstallFail(&reporter_, install_error::kEngineDidNotStart));
  StopIoLoop();
  std::vector<std::string> sent;
  for (const Json::Value& record : collector_->AcceptedRecords()) {
    const Json::Value& p = record["properties"];
    std::string line = p["action"].asString();
    for (const char* key : {"exit_reason", "fail_type", "error_code"}) {
      if (p.isMember(key)) line += std::string(" ") + key + "=" + p[key].asString();
    }
    sent.push_back(line);
  }
  EXPECT_THAT(sent, ElementsAre("Downloader_Exit exit_reason=Authority", "Downloader_Exit exit_reason=32True Color",
                                "Downloader_Download_Fail fail_type=Server_Error",
                                "Downloader_Download_Fail fail_type=Net_ERROR",
                                "Downloader_Install_Fail error_code=201", "Downloader_Install_Fail error_code=-1"));
}

TEST_F(InstallerReportsTest, ExitValuesOfTheTable) {
  EXPECT_STREQ(exit_reason::kAuthority, "Authority");
  EXPECT_STREQ(exit_reason::kFreeDiskSize, "Freedisksize");
  EXPECT_STREQ(exit_reason::kCpu, "CPU");
  EXPECT_STREQ(exit_reason::kNotReady, "32True Color");
  EXPECT_STREQ(exit_reason::kQuit, "Quit");
  EXPECT_STREQ(fail_type::kQuit, "Quit");
  EXPECT_EQ(InstallFailProperties(install_error::kRestartNeeded).at("error_code"), "109");
}

TEST_F(InstallerReportsTest, SendsWithoutAnIoLoopFailAndNothingArrives) {
  ASSERT_TRUE(InitTracker(&reporter_, Facts("normal")));
  StopIoLoop();
  EXPECT_FALSE(PostFixedEvent(&reporter_, FixedEvent::kLaunch));
  EXPECT_FALSE(ReportExit(&reporter_, exit_reason::kQuit));
  EXPECT_TRUE(collector_->AcceptedRecords().empty());
}

}  // namespace
}  // namespace installer
