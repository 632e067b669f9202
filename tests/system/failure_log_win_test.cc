// The system helpers' own failure lines, read back from the program's real log file: each failure
// is written once, with the call, the path, key or command line it concerned and the system's
// error number, and an answer that is no failure (a missing registry value) writes nothing.
#include "system/failure_log.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "log/log_assist.h"
#include "runtime/message_loop.h"
#include "runtime/text_encoding.h"
#include "system/embedded_program.h"
#include "system/file_delete.h"
#include "system/file_util.h"
#include "system/registry.h"
#include "system/run_capture.h"
#include "win_test_support.h"

namespace {

const char kLogName[] = "SystemFailures";

// How often `needle` stands in `text`.
size_t Count(const std::string& text, const std::string& needle) {
  size_t count = 0;
  for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + needle.size())) ++count;
  return count;
}

// The process-wide log, as the program runs it: a UI loop on this thread, the log thread and a
// file in the scratch folder. It can be opened once per process, so one test reads every case.
class SystemFailureLog : public testing::Test {
 protected:
  void SetUp() override {
    NewUiLoop();
    simlog::LogAssist& log = simlog::LogAssist::GetInstance();
    log.SetLogName(kLogName);
    log.Init(simlog::kLogLineLevel, base::WideToUtf8(folder_.path()));
    RunUiTasks();
  }
  void TearDown() override { base::SetThreadLoop(base::kUiLoop, nullptr); }

  // Lets the UI loop pass every line on, ends the log thread (which writes what it was given)
  // and reads the file.
  std::string Finish() {
    RunUiTasks();
    simlog::LogAssist::GetInstance().StopThread();
    return ReadFileBytes(folder_ / (base::Utf8ToWide(kLogName) + L"0.log"));
  }

  ScratchFolder folder_;

 private:
  void RunUiTasks() {
    ui_loop_->PostQuit();
    ui_loop_->Run();
    NewUiLoop();
  }
  void NewUiLoop() {
    base::SetThreadLoop(base::kUiLoop, nullptr);
    ui_loop_.reset(new base::MessageLoop(base::MessageLoop::TYPE_UI));
    base::SetThreadLoop(base::kUiLoop, ui_loop_.get());
  }
  std::unique_ptr<base::MessageLoop> ui_loop_;
};

TEST_F(SystemFailureLog, EachFailureIsOneLineWithItsObjectAndErrorNumber) {
  const std::wstring key = L"Software\\PindleSystemTest\\" + std::to_wstring(GetCurrentProcessId());
  ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, key, L"Name", L"value"));
  {
    HKEY opened = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_SET_VALUE | KEY_WOW64_64KEY, &opened));
    const DWORD number = 7;
    RegSetValueExW(opened, L"Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    RegCloseKey(opened);
  }
  const std::wstring missing_parent = folder_ / L"no such folder\\child";
  const std::wstring held = folder_ / L"held.bin";
  ASSERT_TRUE(WriteFileBytes(held, "x"));
  // Open without delete sharing: neither deleted nor renamed while this handle lives.
  HANDLE holder = CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, holder);
  const std::wstring no_program = L"\"" + (folder_ / L"absent.exe") + L"\"";

  struct Case {
    const char* name;
    bool result;
    std::string line;  // what the one line of this failure holds; empty: no line at all
  };
  std::wstring text;
  int exit_code = 0;
  std::string out, err;
  std::string bytes;
  const std::string key_text = "HKEY_CURRENT_USER\\" + base::WideToAnsi(key);
  const Case cases[] = {
      {"a missing value is an answer", RegReadString(HKEY_CURRENT_USER, key, L"Absent", &text), std::string()},
      {"a number where a string belongs", RegReadString(HKEY_CURRENT_USER, key, L"Number", &text),
       "registry value " + key_text + " \"Number\" is not a string (type 4)"},
      {"a folder whose parent is missing", CreateFolder(missing_parent),
       "CreateDirectory " + base::WideToAnsi(missing_parent) + " failed: 3: "},
      {"a file held open", DeleteFileRobust(held), "DeleteFile " + base::WideToAnsi(held) + " failed: 32: "},
      {"a program that is not there", RunAndCapture(no_program, 10000, &exit_code, &out, &err),
       "CreateProcess " + base::WideToAnsi(no_program) + " failed: 2: "},
      {"a resource the program does not carry", ReadOwnResource(L"NO_SUCH_RESOURCE", L"APP", &bytes),
       "FindResource resource NO_SUCH_RESOURCE (APP) failed: 1814: "},
  };
  CloseHandle(holder);
  DeleteFileW(held.c_str());
  RegDeleteKeyExW(HKEY_CURRENT_USER, key.c_str(), KEY_WOW64_64KEY, 0);
  RegDeleteKeyExW(HKEY_CURRENT_USER, L"Software\\PindleSystemTest", KEY_WOW64_64KEY, 0);

  const std::string log = Finish();
  size_t lines = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(c.result);
    if (c.line.empty()) continue;
    ++lines;
    EXPECT_EQ(1u, Count(log, c.line)) << log;
  }
  EXPECT_EQ(lines, Count(log, "\n")) << "a line for each failure and no other:\n" << log;
  EXPECT_EQ(0u, Count(log, "Absent")) << log;
}

}  // namespace
