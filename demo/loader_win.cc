// pindleloader.exe: what the Run value starts at logon. It starts Pindle.exe from its own folder,
// with its own folder as the current one, and passes its arguments on.
#include <windows.h>

#include <cstdio>
#include <string>

#include "demo/demo_record_win.h"
#include "runtime/scoped_handle_win.h"

namespace {

// The command line after the program name, which may be quoted.
std::wstring Arguments(const wchar_t* line) {
  const wchar_t* p = line;
  if (*p == L'"') {
    ++p;
    while (*p && *p != L'"') ++p;
    if (*p) ++p;
  } else {
    while (*p && *p != L' ' && *p != L'\t') ++p;
  }
  while (*p == L' ' || *p == L'\t') ++p;
  return p;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const std::wstring folder = demo::ProgramFolder();
  const std::wstring program = folder + L"\\Pindle.exe";
  std::wstring command = L"\"" + program + L"\"";
  const std::wstring arguments = Arguments(::GetCommandLineW());
  if (!arguments.empty()) command += L" " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!::CreateProcessW(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process)) {
    std::fprintf(stderr, "cannot start %ls: error %lu\n", program.c_str(), ::GetLastError());
    return 1;
  }
  base::ScopedHandle process_handle(process.hProcess);
  base::ScopedHandle thread_handle(process.hThread);
  return 0;
}
