#include "app/prompt_texts.h"

#include "app/ini_document.h"
#include "app/prompt_fallback.h"
#include "runtime/text_encoding.h"

namespace app {

void FillFallbackPromptTexts(int group, std::wstring (&prompts)[CGlobal::kPromptCount]) {
  for (int key = 0; key < CGlobal::kPromptCount; ++key) {
    const int entry = PromptFallbackEntryForKey(key);
    prompts[key] = entry < 0 ? std::wstring() : PromptFallbackText(group, entry);
  }
}

void FillPromptTextsFromDocument(const std::string& document, std::wstring (&prompts)[CGlobal::kPromptCount]) {
  for (int key = 0; key < CGlobal::kPromptCount; ++key) {
    std::string value;
    FindIniValue(document, "INFO", PromptKeyName(key), kPromptValueMaxBytes, &value);
    prompts[key] = base::Utf8ToWide(value);
  }
}

}  // namespace app
