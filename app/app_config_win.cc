#include <windows.h>
#include <shlobj.h>

#include "app/app_config.h"
#include "system/file_util.h"

namespace app {

std::wstring LocalAppDataFolder() {
  return GetSpecialFolder(CSIDL_LOCAL_APPDATA, false);
}

}  // namespace app
