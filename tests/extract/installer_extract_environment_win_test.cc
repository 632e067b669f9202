// The installer's environment of the extraction step against the real system: the product's
// kill tool run on the product's own running programs, and the step posted from the UI loop
// to a file thread with the installer's log.
#include "extract/installer_extract_environment.h"

#include <windows.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "app/global.h"
#include "extract_loops.h"
#include "extract_test_support.h"
#include "extract/extract_package.h"
#include "extract/system_extract_environment.h"
#include "log/log_assist.h"

namespace extract_test {
namespace {

// The stand-in program built beside the tests (extract_test_child.cc).
fs::path ChildProgram() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return fs::path(std::wstring(path, length)).parent_path() / "extract_test_child.exe";
}

void PlaceChild(const fs::path& as) {
  fs::create_directories(as.parent_path());
  ASSERT_TRUE(CopyFileW(ChildProgram().c_str(), as.c_str(), FALSE)) << as.string();
}

// What a kill tool placed at `tool` was called with, one command line per call.
std::vector<std::string> KillCalls(const fs::path& tool) {
  std::vector<std::string> calls;
  const std::string text = ReadFile(tool.parent_path() / "kill_calls.txt");
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    calls.push_back(text.substr(start, end - start));
    start = end == std::string::npos ? text.size() : end + 1;
  }
  return calls;
}

std::string Quoted(const fs::path& path) {
  return "\"" + path.string() + "\"";
}

// A running program started from `image` (a copy of the stand-in), ended when it goes.
class RunningProgram {
 public:
  explicit RunningProgram(const fs::path& image) {
    static int counter = 0;
    const std::wstring ready_name =
        L"PindleExtractTestReady" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(counter++);
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, ready_name.c_str());
    std::wstring command = L"\"" + image.wstring() + L"\" run " + ready_name;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (ready && CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
      CloseHandle(info.hThread);
      process_ = info.hProcess;
      pid_ = info.dwProcessId;
      running_ = WaitForSingleObject(ready, 20000) == WAIT_OBJECT_0;
    }
    if (ready) CloseHandle(ready);
  }
  ~RunningProgram() {
    if (!process_) return;
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 10000);
    CloseHandle(process_);
  }
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  bool running() const { return running_; }
  DWORD pid() const { return pid_; }
  bool still_running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

 private:
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
  bool running_ = false;
};

app::CGlobal ProductState(const fs::path& data_folder, const fs::path& previous_install, bool is_64bit) {
  app::CGlobal global;
  global.product_name = L"Pindle";
  global.product_data_folder = data_folder.wstring();
  global.previous_install_folder = previous_install.wstring();
  global.is_64bit_windows = is_64bit;
  return global;
}

TEST(InstallerKillStepTest, TheToolIsRunOnlyOnTheProductsOwnProcess) {
  ScratchFolder scratch;
  const fs::path previous = scratch.path() / "Old" / "Pindle";
  const fs::path install = scratch.path() / "New" / "Pindle";
  const fs::path tool = previous / "bin" / "kntd64.exe";
  const fs::path product_image = previous / "bin" / "Pindle.exe";
  const fs::path stranger_image = scratch.path() / "Other" / "bin" / "Pindle.exe";
  PlaceChild(tool);
  PlaceChild(product_image);
  PlaceChild(stranger_image);
  fs::create_directories(install);

  RunningProgram product(product_image);
  RunningProgram stranger(stranger_image);
  ASSERT_TRUE(product.running() && stranger.running());

  InstallerExtractEnvironment env(ProductState(scratch.path() / "data", previous, true));
  env.StopProductPrograms(U16(install));

  // The previous installation's tool, called once, on the process started from its bin folder.
  EXPECT_EQ(KillCalls(tool), std::vector<std::string>{Quoted(tool) + " -c q -p " + std::to_string(product.pid())});
  EXPECT_TRUE(stranger.still_running());
}

