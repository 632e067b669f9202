#include "UI/previous_install.h"

namespace installer {
namespace {

std::wstring SoftwareRoot(bool windows_is_64bit) {
  return windows_is_64bit ? L"SOFTWARE\\Wow6432Node\\" : L"SOFTWARE\\";
}

}  // namespace

std::wstring SetupInfoKey(bool windows_is_64bit, const std::wstring& registry_name) {
  return SoftwareRoot(windows_is_64bit) + registry_name + L"\\SetupInfo";
}

std::wstring UninstallKey(bool windows_is_64bit, const std::wstring& product_name) {
  return SoftwareRoot(windows_is_64bit) + L"Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + product_name;
}

std::wstring PackageFolder(const std::wstring& local_app_data, const std::wstring& folder_name) {
  return local_app_data + L"\\" + folder_name + L"\\";
}

std::wstring PackagePath(const std::wstring& package_folder, int64_t unix_time) {
  return package_folder + L"PindlePackage" + std::to_wstring(unix_time);
}

}  // namespace installer
