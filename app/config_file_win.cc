#include <windows.h>

#include "app/config_file.h"
#include "runtime/text_encoding.h"
#include "system/file_util.h"

namespace app {

CConfigFile& CConfigFile::Get() {
  static CConfigFile instance;
  return instance;
}

std::string CConfigFile::ReadString(const std::string& section, const std::string& key,
                                    const std::string& default_value, const std::wstring& ini_path) {
  // The wide call, as the file is written: the profile folder may hold characters that the ANSI
  // code page cannot spell. The values (language codes, versions) are ASCII.
  wchar_t buffer[400] = {};
  GetPrivateProfileStringW(base::AnsiToWide(section).c_str(), base::AnsiToWide(key).c_str(),
                           base::AnsiToWide(default_value).c_str(), buffer, 400, ini_path.c_str());
  return base::WideToAnsi(buffer);
}

bool CConfigFile::WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                              const std::wstring& ini_path) {
  if (GetFileAttributesW(ini_path.c_str()) == INVALID_FILE_ATTRIBUTES && !CreateEmptyFile(ini_path)) return false;
  return WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), ini_path.c_str()) != FALSE;
}

std::wstring ConfigFilePath(const std::wstring& product_data_folder) {
  return product_data_folder + L"\\conf.ini";
}

}  // namespace app
