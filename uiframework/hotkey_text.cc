#include "uiframework/hotkey_text.h"

#include <string>

namespace {

struct NamedKey {
  uint32_t key;
  const wchar_t* name;
};

// The keys whose names are not computed from their number.
constexpr NamedKey kNamedKeys[] = {
    {37, L"Left"},
    {38, L"Up"},
    {39, L"Right"},
    {40, L"Down"},
    // Keypad operators.
    {106, L"*"},
    {107, L"+"},
    {109, L"-"},
    {110, L"."},
    {111, L"/"},
    // Punctuation of the US layout.
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
};

}  // namespace

HotkeyPress RecordHotkeyPress(bool ctrl, bool shift, bool alt, uint32_t key) {
  HotkeyPress press;
  press.ctrl = ctrl;
  press.shift = shift;
  press.alt = alt;
  press.key = key >= 16 && key <= 18 ? 0 : key;
  return press;
}

std::wstring HotkeyKeyName(uint32_t key) {
  if ((key >= 48 && key <= 57) || (key >= 65 && key <= 90)) return std::wstring(1, static_cast<wchar_t>(key));
  if (key >= 96 && key <= 105) return L"Num " + std::to_wstring(key - 96);
  if (key >= 112 && key <= 123) return L"F" + std::to_wstring(key - 111);
  for (const NamedKey& named : kNamedKeys) {
    if (named.key == key) return named.name;
  }
  return std::wstring();
}

std::wstring HotkeyText(HotkeyPress* press) {
  std::wstring text;
  if (press->ctrl) text += L"Ctrl + ";
  if (press->shift) text += L"Shift + ";
  if (press->alt) text += L"Alt + ";
  const std::wstring name = HotkeyKeyName(press->key);
  if (name.empty()) {
    press->key = 0;
  } else {
    text += name;
  }
  return text.empty() ? std::wstring(L"\x65E0") : text;
}
