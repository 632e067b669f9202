#include "app/language.h"

namespace app {

const LanguageEntry kLanguages[kLanguageCount] = {
    {"lan_cn", 0, 1, L"PROMPTINFO", L"UIMAINWINDOW", L"UICANNOTDOWN"},
    {"lan_en", 1, 0, L"ENGPROMPTINFO", L"ENGUIMAINWINDOW", L"ENGUICANNOTDOWN"},
    {"lan_kr", 2, 2, L"KRPROMPTINFO", L"KRUIMainWindow", L"KRUICANNOTDOWN"},
    {"lan_jp", 3, 3, L"JPPROMPTINFO", L"JPUIMainWindow", L"JPUICANNOTDOWN"},
    {"lan_vn", 4, 4, L"VNPROMPTINFO", L"VNUIMainWindow", L"VNUICANNOTDOWN"},
    {"lan_th", 11, kGroupUnchanged, L"THPROMPTINFO", L"THUIMAINWINDOW", L"THUICANNOTDOWN"},
    {"lan_id", 13, kGroupUnchanged, L"IDPROMPTINFO", L"IDUIMAINWINDOW", L"IDUICANNOTDOWN"},
    {"lan_tw", 14, kGroupUnchanged, L"TWPROMPTINFO", L"TWUIMainWindow", L"TWUICANNOTDOWN"},
};

const LanguageEntry& EnglishLanguage() {
  return kLanguages[1];
}

const LanguageEntry* FindLanguageByCode(const std::string& code) {
  for (const LanguageEntry& entry : kLanguages) {
    if (code == entry.code) return &entry;
  }
  return nullptr;
}

const LanguageEntry& LanguageForIndex(int index) {
  for (const LanguageEntry& entry : kLanguages) {
    if (entry.index == index) return entry;
  }
  return EnglishLanguage();
}

namespace {

void Apply(LanguageChoice* choice, const LanguageEntry& entry, int group) {
  choice->code = entry.code;
  choice->index = entry.index;
  if (group != kGroupUnchanged) choice->group = group;
  choice->prompt_resource = entry.prompt_resource;
}

}  // namespace

void SelectLanguageByCode(LanguageChoice* choice, const std::string& code) {
  const LanguageEntry* entry = FindLanguageByCode(code);
  if (!entry) entry = &EnglishLanguage();
  Apply(choice, *entry, entry->group);
}

// The system mapping moves the fallback group only for Japanese and for English; the other
// system languages keep the group they had (unlike choosing the same code explicitly).
void SelectLanguageBySystem(LanguageChoice* choice, uint16_t system_language_id) {
  struct SystemLanguage {
    uint16_t id;
    const char* code;
    int group;
  };
  static const SystemLanguage kMapping[] = {
      {0x0404, "lan_tw", kGroupUnchanged}, {0x0411, "lan_jp", 3},
      {0x0412, "lan_kr", kGroupUnchanged}, {0x041E, "lan_th", kGroupUnchanged},
      {0x0421, "lan_id", kGroupUnchanged}, {0x042A, "lan_vn", kGroupUnchanged},
  };
  choice->system_language_id = system_language_id;
  for (const SystemLanguage& mapping : kMapping) {
    if (mapping.id == system_language_id) {
      Apply(choice, *FindLanguageByCode(mapping.code), mapping.group);
      return;
    }
  }
  Apply(choice, EnglishLanguage(), 0);
}

void ChooseLanguage(LanguageChoice* choice, const std::string& saved_language, bool international_edition,
                    const std::string& custom_language, uint16_t system_language_id) {
  if (!saved_language.empty() && international_edition) {
    SelectLanguageByCode(choice, saved_language);
  } else {
    SelectLanguageBySystem(choice, system_language_id);
  }
  if (!custom_language.empty()) SelectLanguageByCode(choice, custom_language);
}

}  // namespace app
