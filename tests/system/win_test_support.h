// Support for the Windows tests of the system helpers: a private scratch folder per test,
// small Win32 file utilities that do not use the code under test, and the helper program.
#ifndef PINDLE_TESTS_SYSTEM_WIN_TEST_SUPPORT_H_
#define PINDLE_TESTS_SYSTEM_WIN_TEST_SUPPORT_H_

#include <windows.h>

#include <string>

#include "scratch_folder.h"

// The shared scratch folder (a new empty folder under the temporary folder, removed with
// everything in it at the end) with the wide paths and "\" separators of the Win32 calls that
// these tests make.
class ScratchFolder {
 public:
  const std::wstring& path() const { return path_; }
  // path() + "\" + relative
  std::wstring operator/(const std::wstring& relative) const { return path_ + L"\\" + relative; }

 private:
  test_support::ScratchFolder folder_;
  std::wstring path_ = folder_.path().wstring();
};

bool Exists(const std::wstring& path);
bool IsFolderAt(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
std::string ReadFileBytes(const std::wstring& path);  // empty when it cannot be read

// Folder of the running test program, with a final "\".
std::wstring ProgramFolder();
// Full path of the helper program that sits beside the tests.
std::wstring ChildProgram();

// A named event that the helper program can open; unique per process and use.
class NamedEvent {
 public:
  explicit NamedEvent(const wchar_t* purpose);
  ~NamedEvent();
  NamedEvent(const NamedEvent&) = delete;
  NamedEvent& operator=(const NamedEvent&) = delete;
  const std::wstring& name() const { return name_; }
  HANDLE handle() const { return handle_; }
  void Set() { SetEvent(handle_); }
  bool WaitMs(DWORD ms) { return WaitForSingleObject(handle_, ms) == WAIT_OBJECT_0; }

 private:
  std::wstring name_;
  HANDLE handle_;
};

// A helper program started directly (not through the code under test), ended at the end.
class ChildProcess {
 public:
  // `arguments` follows the program path on the command line; `program` defaults to the helper.
  explicit ChildProcess(const std::wstring& arguments, const std::wstring& program = std::wstring());
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  bool started() const { return process_ != nullptr; }
  DWORD pid() const { return pid_; }
  // Waits for it to end; its exit code, or -1 when it does not end in `ms`.
  int Wait(DWORD ms);

 private:
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
};

#endif  // PINDLE_TESTS_SYSTEM_WIN_TEST_SUPPORT_H_
