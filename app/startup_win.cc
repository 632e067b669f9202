#include <windows.h>
#include <shlobj.h>

#include "app/app_config.h"
#include "app/config_file.h"
#include "app/custom_settings.h"
#include "app/global.h"
#include "app/global_setup.h"
#include "app/language.h"
#include "app/startup.h"
#include "log/log_assist.h"
#include "runtime/text_encoding.h"
#include "system/device_id.h"
#include "system/embedded_program.h"
#include "system/file_util.h"
#include "system/os_version.h"

namespace app {
namespace {

// Log lines of the start-up carry the entry's file name.
const char kSource[] = "DoApp.cpp";

bool LoadResourceText(const wchar_t* name, const wchar_t* type, std::string* text) {
  return ReadOwnResource(name, type, text);
}

bool IsFixedDrive(const wchar_t* root) {
  return GetDriveTypeW(root) == DRIVE_FIXED;
}

}  // namespace

bool ReadCustomSettings() {
  std::string document;
  CustomSettings settings;
  if (!LoadResourceText(L"CUSTOM_SETTING", L"xml", &document) || !settings.Parse(document)) {
    // Logging is not running yet, so this line is dropped; it stays for the day it is not.
    simlog::LogAssist::GetInstance().Log(kSource, 139, simlog::kLogLineLevel,
                                         simlog::LogAssist::FormatString("get custom setting failed!"), true);
    return false;
  }
  ApplyCustomSettings(settings, &Global());
  return true;
}

void ChooseLanguageAtStartup() {
  CGlobal& global = Global();
  global.saved_language =
      CConfigFile::Get().ReadString("setting", "language", "", ConfigFilePath(GetAppConfig()->ProductDataFolder()));
  LanguageChoice choice;
  choice.group = Process().language_group;
  ChooseLanguage(&choice, global.saved_language, global.international_edition, global.language,
                 GetSystemDefaultLangID());
  Process().language_group = choice.group;
  ApplyLanguage(choice, &global);
}

void StoreDeviceIdAndToken() {
  ProcessValues& process = Process();
  process.device_id = GetDeviceId();
  IAppConfig* config = GetAppConfig();
  const bool chinese = Global().language_index == 0;
  process.default_channel_token = chinese ? config->DefaultChannelTokenChinese() : config->DefaultChannelToken();
  process.second_key = chinese ? config->SecondKeyChinese() : config->SecondKey();
}

void PrepareFolders() {
  CGlobal& global = Global();
  IAppConfig* config = GetAppConfig();
  global.local_app_data = LocalAppDataFolder();
  global.downloader_data_folder = config->DownloaderDataFolder();
  global.product_data_folder = config->ProductDataFolder();
  // The data folder itself is made when the log opens.
  CreateParentFolders(global.downloader_data_folder);

  simlog::LogAssist& log = simlog::LogAssist::GetInstance();
  log.SetLogName(config->LogName());
  log.Init(3, base::WideToUtf8(global.downloader_data_folder));
  log.Log(kSource, 102, simlog::kLogLineLevel,
          simlog::LogAssist::FormatString("###########################################"), true);

  const int os_code = GetOsVersionCode();
  const std::wstring program_files = GetSpecialFolder(CSIDL_PROGRAM_FILES, false);
  const std::wstring root = DefaultInstallRoot(os_code, program_files, IsFixedDrive(L"D:\\"));
  global.install_folder = InstallFolder(global.install_path_argument, root, global.product_name);
}

}  // namespace app
