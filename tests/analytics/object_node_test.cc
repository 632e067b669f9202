#include "analytics/object_node.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "stderr_capture.h"

namespace event_analytics {
namespace {

using utils::ObjectNode;

std::vector<std::string> Keys(const ObjectNode& node) {
  std::vector<std::string> keys;
  for (const auto& entry : node.values()) keys.push_back(entry.first);
  return keys;
}

TEST(ObjectNodeTest, KeysComeInByteOrderWithHighBytesLast) {
  ObjectNode node;
  for (const char* key : {"b", "\xc3\xa9t\xc3\xa9", "B", "_x", "$a", "a", "Z", "1", "ab", "$"}) {
    node.SetBool(key, true);
  }
  // Bytes compare as unsigned: "$" 0x24 < "1" < "B" < "Z" < "_" 0x5F < "a" < "b" < 0xC3.
  EXPECT_THAT(Keys(node), testing::ElementsAre("$", "$a", "1", "B", "Z", "_x", "a", "ab", "b", "\xc3\xa9t\xc3\xa9"));
}

TEST(ObjectNodeTest, SettingAKeyAgainReplacesValueAndType) {
  ObjectNode node;
  node.SetString("k", "text");
  node.SetNumber("k", 42);
  ASSERT_EQ(node.size(), 1u);
  ASSERT_EQ(node.Find("k")->type(), ObjectNode::kNumber);
  EXPECT_EQ(node.Find("k")->number(), 42);
  node.SetList("k", {"a", "b"});
  EXPECT_EQ(node.Find("k")->type(), ObjectNode::kList);
  EXPECT_THAT(node.Find("k")->list(), testing::ElementsAre("a", "b"));
}

TEST(ObjectNodeTest, ValueTypesKeepTheirNumbers) {
  EXPECT_EQ(ObjectNode::kNumber, 0);
  EXPECT_EQ(ObjectNode::kReal, 1);
  EXPECT_EQ(ObjectNode::kString, 2);
  EXPECT_EQ(ObjectNode::kList, 3);
  EXPECT_EQ(ObjectNode::kDateTime, 4);
  EXPECT_EQ(ObjectNode::kBool, 5);
  EXPECT_EQ(ObjectNode::kObject, 6);
}

TEST(ObjectNodeTest, NestedObjectIsACopy) {
  ObjectNode inner;
  inner.SetNumber("n", 1);
  ObjectNode outer;
  outer.SetObject("inner", inner);
  inner.SetNumber("n", 2);
  inner.SetNumber("m", 3);
  const ObjectNode* stored = outer.Find("inner")->object();
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(stored->size(), 1u);
  EXPECT_EQ(stored->Find("n")->number(), 1);
}

TEST(ObjectNodeTest, MergeLetsTheOtherNodeWin) {
  ObjectNode base;
  base.SetString("keep", "base");
  base.SetString("both", "base");
  ObjectNode top;
  top.SetNumber("both", 7);
  top.SetBool("new", false);
  base.Merge(top);
  EXPECT_THAT(Keys(base), testing::ElementsAre("both", "keep", "new"));
  EXPECT_EQ(base.Find("both")->number(), 7);
  EXPECT_EQ(base.Find("keep")->string(), "base");
}

TEST(PropertiesNodeTest, IgnoresNestedObjectsEvenThroughTheBaseType) {
  PropertiesNode properties;
  ObjectNode inner;
  inner.SetNumber("n", 1);
  properties.SetObject("direct", inner);
  ObjectNode& as_base = properties;
  as_base.SetObject("through_base", inner);
  EXPECT_TRUE(properties.empty());
}

TEST(PropertiesNodeTest, RefusedStringIsLeftOutAndEarlierValueStays) {
  PropertiesNode properties;
  StderrCapture capture;
  EXPECT_TRUE(properties.SetString("k", "good"));
  EXPECT_FALSE(properties.SetString("k", "bad\x7f"));
  EXPECT_FALSE(properties.SetString("other", std::string(8193, 'x')));
  EXPECT_EQ(properties.size(), 1u);
  EXPECT_EQ(properties.Find("k")->string(), "good");
  EXPECT_THAT(capture.text(), testing::HasSubstr("String property 'k' is not valid UTF-8"));
  EXPECT_THAT(capture.text(), testing::HasSubstr("String property 'other' is too long"));
}

TEST(PropertiesNodeTest, ListWithOneBadItemIsLeftOutWhole) {
  PropertiesNode properties;
  StderrCapture capture;
  EXPECT_TRUE(properties.SetList("ok", {"a", "\xe4\xb8\xad"}));
  EXPECT_FALSE(properties.SetList("bad", {"a", "\xc0\xaf", "c"}));
  EXPECT_EQ(properties.Find("bad"), nullptr);
  EXPECT_EQ(capture.text(), "String property 'bad' is not valid UTF-8 string, value: \xc0\xaf\n");
  ASSERT_NE(properties.Find("ok"), nullptr);
}

}  // namespace
}  // namespace event_analytics
