// The distinct id in the real registry value "PindleId", through the reporter's default store.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "analytics/analytics_reporter.h"
#include "collector_test.h"
#include "random_id_shape.h"
#include "saved_registry_id_win.h"
#include "scratch_folder.h"
#include "stderr_capture.h"

namespace {

class RegistryDistinctIdTest : public CollectorTest {
 protected:
  void SetUp() override {
    CollectorTest::SetUp();
    if (HasFatalFailure()) return;
  }

  // One run of the installer's reporter: sets up, sends one event, shuts down. Returns the
  // id it used.
  std::string Run(const std::string& action) {
    AnalyticsReporter reporter;
    reporter.SetCollector(collector_->UploadUrl());
    reporter.SetStagingFile(folder_.File("staging_file"));
    EXPECT_TRUE(reporter.Init());
    EXPECT_TRUE(reporter.Track("pindle_downloader", {{"action", action}}));
    reporter.Shutdown();
    return reporter.distinct_id();
  }

  SavedRegistryId saved_;
  test_support::ScratchFolder folder_;
};

TEST_F(RegistryDistinctIdTest, MadeOnceStoredAsAStringAndReusedByLaterRuns) {
  std::wstring stored;
  ASSERT_FALSE(SavedRegistryId::ReadString(&stored));
  const std::string first = Run("first");
  EXPECT_TRUE(HasRandomIdShape(first)) << first;
  ASSERT_TRUE(SavedRegistryId::ReadString(&stored));
  EXPECT_EQ(stored, std::wstring(first.begin(), first.end()));

  EXPECT_EQ(Run("second"), first);
  EXPECT_EQ(Run("third"), first);
  ASSERT_TRUE(SavedRegistryId::ReadString(&stored));
  EXPECT_EQ(stored, std::wstring(first.begin(), first.end()));

  const std::vector<Json::Value> records = collector_->AcceptedRecords();
  ASSERT_EQ(records.size(), 3u);
  for (const Json::Value& record : records) EXPECT_EQ(record["distinct_id"].asString(), first);
}

TEST_F(RegistryDistinctIdTest, AStoredIdIsUsedAsItIs) {
  ASSERT_TRUE(SavedRegistryId::SetString(L"legacy-ID_0042"));
  EXPECT_EQ(Run("first"), "legacy-ID_0042");
  const std::vector<Json::Value> records = collector_->AcceptedRecords();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0]["distinct_id"].asString(), "legacy-ID_0042");
}

TEST_F(RegistryDistinctIdTest, AnEmptyOrCorruptValueIsReplacedByANewStoredId) {
  const std::wstring long_id(300, L'a');
  const wchar_t control[] = L"ab\x0001cd";
  const BYTE binary[] = {0xFF, 0xFE, 0x00, 0xD8, 0x01, 0x00};
  struct Case {
    const char* what;
    DWORD type;
    const void* data;
    DWORD size;
  } const cases[] = {
      {"empty string", REG_SZ, L"", sizeof(wchar_t)},
      {"control character", REG_SZ, control, sizeof(control)},
      {"300 characters", REG_SZ, long_id.c_str(), static_cast<DWORD>((long_id.size() + 1) * 2)},
      {"binary bytes", REG_BINARY, binary, sizeof(binary)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(SavedRegistryId::SetRaw(c.type, c.data, c.size));
    ASSERT_TRUE(collector_->Reset());
    std::string made;
    {
      StderrCapture capture;
      made = Run("after corruption");
    }
    EXPECT_TRUE(HasRandomIdShape(made)) << made;
    std::wstring stored;
    ASSERT_TRUE(SavedRegistryId::ReadString(&stored));
    EXPECT_EQ(stored, std::wstring(made.begin(), made.end()));
    EXPECT_EQ(Run("next run"), made);
    const std::vector<Json::Value> records = collector_->AcceptedRecords();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0]["distinct_id"].asString(), made);
    EXPECT_EQ(records[1]["distinct_id"].asString(), made);
  }
}

}  // namespace
