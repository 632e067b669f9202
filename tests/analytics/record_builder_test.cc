#include "analytics/record_builder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "analytics/json_writer.h"
#include "stderr_capture.h"

namespace event_analytics {
namespace {

using utils::ObjectNode;
using utils::ToJson;

constexpr int64_t kNow = 1700000000123;

PropertiesNode InstallerSuperProperties() {
  PropertiesNode super;
  super.SetString("$lib", "cpp");
  super.SetString("$lib_version", "0.7");
  super.SetString("pindle_product_name", "Pindle");
  super.SetString("channel_token", "from_super");
  return super;
}

EventIdentity Identity(bool login = false) {
  EventIdentity identity;
  identity.distinct_id = "1a2b-3c-4d";
  identity.is_login_id = login;
  return identity;
}

TEST(RecordBuilderTest, TrackRecordExactText) {
  PropertiesNode properties;
  properties.SetString("action", "Downloader_Download_Launch");
  properties.SetString("channel_token", "from_event");
  properties.SetString("path", "C:\\Pindle \"x\"");
  properties.SetNumber("count", 3);
  ObjectNode record;
  ASSERT_TRUE(BuildRecord(kTrackAction, "pindle_downloader", properties, InstallerSuperProperties(), Identity(), kNow,
                          &record));
  EXPECT_EQ(ToJson(record),
            "{\"distinct_id\":\"1a2b-3c-4d\",\"event\":\"pindle_downloader\","
            "\"lib\":{\"$lib\":\"cpp\",\"$lib_method\":\"code\",\"$lib_version\":\"0.7\"},"
            "\"properties\":{\"$lib\":\"cpp\",\"$lib_version\":\"0.7\","
            "\"action\":\"Downloader_Download_Launch\",\"channel_token\":\"from_event\","
            "\"count\":3,\"path\":\"C:\\\\Pindle \\\"x\\\"\","
            "\"pindle_product_name\":\"Pindle\"},"
            "\"time\":1700000000123,\"type\":\"track\"}");
}

TEST(RecordBuilderTest, TimeProjectAndLoginIdAreLiftedOutOfTheProperties) {
  PropertiesNode properties;
  properties.SetDateTime("$time", 1600000000, 250);
  properties.SetString("$project", "installer_tests");
  properties.SetString("action", "x");
  ObjectNode record;
  ASSERT_TRUE(BuildRecord(kTrackAction, "e", properties, PropertiesNode(), Identity(true), kNow, &record));
  EXPECT_EQ(ToJson(record),
            "{\"distinct_id\":\"1a2b-3c-4d\",\"event\":\"e\","
            "\"lib\":{\"$lib\":\"cpp\",\"$lib_method\":\"code\",\"$lib_version\":\"0.7\"},"
            "\"project\":\"installer_tests\","
            "\"properties\":{\"$is_login_id\":true,\"action\":\"x\"},"
            "\"time\":1600000000250,\"type\":\"track\"}");
}

TEST(RecordBuilderTest, EmptyProjectIsDroppedWithoutAProjectKey) {
  PropertiesNode properties;
  properties.SetString("$project", "");
  ObjectNode record;
  ASSERT_TRUE(BuildRecord(kTrackAction, "e", properties, PropertiesNode(), Identity(), kNow, &record));
  EXPECT_EQ(record.Find("project"), nullptr);
  EXPECT_TRUE(record.Find("properties")->object()->empty());
}

TEST(RecordBuilderTest, SignUpRecordCarriesTheOriginalId) {
  EventIdentity identity = Identity();
  identity.original_id = "anonymous-7";
  PropertiesNode properties;
  properties.SetString("from", "test");
  ObjectNode record;
  // The event name of a sign-up is not held to the name rule.
  ASSERT_TRUE(BuildRecord(kSignUpAction, "$Sign.Up", properties, InstallerSuperProperties(), identity, kNow, &record));
  EXPECT_EQ(ToJson(record),
            "{\"distinct_id\":\"1a2b-3c-4d\",\"event\":\"$Sign.Up\","
            "\"lib\":{\"$lib\":\"cpp\",\"$lib_method\":\"code\",\"$lib_version\":\"0.7\"},"
            "\"original_id\":\"anonymous-7\","
            "\"properties\":{\"$lib\":\"cpp\",\"$lib_version\":\"0.7\",\"channel_token\":"
            "\"from_super\",\"from\":\"test\",\"pindle_product_name\":\"Pindle\"},"
            "\"time\":1700000000123,\"type\":\"track_signup\"}");
}

TEST(RecordBuilderTest, DroppedEvents) {
  struct Case {
    const char* label;
    const char* action;
    std::string event_name;
    std::string original_id;
    void (*fill)(PropertiesNode*);
    const char* message;
  } const cases[] = {
      {"key starts with a digit", kTrackAction, "e", "", [](PropertiesNode* p) { p->SetString("1st", "v"); },
       "The Property Key need to be a valid variable name.\n"},
      {"key with a dash", kTrackAction, "e", "", [](PropertiesNode* p) { p->SetNumber("exit-reason", 1); },
       "The Property Key need to be a valid variable name.\n"},
      {"key of 101 bytes", kTrackAction, "e", "", [](PropertiesNode* p) { p->SetBool(std::string(101, 'k'), true); },
       "The Property Key is empty or too long, max length is 100\n"},
      {"$time as a string", kTrackAction, "e", "", [](PropertiesNode* p) { p->SetString("$time", "2023-11-14"); },
       "The property '$time' should be DateTime type.\n"},
      {"$project as a number", kTrackAction, "e", "", [](PropertiesNode* p) { p->SetNumber("$project", 5); },
       "The property '$project' should be String type.\n"},
      {"event name with a dot", kTrackAction, "pindle.downloader", "", [](PropertiesNode*) {},
       "The Event Name need to be a valid variable name.\n"},
      {"empty event name", kTrackAction, "", "", [](PropertiesNode*) {},
       "The Event Name is empty or too long, max length is 100\n"},
      {"sign-up without original id", kSignUpAction, "$SignUp", "", [](PropertiesNode*) {},
       "The Original ID is empty.\n"},
      {"sign-up with 256-byte original id", kSignUpAction, "$SignUp", std::string(256, 'o'), [](PropertiesNode*) {},
       "The Original ID is too long, max length is 255.\n"},
      {"sign-up with a bad key", kSignUpAction, "$SignUp", "o", [](PropertiesNode* p) { p->SetBool("a b", true); },
       "The Property Key need to be a valid variable name.\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    PropertiesNode properties;
    c.fill(&properties);
    EventIdentity identity = Identity();
    identity.original_id = c.original_id;
    ObjectNode record;
    StderrCapture capture;
    EXPECT_FALSE(BuildRecord(c.action, c.event_name, properties, PropertiesNode(), identity, kNow, &record));
    EXPECT_EQ(capture.text(), c.message);
  }
}

TEST(RecordBuilderTest, CurrentTimeIsMillisecondsSince1970) {
  const int64_t now = CurrentTimeMillis();
  const int64_t seconds = static_cast<int64_t>(std::time(nullptr));
  EXPECT_LE(now / 1000, seconds + 1);
  EXPECT_GE(now / 1000, seconds - 1);
}

}  // namespace
}  // namespace event_analytics
