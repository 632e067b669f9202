#include "uiframework/native_window.h"

#include "log/log_assist.h"
#include "runtime/text_encoding.h"

namespace native_window {

bool RegisterEditClass(HINSTANCE instance, const wchar_t* class_name, WNDPROC procedure) {
  WNDCLASSEXW existing = {};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(instance, class_name, &existing)) return true;
  WNDCLASSEXW window_class = {};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
  window_class.lpszClassName = class_name;
  if (RegisterClassExW(&window_class)) return true;
  SIMLOG("uiframework\\native_window.cpp", true, "RegisterClassExW of %s failed, error %lu",
         base::WideToAnsi(class_name).c_str(), GetLastError());
  return false;
}

}  // namespace native_window
