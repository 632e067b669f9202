// The start sequence's order and outcomes through recording steps.
#include "UI/start_sequence.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/text_encoding.h"

namespace installer {
namespace {

using testing::ElementsAre;

class RecordingSteps : public StartSequenceSteps {
 public:
  void SetWindowsBitness() override { calls.push_back("bitness"); }
  bool InitTracker() override {
    calls.push_back("tracker");
    return tracker_ok;
  }
  CheckOutcome RunChecks() override {
    calls.push_back("checks");
    return outcome;
  }
  void ReportExit(const char* reason) override { calls.push_back(std::string("report ") + reason); }
  void PostLaunchEvent() override { calls.push_back("launch"); }
  std::wstring DetectPreviousInstall(bool* query_ok) override {
    calls.push_back("previous");
    *query_ok = bitness_ok;
    return previous;
  }
  std::wstring PromptText(const char* key) override { return base::Utf8ToWide(key); }
  void ChoosePackagePath() override { calls.push_back("package path"); }
  void PostStartResults(const std::wstring& folder) override { calls.push_back("results " + base::WideToUtf8(folder)); }
  void PostFatalMessage(const std::wstring& text) override { calls.push_back("fatal " + base::WideToUtf8(text)); }
  void PostGpuToolDeletion(int64_t delay) override { calls.push_back("delete probe " + std::to_string(delay)); }

  bool tracker_ok = true;
  bool bitness_ok = true;
  std::wstring previous;
  CheckOutcome outcome;
  std::vector<std::string> calls;
};

TEST(StartSequence, PassedChecksLeadToTheDownloadInformation) {
  for (bool tracker_ok : {true, false}) {  // a tracker that fails to start changes nothing else
    RecordingSteps steps;
    steps.tracker_ok = tracker_ok;
    steps.previous = L"D:\\Old\\Pindle";
    std::string reason = "none";
    RunStartSequence(&steps, &reason);
    EXPECT_THAT(steps.calls, ElementsAre("bitness", "tracker", "checks", "launch", "previous", "package path",
                                         "results D:\\Old\\Pindle", "delete probe 1500000"));
    EXPECT_EQ(reason, "none");
  }
}

TEST(StartSequence, FailedCheckReportsThenShowsItsText) {
  struct Case {
    CheckOutcome outcome;
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      {{false, "Authority", "Authority", true},
       {"bitness", "tracker", "checks", "report Authority", "fatal Authority", "delete probe 1500000"}},
      {{false, "DiskSpace", "Freedisksize", true},
       {"bitness", "tracker", "checks", "report Freedisksize", "fatal DiskSpace", "delete probe 1500000"}},
      {{false, "CPUtype", "CPU", true},
       {"bitness", "tracker", "checks", "report CPU", "fatal CPUtype", "delete probe 1500000"}},
      {{false, "System", "Operating system", false},
       {"bitness", "tracker", "checks", "fatal System", "delete probe 1500000"}},
  };
  for (const Case& c : cases) {
    RecordingSteps steps;
    steps.outcome = c.outcome;
    std::string reason;
    RunStartSequence(&steps, &reason);
    EXPECT_EQ(steps.calls, c.calls);
    EXPECT_EQ(reason, c.outcome.exit_reason);
  }
}

TEST(StartSequence, UnreadableBitnessEndsWithoutAReport) {
  RecordingSteps steps;
  steps.bitness_ok = false;
  RunStartSequence(&steps, nullptr);
  EXPECT_THAT(steps.calls, ElementsAre("bitness", "tracker", "checks", "launch", "previous", "fatal 64error",
                                       "delete probe 1500000"));
}

}  // namespace
}  // namespace installer
