// The start-up steps that read the system and fill CGlobal: the built-in custom settings, the
// language, the process-wide identifiers and the folders. Called by the entry in this order.
#ifndef APP_STARTUP_H_
#define APP_STARTUP_H_

#include <string>

namespace app {

// Process-wide values kept outside CGlobal.
struct ProcessValues {
  std::string device_id;              // MAC address text of a network adapter
  std::string default_channel_token;  // of the language: index 0 has its own
  std::string second_key;
  void* instance = nullptr;             // the program's module
  unsigned taskbar_button_created = 0;  // registered "TaskbarButtonCreated" message
  int language_group = 0;               // selects the built-in fallback texts
};
ProcessValues& Process();

// Parses the "CUSTOM_SETTING" resource into CGlobal; defaults stay when it is missing or broken.
bool ReadCustomSettings();
// Reads conf.ini's language and chooses the language (saved, system, then custom or "-lan:").
void ChooseLanguageAtStartup();
// Device identifier, then the default channel token and second key of the chosen language.
void StoreDeviceIdAndToken();
// The custom "token" when set, else the default token of the language.
std::string EffectiveChannelToken();
// Local application data, the data folders, the log, and the default install folder.
void PrepareFolders();

}  // namespace app

#endif  // APP_STARTUP_H_
