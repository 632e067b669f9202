// kntd32.exe / kntd64.exe: the demo product's process-kill tool, one per bitness, which the
// installer runs before it unpacks over a running product:
//   kntd64.exe -c q -p <process id>
// "-c q" asks to quit; the demo tool ends the process at once and waits until it is gone.
// Exit codes: 0 the process ended (or was already gone when it was opened), 1 it could not be
// ended, 2 the command line is wrong.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "runtime/scoped_handle_win.h"

namespace {

const int kEnded = 0;
const int kNotEnded = 1;
const int kUsage = 2;
const DWORD kWaitMs = 5000;

int Usage(const char* problem) {
  std::fprintf(stderr, "kntd: %s\nusage: kntd -c q -p <process id>\n", problem);
  return kUsage;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  unsigned long pid = 0;
  bool have_pid = false;
  for (int i = 1; i < argc; ++i) {
    const std::wstring option = argv[i];
    if (i + 1 >= argc) return Usage("an option lacks its value");
    const wchar_t* value = argv[++i];
    if (option == L"-c") {
      if (std::wcscmp(value, L"q") != 0) return Usage("the only command is q");
    } else if (option == L"-p") {
      wchar_t* end = nullptr;
      pid = std::wcstoul(value, &end, 10);
      if (end == value || *end != L'\0' || pid == 0) return Usage("the process id is not a positive number");
      have_pid = true;
    } else {
      return Usage("unknown option");
    }
  }
  if (!have_pid) return Usage("no process id");
  if (pid == ::GetCurrentProcessId()) return Usage("the tool does not end itself");

  base::ScopedHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, static_cast<DWORD>(pid)));
  if (!process.valid()) {
    const DWORD error = ::GetLastError();
    // No such process: nothing is left to end.
    if (error == ERROR_INVALID_PARAMETER) {
      std::printf("process %lu is not running\n", pid);
      return kEnded;
    }
    std::fprintf(stderr, "kntd: cannot open process %lu: error %lu\n", pid, error);
    return kNotEnded;
  }
  if (!::TerminateProcess(process.get(), 1)) {
    std::fprintf(stderr, "kntd: cannot end process %lu: error %lu\n", pid, ::GetLastError());
    return kNotEnded;
  }
  if (::WaitForSingleObject(process.get(), kWaitMs) != WAIT_OBJECT_0) {
    std::fprintf(stderr, "kntd: process %lu did not end within %lu ms\n", pid, kWaitMs);
    return kNotEnded;
  }
  std::printf("process %lu ended\n", pid);
  return kEnded;
}
