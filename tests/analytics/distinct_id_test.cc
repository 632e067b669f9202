// Which stored values serve as the distinct id, and when a new one is made and stored.
#include "analytics/distinct_id.h"

#include <gtest/gtest.h>

#include <string>

#include "fake_id_store.h"
#include "stderr_capture.h"

namespace event_analytics {
namespace {

TEST(DistinctIdTest, OnlyPrintableAsciiOfOneTo255CharactersIsUsable) {
  struct Case {
    std::wstring stored;
    std::string id;  // empty: unusable
  } const cases[] = {
      {L"6d2f1a3b-5c4d-4e2f-8a9b-1c2d3e4f", "6d2f1a3b-5c4d-4e2f-8a9b-1c2d3e4f"},
      {L"x", "x"},
      {L" ~\"\\", " ~\"\\"},  // quotes and backslashes are escaped in the record
      {std::wstring(255, L'a'), std::string(255, 'a')},
      {L"", ""},
      {std::wstring(256, L'a'), ""},  // the tracker refuses ids longer than 255 bytes
      {L"ab\x01", ""},                // control characters would break the record's JSON
      {L"ab\x7F", ""},
      {L"ab\tc", ""},
      {L"caf\x00E9", ""},  // not ASCII: its ANSI bytes are not UTF-8
      {L"\x4E2D\x6587", ""},
      {std::wstring(L"ab\0cd", 5), ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(UsableStoredId(c.stored), c.id) << c.stored.size() << " characters";
  }
}

int g_made = 0;
std::string MakeId() {
  ++g_made;
  return "1a2b-" + std::to_string(g_made);
}

class LoadOrCreateTest : public testing::Test {
 protected:
  void SetUp() override { g_made = 0; }
  FakeIdState state_;
  FakeIdStore store_{&state_};
};

TEST_F(LoadOrCreateTest, MadeOnceThenReusedFromTheStore) {
  EXPECT_EQ(LoadOrCreateDistinctId(&store_, &MakeId), "1a2b-1");
  EXPECT_EQ(state_.value, L"1a2b-1");
  EXPECT_EQ(LoadOrCreateDistinctId(&store_, &MakeId), "1a2b-1");
  EXPECT_EQ(LoadOrCreateDistinctId(&store_, &MakeId), "1a2b-1");
  EXPECT_EQ(g_made, 1);
  EXPECT_EQ(state_.writes, 1);
}

TEST_F(LoadOrCreateTest, UnusableStoredValuesAreReplacedAndWrittenBack) {
  const std::wstring unusable[] = {L"", L"bad\x01id", std::wstring(300, L'7'), L"\x00FC"};
  for (const std::wstring& stored : unusable) {
    state_.has_value = true;
    state_.value = stored;
    const int made_before = g_made;
    std::string id;
    {
      StderrCapture capture;  // says the stored value was replaced
      id = LoadOrCreateDistinctId(&store_, &MakeId);
    }
    EXPECT_EQ(g_made, made_before + 1);
    EXPECT_EQ(id, "1a2b-" + std::to_string(g_made));
    EXPECT_EQ(state_.value, std::wstring(id.begin(), id.end()));
    // The replacement is what the next run finds.
    EXPECT_EQ(LoadOrCreateDistinctId(&store_, &MakeId), id);
    EXPECT_EQ(g_made, made_before + 1);
  }
}

TEST_F(LoadOrCreateTest, AnUnwritableStoreStillGivesAnIdForThisRun) {
  state_.writable = false;
  StderrCapture capture;
  EXPECT_EQ(LoadOrCreateDistinctId(&store_, &MakeId), "1a2b-1");
  EXPECT_EQ(capture.text(), "Could not store the distinct id; this run uses it unstored.\n");
  EXPECT_FALSE(state_.has_value);
}

}  // namespace
}  // namespace event_analytics
