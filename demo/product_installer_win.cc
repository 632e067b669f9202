// The demo product's helper programs that the installer runs and only judges by their exit code:
// engine/mirrorinstaller.exe, engine/engine7.exe and bin/Pindlemirror/Pindlemirror.exe. Each
// appends its command line to its record file (<name>_cmdline.txt beside it, or the file named by
// PINDLE_DEMO_<NAME>_LOG) and exits with the code that PINDLE_DEMO_<NAME>_EXIT holds (0 when
// unset), so the demo and the tests can choose how the installation goes. <NAME> is the
// program's file name in capitals without ".exe" ("ENGINE7").
#include <windows.h>

#include <cwchar>
#include <cwctype>
#include <string>

#include "demo/demo_record_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  std::wstring name = demo::ProgramStem();
  for (wchar_t& ch : name) ch = static_cast<wchar_t>(std::towupper(ch));
  const std::wstring prefix = L"PINDLE_DEMO_" + name;
  const std::wstring record = demo::RecordPath((prefix + L"_LOG").c_str(), L"_cmdline.txt");
  demo::AppendUtf8(record, std::wstring(::GetCommandLineW()) + L"\r\n");

  wchar_t value[32];
  const DWORD length = ::GetEnvironmentVariableW((prefix + L"_EXIT").c_str(), value, 32);
  if (length == 0 || length >= 32) return 0;
  wchar_t* end = nullptr;
  const long code = std::wcstol(value, &end, 10);
  return end != value && *end == L'\0' ? static_cast<int>(code) : 0;
}
