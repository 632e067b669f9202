// An earlier installation of the product, as the registry records it (64-bit view), and the
// file name of this run's package. The key and name rules are platform-free; the reads and the
// folder work are in previous_install_win.cc.
#ifndef UI_PREVIOUS_INSTALL_H_
#define UI_PREVIOUS_INSTALL_H_

#include <cstdint>
#include <string>

#include "app/global.h"

namespace installer {

// Under HKEY_LOCAL_MACHINE: "SOFTWARE\Wow6432Node\" on 64-bit Windows, else "SOFTWARE\", then
// "<registry name>\SetupInfo" (value "InstallPath").
std::wstring SetupInfoKey(bool windows_is_64bit, const std::wstring& registry_name);
// The uninstall entry of the product (value "DisplayVersion").
std::wstring UninstallKey(bool windows_is_64bit, const std::wstring& product_name);

// The package folder (local application-data folder + "\PindlePackFileder\") and the package
// path in it: "PindlePackage" + the decimal Unix time.
std::wstring PackageFolder(const std::wstring& local_app_data, const std::wstring& folder_name);
std::wstring PackagePath(const std::wstring& package_folder, int64_t unix_time);

// Windows only: ---------------------------------------------------------------------------

// The earlier install folder when the registry names one that exists as a folder, else empty.
// A 64-bit answer (an IsWow64 query that worked and said yes) sets global->is_64bit_windows.
// `query_ok` false: the bitness could not be read (the "64error" popup follows).
std::wstring DetectPreviousInstall(app::CGlobal* global, bool* query_ok);
// "DisplayVersion" of the uninstall entry; empty when there is none.
std::wstring ReadInstalledVersion(const app::CGlobal& global);

// Chooses the package path (stored in global->local_app_data, the field it replaces) and the
// package folder (global->package_folder), creates the folder, and queues its removal as a
// cleanup task of the current loop (the file loop). False when the folder cannot be created.
bool ChoosePackagePath(app::CGlobal* global);

}  // namespace installer

#endif  // UI_PREVIOUS_INSTALL_H_
