// The prompt documents' reader on bytes in memory: what a value is, where it is looked for, and
// what becomes of hostile or broken documents.
#include "app/ini_document.h"

#include <gtest/gtest.h>

#include <string>

#include "app/prompt_fallback.h"
#include "app/prompt_texts.h"

namespace app {
namespace {

struct Lookup {
  bool found;
  std::string value;
};

Lookup Find(const std::string& document, const char* key, size_t max_bytes = kPromptValueMaxBytes) {
  Lookup lookup;
  lookup.found = FindIniValue(document, "INFO", key, max_bytes, &lookup.value);
  return lookup;
}

TEST(IniDocumentTest, ValuesFollowTheProfileReadersRules) {
  const std::string x399(399, 'x');
  struct Case {
    const char* name;
    std::string document;
    const char* key;
    bool found;
    std::string value;
  } cases[] = {
      {"shipped form", "[INFO]\r\nServiceError=\"Server error\"\r\n", "ServiceError", true, "Server error"},
      {"key in another case", "[INFO]\r\nServiceError=\"a\"\r\n", "SERVICEERROR", true, "a"},
      {"section in another case", "[info]\r\nRepair=b\r\n", "Repair", true, "b"},
      {"blanks around key and value", "[INFO]\r\n  Repair \t=  Overwrite  Install \t\r\n", "Repair", true,
       "Overwrite  Install"},
      {"quotes keep blanks", "[INFO]\r\nFREEDISK1=\" Low disk space on \"\r\n", "FREEDISK1", true,
       " Low disk space on "},
      {"single quotes", "[INFO]\r\nk='x y'\r\n", "k", true, "x y"},
      {"one quote stays", "[INFO]\r\nk=\"x y\r\n", "k", true, "\"x y"},
      {"mixed quotes stay", "[INFO]\r\nk=\"x'\r\n", "k", true, "\"x'"},
      {"empty quotes", "[INFO]\r\nk=\"\"\r\n", "k", true, ""},
      {"a lone quote", "[INFO]\r\nk=\"\r\n", "k", true, "\""},
      {"inner quotes", "[INFO]\r\nk=\"a\"b\"\r\n", "k", true, "a\"b"},
      {"399 bytes whole", "[INFO]\r\nk=" + x399 + "\r\n", "k", true, x399},
      {"400 bytes cut", "[INFO]\r\nk=" + x399 + "z\r\n", "k", true, x399},
      {"quoted, cut before the quote", "[INFO]\r\nk=\"" + x399 + "zz\"\r\n", "k", true, x399},
      {"key of another section", "[OTHER]\r\nk=1\r\n[INFO]\r\nj=2\r\n", "k", false, ""},
      {"section after another", "[OTHER]\r\nk=1\r\n[INFO]\r\nk=2\r\n", "k", true, "2"},
      {"first of two lines", "[INFO]\r\nk=1\r\nK=2\r\n", "k", true, "1"},
      {"second section of the name", "[INFO]\r\nj=1\r\n[INFO]\r\nk=2\r\n", "k", false, ""},
      {"no section", "k=1\r\n", "k", false, ""},
      {"line feeds only", "[INFO]\nj=0\nk=1\n", "k", true, "1"},
      {"no break after the last line", "[INFO]\r\nk=last", "k", true, "last"},
      {"byte-order mark", "\xEF\xBB\xBF[INFO]\r\nk=1\r\n", "k", true, "1"},
      {"blanks before the section", "  [INFO]  \r\nk=1\r\n", "k", true, "1"},
      {"unclosed bracket", "[INFO\r\nk=1\r\n", "k", false, ""},
      {"key without a value", "[INFO]\r\nk\r\nk=1\r\n", "k", false, ""},
      {"empty value", "[INFO]\r\nk=\r\n", "k", true, ""},
      {"equals in the value", "[INFO]\r\nk=a=b\r\n", "k", true, "a=b"},
      {"NUL ends the value", std::string("[INFO]\r\nk=ab\0cd\r\n", 17), "k", true, "ab"},
      {"empty document", "", "k", false, ""},
      {"only a mark", "\xEF\xBB\xBF", "k", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Lookup lookup = Find(c.document, c.key);
    EXPECT_EQ(c.found, lookup.found);
    EXPECT_EQ(c.value, lookup.value);
  }
}

TEST(IniDocumentTest, FilledPromptTextsAreWideAndCutByBytes) {
  // "用" is three UTF-8 bytes: 133 of them fill the 399 bytes kept, the 134th is cut off.
  std::string chinese;
  for (int i = 0; i < 134; ++i) chinese += "\xE7\x94\xA8";
  const std::string document =
      "[INFO]\r\nservicEerror=\"\xD0\x9E\xD1\x88\xD0\xB8\xD0\xB1\xD0\xBA\xD0\xB0\"\r\n"
      "Fat=\"" +
      chinese + "\"\r\nInstalling=\"not read\"\r\n";
  std::wstring prompts[CGlobal::kPromptCount];
  for (std::wstring& text : prompts) text = L"stale";
  FillPromptTextsFromDocument(document, prompts);
  EXPECT_EQ(L"\u041E\u0448\u0438\u0431\u043A\u0430", prompts[PromptKeyIndex("ServiceError")]);
  EXPECT_EQ(std::wstring(133, L'\u7528'), prompts[PromptKeyIndex("Fat")]);
  for (int key = 0; key < CGlobal::kPromptCount; ++key) {
    if (key == PromptKeyIndex("ServiceError") || key == PromptKeyIndex("Fat")) continue;
    EXPECT_TRUE(prompts[key].empty()) << PromptKeyName(key) << ": a key the document lacks is empty";
  }
}

}  // namespace
}  // namespace app
