#include "UI/installer_services.h"

#include "app/prompt_fallback.h"

namespace installer {

std::wstring PromptTextOf(const app::CGlobal& global, const char* key) {
  const int index = PromptKeyIndex(key);
  if (index < 0 || index >= app::CGlobal::kPromptCount) return std::wstring();
  return global.prompts[index];
}

}  // namespace installer
