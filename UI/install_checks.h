// The checks the installer makes before it downloads anything: the machine at the start and
// the install drive at the install click. The decisions are made here from facts that a
// `CheckSource` gathers, so their order and outcomes are tested without a machine; the real
// source is in install_check_source_win.cc.
#ifndef UI_INSTALL_CHECKS_H_
#define UI_INSTALL_CHECKS_H_

#include <cstdint>
#include <string>

namespace installer {

// Free space an installation needs, in megabytes (free bytes shifted right by 20).
constexpr uint64_t kMinFreeMegabytes = 2048;
// Logical processors the product needs.
constexpr uint32_t kMinProcessors = 2;

inline uint64_t Megabytes(uint64_t bytes) {
  return bytes >> 20;
}
inline bool EnoughFreeSpace(uint64_t free_bytes) {
  return Megabytes(free_bytes) >= kMinFreeMegabytes;
}

// What the machine check reads after the operating system and the write-rights checks.
struct MachineFacts {
  uint32_t processor_count = 0;
  uint32_t processor_type = 0;
  uint64_t memory_megabytes = 0;  // total physical memory in units of 1000000 bytes; logged only
  uint64_t free_disk_bytes = 0;   // on the volume of the local application-data folder
};

// The machine, asked in the order of the checks: a check that fails stops the questions.
class CheckSource {
 public:
  virtual int OsVersionCode() = 0;
  // Writes the graphics-check program for the machine's bitness (it is deleted later).
  virtual void WriteGpuCheckTool() = 0;
  // Creates "<program files>\Vesk_test" and removes it again; false when it cannot be created.
  virtual bool CanWriteProgramFiles() = 0;
  virtual MachineFacts ReadMachineFacts() = 0;

 protected:
  virtual ~CheckSource() {}
};

// How the start checks ended. A failure names the prompt text of its popup, the exit reason
// and whether that reason is reported ("Downloader_Exit"); the OS check's is not.
struct CheckOutcome {
  bool passed = true;
  const char* prompt_key = nullptr;   // "System", "Authority", "DiskSpace", "CPUtype"
  const char* exit_reason = nullptr;  // "Operating system", "Authority", "Freedisksize", "CPU"
  bool report_exit = false;
};

// The start checks in their order: operating system, the graphics-check program, write rights,
// the facts line, disk space, processors. Logs "Check Authority!" and the facts line.
CheckOutcome RunChecks(CheckSource* source);

// The checks on the facts alone, after a passed OS and write-rights check (disk first).
CheckOutcome JudgeMachineFacts(const MachineFacts& facts);

// The install click's drive check: the first two characters of the install folder ("D:").
std::wstring InstallDrive(const std::wstring& install_folder);
// The popup text when that drive is short of space: "FREEDISK1" + the drive letter + "FREEDISK2".
std::wstring LowInstallDriveMessage(const std::wstring& freedisk1, const std::wstring& install_folder,
                                    const std::wstring& freedisk2);

}  // namespace installer

#endif  // UI_INSTALL_CHECKS_H_
