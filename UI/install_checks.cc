#include "UI/install_checks.h"

#include "log/log_assist.h"
#include "runtime/text_encoding.h"
#include "system/os_version.h"

namespace installer {
namespace {

const char kLogSource[] = "UI\\UIMainWindowEx.cpp";

CheckOutcome Failed(const char* prompt_key, const char* exit_reason, bool report_exit) {
  CheckOutcome outcome;
  outcome.passed = false;
  outcome.prompt_key = prompt_key;
  outcome.exit_reason = exit_reason;
  outcome.report_exit = report_exit;
  return outcome;
}

}  // namespace

CheckOutcome JudgeMachineFacts(const MachineFacts& facts) {
  if (!EnoughFreeSpace(facts.free_disk_bytes)) return Failed("DiskSpace", "Freedisksize", true);
  if (facts.processor_count < kMinProcessors) return Failed("CPUtype", "CPU", true);
  return CheckOutcome();
}

CheckOutcome RunChecks(CheckSource* source) {
  if (source->OsVersionCode() == kOsVersionTooOld) return Failed("System", "Operating system", false);
  source->WriteGpuCheckTool();
  const bool writable = source->CanWriteProgramFiles();
  SIMLOG(kLogSource, true, "Check Authority!");
  if (!writable) return Failed("Authority", "Authority", true);
  const MachineFacts facts = source->ReadMachineFacts();
  // The full-width comma after the first value is the log's own (narrow, ANSI code page).
  simlog::LogAssist::GetInstance().Log(
      kLogSource, __LINE__, simlog::kLogLineLevel,
      simlog::LogAssist::FormatString("memsize:%d", static_cast<int>(facts.memory_megabytes)) +
          base::WideToAnsi(L"\uFF0C") +
          simlog::LogAssist::FormatString(
              "cpu_type:%d,freedisksize:%d,cpu_core_num:%d", static_cast<int>(facts.processor_type),
              static_cast<int>(Megabytes(facts.free_disk_bytes)), static_cast<int>(facts.processor_count)),
      true);
  return JudgeMachineFacts(facts);
}

std::wstring InstallDrive(const std::wstring& install_folder) {
  return install_folder.substr(0, 2);
}

std::wstring LowInstallDriveMessage(const std::wstring& freedisk1, const std::wstring& install_folder,
                                    const std::wstring& freedisk2) {
  return freedisk1 + install_folder.substr(0, 1) + freedisk2;
}

}  // namespace installer
