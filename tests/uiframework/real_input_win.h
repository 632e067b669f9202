// Real input for the window tests under Wine: the thread's message pump, pointer moves and
// clicks and typing through SendInput (which goes through the system's input queue, focus and
// activation rules like a user's), and xdotool, which types through the X server itself.
#ifndef PINDLE_TESTS_UIFRAMEWORK_REAL_INPUT_WIN_H_
#define PINDLE_TESTS_UIFRAMEWORK_REAL_INPUT_WIN_H_

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace real_input {

// Runs the thread's messages until `done` holds or `timeout_ms` passed; true when it held.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeout_ms = 5000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeout_ms) return false;
    MSG message;
    if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    } else {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
  }
  return true;
}

// Runs every message already queued, and those they post, until the queue stays empty.
inline void PumpIdle() {
  int quiet = 0;
  PumpUntil([&] {
    MSG message;
    quiet = PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) ? 0 : quiet + 1;
    return quiet > 3;
  });
}

// An absolute pointer move to screen (x, y).
inline void MoveTo(int x, int y) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = static_cast<LONG>((x * 65536.0 + 32768) / GetSystemMetrics(SM_CXSCREEN));
  input.mi.dy = static_cast<LONG>((y * 65536.0 + 32768) / GetSystemMetrics(SM_CYSCREEN));
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof(input));
}

inline void Button(bool down) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  SendInput(1, &input, sizeof(input));
}

// Moves there, presses and releases, running the messages in between.
inline void ClickAt(POINT screen) {
  MoveTo(screen.x, screen.y);
  PumpIdle();
  Button(true);
  PumpIdle();
  Button(false);
  PumpIdle();
}

// Each character as a key press and release of its own (VK_PACKET: the character arrives as
// WM_CHAR after TranslateMessage, whatever the keyboard layout).
inline void TypeText(const std::wstring& text) {
  std::vector<INPUT> inputs;
  for (wchar_t character : text) {
    INPUT key = {};
    key.type = INPUT_KEYBOARD;
    key.ki.wScan = character;
    key.ki.dwFlags = KEYEVENTF_UNICODE;
    inputs.push_back(key);
    key.ki.dwFlags |= KEYEVENTF_KEYUP;
    inputs.push_back(key);
  }
  if (!inputs.empty()) SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Presses and releases the keys in order while holding none: {VK_TAB}, {VK_RETURN}.
inline void PressKeys(const std::vector<WORD>& keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    inputs.push_back(input);
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
  if (!inputs.empty()) SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// A key held while others are pressed: Ctrl+V is PressChord(VK_CONTROL, 'V').
inline void PressChord(WORD held, WORD key) {
  INPUT inputs[4] = {};
  for (INPUT& input : inputs) input.type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = held;
  inputs[1].ki.wVk = key;
  inputs[2].ki.wVk = key;
  inputs[2].ki.dwFlags = KEYEVENTF_KEYUP;
  inputs[3].ki.wVk = held;
  inputs[3].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(4, inputs, sizeof(INPUT));
}

}  // namespace real_input

#endif  // PINDLE_TESTS_UIFRAMEWORK_REAL_INPUT_WIN_H_
