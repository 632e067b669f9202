// The 7-Zip console fallback against a real 7-Zip, run through the program's own RunAndCapture:
// the command line Run7za builds, the error output a locked file really produces, and the
// judgement of it. The installer embeds a 32-bit 7za.exe, which 64-bit-only Wine cannot start;
// these tests run a 64-bit build of the same 7-Zip source instead (PINDLE_7ZA_X64, built by
// bench/extract_bench.sh).
#include <windows.h>

#include <gtest/gtest.h>

#include "extract/extract_package.h"
#include "extract/locked_files.h"
#include "extract/seven_za.h"
#include "extract/system_extract_environment.h"
#include "extract_test_support.h"
#include "file_lock_win.h"
#include "system/run_capture.h"

namespace extract_test {
namespace {

const std::vector<std::string> kProductFiles = {"PindleCommon.dll", "pindle.rcc", "Vesk.exe", "Uninstall.exe"};

std::u16string StandIn() {
  return U16(fs::path(PINDLE_7ZA_X64_WINDOWS));
}

// The program's own runner of child processes (RunAndCapture), as the extraction step uses it.
bool RunCaptured(const std::u16string& command_line, int timeout_ms, int* exit_code, std::string* out,
                 std::string* err) {
  return ::RunAndCapture(std::wstring(command_line.begin(), command_line.end()), timeout_ms, exit_code, out, err);
}

TEST(SevenZaStandInTest, UnpacksThePackageWithTheExactCommandLine) {
  ScratchFolder scratch;
  const fs::path install = scratch.path() / "Vesk";
  fs::create_directories(install);
  std::string error_output = "unset";
  std::vector<std::string> logs;
  EXPECT_TRUE(Run7za(RunCaptured, StandIn(), U16(Archive("bcj2.7z")), U16(install), &error_output,
                     [&logs](const std::string& m) { logs.push_back(m); }));
  EXPECT_EQ(error_output, "");
  EXPECT_EQ(logs, std::vector<std::string>{"unzip exit_code::0"});
  ExpectSameTree(ExpectedTree(), install);
}

struct LockCase {
  const char* locked;  // relative to the install folder
  bool harmless;
};

class SevenZaLockTest : public ::testing::TestWithParam<LockCase> {};

TEST_P(SevenZaLockTest, ItsErrorOutputIsJudgedByTheLockedFile) {
  ScratchFolder scratch;
  const fs::path install = scratch.path() / "Vesk";
  fs::create_directories(install);
  std::string error_output;
  ASSERT_TRUE(Run7za(RunCaptured, StandIn(), U16(Archive("lzma2_solid.7z")), U16(install), &error_output, nullptr));
  FileLock lock(install / GetParam().locked);
  ASSERT_TRUE(lock.held());
  EXPECT_FALSE(Run7za(RunCaptured, StandIn(), U16(Archive("lzma2_solid.7z")), U16(install), &error_output, nullptr));
  EXPECT_NE(error_output.find("Cannot delete output file"), std::string::npos) << error_output;
  std::vector<std::string> logs;
  EXPECT_EQ(LockedFilesAreHarmless(error_output, kProductFiles, [&logs](const std::string& m) { logs.push_back(m); }),
            GetParam().harmless)
      << error_output;
  ASSERT_FALSE(logs.empty());
  EXPECT_EQ(logs[0], "Can not delete:" + fs::path(GetParam().locked).filename().string() + ",");
}

INSTANTIATE_TEST_SUITE_P(Files, SevenZaLockTest,
                         ::testing::Values(LockCase{"vesk_adb.exe", true}, LockCase{"PindleCommon.dll", false}));

// The whole step with a real fallback, over the system helpers: the damaged package fails in
// process (CRC), then in 7-Zip, whose error output names no locked file, then as the
// installer's own file (the test program, which is no archive).
class StandInEnvironment : public SystemExtractEnvironment {
 public:
  explicit StandInEnvironment(const fs::path& data_folder) : SystemExtractEnvironment(U16(data_folder)) {}
  std::vector<std::string> trace;
  std::vector<std::string> logs;

  void StopProductPrograms(const std::u16string&) override { trace.push_back("stop"); }
  void Log(const std::string& message, bool enabled) override {
    if (enabled) logs.push_back(message);
  }
  bool debug() const override { return false; }
  std::vector<std::string> ProductFileList() override { return kProductFiles; }
  // The embedded 32-bit program cannot run here; the stand-in takes its place.
  bool WriteSevenZipTool(std::u16string* tool_path) override {
    trace.push_back("write 7za");
    *tool_path = StandIn();
    return true;
  }
  bool RunAndCapture(const std::u16string& command_line, int timeout_ms, int* exit_code, std::string* out,
                     std::string* err) override {
    trace.push_back("run");
    return SystemExtractEnvironment::RunAndCapture(command_line, timeout_ms, exit_code, out, err);
  }
};

TEST(SevenZaStandInTest, CorruptPackageFailsEveryAttempt) {
  ScratchFolder scratch;
  const fs::path install = scratch.path() / "Vesk";
  StandInEnvironment env(scratch.path() / "data");
  const ExtractOutcome outcome = ExtractPackage(env, U16(Archive("crc_error.7z")), U16(install));
  EXPECT_FALSE(outcome.success);
  EXPECT_EQ(outcome.unpack_code, 3);
  EXPECT_EQ(outcome.attempt, ExtractOutcome::kSelfArchive);
  EXPECT_EQ(env.trace, (std::vector<std::string>{"stop", "write 7za", "run", "run"}));
  EXPECT_TRUE(fs::is_directory(install)) << "the missing install folder is created first";
  EXPECT_NE(std::find(env.logs.begin(), env.logs.end(), "err file is null!"), env.logs.end());
}

// A package with an entry that climbs out of the folder: refused in process, and 7-Zip, which
// drops ".." from the names it writes, keeps it inside. Nothing lands beside the install folder.
TEST(SevenZaStandInTest, HostilePackageStaysInsideTheInstallFolderEndToEnd) {
  ScratchFolder scratch;
  const fs::path install = scratch.path() / "Vesk";
  fs::create_directories(install);
  StandInEnvironment env(scratch.path() / "data");
  const ExtractOutcome outcome = ExtractPackage(env, U16(Archive("dotdot_inner.7z")), U16(install));
  EXPECT_EQ(outcome.unpack_code, 11);
  EXPECT_TRUE(outcome.success);
  EXPECT_EQ(outcome.attempt, ExtractOutcome::kSevenZa);
  for (const std::string& entry : ListTree(scratch.path())) {
    EXPECT_EQ(entry.rfind("Vesk/", 0), 0u) << entry << " is outside the install folder";
  }
}

}  // namespace
}  // namespace extract_test
