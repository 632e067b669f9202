#include <windows.h>

#include "app/prompt_fallback.h"
#include "app/prompt_texts.h"
#include "runtime/text_encoding.h"
#include "system/embedded_program.h"

namespace app {

bool WritePromptTextFile(CGlobal* global) {
  global->prompt_file.clear();
  HRSRC resource = FindResourceW(nullptr, global->prompt_resource.c_str(), L"XML");
  if (!resource) return false;
  wchar_t folder[MAX_PATH] = {};
  wchar_t path[MAX_PATH] = {};
  if (!GetTempPathW(MAX_PATH, folder) || !GetTempFileNameW(folder, L"VESK_", 0, path)) return false;
  if (!WriteResourceToFile(path, global->prompt_resource.c_str(), L"XML")) {
    DeleteFileW(path);
    return false;
  }
  global->prompt_file = path;
  return true;
}

void LoadPromptTexts(CGlobal* global, int group) {
  const std::wstring& file = global->prompt_file;
  if (!file.empty() && GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES) {
    const std::string path = base::WideToAnsi(file);
    for (int key = 0; key < CGlobal::kPromptCount; ++key) {
      char value[400] = {};
      GetPrivateProfileStringA("INFO", PromptKeyName(key), "", value, sizeof(value), path.c_str());
      global->prompts[key] = base::Utf8ToWide(value);
    }
  } else {
    FillFallbackPromptTexts(group, global->prompts);
  }
  if (!file.empty()) DeleteFileW(file.c_str());
}

}  // namespace app
