// Every row of the font table on the four kinds of system the two facts describe.
#include "uiframework/font_table.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kTahoma = L"Tahoma";
const std::wstring kYaHei = L"Microsoft YaHei";
const std::wstring kYaHeiChinese = L"\x5FAE\x8F6F\x96C5\x9ED1";

struct Row {
  FontKind kind;
  // Specs on: other system from Vista on, other pre-Vista, Chinese from Vista on, Chinese pre-Vista.
  FontSpec modern, old, chinese, chinese_old;
};

}  // namespace

TEST(FontTable, EveryFontOnEverySystem) {
  const Row rows[] = {
      {FontKind::kDefault, {18, 400, kYaHei}, {13, 400, kTahoma}, {18, 400, kYaHei}, {13, 400, kTahoma}},
      {FontKind::kBold, {13, 700, kTahoma}, {13, 700, kTahoma}, {18, 700, kYaHeiChinese}, {13, 700, kTahoma}},
      {FontKind::kTitle, {16, 700, kTahoma}, {16, 700, kTahoma}, {20, 700, kYaHeiChinese}, {16, 700, kTahoma}},
      {FontKind::kBig, {21, 400, kYaHei}, {16, 400, kTahoma}, {21, 400, kYaHei}, {16, 400, kTahoma}},
      {FontKind::kMessageBoxTitle, {20, 400, kYaHei}, {14, 400, kTahoma}, {20, 400, kYaHei}, {14, 400, kTahoma}},
      {FontKind::kSmall, {10, 700, kTahoma}, {10, 700, kTahoma}, {16, 400, kYaHeiChinese}, {10, 400, kTahoma}},
      {FontKind::kSmaller, {11, 700, kTahoma}, {11, 700, kTahoma}, {15, 700, kYaHeiChinese}, {11, 700, kTahoma}},
      {FontKind::kUnderlined,
       {13, 400, kTahoma, true},
       {13, 400, kTahoma, true},
       {18, 400, kYaHeiChinese, true},
       {13, 400, kTahoma, true}},
  };
  for (const Row& row : rows) {
    const FontSpec* expected[] = {&row.modern, &row.old, &row.chinese, &row.chinese_old};
    for (int system = 0; system < 4; ++system) {
      FontSystemFacts facts;
      facts.chinese_system = system >= 2;
      facts.pre_vista = system % 2 == 1;
      const FontSpec spec = DescribeFont(row.kind, facts);
      SCOPED_TRACE(testing::Message() << "font " << static_cast<int>(row.kind) << " system " << system);
      EXPECT_EQ(expected[system]->height, spec.height);
      EXPECT_EQ(expected[system]->weight, spec.weight);
      EXPECT_TRUE(expected[system]->face == spec.face);
      EXPECT_EQ(row.kind == FontKind::kUnderlined, spec.underline);
    }
  }
}
