// The machine as the installer's checks and path rules ask about it: the real CheckSource and
// PathFacts, free disk space, and the folder's file system. Thin: every decision is made in
// install_checks.h and install_path.h.
#ifndef UI_INSTALL_SYSTEM_H_
#define UI_INSTALL_SYSTEM_H_

#include <cstdint>
#include <string>

#include "UI/install_checks.h"
#include "UI/install_path.h"
#include "app/global.h"

namespace installer {

class SystemCheckSource : public CheckSource {
 public:
  // `global`: the product data folder and the 64-bit flag; the written graphics-check program's
  // path is stored in its gpu_check_tool_path. `program_files` empty: the shell's folder.
  explicit SystemCheckSource(app::CGlobal* global, std::wstring program_files = std::wstring());

  int OsVersionCode() override;
  void WriteGpuCheckTool() override;
  bool CanWriteProgramFiles() override;
  MachineFacts ReadMachineFacts() override;

 private:
  app::CGlobal* global_;
  std::wstring program_files_;
};

class SystemPathFacts : public PathFacts {
 public:
  bool IsDirectory(const std::wstring& path) override;
  DriveKind KindOfDrive(wchar_t letter) override;
};

// Total free bytes of the volume holding `path` (a folder or a drive such as "D:"); 0 when it
// cannot be read (logged).
uint64_t FreeBytesOfVolume(const std::wstring& path);

// The file-system name of the volume root (up to 20 characters, "NTFS", "FAT32"); empty when
// it cannot be read (logged).
std::wstring VolumeFileSystem(const std::wstring& root);

}  // namespace installer

#endif  // UI_INSTALL_SYSTEM_H_
