// Registry strings, always on the 64-bit view of the registry so that a 32-bit installer on
// 64-bit Windows reads and writes the same keys as the 64-bit product.
#ifndef PINDLE_SYSTEM_REGISTRY_H_
#define PINDLE_SYSTEM_REGISTRY_H_

#include <windows.h>

#include <string>

// <windows.h> maps RegDeleteValue to RegDeleteValueW; the helper below keeps its own name.
// Call RegDeleteValueW for the system function.
#ifdef RegDeleteValue
#undef RegDeleteValue
#endif

// Reads the string `value` of `root`\`subkey` (at most 1023 characters; REG_SZ or REG_EXPAND_SZ,
// taken as stored, with or without its NUL). False when the key or value is missing, of another
// type, or the text is longer.
bool RegReadString(HKEY root, const std::wstring& subkey, const std::wstring& value, std::wstring* text);

// Creates the key if needed and writes `text` as REG_SZ, with its terminating NUL.
bool RegWriteString(HKEY root, const std::wstring& subkey, const std::wstring& value, const std::wstring& text);

// Deletes `value` of `root`\`subkey`. True when the key could be opened, whether or not the
// value existed.
bool RegDeleteValue(HKEY root, const std::wstring& subkey, const std::wstring& value);

#endif  // PINDLE_SYSTEM_REGISTRY_H_
