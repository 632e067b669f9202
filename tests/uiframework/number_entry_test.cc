// The numeric entry's keys: what each sequence of key-downs leaves, with the caret shown as '|'.
#include "uiframework/number_entry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::wstring WithCaret(const NumberEntry& entry) {
  std::wstring shown = entry.text();
  shown.insert(entry.caret(), 1, L'|');
  return shown;
}

TEST(NumberEntry, KeySequencesLeaveTheExpectedTextAndCaret) {
  constexpr uint32_t kBack = 8, kLeft = 37, kRight = 39, kDel = 46, kDot = 190, kPadDot = 110;
  const struct {
    const char* name;
    std::wstring start;
    std::vector<uint32_t> keys;
    std::wstring expected;
  } cases[] = {
      {"digits and keypad digits", L"", {'1', '2', 96, 105}, L"1209|"},
      {"one decimal point only", L"", {'3', kDot, '1', kDot, kPadDot, '4'}, L"3.14|"},
      {"a point already in the text", L"2.5", {kPadDot}, L"2.5|"},
      {"letters, space, minus and others are ignored", L"7", {'A', 'Z', ' ', 189, 109, 13, 27}, L"7|"},
      {"insert before the caret", L"12", {kLeft, '5'}, L"15|2"},
      {"backspace deletes before the caret", L"123", {kLeft, kBack}, L"1|3"},
      {"delete deletes after the caret", L"123", {kLeft, kLeft, kDel}, L"1|3"},
      {"backspace at the start does nothing", L"12", {kLeft, kLeft, kLeft, kBack}, L"|12"},
      {"delete at the end does nothing", L"12", {kDel, kRight}, L"12|"},
      {"deleting the point frees it", L"1.5", {kLeft, kBack, kDot}, L"1.|5"},
  };
  for (const auto& c : cases) {
    NumberEntry entry;
    entry.SetText(c.start);
    for (uint32_t key : c.keys) entry.OnKeyDown(key);
    EXPECT_EQ(c.expected, WithCaret(entry)) << c.name;
  }
}

TEST(NumberEntry, OnlyChangesAskForARepaint) {
  NumberEntry entry;
  EXPECT_FALSE(entry.OnKeyDown(8));
  EXPECT_FALSE(entry.OnKeyDown(37));
  EXPECT_TRUE(entry.OnKeyDown('4'));
  EXPECT_TRUE(entry.OnKeyDown(37));
  EXPECT_FALSE(entry.OnKeyDown('X'));
  EXPECT_FALSE(entry.OnKeyDown(37));
}

}  // namespace
