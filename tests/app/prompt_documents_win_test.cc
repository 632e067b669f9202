// Reads every shipped prompt-text document through the Windows profile reader with the
// installer's 400-byte buffer and compares each value with the bytes in the file: a value that
// the reader cuts, unquotes differently or cannot find would show up here.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/app/prompt_document.h"

namespace {

const char* const kResources[] = {"PROMPTINFO",   "ENGPROMPTINFO", "KRPROMPTINFO", "JPPROMPTINFO",
                                  "VNPROMPTINFO", "THPROMPTINFO",  "IDPROMPTINFO", "TWPROMPTINFO"};

TEST(PromptDocumentWinTest, ProfileReaderReturnsEveryValueWhole) {
  for (const char* resource : kResources) {
    SCOPED_TRACE(resource);
    const std::string path = std::string(PINDLE_PROMPTS_DIR) + "/" + resource + ".ini";
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(path, &bytes)) << path;
    const PromptDocument doc = ParsePromptDocument(bytes);
    ASSERT_TRUE(doc.ok) << doc.error;
    ASSERT_FALSE(doc.values.empty());
    for (const auto& kv : doc.values) {
      char buffer[400];
      const DWORD n = GetPrivateProfileStringA("INFO", kv.first.c_str(), "", buffer, sizeof(buffer), path.c_str());
      EXPECT_EQ(kv.second, std::string(buffer, n)) << kv.first;
    }
  }
}

}  // namespace
