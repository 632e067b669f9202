// What the native edit windows share on Windows: the owner of a window this code made, the text
// of a window, and the registration of a pop-up's window class. UI thread only. Windows only.
#ifndef UIFRAMEWORK_NATIVE_WINDOW_H_
#define UIFRAMEWORK_NATIVE_WINDOW_H_

#include <windows.h>

#include <string>

#include "runtime/scoped_object.h"

namespace native_window {

// A window made by this code and destroyed by it, unless the system destroyed it first (with its
// parent or owner): the window's procedure then gives the handle up on WM_NCDESTROY.
struct WindowTraits {
  using Type = HWND;
  static Type Null() { return nullptr; }
  static bool IsValid(Type window) { return window != nullptr; }
  static bool Close(Type window) { return ::DestroyWindow(window) != FALSE; }
};
using ScopedWindow = base::ScopedObject<WindowTraits>;

inline std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  const int copied = GetWindowTextW(window, &text[0], static_cast<int>(text.size()));
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

// Registers a window class with an I-beam cursor once per module (a second call finds it); false,
// logged with the system error, when it cannot be registered.
bool RegisterEditClass(HINSTANCE instance, const wchar_t* class_name, WNDPROC procedure);

}  // namespace native_window

#endif  // UIFRAMEWORK_NATIVE_WINDOW_H_
