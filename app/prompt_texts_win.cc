#include <windows.h>

#include "app/prompt_fallback.h"
#include "app/prompt_texts.h"
#include "log/log_assist.h"
#include "runtime/os_error.h"
#include "runtime/text_encoding.h"
#include "system/embedded_program.h"
#include "system/file_util.h"

namespace app {
namespace {

// The prompt texts are read when the main window is built.
const char kSource[] = "UI\\UIMainWindowEx.cpp";

}  // namespace

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
  std::string document;
  uint32_t error = ERROR_FILE_NOT_FOUND;
  if (!file.empty() && ReadSmallFile(file, kPromptDocumentMaxBytes, &document, &error)) {
    FillPromptTextsFromDocument(document, global->prompts);
  } else {
    if (!file.empty() && error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
      simlog::LogAssist::GetInstance().Log(
          kSource, __LINE__, simlog::kLogLineLevel,
          simlog::LogAssist::FormatString("cannot read the prompt texts %s (%s); built-in texts used",
                                          base::WideToAnsi(file).c_str(), base::OsErrorText(error).c_str()),
          true);
    }
    FillFallbackPromptTexts(group, global->prompts);
  }
  if (!file.empty()) DeleteFileW(file.c_str());
}

}  // namespace app
