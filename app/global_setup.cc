#include "app/global_setup.h"

#include "runtime/text_encoding.h"

namespace app {

void ApplyCustomSettings(const CustomSettings& settings, CGlobal* global) {
  auto narrow = [&](const char* key) { return base::WideToAnsi(base::Utf8ToWide(settings.Get(key))); };
  auto wide = [&](const char* key) { return base::Utf8ToWide(settings.Get(key)); };
  if (settings.Has("player_version")) global->player_version = narrow("player_version");
  if (settings.Has("rom_version")) global->rom_version = narrow("rom_version");
  if (settings.Has("Rotational")) global->rotational = settings.GetBool("Rotational", true) ? 1 : 0;
  if (settings.Has("token")) global->channel_token = narrow("token");
  if (settings.Has("vesk")) global->product_name = wide("vesk");
  if (settings.Has("vesk_installer_win")) global->utility_window_class = wide("vesk_installer_win");
  if (settings.Has("vesk_shortcut_name")) global->desktop_shortcut_name = wide("vesk_shortcut_name");
  if (settings.Has("uninstall_shortcut_name")) global->uninstall_shortcut_name = wide("uninstall_shortcut_name");
  if (settings.Has("shortcut_name_path")) global->start_menu_folder = wide("shortcut_name_path");
  if (settings.Has("language")) global->language = narrow("language");
  if (settings.Has("main_title")) global->main_title = wide("main_title");
  if (settings.Has("vesk_exe")) {
    global->product_exe = wide("vesk_exe");
    global->product_files.push_back(narrow("vesk_exe"));
  }
  if (settings.Has("vesk_uninstall")) {
    global->product_uninstaller = wide("vesk_uninstall");
    global->product_files.push_back(narrow("vesk_uninstall"));
  }
}

void ApplyCommandLine(const CommandLineOptions& options, const std::wstring& debug_environment, CGlobal* global) {
  if (options.file_url) global->file_url = true;
  if (options.debug) global->debug = true;
  if (options.has_language) global->language = base::WideToAnsi(options.language);
  if (options.un_external) global->external_edition = false;
  if (!options.install_path.empty()) global->install_path_argument = options.install_path;
  if (!options.package_url.empty()) global->package_url = base::WideToAnsi(options.package_url);
  if (!options.package_size.empty()) global->package_size = base::WideToAnsi(options.package_size);
  if (!options.package_md5.empty()) global->package_md5 = base::WideToAnsi(options.package_md5);
  if (options.auto_install) {
    global->auto_install = true;
    global->install_kind = "upgrade";
  }
  if (!debug_environment.empty()) global->debug = true;
}

void ApplyLanguage(const LanguageChoice& choice, CGlobal* global) {
  global->language_code = base::Utf8ToWide(choice.code);
  global->language_index = choice.index;
  global->prompt_resource = choice.prompt_resource;
  global->system_language_id = choice.system_language_id;
  if (choice.index == 0) {
    global->desktop_shortcut_name = L"Pindle";
    global->uninstall_shortcut_name = L"Pindle\u5378\u8F7D\u5668";  // "Pindle uninstaller"
    global->start_menu_folder = L"\\Pindle";
  } else {
    global->desktop_shortcut_name = L"Pindle";
    global->uninstall_shortcut_name = L"Pindle_unload";
    global->start_menu_folder = L"\\" + global->product_name;
  }
  global->desktop_shortcut_name += L".lnk";
  global->uninstall_shortcut_name += L".lnk";
}

std::wstring DefaultInstallRoot(int os_version_code, const std::wstring& program_files_folder, bool d_drive_is_fixed) {
  if (d_drive_is_fixed) return L"D:\\Program Files";
  return os_version_code > 6 ? program_files_folder : L"C:\\Program Files";
}

std::wstring InstallFolder(const std::wstring& install_path_argument, const std::wstring& root,
                           const std::wstring& product_name) {
  if (!install_path_argument.empty()) return install_path_argument;
  return root + L"\\" + product_name;
}

}  // namespace app
