#include "app/global_setup.h"

#include <gtest/gtest.h>

namespace app {
namespace {

const char kBuiltInSettings[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><custom_setting>"
    "<player_version value=\"1.0.1.0000\"/><rom_version value=\"7\"/><Rotational value=\"false\"/>"
    "<token value=\"\"/><vesk_exe value=\"Pindle.exe\"/><vesk value=\"Pindle\"/>"
    "<vesk_uninstall value=\"Pindle_unload.exe\"/><vesk_installer_win value=\"PindleDownloaderWindow\"/>"
    "</custom_setting>";

TEST(ApplyCustomSettings, BuiltInValuesAndProductFiles) {
  CustomSettings settings;
  ASSERT_TRUE(settings.Parse(kBuiltInSettings));
  CGlobal global;
  ApplyCustomSettings(settings, &global);
  EXPECT_EQ("1.0.1.0000", global.player_version);
  EXPECT_EQ("7", global.rom_version);
  EXPECT_EQ(0, global.rotational);
  EXPECT_EQ("", global.channel_token);
  EXPECT_EQ(L"Pindle", global.product_name);
  EXPECT_EQ(L"PindleDownloaderWindow", global.utility_window_class);
  EXPECT_EQ((std::vector<std::string>{"PindleCommon.dll", "pindle.rcc", "Pindle.exe", "Pindle_unload.exe"}),
            global.product_files);
}

TEST(ApplyCustomSettings, LaterDuplicateAndMissingDocument) {
  CustomSettings settings;
  ASSERT_TRUE(settings.Parse("<r><Rotational value=\"no\"/><Rotational value=\"yes\"/><token value=\"T1\"/></r>"));
  CGlobal global;
  ApplyCustomSettings(settings, &global);
  EXPECT_EQ(1, global.rotational);
  EXPECT_EQ("T1", global.channel_token);

  CustomSettings broken;
  EXPECT_FALSE(broken.Parse("<r>"));
  CGlobal defaults;
  ApplyCustomSettings(broken, &defaults);
  EXPECT_EQ((std::vector<std::string>{"PindleCommon.dll", "pindle.rcc"}), defaults.product_files);
  EXPECT_TRUE(defaults.product_name.empty());
}

TEST(ApplyCommandLine, OptionsAndDebugEnvironment) {
  CGlobal global;
  ApplyCommandLine(ParseCommandLineOptions({L"x.exe", L"-auto", L"-lan:lan_kr", L"-url:http://h/p", L"-size:9"}), L"",
                   &global);
  EXPECT_TRUE(global.auto_install);
  EXPECT_EQ("upgrade", global.install_kind);
  EXPECT_EQ("lan_kr", global.language);
  EXPECT_EQ("http://h/p", global.package_url);
  EXPECT_EQ("9", global.package_size);
  EXPECT_FALSE(global.debug);
  EXPECT_TRUE(global.external_edition);

  CGlobal plain;
  ApplyCommandLine(ParseCommandLineOptions({L"x.exe"}), L"1", &plain);
  EXPECT_TRUE(plain.debug);
  EXPECT_EQ("normal", plain.install_kind);
}

TEST(ApplyLanguage, ShortcutNamesFollowTheLanguageIndex) {
  CGlobal global;
  global.product_name = L"Pindle";
  LanguageChoice chinese;
  SelectLanguageByCode(&chinese, "lan_cn");
  ApplyLanguage(chinese, &global);
  EXPECT_EQ(L"Pindle.lnk", global.desktop_shortcut_name);
  EXPECT_EQ(L"Pindle\u5378\u8F7D\u5668.lnk", global.uninstall_shortcut_name);
  EXPECT_EQ(L"\\Pindle", global.start_menu_folder);

  global.product_name = L"Vesk";
  LanguageChoice english;
  SelectLanguageByCode(&english, "lan_en");
  ApplyLanguage(english, &global);
  EXPECT_EQ(L"Pindle_unload.lnk", global.uninstall_shortcut_name);
  EXPECT_EQ(L"\\Vesk", global.start_menu_folder);
  EXPECT_EQ(L"lan_en", global.language_code);
  EXPECT_EQ(1, global.language_index);
}

TEST(InstallFolder, DefaultRootAndArgument) {
  const struct {
    int os;
    bool d_fixed;
    const wchar_t* expected;
  } cases[] = {
      {12, false, L"C:\\Program Files (x86)"}, {7, false, L"C:\\Program Files (x86)"},
      {-999, false, L"C:\\Program Files"},     {12, true, L"D:\\Program Files"},
      {-1000, true, L"D:\\Program Files"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.expected, DefaultInstallRoot(c.os, L"C:\\Program Files (x86)", c.d_fixed)) << c.os;
  EXPECT_EQ(L"D:\\Program Files\\Pindle", InstallFolder(L"", L"D:\\Program Files", L"Pindle"));
  EXPECT_EQ(L"E:\\X", InstallFolder(L"E:\\X", L"D:\\Program Files", L"Pindle"));
}

}  // namespace
}  // namespace app
