#include "app/prompt_texts.h"

#include "app/prompt_fallback.h"

namespace app {

void FillFallbackPromptTexts(int group, std::wstring (&prompts)[CGlobal::kPromptCount]) {
  for (int key = 0; key < CGlobal::kPromptCount; ++key) {
    const int entry = PromptFallbackEntryForKey(key);
    prompts[key] = entry < 0 ? std::wstring() : PromptFallbackText(group, entry);
  }
}

}  // namespace app
