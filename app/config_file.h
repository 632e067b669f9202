// CConfigFile: conf.ini in the product data folder, which remembers the language chosen last
// time ("setting"/"language") and the installed product version ("setting"/"version").
#ifndef APP_CONFIG_FILE_H_
#define APP_CONFIG_FILE_H_

#include <string>

namespace app {

class CConfigFile {
 public:
  // The one instance (made on first use).
  static CConfigFile& Get();

  // The value, or `default_value` when the file or key is missing; at most 399 characters.
  std::string ReadString(const std::string& section, const std::string& key, const std::string& default_value,
                         const std::wstring& ini_path);
  // Creates the file and its folders first when it does not exist. A failed write is not
  // reported to the user; the result only serves the log and the tests.
  bool WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                   const std::wstring& ini_path);
};

// <product data folder>\conf.ini
std::wstring ConfigFilePath(const std::wstring& product_data_folder);

}  // namespace app

#endif  // APP_CONFIG_FILE_H_
