// The prompt texts of the chosen language: its document is written out of the resources to a
// temporary file at start-up and read back when the main window is built; the built-in
// fallback texts stand in when the file is gone.
#ifndef APP_PROMPT_TEXTS_H_
#define APP_PROMPT_TEXTS_H_

#include <cstddef>
#include <string>

#include "app/global.h"

namespace app {

// Fills the prompt texts from the fallback table of `group`; texts without a fallback entry
// become empty.
void FillFallbackPromptTexts(int group, std::wstring (&prompts)[CGlobal::kPromptCount]);

// The most bytes of a value the installer keeps (its profile buffer held 400 with the NUL).
constexpr size_t kPromptValueMaxBytes = 399;
// A prompt document larger than this is not one of ours; the fallback texts stand in.
constexpr size_t kPromptDocumentMaxBytes = 1 << 20;

// Fills the prompt texts from a prompt document's bytes: each key's value in section "INFO"
// (keys without regard to case, at most kPromptValueMaxBytes bytes, UTF-8); a missing key
// gives an empty text.
void FillPromptTextsFromDocument(const std::string& document, std::wstring (&prompts)[CGlobal::kPromptCount]);

// Writes the prompt-text resource named global->prompt_resource to a new temporary file
// ("VESK_" prefix) and stores its path in global->prompt_file; leaves it empty on failure.
bool WritePromptTextFile(CGlobal* global);

// Reads the 24 texts from global->prompt_file through the wide file API, or takes the fallback
// table of `group` when the file does not exist or cannot be read (logged); then deletes the
// file.
void LoadPromptTexts(CGlobal* global, int group);

}  // namespace app

#endif  // APP_PROMPT_TEXTS_H_
