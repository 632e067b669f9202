// CGlobal: the process-wide shared state of the installer. Start-up fills it on the main thread
// (command line, custom settings, language, folders); afterwards the installer flow updates
// its own fields on the UI thread, and worker threads read only fields written before the task
// that reads them was posted. There is no lock.
#ifndef APP_GLOBAL_H_
#define APP_GLOBAL_H_

#include <cstdint>
#include <string>
#include <vector>

namespace app {

class CGlobal {
 public:
  CGlobal();

  // Windows.
  void* utility_window = nullptr;  // the hidden single-instance window
  void* flow_window = nullptr;     // a second window handle used by the installer flow

  // Folders and package.
  std::wstring install_folder;     // default install folder, then the previous or chosen one
  std::wstring install_work_path;  // used by the install steps
  std::wstring local_app_data;     // later replaced by the package file path
  std::string download_info_url;   // built when the main window is created
  std::string package_url;         // "-url:" or the download-information answer
  std::string package_size;        // decimal bytes, "-size:" or the answer
  std::string package_md5;         // "-md5:" or the answer's; the package is checked against it
  std::wstring package_folder;
  std::wstring downloader_data_folder;  // <local app data>\<vesk>\PindleDownloader
  std::wstring gpu_check_tool_path;
  std::wstring previous_install_folder;
  int previous_install_value1 = 0;
  int previous_install_value2 = 0;
  std::wstring product_data_folder;  // <local app data>\<vesk>

  // Flags from the command line and the environment.
  bool file_url = false;
  bool debug = false;
  bool external_edition = true;
  bool international_edition = false;
  bool auto_install = false;
  int apk_value = 0;

  // Language.
  uint16_t system_language_id = 0;
  int language_index = -1;
  std::wstring language_code;    // e.g. L"lan_en"
  std::wstring prompt_resource;  // prompt-text document of the language
  std::wstring prompt_file;      // temporary copy of that document
  bool is_64bit_windows = false;

  // Shortcuts (named by language at start-up).
  std::wstring desktop_shortcut_name;
  std::wstring start_menu_folder;
  std::wstring uninstall_shortcut_name;

  // The 24 prompt texts, in the order of the prompt keys.
  static constexpr int kPromptCount = 24;
  std::wstring prompts[kPromptCount];

  // Custom settings.
  std::wstring product_name;          // "vesk"
  std::wstring product_exe;           // "vesk_exe"
  std::wstring product_uninstaller;   // "vesk_uninstall"
  std::wstring utility_window_class;  // "vesk_installer_win"
  std::string channel_token;          // "token"
  std::string downloader_version;     // "%d.%d.%d.%d" of the program's own file
  std::wstring seven_zip_tool_path;
  std::wstring main_title;     // "main_title"
  std::string player_version;  // "player_version"
  // Files of the product: when the extractor cannot overwrite one, the product is running.
  std::vector<std::string> product_files;
  int rotational = 0;       // "Rotational"
  std::string rom_version;  // "rom_version"
  std::string language;     // custom "language", replaced by "-lan:"
  int ui_value = 0;

  std::string channel;                 // "en"
  std::wstring install_path_argument;  // "-installpath:"
  std::string install_kind;            // "normal", or "upgrade" with "-auto"
  std::string saved_language;          // conf.ini "language"
};

// The one instance, alive for the whole process.
CGlobal& Global();

}  // namespace app

#endif  // APP_GLOBAL_H_
