// Starting a helper program and collecting what it writes.
#ifndef PINDLE_SYSTEM_RUN_CAPTURE_H_
#define PINDLE_SYSTEM_RUN_CAPTURE_H_

#include <string>

// Exit code reported when a program outlives its time limit.
constexpr int kRunTimedOut = 301;

// What becomes of a program that outlives its time limit.
enum class TimeLimitAction {
  kLeaveRunning,  // it runs on, unwatched
  kEnd,           // it is ended, and has gone when RunAndCapture returns
};

// Starts `command_line` hidden, with its standard output and standard error on two pipes, and
// waits for it: without limit when `timeout_ms` is below 1, else up to `timeout_ms`
// milliseconds. Both pipes are drained while it runs, so a program with much output never
// blocks. When it ends, `exit_code` receives its exit code and everything it wrote is appended
// to `out` and `err` (the bytes as written); the result is true. Output still held open by a
// program it started and left running is not waited for.
// False when it cannot be started, or when the limit expires: then `exit_code` is 301 and the
// program is left running or ended, as `on_limit` says. Ending waits for the program to be gone
// (up to a minute, which only a program stuck in a driver call needs), so that nothing it was
// writing changes after the call.
bool RunAndCapture(const std::wstring& command_line, int timeout_ms, int* exit_code, std::string* out, std::string* err,
                   TimeLimitAction on_limit = TimeLimitAction::kLeaveRunning);

#endif  // PINDLE_SYSTEM_RUN_CAPTURE_H_
