// Running helper programs and finding processes, against real (Wine) processes.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>

#include "system/process_lookup.h"
#include "system/run_capture.h"
#include "tests/system/test_pattern.h"
#include "tests/system/win_test_support.h"

namespace {

std::wstring Quoted(const std::wstring& path) {
  return L"\"" + path + L"\"";
}

bool SamePathNoCase(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

TEST(RunAndCaptureTest, AllOfAMegabyteOnBothPipes) {
  constexpr int kOut = 1 << 20;
  constexpr int kErr = 300000;
  int exit_code = -1;
  std::string out = "kept:", err;
  const std::wstring command =
      Quoted(ChildProgram()) + L" write " + std::to_wstring(kOut) + L" " + std::to_wstring(kErr) + L" 7";
  ASSERT_TRUE(RunAndCapture(command, 0, &exit_code, &out, &err));
  EXPECT_EQ(exit_code, 7);
  ASSERT_EQ(out.size(), 5u + kOut);
  EXPECT_TRUE(out.compare(0, 5, "kept:") == 0) << "output is appended";
  EXPECT_TRUE(out.compare(5, std::string::npos, TestPattern(kOut, 1)) == 0) << "bytes arrive unchanged, in order";
  ASSERT_EQ(err.size(), static_cast<size_t>(kErr));
  EXPECT_TRUE(err == TestPattern(kErr, 2));
}

TEST(RunAndCaptureTest, ExitCodesAndEmptyOutput) {
  struct Case {
    const wchar_t* arguments;
    int exit_code;
  } cases[] = {{L" write 0 0 0", 0}, {L" write 0 0 1", 1}, {L" write 10 0 255", 255}, {L" write 0 0 -2", -2}};
  for (const Case& c : cases) {
    int exit_code = 12345;
    std::string out, err;
    ASSERT_TRUE(RunAndCapture(Quoted(ChildProgram()) + c.arguments, 30000, &exit_code, &out, &err)) << c.arguments;
    EXPECT_EQ(exit_code, c.exit_code) << c.arguments;
    EXPECT_TRUE(err.empty());
  }
}

TEST(RunAndCaptureTest, ProgramInAFolderWithSpaces) {
  ScratchFolder folder;
  const std::wstring spaced = folder / L"with spaces";
  CreateDirectoryW(spaced.c_str(), nullptr);
  const std::wstring program = spaced + L"\\child copy.exe";
  ASSERT_TRUE(CopyFileW(ChildProgram().c_str(), program.c_str(), FALSE));
  int exit_code = -1;
  std::string out, err;
  ASSERT_TRUE(RunAndCapture(Quoted(program) + L" write 100 0 3", 30000, &exit_code, &out, &err));
  EXPECT_EQ(exit_code, 3);
  EXPECT_EQ(out, TestPattern(100, 1));
}

TEST(RunAndCaptureTest, MissingProgramIsNotStarted) {
  ScratchFolder folder;
  int exit_code = 42;
  std::string out, err;
  EXPECT_FALSE(RunAndCapture(Quoted(folder / L"missing.exe"), 1000, &exit_code, &out, &err));
  EXPECT_EQ(exit_code, 42);
  EXPECT_FALSE(RunAndCapture(L"", 1000, &exit_code, &out, &err));
}

// A program that outlives its limit: false with 301, and it keeps running; the test then finds
// it by name, checks where it runs from and ends it.
TEST(RunAndCaptureTest, LimitExpiresAndTheProgramRunsOn) {
  ScratchFolder folder;
  const std::wstring name = L"SysSleeper" + std::to_wstring(GetCurrentProcessId()) + L".exe";
  const std::wstring program = folder / name;
  ASSERT_TRUE(CopyFileW(ChildProgram().c_str(), program.c_str(), FALSE));

  int exit_code = 0;
  std::string out, err;
  const DWORD start = GetTickCount();
  EXPECT_FALSE(RunAndCapture(Quoted(program) + L" sleep 60000", 400, &exit_code, &out, &err));
  EXPECT_GE(GetTickCount() - start, 400u - 20u);  // the tick count may be a tick coarse
  EXPECT_EQ(exit_code, 301);

  // Found by name, in any case, and only that one.
  std::wstring upper = name;
  for (wchar_t& c : upper) c = static_cast<wchar_t>(towupper(c));
  const std::vector<uint32_t> pids = FindProcessesByName(upper);
  ASSERT_EQ(pids.size(), 1u);
  std::wstring image;
  ASSERT_TRUE(GetProcessImagePath(pids[0], &image));
  EXPECT_TRUE(SamePathNoCase(image, program)) << image;

  HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pids[0]);
  ASSERT_NE(process, nullptr);
  EXPECT_EQ(WaitForSingleObject(process, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "still running";
  TerminateProcess(process, 0);
  WaitForSingleObject(process, 5000);
  CloseHandle(process);
  EXPECT_TRUE(FindProcessesByName(name).empty());
}

// Asked to, the runner ends a program that outlives its limit: it has gone by the time the
// call returns, so nothing it was doing goes on behind the caller's back.
TEST(RunAndCaptureTest, LimitExpiresAndTheProgramIsEndedWhenAsked) {
  ScratchFolder folder;
  const std::wstring name = L"SysEnded" + std::to_wstring(GetCurrentProcessId()) + L".exe";
  const std::wstring program = folder / name;
  ASSERT_TRUE(CopyFileW(ChildProgram().c_str(), program.c_str(), FALSE));

  int exit_code = 0;
  std::string out, err;
  EXPECT_FALSE(RunAndCapture(Quoted(program) + L" sleep 60000", 400, &exit_code, &out, &err, TimeLimitAction::kEnd));
  EXPECT_EQ(exit_code, 301);
  EXPECT_TRUE(FindProcessesByName(name).empty()) << "still running after the call";
}

// A grandchild that inherits the pipes and stays does not hold up the result.
TEST(RunAndCaptureTest, ReturnsWhenTheProgramEndsEvenIfAGrandchildHoldsThePipes) {
  ScratchFolder folder;
  // A name of its own, so that ending the grandchild touches no other test's helper.
  const std::wstring name = L"SysSpawner" + std::to_wstring(GetCurrentProcessId()) + L".exe";
  const std::wstring program = folder / name;
  ASSERT_TRUE(CopyFileW(ChildProgram().c_str(), program.c_str(), FALSE));
  NamedEvent grandchild_done(L"grandchild");
  int exit_code = -1;
  std::string out, err;
  ASSERT_TRUE(RunAndCapture(Quoted(program) + L" spawn 30000 " + grandchild_done.name(), 0, &exit_code, &out, &err));
  EXPECT_EQ(exit_code, 0);
  EXPECT_EQ(out, "parent done");
  EXPECT_FALSE(grandchild_done.WaitMs(0)) << "returned only after the grandchild ended";
  const std::vector<uint32_t> pids = FindProcessesByName(name);
  EXPECT_EQ(pids.size(), 1u) << "the grandchild runs on";
  for (uint32_t pid : pids) {
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    if (!process) continue;
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
  }
}

TEST(ProcessLookupTest, OwnProcessAndUnknownOnes) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring own_name = self;
  own_name = own_name.substr(own_name.find_last_of(L"\\/") + 1);
  const std::vector<uint32_t> pids = FindProcessesByName(own_name);
  EXPECT_NE(std::find(pids.begin(), pids.end(), GetCurrentProcessId()), pids.end());

  std::wstring image;
  ASSERT_TRUE(GetProcessImagePath(GetCurrentProcessId(), &image));
  EXPECT_TRUE(SamePathNoCase(image, self)) << image;

  EXPECT_TRUE(FindProcessesByName(L"no-such-program-here.exe").empty());
  EXPECT_TRUE(FindProcessesByName(L"").empty());
  EXPECT_FALSE(GetProcessImagePath(0xFFFFFFF0u, &image));
}

}  // namespace
