// The start-up steps against the real (Wine) system: the default install folder with and
// without a fixed D: drive, custom settings from the resource, the language from conf.ini.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "app/app_config.h"
#include "app/config_file.h"
#include "app/global.h"
#include "app/startup.h"
#include "system/file_util.h"

namespace app {
namespace {

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Global() = CGlobal();
    Global().international_edition = true;
    ASSERT_TRUE(ReadCustomSettings());
  }
};

TEST_F(StartupTest, CustomSettingsComeFromTheResource) {
  EXPECT_EQ("1.0.1.0000", Global().player_version);
  EXPECT_EQ(L"Pindle", Global().product_name);
  EXPECT_EQ(L"PindleDownloaderWindow", Global().utility_window_class);
  EXPECT_EQ(4u, Global().product_files.size());
}

// Run twice by CTest: as is, and with D: mapped to a folder (PINDLE_EXPECT_D_DRIVE=1).
TEST_F(StartupTest, DefaultInstallFolderFollowsAFixedDDrive) {
  wchar_t expect[8] = {};
  const bool d_drive = GetEnvironmentVariableW(L"PINDLE_EXPECT_D_DRIVE", expect, 8) > 0;
  ASSERT_EQ(d_drive, GetDriveTypeW(L"D:\\") == DRIVE_FIXED);
  PrepareFolders();
  if (d_drive) {
    EXPECT_EQ(L"D:\\Program Files\\Pindle", Global().install_folder);
  } else {
    EXPECT_EQ(GetSpecialFolder(0x0026 /* CSIDL_PROGRAM_FILES */, false) + L"\\Pindle", Global().install_folder);
  }
  Global().install_path_argument = L"E:\\X";
  PrepareFolders();
  EXPECT_EQ(L"E:\\X", Global().install_folder);
}

TEST_F(StartupTest, SavedLanguageComesFromConfIni) {
  const std::wstring ini = ConfigFilePath(GetAppConfig()->ProductDataFolder());
  ASSERT_TRUE(CConfigFile::Get().WriteString(L"setting", L"language", L"lan_cn", ini));
  ChooseLanguageAtStartup();
  EXPECT_EQ(L"lan_cn", Global().language_code);
  EXPECT_EQ(0, Global().language_index);
  EXPECT_EQ(1, Process().language_group);
  EXPECT_EQ(L"PROMPTINFO", Global().prompt_resource);
  StoreDeviceIdAndToken();
  EXPECT_EQ(GetAppConfig()->DefaultChannelTokenChinese(), EffectiveChannelToken());
  Global().channel_token = "CUSTOM";
  EXPECT_EQ("CUSTOM", EffectiveChannelToken());
  DeleteFileW(ini.c_str());
}

}  // namespace
}  // namespace app
