// Pindle.exe, the demo product's main program: a small window that says the product started,
// with the command line it was given and the folder it runs in. Before the window opens it
// appends both to its record file (Pindle_started.txt beside it, or the file named by
// PINDLE_DEMO_STARTED_FILE), one line each, so that tests and the demo can read them back.
#include <windows.h>

#include <string>

#include "demo/demo_record_win.h"

namespace {

const wchar_t kWindowClass[] = L"PindleDemoProduct";

std::wstring g_text;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(window, &paint);
      RECT area;
      ::GetClientRect(window, &area);
      ::InflateRect(&area, -16, -16);
      ::SetBkMode(dc, TRANSPARENT);
      ::DrawTextW(dc, g_text.c_str(), static_cast<int>(g_text.size()), &area, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
      ::EndPaint(window, &paint);
      return 0;
    }
    case WM_DESTROY: ::PostQuitMessage(0); return 0;
    default: return ::DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  const std::wstring command_line = ::GetCommandLineW();
  const std::wstring folder = demo::CurrentFolder();
  demo::AppendUtf8(demo::RecordPath(L"PINDLE_DEMO_STARTED_FILE", L"_started.txt"),
                   L"command line: " + command_line + L"\r\ncurrent folder: " + folder + L"\r\n");
  g_text = L"Pindle started.\r\n\r\nCommand line:\r\n" + command_line + L"\r\n\r\nCurrent folder:\r\n" + folder;

  WNDCLASSEXW window_class = {};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  window_class.lpszClassName = kWindowClass;
  if (!::RegisterClassExW(&window_class)) return 1;
  HWND window = ::CreateWindowExW(0, kWindowClass, L"Pindle", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 640,
                                  320, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ::ShowWindow(window, show);
  ::UpdateWindow(window);
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}
