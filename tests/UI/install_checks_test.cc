// The start checks' order and outcomes, from a machine that records what it was asked.
#include "UI/install_checks.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "system/os_version.h"

namespace installer {
namespace {

constexpr uint64_t kMiB = 1 << 20;

class RecordingSource : public CheckSource {
 public:
  int OsVersionCode() override {
    asked.push_back("os");
    return os_code;
  }
  void WriteGpuCheckTool() override { asked.push_back("gpu tool"); }
  bool CanWriteProgramFiles() override {
    asked.push_back("write rights");
    return writable;
  }
  MachineFacts ReadMachineFacts() override {
    asked.push_back("facts");
    return facts;
  }

  int os_code = kOsVersionWin10;
  bool writable = true;
  MachineFacts facts{4, 586, 8000, 100000 * kMiB};
  std::vector<std::string> asked;
};

TEST(RunChecks, AskInTheirOrderAndStopAtTheFirstFailure) {
  struct Case {
    const char* name;
    int os_code;
    bool writable;
    uint64_t free_mb;
    uint32_t processors;
    std::vector<std::string> asked;
    const char* prompt_key;  // null: passed
    const char* exit_reason;
    bool report_exit;
  };
  const std::vector<std::string> all = {"os", "gpu tool", "write rights", "facts"};
  const Case cases[] = {
      {"a good machine", kOsVersionWin7, true, 100000, 4, all, nullptr, nullptr, false},
      {"exactly 2048 MB", kOsVersionWin10, true, 2048, 2, all, nullptr, nullptr, false},
      {"2047 MB", kOsVersionWin10, true, 2047, 2, all, "DiskSpace", "Freedisksize", true},
      {"one processor", kOsVersionWin10, true, 100000, 1, all, "CPUtype", "CPU", true},
      {"both problems: disk first", kOsVersionWin10, true, 10, 1, all, "DiskSpace", "Freedisksize", true},
      {"XP", kOsVersionTooOld, true, 100000, 4, {"os"}, "System", "Operating system", false},
      {"no write rights",
       kOsVersionWin10,
       false,
       10,
       1,
       {"os", "gpu tool", "write rights"},
       "Authority",
       "Authority",
       true},
      // An unknown (newer or odd) system is not refused: only the known-old code is.
      {"unknown system", kOsVersionUnknown, true, 100000, 4, all, nullptr, nullptr, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingSource source;
    source.os_code = c.os_code;
    source.writable = c.writable;
    source.facts.free_disk_bytes = c.free_mb * kMiB + kMiB - 1;  // the part below 1 MB does not count
    source.facts.processor_count = c.processors;
    const CheckOutcome outcome = RunChecks(&source);
    EXPECT_EQ(source.asked, c.asked);
    EXPECT_EQ(outcome.passed, c.prompt_key == nullptr);
    EXPECT_STREQ(outcome.prompt_key, c.prompt_key);
    EXPECT_STREQ(outcome.exit_reason, c.exit_reason);
    EXPECT_EQ(outcome.report_exit, c.report_exit);
  }
}

TEST(InstallDrive, TheFolderDriveAndTheLowSpaceMessage) {
  EXPECT_EQ(InstallDrive(L"D:\\Games\\Pindle"), L"D:");
  EXPECT_EQ(InstallDrive(L"D"), L"D");
  EXPECT_EQ(InstallDrive(L""), L"");
  EXPECT_EQ(LowInstallDriveMessage(L"Drive ", L"D:\\Games\\Pindle", L" is full"), L"Drive D is full");
  EXPECT_EQ(LowInstallDriveMessage(L"Drive ", L"", L" is full"), L"Drive  is full");
  EXPECT_TRUE(EnoughFreeSpace(2048 * kMiB));
  EXPECT_FALSE(EnoughFreeSpace(2048 * kMiB - 1));
}

}  // namespace
}  // namespace installer
