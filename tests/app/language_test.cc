#include "app/language.h"

#include <gtest/gtest.h>

namespace app {
namespace {

struct ChoiceCase {
  const char* what;
  const char* saved;   // conf.ini "language"
  const char* custom;  // custom setting or "-lan:"
  uint16_t system_id;
  const char* code;
  int index;
  int group;
  uint16_t kept_system_id;  // stored only when the system mapping decided
  const wchar_t* main_layout;
};

const ChoiceCase kChoiceCases[] = {
    {"Japanese system", "", "", 0x0411, "lan_jp", 3, 3, 0x0411, L"JPUIMainWindow"},
    {"simplified-Chinese system", "", "", 0x0804, "lan_en", 1, 0, 0x0804, L"ENGUIMAINWINDOW"},
    {"Korean system keeps group 0", "", "", 0x0412, "lan_kr", 2, 0, 0x0412, L"KRUIMainWindow"},
    {"Taiwan system", "", "", 0x0404, "lan_tw", 14, 0, 0x0404, L"TWUIMainWindow"},
    {"saved lan_cn on an English system", "lan_cn", "", 0x0409, "lan_cn", 0, 1, 0, L"UIMAINWINDOW"},
    {"-lan: overrides and keeps the earlier group", "lan_kr", "lan_th", 0x0409, "lan_th", 11, 2, 0, L"THUIMAINWINDOW"},
    {"unknown saved code", "lan_xx", "", 0x0411, "lan_en", 1, 0, 0, L"ENGUIMAINWINDOW"},
    {"unknown custom code", "", "lan_??", 0x0411, "lan_en", 1, 0, 0x0411, L"ENGUIMAINWINDOW"},
};

TEST(ChooseLanguage, Cases) {
  for (const ChoiceCase& c : kChoiceCases) {
    LanguageChoice choice;
    ChooseLanguage(&choice, c.saved, true, c.custom, c.system_id);
    EXPECT_EQ(c.code, choice.code) << c.what;
    EXPECT_EQ(c.index, choice.index) << c.what;
    EXPECT_EQ(c.group, choice.group) << c.what;
    EXPECT_EQ(c.kept_system_id, choice.system_language_id) << c.what;
    EXPECT_STREQ(c.main_layout, LanguageForIndex(choice.index).main_layout) << c.what;
  }
}

TEST(ChooseLanguage, SavedLanguageNeedsTheInternationalEdition) {
  LanguageChoice choice;
  ChooseLanguage(&choice, "lan_cn", false, "", 0x0411);
  EXPECT_EQ("lan_jp", choice.code);
}

TEST(LanguageTable, IndexesOutsideTheTableUseEnglishLayouts) {
  EXPECT_STREQ(L"ENGUICANNOTDOWN", LanguageForIndex(5).cannot_down_layout);
  EXPECT_STREQ(L"ENGPROMPTINFO", LanguageForIndex(-1).prompt_resource);
  EXPECT_STREQ(L"IDUICANNOTDOWN", LanguageForIndex(13).cannot_down_layout);
}

}  // namespace
}  // namespace app
