// A Windows program started by a test, with its main window found the way a person finds it
// (a visible top-level window of the process). A program still running when the object goes is
// terminated, so a failed test leaves nothing behind.
#ifndef TESTS_SUPPORT_STARTED_PROGRAM_WIN_H_
#define TESTS_SUPPORT_STARTED_PROGRAM_WIN_H_

#include <windows.h>

#include <string>

class StartedProgram {
 public:
  // Starts `program` (a path) with `arguments`; `environment` (a Unicode block) may be null.
  StartedProgram(const std::wstring& program, const std::wstring& arguments, const wchar_t* environment = nullptr);
  ~StartedProgram();
  StartedProgram(const StartedProgram&) = delete;
  StartedProgram& operator=(const StartedProgram&) = delete;

  bool started() const { return started_; }
  // The first visible top-level window of the process that is `width` pixels wide; null when
  // none shows within `timeout_ms` or the process ends first.
  HWND WaitForWindow(int width = 652, DWORD timeout_ms = 30000);
  // The exit code, or -1 when the program did not end within `timeout_ms`.
  int Wait(DWORD timeout_ms);

 private:
  bool started_ = false;
  PROCESS_INFORMATION process_ = {};
};

#endif  // TESTS_SUPPORT_STARTED_PROGRAM_WIN_H_
