// The text of the hot-key entry (`CHotkeyCtl`, element `hotkey`): what a recorded key press
// reads as, for example "Ctrl + Shift + F5". Platform-free: the virtual-key numbers are
// Windows's, taken as plain integers.
#ifndef UIFRAMEWORK_HOTKEY_TEXT_H_
#define UIFRAMEWORK_HOTKEY_TEXT_H_

#include <cstdint>
#include <string>

// One recorded key press: the modifiers held and the key (0: none, only modifiers).
struct HotkeyPress {
  bool ctrl = false;
  bool shift = false;
  bool alt = false;
  uint32_t key = 0;
};

// The press a key-down records: a modifier key itself (virtual keys 16 to 18) counts as no key.
HotkeyPress RecordHotkeyPress(bool ctrl, bool shift, bool alt, uint32_t key);

// The name of `key` ("F5", "Num 3", "Left", "[", ...), or empty when it has none.
std::wstring HotkeyKeyName(uint32_t key);

// "Ctrl + ", "Shift + ", "Alt + " for the modifiers held, then the key's name; "无" (none) when
// that leaves nothing. A key without a name is dropped from `press` (only its modifiers stay).
std::wstring HotkeyText(HotkeyPress* press);

#endif  // UIFRAMEWORK_HOTKEY_TEXT_H_
