// Win32 side of RunAndCapture.
//
// Each pipe is drained by a reader thread with blocking reads, so the program never waits on
// a full pipe and no polling delay slows a program with much output. Anonymous pipes have no
// overlapped mode: a reader that must stop while the pipe is still open (the time limit
// expired, or a grandchild inherited the write end) is woken with CancelSynchronousIo.
#include <windows.h>

#include <string>
#include <vector>

#include "system/run_capture.h"
#include "runtime/scoped_handle_win.h"
#include "runtime/text_encoding.h"
#include "system/failure_log.h"

namespace {

// How long the readers may still take once the program has ended. Whatever the program wrote
// is already in the pipe; only a process that inherited the write end can keep it open longer.
constexpr DWORD kDrainAfterExitMs = 500;

// TerminateProcess only starts the end; the process is gone once its handle is signalled,
// which takes longer only while one of its threads is held in a driver.
constexpr DWORD kEndWaitMs = 60000;

class PipeReader {
 public:
  explicit PipeReader(HANDLE pipe) : pipe_(pipe) {}
  ~PipeReader() { Stop(kAbandon); }
  PipeReader(const PipeReader&) = delete;
  PipeReader& operator=(const PipeReader&) = delete;

  bool Start() {
    thread_.reset(CreateThread(nullptr, 0, &PipeReader::Main, this, 0, nullptr));
    return thread_.valid();
  }

  // Waits up to `wait_ms` for the end of the pipe; then takes what is still in it and stops.
  void Finish(DWORD wait_ms) {
    if (thread_.valid()) WaitForSingleObject(thread_.get(), wait_ms);
    Stop(kDrain);
  }

  std::string& data() { return data_; }

 private:
  enum Mode : LONG { kRun = 0, kDrain = 1, kAbandon = 2 };

  static DWORD WINAPI Main(void* self) {
    static_cast<PipeReader*>(self)->Read();
    return 0;
  }

  void Read() {
    char chunk[1024];
    for (;;) {
      const LONG mode = InterlockedCompareExchange(&mode_, 0, 0);
      if (mode == kAbandon) break;
      if (mode == kDrain) {
        // Read only what is there, so the read cannot block again.
        DWORD available = 0;
        if (!PeekNamedPipe(pipe_, nullptr, 0, nullptr, &available, nullptr) || available == 0) break;
      }
      DWORD got = 0;
      if (!ReadFile(pipe_, chunk, sizeof(chunk), &got, nullptr) || got == 0) {
        // The end of the pipe, or a cancelled read: a read cancelled to drain goes round once
        // more to collect what is left.
        if (GetLastError() == ERROR_OPERATION_ABORTED && InterlockedCompareExchange(&mode_, 0, 0) == kDrain) {
          continue;
        }
        break;
      }
      data_.append(chunk, got);
    }
  }

  void Stop(Mode mode) {
    if (!thread_.valid()) return;
    InterlockedExchange(&mode_, mode);
    // A blocked read only ends when cancelled, and the reader may be between reads when the
    // cancel arrives: repeat until it has left.
    while (WaitForSingleObject(thread_.get(), 10) == WAIT_TIMEOUT) CancelSynchronousIo(thread_.get());
    thread_.Close();
  }

  HANDLE pipe_;
  base::ScopedHandle thread_;
  volatile LONG mode_ = kRun;
  std::string data_;
};

bool CreateOutputPipe(base::ScopedHandle* read_end, base::ScopedHandle* write_end) {
  SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
  HANDLE read_handle = nullptr;
  HANDLE write_handle = nullptr;
  if (!CreatePipe(&read_handle, &write_handle, &inherit, 0)) {
    system_log::CallFailed(__LINE__, "CreatePipe", std::wstring(), GetLastError());
    return false;
  }
  read_end->reset(read_handle);
  write_end->reset(write_handle);
  // Only the write end goes to the program.
  if (SetHandleInformation(read_handle, HANDLE_FLAG_INHERIT, 0)) return true;
  system_log::CallFailed(__LINE__, "SetHandleInformation", std::wstring(), GetLastError());
  return false;
}

}  // namespace

bool RunAndCapture(const std::wstring& command_line, int timeout_ms, int* exit_code, std::string* out, std::string* err,
                   TimeLimitAction on_limit) {
  base::ScopedHandle out_read, out_write, err_read, err_write;
  if (!CreateOutputPipe(&out_read, &out_write) || !CreateOutputPipe(&err_read, &err_write)) return false;

  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  startup.hStdOutput = out_write.get();
  startup.hStdError = err_write.get();
  PROCESS_INFORMATION info = {};
  std::vector<wchar_t> writable(command_line.begin(), command_line.end());
  writable.push_back(L'\0');
  if (!CreateProcessW(nullptr, writable.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
    system_log::CallFailed(__LINE__, "CreateProcess", command_line, GetLastError());
    return false;
  }
  base::ScopedHandle process(info.hProcess);
  base::ScopedHandle thread(info.hThread);
  // Our copies of the write ends must go, or the pipes never report their end.
  out_write.Close();
  err_write.Close();

  PipeReader out_reader(out_read.get());
  PipeReader err_reader(err_read.get());
  if (!out_reader.Start() || !err_reader.Start()) {
    system_log::CallFailed(__LINE__, "CreateThread (output reader) for", command_line, GetLastError());
    // Without readers the program could block on a full pipe forever; treat it as not started.
    TerminateProcess(process.get(), 1);
    return false;
  }

  const DWORD wait = WaitForSingleObject(process.get(), timeout_ms < 1 ? INFINITE : static_cast<DWORD>(timeout_ms));
  if (wait == WAIT_TIMEOUT) {
    *exit_code = kRunTimedOut;
    const bool end = on_limit == TimeLimitAction::kEnd;
    system_log::Failed(__LINE__, base::WideToAnsi(command_line) + " still ran after " + std::to_string(timeout_ms) +
                                     (end ? " ms: ended" : " ms: left running"));
    if (end) {
      TerminateProcess(process.get(), kRunTimedOut);
      WaitForSingleObject(process.get(), kEndWaitMs);
    }
    return false;  // the readers stop and the handles close on the way out
  }
  if (wait != WAIT_OBJECT_0) {
    system_log::CallFailed(__LINE__, "WaitForSingleObject on", command_line, GetLastError());
    return false;
  }
  DWORD code = 0;
  GetExitCodeProcess(process.get(), &code);
  *exit_code = static_cast<int>(code);

  out_reader.Finish(kDrainAfterExitMs);
  err_reader.Finish(kDrainAfterExitMs);
  out->append(out_reader.data());
  err->append(err_reader.data());
  return true;
}
