#include "app/custom_settings.h"

#include <gtest/gtest.h>

namespace app {
namespace {

TEST(CustomSettings, ReadsValuesAndTheLaterDuplicateWins) {
  CustomSettings settings;
  ASSERT_TRUE(
      settings.Parse("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<settings><player_version value=\"1.0.1.0000\"/><Rotational value=\"true\"/>"
                     "<token value=\"ABCDEF\"/><vesk value=\"\xE6\xA8\xA1\xE6\x8B\x9F\"/><Rotational value=\"no\"/>"
                     "<!-- comment --><Token value=\"case differs\"/></settings>"));
  EXPECT_EQ("1.0.1.0000", settings.Get("player_version"));
  EXPECT_EQ("ABCDEF", settings.Get("token"));
  EXPECT_EQ("\xE6\xA8\xA1\xE6\x8B\x9F", settings.Get("vesk"));  // UTF-8 kept as is
  EXPECT_FALSE(settings.GetBool("Rotational", true));
  EXPECT_TRUE(settings.Has("Token"));
  EXPECT_FALSE(settings.Has("language"));
}

TEST(CustomSettings, BooleanWords) {
  const struct {
    const char* element;
    bool expected;
  } cases[] = {
      {"<b value=\"true\"/>", true},   {"<b value=\"yes\"/>", true}, {"<b value=\"1\"/>", true},
      {"<b value=\"false\"/>", false}, {"<b value=\"no\"/>", false}, {"<b value=\"0\"/>", false},
      {"<b value=\"FALSE\"/>", true},  {"<b value=\"\"/>", true},    {"<b/>", true},
  };
  for (const auto& c : cases) {
    CustomSettings settings;
    ASSERT_TRUE(settings.Parse(std::string("<r>") + c.element + "</r>"));
    EXPECT_EQ(c.expected, settings.GetBool("b", false)) << c.element;
  }
  CustomSettings empty;
  ASSERT_TRUE(empty.Parse("<r/>"));
  EXPECT_FALSE(empty.GetBool("b", false));
}

TEST(CustomSettings, MalformedDocumentKeepsNothing) {
  for (const char* document : {"", "<r><a value=\"1\"></r>", "not xml", "<r><a value=\"1\"/>"}) {
    CustomSettings settings;
    EXPECT_FALSE(settings.Parse(document)) << document;
    EXPECT_FALSE(settings.Has("a")) << document;
  }
}

}  // namespace
}  // namespace app
