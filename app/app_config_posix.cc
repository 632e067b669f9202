#include <cstdlib>

#include "app/app_config.h"
#include "runtime/text_encoding.h"

namespace app {

std::wstring LocalAppDataFolder() {
  const char* folder = std::getenv("TMPDIR");
  return base::Utf8ToWide(folder && *folder ? folder : "/tmp");
}

}  // namespace app
