// Prompt-text keys and the built-in fallback texts.
//
// The installer reads its prompt texts (error and hint messages) from a per-language INI
// document embedded in the executable. When that document cannot be written out or read,
// a smaller built-in table of texts stands in for five language groups. Both are plain data
// here so the loader, the tests and the tools share one list of keys and one table.
#ifndef PINDLE_APP_PROMPT_FALLBACK_H_
#define PINDLE_APP_PROMPT_FALLBACK_H_

// Keys read from section "INFO" of a prompt-text document, in reading order.
constexpr int kPromptKeyCount = 24;

// Key name of the prompt text at `key_index` (0 = "ServiceError" ... 23 = "FREEDISK2");
// nullptr outside 0..kPromptKeyCount-1.
const char* PromptKeyName(int key_index);

// Index of `key` in the reading order (exact spelling), or -1 for a key the installer
// does not read.
int PromptKeyIndex(const char* key);

// Language groups of the fallback table.
enum PromptFallbackGroup {
  kPromptGroupEnglish = 0,
  kPromptGroupSimplifiedChinese = 1,
  kPromptGroupKorean = 2,
  kPromptGroupJapanese = 3,
  kPromptGroupVietnamese = 4,
};
constexpr int kPromptFallbackGroupCount = 5;
constexpr int kPromptFallbackEntryCount = 22;

// Entry `entry` of language group `group`. Entries 17 to 21 are empty in every group.
// Never nullptr: an index outside the table gives an empty string, so a bad language group
// degrades to empty prompt texts instead of a crash.
const wchar_t* PromptFallbackText(int group, int entry);

// The fallback entry that fills the prompt text at `key_index`, or -1 when the fallback leaves
// that prompt text empty (it covers 16 of the 24 keys).
int PromptFallbackEntryForKey(int key_index);

#endif  // PINDLE_APP_PROMPT_FALLBACK_H_
