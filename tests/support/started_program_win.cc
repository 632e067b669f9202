#include "tests/support/started_program_win.h"

namespace {

struct WindowSearch {
  DWORD process_id;
  int width;
  HWND found;
};

BOOL CALLBACK FindWindowOfProcess(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  RECT rect = {};
  if (owner == search->process_id && IsWindowVisible(window) && GetWindowRect(window, &rect) &&
      rect.right - rect.left == search->width) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

StartedProgram::StartedProgram(const std::wstring& program, const std::wstring& arguments, const wchar_t* environment) {
  std::wstring command = L"\"" + program + L"\" " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  started_ = CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                            const_cast<wchar_t*>(environment), nullptr, &startup, &process_) != FALSE;
}

StartedProgram::~StartedProgram() {
  if (!started_) return;
  if (WaitForSingleObject(process_.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(process_.hProcess, 99);
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

HWND StartedProgram::WaitForWindow(int width, DWORD timeout_ms) {
  if (!started_) return nullptr;
  for (DWORD waited = 0; waited < timeout_ms; waited += 100) {
    WindowSearch search = {process_.dwProcessId, width, nullptr};
    EnumWindows(&FindWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    if (WaitForSingleObject(process_.hProcess, 100) == WAIT_OBJECT_0) return nullptr;
  }
  return nullptr;
}

int StartedProgram::Wait(DWORD timeout_ms) {
  DWORD code = static_cast<DWORD>(-1);
  if (started_ && WaitForSingleObject(process_.hProcess, timeout_ms) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process_.hProcess, &code);
  }
  return static_cast<int>(code);
}
