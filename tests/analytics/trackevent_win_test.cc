// trackevent.exe end to end: a real child process, the real reporter in it, the test collector.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "analytics/staging_file.h"
#include "app/language.h"
#include "collector_test.h"
#include "runtime/text_encoding.h"
#include "saved_registry_id_win.h"
#include "scratch_folder.h"
#include "system/device_id.h"
#include "system/os_version.h"
#include "system/run_capture.h"

namespace {

using testing::HasSubstr;

struct Result {
  int exit_code = -1;
  std::string out;
  std::string err;
};

class TrackEventTest : public CollectorTest {
 protected:
  void SetUp() override {
    CollectorTest::SetUp();
    if (HasFatalFailure()) return;
  }

  static std::string CollectorBase() { return "http://127.0.0.1:" + std::to_string(collector_->port()); }
  std::string StagingPath() const { return folder_.File("staging_file"); }

  // Runs trackevent.exe with `arguments`, each quoted.
  static Result RunTool(const std::vector<std::wstring>& arguments) {
    std::wstring program = base::Utf8ToWide(PINDLE_TRACKEVENT_EXE);
    for (wchar_t& c : program) {
      if (c == L'/') c = L'\\';
    }
    std::wstring command_line = L"\"" + program + L"\"";
    for (const std::wstring& argument : arguments) command_line += L" \"" + argument + L"\"";
    Result result;
    EXPECT_TRUE(RunAndCapture(command_line, 60000, &result.exit_code, &result.out, &result.err));
    return result;
  }
  Result Send(const std::string& collector, const std::string& event, const std::vector<std::wstring>& properties) {
    std::vector<std::wstring> arguments = {base::Utf8ToWide(collector), base::AnsiToWide(StagingPath()),
                                           base::Utf8ToWide(event)};
    arguments.insert(arguments.end(), properties.begin(), properties.end());
    return RunTool(arguments);
  }

  SavedRegistryId saved_id_;
  test_support::ScratchFolder folder_;
};

TEST_F(TrackEventTest, DeliveredEventExitsZeroAndArrivesWithTheInstallersPresets) {
  const Result result =
      Send(CollectorBase(), "pindle_downloader",
           {L"action=Downloader_Install_Finish", L"note=caf\x00E9 = ok", L"note2=first", L"note2=second"});
  EXPECT_EQ(result.exit_code, 0) << result.err;

  const std::vector<Json::Value> records = collector_->AcceptedRecords();
  ASSERT_EQ(records.size(), 1u);
  const Json::Value& record = records[0];
  EXPECT_EQ(record["event"].asString(), "pindle_downloader");
  EXPECT_EQ(record["type"].asString(), "track");
  std::wstring stored_id;
  ASSERT_TRUE(SavedRegistryId::ReadString(&stored_id));
  EXPECT_EQ(record["distinct_id"].asString(), base::WideToUtf8(stored_id));

  const Json::Value& properties = record["properties"];
  EXPECT_EQ(properties["action"].asString(), "Downloader_Install_Finish");
  EXPECT_EQ(properties["note"].asString(), "caf\xC3\xA9 = ok");  // UTF-8 on the wire
  EXPECT_EQ(properties["note2"].asString(), "second");
  // The presets, as the installer's start-up leaves them (built-in custom settings, no token).
  EXPECT_EQ(properties["$app_version"].asString(), "1.0.1.0000");
  EXPECT_EQ(properties["$os"].asString(), "windows");
  EXPECT_EQ(properties["os_version"].asString(), GetOsName());
  EXPECT_EQ(properties["mac_address"].asString(), GetDeviceId());
  // The language start-up chose (Wine's system language here): one of the table's codes.
  EXPECT_NE(app::FindLanguageByCode(properties["language"].asString()), nullptr) << properties["language"];
  EXPECT_EQ(properties["product"].asString(), "Pindle");
  EXPECT_EQ(properties["type"].asString(), "normal");
  EXPECT_EQ(properties["channel_token"].asString(), "7E1C05B9A2D44F86B0C3E95D61A8F27B");
  EXPECT_EQ(properties["pindle_product_name"].asString(), "Pindle");
  EXPECT_EQ(properties["$lib"].asString(), "cpp");

  // A second run reuses the stored id.
  EXPECT_EQ(Send(CollectorBase(), "pindle_downloader", {L"action=again"}).exit_code, 0);
  const std::vector<Json::Value> both = collector_->AcceptedRecords();
  ASSERT_EQ(both.size(), 2u);
  EXPECT_EQ(both[1]["distinct_id"], record["distinct_id"]);
  EXPECT_TRUE(event_analytics::StagingFile(StagingPath()).Read(200).empty());
}

TEST_F(TrackEventTest, UndeliveredEventExitsOneAndIsStagedForTheNextRun) {
  struct Case {
    const char* what;
    const char* mode;
    bool reachable;
  } const cases[] = {
      {"collector answers 500", "500", true},
      {"collector answers 201", "201", true},
      {"nothing listens", "200", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(collector_->Reset());
    ASSERT_TRUE(collector_->SetMode(c.mode));
    const std::string collector =
        c.reachable ? CollectorBase() : "http://127.0.0.1:" + std::to_string(CollectorProcess::UnusedPort());
    const Result failed = Send(collector, "pindle_downloader", {L"action=Downloader_Download_Fail"});
    EXPECT_EQ(failed.exit_code, 1);
    EXPECT_THAT(failed.err, HasSubstr("EventAnalytics SDK send failed: "));
    const std::vector<std::string> staged = event_analytics::StagingFile(StagingPath()).Read(200);
    ASSERT_EQ(staged.size(), 1u);
    EXPECT_THAT(staged[0], HasSubstr("\"action\":\"Downloader_Download_Fail\""));

    ASSERT_TRUE(collector_->SetMode("200"));
    const Result next = Send(CollectorBase(), "pindle_downloader", {L"action=Downloader_Download_Launch"});
    EXPECT_EQ(next.exit_code, 0) << next.err;
    const std::vector<Json::Value> records = collector_->AcceptedRecords();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0]["properties"]["action"].asString(), "Downloader_Download_Fail");
    EXPECT_EQ(records[1]["properties"]["action"].asString(), "Downloader_Download_Launch");
    EXPECT_TRUE(event_analytics::StagingFile(StagingPath()).Read(200).empty());
  }
}

