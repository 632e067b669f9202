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
  char buffer[400] = {};
  const std::string path = base::WideToAnsi(ini_path);
  GetPrivateProfileStringA(section.c_str(), key.c_str(), default_value.c_str(), buffer, sizeof(buffer), path.c_str());
  return buffer;
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
