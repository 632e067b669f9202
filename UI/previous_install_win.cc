#include <windows.h>

#include <ctime>

#include "UI/previous_install.h"
#include "app/app_config.h"
#include "log/log_assist.h"
#include "runtime/message_loop.h"
#include "runtime/task.h"
#include "runtime/text_encoding.h"
#include "system/file_delete.h"
#include "system/file_util.h"
#include "system/os_version.h"
#include "system/registry.h"

namespace installer {
namespace {

const char kLogSource[] = "UI\\UIMainWindowEx.cpp";

bool IsDirectory(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void RemovePackageFolder(std::wstring folder) {
  DeleteFolderTree(folder);
}

}  // namespace

std::wstring DetectPreviousInstall(app::CGlobal* global, bool* query_ok) {
  bool ok = false;
  const bool wow64 = IsWow64(&ok);
  *query_ok = ok;
  if (!ok) return std::wstring();
  if (wow64) global->is_64bit_windows = true;
  std::wstring folder;
  const std::wstring key = SetupInfoKey(global->is_64bit_windows, app::GetAppConfig()->ProductRegistryName());
  if (!RegReadString(HKEY_LOCAL_MACHINE, key, L"InstallPath", &folder)) return std::wstring();
  if (folder.empty() || !IsDirectory(folder)) return std::wstring();
  SIMLOG(kLogSource, global->debug, "%s", base::WideToAnsi(L"Install Path Before：" + folder).c_str());
  return folder;
}

std::wstring ReadInstalledVersion(const app::CGlobal& global) {
  std::wstring version;
  if (!RegReadString(HKEY_LOCAL_MACHINE, UninstallKey(global.is_64bit_windows, global.product_name), L"DisplayVersion",
                     &version)) {
    return std::wstring();
  }
  return version;
}

bool ChoosePackagePath(app::CGlobal* global) {
  global->package_folder = PackageFolder(app::LocalAppDataFolder(), app::GetAppConfig()->PackageFolderName());
  const bool created = CreateParentFolders(global->package_folder);  // a failure is logged where it happens
  global->local_app_data = PackagePath(global->package_folder, static_cast<int64_t>(std::time(nullptr)));
  // Whatever happens to this run, the package and its folder go when the file loop ends.
  if (base::MessageLoop* loop = base::MessageLoop::current()) {
    loop->PostCleanupTask(base::NewFunctionTask(&RemovePackageFolder, global->package_folder));
  }
  return created;
}

}  // namespace installer
