#include "UI/install_system.h"

#include <windows.h>

#include <shlobj.h>

#include "app/app_config.h"
#include "log/log_assist.h"
#include "runtime/text_encoding.h"
#include "system/embedded_program.h"
#include "system/file_delete.h"
#include "system/file_util.h"
#include "system/os_version.h"

namespace installer {
namespace {

const char kLogSource[] = "UI\\UIMainWindowEx.cpp";

// GetDiskFreeSpaceExW wants a folder; a bare drive ("D:") means its root.
std::wstring AsFolder(const std::wstring& path) {
  return path.size() == 2 && path[1] == L':' ? path + L"\\" : path;
}

}  // namespace

SystemCheckSource::SystemCheckSource(app::CGlobal* global, std::wstring program_files)
    : global_(global), program_files_(std::move(program_files)) {}

int SystemCheckSource::OsVersionCode() {
  return GetOsVersionCode();
}

void SystemCheckSource::WriteGpuCheckTool() {
  // A failed write is logged where it fails; the check goes on without the probe.
  ::WriteGpuCheckTool(global_->product_data_folder, global_->is_64bit_windows, &global_->gpu_check_tool_path);
}

bool SystemCheckSource::CanWriteProgramFiles() {
  const std::wstring folder = program_files_.empty() ? GetSpecialFolder(CSIDL_PROGRAM_FILES, false) : program_files_;
  const std::wstring probe = folder + L"\\Vesk_test";
  if (folder.empty() || !CreateFolder(probe)) return false;  // logged by the folder lookup or creation
  DeleteFolderContents(base::WideToAnsi(probe), true);
  return true;
}

MachineFacts SystemCheckSource::ReadMachineFacts() {
  MachineFacts facts;
  SYSTEM_INFO info = {};
  GetSystemInfo(&info);
  facts.processor_count = info.dwNumberOfProcessors;
  facts.processor_type = info.dwProcessorType;
  MEMORYSTATUSEX memory = {};
  memory.dwLength = sizeof(memory);
  if (GlobalMemoryStatusEx(&memory)) facts.memory_megabytes = memory.ullTotalPhys / 1000000;
  facts.free_disk_bytes = FreeBytesOfVolume(app::LocalAppDataFolder());
  return facts;
}

bool SystemPathFacts::IsDirectory(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

DriveKind SystemPathFacts::KindOfDrive(wchar_t letter) {
  const wchar_t root[] = {letter, L':', L'\\', 0};
  switch (GetDriveTypeW(root)) {
    case DRIVE_NO_ROOT_DIR: return DriveKind::kNoRoot;
    case DRIVE_REMOVABLE: return DriveKind::kRemovable;
    case DRIVE_FIXED: return DriveKind::kFixed;
    case DRIVE_REMOTE: return DriveKind::kRemote;
    case DRIVE_CDROM: return DriveKind::kCdRom;
    case DRIVE_RAMDISK: return DriveKind::kRamDisk;
    default: return DriveKind::kUnknown;
  }
}

uint64_t FreeBytesOfVolume(const std::wstring& path) {
  ULARGE_INTEGER available = {}, total = {}, free_bytes = {};
  if (!GetDiskFreeSpaceExW(AsFolder(path).c_str(), &available, &total, &free_bytes)) {
    SIMLOG(kLogSource, true, "GetDiskFreeSpaceEx %s failed, error %lu", base::WideToAnsi(path).c_str(), GetLastError());
    return 0;
  }
  return free_bytes.QuadPart;
}

std::wstring VolumeFileSystem(const std::wstring& root) {
  wchar_t name[21] = {};
  if (!GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, name, 20)) {
    SIMLOG(kLogSource, true, "GetVolumeInformation %s failed, error %lu", base::WideToAnsi(root).c_str(),
           GetLastError());
    return std::wstring();
  }
  return name;
}

}  // namespace installer
