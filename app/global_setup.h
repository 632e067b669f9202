// How start-up fills CGlobal from its sources: the custom settings, the command line, the
// language choice and the folder rules. Platform-free: the caller supplies the facts it read
// from the system (environment, shell folders, drive types).
#ifndef APP_GLOBAL_SETUP_H_
#define APP_GLOBAL_SETUP_H_

#include <string>

#include "app/command_line.h"
#include "app/custom_settings.h"
#include "app/global.h"
#include "app/language.h"

namespace app {

// Stores the known keys; "vesk_exe" and "vesk_uninstall" are also appended to the product
// file list, after its two built-in names.
void ApplyCustomSettings(const CustomSettings& settings, CGlobal* global);

// Stores the options, then sets debug when `debug_environment` (the value of the debug
// environment variable) is non-empty.
void ApplyCommandLine(const CommandLineOptions& options, const std::wstring& debug_environment, CGlobal* global);

// Stores the language choice and names the shortcuts after it.
void ApplyLanguage(const LanguageChoice& choice, CGlobal* global);

// The folder that holds the default install folder: Program Files of the system (or the fixed
// "C:\Program Files" before Vista), replaced by "D:\Program Files" when D: is a fixed drive.
std::wstring DefaultInstallRoot(int os_version_code, const std::wstring& program_files_folder, bool d_drive_is_fixed);

// The "-installpath:" value when given, else root + "\" + the product name.
std::wstring InstallFolder(const std::wstring& install_path_argument, const std::wstring& root,
                           const std::wstring& product_name);

}  // namespace app

#endif  // APP_GLOBAL_SETUP_H_
