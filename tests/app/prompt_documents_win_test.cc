// The installer reads its prompt documents with a reader of its own (FindIniValue) that must
// keep the rules of the Windows profile reader the documents were written for. Both read the
// same files here: the shipped documents, whose values must also come back whole, and a table
// of documents at the edges of those rules.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/ini_document.h"
#include "app/prompt_texts.h"
#include "scratch_folder.h"
#include "tests/app/prompt_document.h"

namespace {

const char* const kResources[] = {"PROMPTINFO",   "ENGPROMPTINFO", "KRPROMPTINFO", "JPPROMPTINFO",
                                  "VNPROMPTINFO", "THPROMPTINFO",  "IDPROMPTINFO", "TWPROMPTINFO"};

// GetPrivateProfileStringA with the buffer the installer used to give it.
std::string ProfileReaderValue(const std::string& path, const char* section, const char* key) {
  char buffer[app::kPromptValueMaxBytes + 1];
  const DWORD n = GetPrivateProfileStringA(section, key, "", buffer, sizeof(buffer), path.c_str());
  return std::string(buffer, n);
}

std::string OwnReaderValue(const std::string& document, const char* section, const char* key) {
  std::string value;
  app::FindIniValue(document, section, key, app::kPromptValueMaxBytes, &value);
  return value;
}

TEST(PromptDocumentWinTest, BothReadersReturnEveryShippedValueWhole) {
  for (const char* resource : kResources) {
    SCOPED_TRACE(resource);
    const std::string path = std::string(PINDLE_PROMPTS_DIR) + "/" + resource + ".ini";
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(path, &bytes)) << path;
    const PromptDocument doc = ParsePromptDocument(bytes);
    ASSERT_TRUE(doc.ok) << doc.error;
    ASSERT_FALSE(doc.values.empty());
    for (const auto& kv : doc.values) {
      EXPECT_EQ(kv.second, ProfileReaderValue(path, "INFO", kv.first.c_str())) << kv.first;
      EXPECT_EQ(kv.second, OwnReaderValue(bytes, "INFO", kv.first.c_str())) << kv.first;
    }
  }
}

TEST(PromptDocumentWinTest, OwnReaderKeepsTheProfileReadersRules) {
  const std::string long_text(600, 'x');
  struct Case {
    const char* name;
    std::string document;
    const char* section;
    const char* key;
  } cases[] = {
      {"key in another case", "[INFO]\r\nServiceError=\"a\"\r\n", "INFO", "SERVICEERROR"},
      {"section in another case", "[info]\r\nRepair=b\r\n", "INFO", "Repair"},
      {"blanks around key and value", "[INFO]\r\n  Repair \t=  Overwrite  Install \t\r\n", "INFO", "Repair"},
      {"quotes keep blanks", "[INFO]\r\nFREEDISK1=\" Low disk space on \"\r\n", "INFO", "FREEDISK1"},
      {"single quotes", "[INFO]\r\nk='x y'\r\n", "INFO", "k"},
      {"one quote stays", "[INFO]\r\nk=\"x y\r\n", "INFO", "k"},
      {"mixed quotes stay", "[INFO]\r\nk=\"x'\r\n", "INFO", "k"},
      {"empty quotes", "[INFO]\r\nk=\"\"\r\n", "INFO", "k"},
      {"inner quotes", "[INFO]\r\nk=\"a\"b\"\r\n", "INFO", "k"},
      {"398 bytes", "[INFO]\r\nk=\"" + std::string(398, 'y') + "\"\r\n", "INFO", "k"},
      {"400 bytes quoted", "[INFO]\r\nk=\"" + std::string(400, 'y') + "\"\r\n", "INFO", "k"},
      {"600 bytes quoted", "[INFO]\r\nk=\"" + long_text + "\"\r\n", "INFO", "k"},
      {"600 bytes bare", "[INFO]\r\nk=" + long_text + "\r\n", "INFO", "k"},
      {"key of another section", "[OTHER]\r\nk=1\r\n[INFO]\r\nj=2\r\n", "INFO", "k"},
      {"section after another", "[OTHER]\r\nk=1\r\n[INFO]\r\nk=2\r\n", "INFO", "k"},
      {"first of two lines", "[INFO]\r\nk=1\r\nK=2\r\n", "INFO", "k"},
      {"second section of the name", "[INFO]\r\nj=1\r\n[INFO]\r\nk=2\r\n", "INFO", "k"},
      {"no section", "k=1\r\n", "INFO", "k"},
      {"line feeds only", "[INFO]\nj=0\nk=1\n", "INFO", "k"},
      {"no break after the last line", "[INFO]\r\nk=last", "INFO", "k"},
      {"byte-order mark", "\xEF\xBB\xBF[INFO]\r\nk=1\r\n", "INFO", "k"},
      {"blanks before the section", "  [INFO]  \r\nk=1\r\n", "INFO", "k"},
      {"text after the bracket", "[INFO] x\r\nk=1\r\n", "INFO", "k"},
      {"unclosed bracket", "[INFO\r\nk=1\r\n", "INFO", "k"},
      {"key without a value", "[INFO]\r\nk\r\nk=1\r\n", "INFO", "k"},
      {"empty value", "[INFO]\r\nk=\r\n", "INFO", "k"},
      {"equals in the value", "[INFO]\r\nk=a=b\r\n", "INFO", "k"},
      {"missing key", "[INFO]\r\nj=1\r\n", "INFO", "k"},
  };
  test_support::ScratchFolder folder;
  int index = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = folder.File("case" + std::to_string(index++) + ".ini");
    ASSERT_TRUE(test_support::WriteFile(path, c.document));
    EXPECT_EQ(ProfileReaderValue(path, c.section, c.key), OwnReaderValue(c.document, c.section, c.key));
  }
}

}  // namespace