// A staging file left with a line that is no record of ours (another program's, a broken
// disk's): the line is dropped, the staged record and the new event arrive, and the file is
// left empty.
TEST_F(TrackEventTest, ForeignStagedLineIsDroppedAndTheRestDelivered) {
  const std::string staged =
      "{\"distinct_id\":\"x\",\"event\":\"pindle_downloader\",\"lib\":{\"$lib\":\"cpp\"},"
      "\"properties\":{\"action\":\"Downloader_Download_Fail\"},\"time\":1,\"type\":\"track\"}";
  ASSERT_TRUE(test_support::WriteFile(StagingPath(), "{\"half\":\"a record\r\n" + staged + "\r\n"));
  const Result result = Send(CollectorBase(), "pindle_downloader", {L"action=Downloader_Download_Launch"});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_THAT(result.err, HasSubstr("that are not records, the first: {\"half\":\"a record"));
  const std::vector<Json::Value> records = collector_->AcceptedRecords();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0]["properties"]["action"].asString(), "Downloader_Download_Fail");
  EXPECT_EQ(records[1]["properties"]["action"].asString(), "Downloader_Download_Launch");
  EXPECT_TRUE(event_analytics::StagingFile(StagingPath()).Read(200).empty());
}

TEST_F(TrackEventTest, DroppedEventExitsOneAndSendsNothing) {
  const Result result = Send(CollectorBase(), "pindle.downloader", {L"action=x"});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_THAT(result.err, HasSubstr("The Event Name need to be a valid variable name."));
  EXPECT_EQ(collector_->Requests().size(), 0u);
}

TEST_F(TrackEventTest, WrongCommandLinesExitTwoAndSendNothing) {
  const std::wstring collector = base::Utf8ToWide(CollectorBase());
  const std::wstring staging = base::AnsiToWide(StagingPath());
  const std::vector<std::vector<std::wstring>> command_lines = {
      {},
      {collector, staging},
      {collector, staging, L"pindle_downloader", L"action"},
      {collector, staging, L"pindle_downloader", L"action=x", L"=value"},
      {L"", staging, L"pindle_downloader"},
      {collector, L"", L"pindle_downloader"},
  };
  for (const std::vector<std::wstring>& arguments : command_lines) {
    const Result result = RunTool(arguments);
    EXPECT_EQ(result.exit_code, 2) << arguments.size() << " arguments";
    EXPECT_THAT(result.err, HasSubstr("usage: trackevent COLLECTOR_URL STAGING_FILE EVENT"));
  }
  EXPECT_EQ(collector_->Requests().size(), 0u);
  EXPECT_FALSE(std::filesystem::exists(StagingPath()));
}

}  // namespace
