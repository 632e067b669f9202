// The hot-key entry's text: the modifiers in their fixed order, every row of the key-name table
// at its edges, and the keys without a name.
#include "uiframework/hotkey_text.h"

#include <gtest/gtest.h>

namespace {

TEST(HotkeyText, KeyNamesFollowTheTableAtEveryEdge) {
  const struct {
    uint32_t key;
    const wchar_t* name;
  } cases[] = {
      {48, L"0"},
      {57, L"9"},
      {65, L"A"},
      {90, L"Z"},
      {96, L"Num 0"},
      {105, L"Num 9"},
      {112, L"F1"},
      {123, L"F12"},
      {37, L"Left"},
      {38, L"Up"},
      {39, L"Right"},
      {40, L"Down"},
      {106, L"*"},
      {107, L"+"},
      {109, L"-"},
      {110, L"."},
      {111, L"/"},
      {186, L";"},
      {187, L"="},
      {188, L","},
      {189, L"-"},
      {190, L"."},
      {191, L"/"},
      {192, L"`"},
      {219, L"["},
      {220, L"\\"},
      {221, L"]"},
      {222, L"'"},
      // Next to the ranges, and keys the table leaves out: no name.
      {47, L""},
      {58, L""},
      {64, L""},
      {91, L""},
      {95, L""},
      {108, L""},
      {124, L""},
      {36, L""},
      {41, L""},
      {185, L""},
      {193, L""},
      {218, L""},
      {223, L""},
      {0, L""},
      {13, L""},
      {0x10000, L""},
  };
  for (const auto& c : cases) EXPECT_EQ(c.name, HotkeyKeyName(c.key)) << c.key;
}

TEST(HotkeyText, ModifiersComeInOrderAndNothingReadsAsNone) {
  const struct {
    bool ctrl, shift, alt;
    uint32_t key;
    const wchar_t* text;
    uint32_t key_after;
  } cases[] = {
      {true, true, true, 116, L"Ctrl + Shift + Alt + F5", 116},
      {false, true, false, 65, L"Shift + A", 65},
      {false, false, true, 220, L"Alt + \\", 220},
      {false, false, false, 99, L"Num 3", 99},
      // Modifiers alone keep their trailing separator.
      {true, false, false, 0, L"Ctrl + ", 0},
      // A key without a name is dropped, leaving the modifiers.
      {true, false, true, 13, L"Ctrl + Alt + ", 0},
      {false, false, false, 0, L"\x65E0", 0},
      {false, false, false, 27, L"\x65E0", 0},
  };
  for (const auto& c : cases) {
    HotkeyPress press;
    press.ctrl = c.ctrl, press.shift = c.shift, press.alt = c.alt, press.key = c.key;
    EXPECT_EQ(c.text, HotkeyText(&press)) << c.key;
    EXPECT_EQ(c.key_after, press.key) << c.key;
  }
}

TEST(HotkeyText, ModifierKeysThemselvesRecordNoKey) {
  for (uint32_t modifier : {16u, 17u, 18u}) {
    HotkeyPress press = RecordHotkeyPress(modifier == 17, modifier == 16, modifier == 18, modifier);
    EXPECT_EQ(0u, press.key) << modifier;
  }
  HotkeyPress ctrl_shift = RecordHotkeyPress(true, true, false, 16);
  EXPECT_EQ(L"Ctrl + Shift + ", HotkeyText(&ctrl_shift));
  EXPECT_EQ(19u, RecordHotkeyPress(false, false, false, 19).key);
  EXPECT_EQ(15u, RecordHotkeyPress(false, false, false, 15).key);
}

}  // namespace