TEST(InstallerKillStepTest, OnlyTheToolOfThisSystemsBuildIsRun) {
  struct Case {
    const char* label;
    bool is_64bit;
    const char* tool_name;  // what is present in the install folder's bin
    bool runs;
  };
  const Case cases[] = {
      {"32-bit tool on 32-bit Windows", false, "kntd32.exe", true},
      {"only the 32-bit tool on 64-bit Windows", true, "kntd32.exe", false},
      {"only the 64-bit tool on 32-bit Windows", false, "kntd64.exe", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ScratchFolder scratch;
    // No previous installation: the tool is looked for below the install folder.
    const fs::path install = scratch.path() / "Pindle";
    const fs::path tool = install / "bin" / c.tool_name;
    const fs::path product_image = install / "bin" / "Pindle.exe";
    PlaceChild(tool);
    PlaceChild(product_image);
    RunningProgram product(product_image);
    ASSERT_TRUE(product.running());

    InstallerExtractEnvironment env(ProductState(scratch.path() / "data", fs::path(), c.is_64bit));
    env.StopProductPrograms(U16(install));

    const std::vector<std::string> expected =
        c.runs ? std::vector<std::string>{Quoted(tool) + " -c q -p " + std::to_string(product.pid())}
               : std::vector<std::string>{};
    EXPECT_EQ(KillCalls(tool), expected);
  }
}

TEST(InstallerKillStepTest, NoToolNothingRuns) {
  ScratchFolder scratch;
  const fs::path install = scratch.path() / "Pindle";
  const fs::path product_image = install / "bin" / "Pindle.exe";
  PlaceChild(product_image);
  RunningProgram product(product_image);
  ASSERT_TRUE(product.running());

  InstallerExtractEnvironment env(ProductState(scratch.path() / "data", fs::path(), true));
  env.StopProductPrograms(U16(install));
  EXPECT_TRUE(product.still_running());
  EXPECT_FALSE(fs::exists(install / "bin" / "kill_calls.txt"));
}

// The system environment with the stand-in as a 7-Zip that hangs past its limit and then
// writes into the install folder; the step's ten minutes are cut to a fraction of a second.
class HangingSevenZaEnvironment : public SystemExtractEnvironment {
 public:
  HangingSevenZaEnvironment(const fs::path& data_folder, const fs::path& tool)
      : SystemExtractEnvironment(U16(data_folder)), tool_(U16(tool)) {}
  std::vector<std::string> logs;
  std::vector<int> exit_codes;

  void StopProductPrograms(const std::u16string&) override {}
  void Log(const std::string& message, bool enabled) override {
    if (enabled) logs.push_back(message);
  }
  bool debug() const override { return false; }
  std::vector<std::string> ProductFileList() override { return {"PindleCommon.dll", "pindle.rcc"}; }
  bool WriteSevenZipTool(std::u16string* tool_path) override {
    *tool_path = tool_;
    return true;
  }
  bool RunAndCapture(const std::u16string& command_line, int, int* exit_code, std::string* out,
                     std::string* err) override {
    const bool finished = SystemExtractEnvironment::RunAndCapture(command_line, 300, exit_code, out, err);
    exit_codes.push_back(*exit_code);
    return finished;
  }

 private:
  std::u16string tool_;
};

// Both 7-Zip runs outlive their limit. Each is ended before the step goes on, so the second
// never writes beside the first, and nothing lands in the install folder once the step has
// given up.
TEST(InstallerExtractTimeLimitTest, ASevenZaPastItsLimitIsEndedBeforeTheNextAttempt) {
  ScratchFolder scratch;
  const fs::path install = scratch.path() / "Vesk";
  const fs::path tool = scratch.path() / "data" / "7za.exe";
  PlaceChild(tool);
  HangingSevenZaEnvironment env(scratch.path() / "data", tool);
  const ExtractOutcome outcome = ExtractPackage(env, U16(Archive("crc_error.7z")), U16(install));
  EXPECT_FALSE(outcome.success);
  EXPECT_EQ(outcome.attempt, ExtractOutcome::kSelfArchive);
  EXPECT_EQ(env.exit_codes, (std::vector<int>{301, 301}));
  // Past the moment the stand-in would have written (2 s after its start).
  Sleep(3000);
  EXPECT_FALSE(fs::exists(install / "late_write.txt")) << "a 7-Zip given up on went on writing";
}

// The controller's entry with the shared state and the log as the program has them. The only
// test in this program that touches app::Global() and the process-wide logger.
TEST(PostInstallerExtractPackageTest, UnpacksAndLogsThroughTheInstallersLog) {
  ScratchFolder scratch;
  const fs::path install = scratch.path() / "Pindle";
  const fs::path data = scratch.path() / "data";
  const fs::path log_folder = scratch.path() / "log";
  fs::create_directories(data);
  fs::create_directories(log_folder);
  app::Global() = ProductState(data, fs::path(), true);
  app::Global().debug = true;

  int calls = 0;
  bool success = false;
  std::thread::id delivered_on;
  simlog::LogAssist& log = simlog::LogAssist::GetInstance();
  {
    ExtractLoops loops;
    log.SetLogName("PindleDownloaderLog");
    log.set_debug(true);
    log.Init(3, log_folder.string());
    ASSERT_TRUE(PostInstallerExtractPackage(Archive("lzma2_solid.7z").wstring(), install.wstring(),
                                            [&](const ExtractOutcome& outcome) {
                                              ++calls;
                                              success = outcome.success;
                                              delivered_on = std::this_thread::get_id();
                                              ExtractLoops::QuitUi();
                                            }));
    ASSERT_TRUE(loops.RunUiUntilQuit(120)) << "no outcome arrived";
    log.StopThread();  // writes what the UI loop handed over
  }
  app::Global() = app::CGlobal();
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(success);
  EXPECT_EQ(delivered_on, std::this_thread::get_id());
  ExpectSameTree(ExpectedTree(), install);

  // The step's lines in order, each with the controller's source file name (debug suffix).
  const std::string text = ReadFile(log_folder / "PindleDownloaderLog0.log");
  const std::vector<std::string> expected = {
      "kill process\t", "Start Extract File\t",
      "Extract file path:" + Archive("lzma2_solid.7z").string() + ", install path" + install.string() + "\t",
      install.string() + " is not exist and create it\t", "Un7z start\t"};
  size_t at = 0;
  for (const std::string& line : expected) {
    const size_t found = text.find(line, at);
    ASSERT_NE(found, std::string::npos) << "missing in order: " << line << "\nlog:\n" << text;
    EXPECT_EQ(text.compare(found + line.size(), 19, "UIMainWindowEx.cpp("), 0) << line;
    at = found + line.size();
  }
}

}  // namespace
}  // namespace extract_test
