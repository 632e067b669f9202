// The installer's eight languages: the table of codes and resources, and the choice made at
// start-up from the saved language, the system language and the custom setting or "-lan:".
// Platform-free: the caller supplies the system language identifier and the saved values.
#ifndef APP_LANGUAGE_H_
#define APP_LANGUAGE_H_

#include <cstdint>
#include <string>

namespace app {

struct LanguageEntry {
  const char* code;                   // "lan_en"
  int index;                          // what the rest of the program tests (0 = simplified Chinese)
  int group;                          // fallback-text group it selects, or kGroupUnchanged
  const wchar_t* prompt_resource;     // prompt-text document ("XML" resource)
  const wchar_t* main_layout;         // main window layout
  const wchar_t* cannot_down_layout;  // cannot-download popup layout
};

constexpr int kGroupUnchanged = -1;
constexpr int kLanguageCount = 8;
extern const LanguageEntry kLanguages[kLanguageCount];

// The English entry, used for unknown codes and for indexes outside the table.
const LanguageEntry& EnglishLanguage();
// The entry of a code, or null when the code is not in the table.
const LanguageEntry* FindLanguageByCode(const std::string& code);
// The entry whose layouts an index selects (English for any index not in the table).
const LanguageEntry& LanguageForIndex(int index);

// The language state kept for the whole run.
struct LanguageChoice {
  std::string code;  // chosen code
  int index = -1;    // language index of the code
  int group = 0;     // fallback-text group; codes marked "unchanged" keep it
  std::wstring prompt_resource;
  uint16_t system_language_id = 0;  // set only when the system mapping decided
};

// Sets code, index, group and prompt resource from the table; an unknown code selects English.
void SelectLanguageByCode(LanguageChoice* choice, const std::string& code);
// Maps the system default language identifier (GetSystemDefaultLangID) and remembers it.
void SelectLanguageBySystem(LanguageChoice* choice, uint16_t system_language_id);
// Start-up choice: the saved language (when international) or else the system language; a
// custom or command-line language then overrides either.
void ChooseLanguage(LanguageChoice* choice, const std::string& saved_language, bool international_edition,
                    const std::string& custom_language, uint16_t system_language_id);

}  // namespace app

#endif  // APP_LANGUAGE_H_
