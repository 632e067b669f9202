#include "system/registry.h"

#include "runtime/scoped_handle_win.h"

bool RegReadString(HKEY root, const std::wstring& subkey, const std::wstring& value, std::wstring* text) {
  base::ScopedRegKey key;
  if (RegOpenKeyExW(root, subkey.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, key.receive()) != ERROR_SUCCESS) {
    return false;
  }
  wchar_t buffer[1024] = {};  // 2048 bytes: 1023 characters and the NUL
  DWORD size = sizeof(buffer);
  DWORD type = REG_NONE;
  if (RegQueryValueExW(key.get(), value.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
      ERROR_SUCCESS) {
    return false;
  }
  // A number or binary blob under the expected name is not a path or a version: its bytes read
  // as characters would be.
  if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
  // A stored string need not carry its NUL: take the stored length, up to an embedded NUL.
  size_t length = size / sizeof(wchar_t);
  bool terminated = false;
  for (size_t i = 0; i < length; ++i) {
    if (buffer[i] == L'\0') {
      length = i;
      terminated = true;
      break;
    }
  }
  if (!terminated && length >= ARRAYSIZE(buffer)) return false;  // 1024 characters, no room for the NUL
  text->assign(buffer, length);
  return true;
}

bool RegWriteString(HKEY root, const std::wstring& subkey, const std::wstring& value, const std::wstring& text) {
  base::ScopedRegKey key;
  if (RegCreateKeyExW(root, subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS | KEY_WOW64_64KEY,
                      nullptr, key.receive(), nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const DWORD size = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(key.get(), value.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), size) ==
         ERROR_SUCCESS;
}

bool RegDeleteValue(HKEY root, const std::wstring& subkey, const std::wstring& value) {
  base::ScopedRegKey key;
  if (RegOpenKeyExW(root, subkey.c_str(), 0, KEY_WRITE | KEY_WOW64_64KEY, key.receive()) != ERROR_SUCCESS) {
    return false;
  }
  RegDeleteValueW(key.get(), value.c_str());
  return true;
}
