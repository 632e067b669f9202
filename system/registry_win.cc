#include "system/registry.h"

#include "runtime/scoped_handle_win.h"
#include "runtime/text_encoding.h"
#include "system/failure_log.h"

namespace {

// The key and value a failure concerns, as a support engineer would look them up.
std::wstring ValueName(HKEY root, const std::wstring& subkey, const std::wstring& value) {
  return system_log::RegistryKeyName(root, subkey) + L" \"" + value + L"\"";
}

}  // namespace

bool RegReadString(HKEY root, const std::wstring& subkey, const std::wstring& value, std::wstring* text) {
  base::ScopedRegKey key;
  LONG result = RegOpenKeyExW(root, subkey.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, key.receive());
  // A missing key or value is an answer (nothing recorded yet), not a failure.
  if (result != ERROR_SUCCESS) {
    if (result != ERROR_FILE_NOT_FOUND) {
      system_log::CallFailed(__LINE__, "RegOpenKeyEx", system_log::RegistryKeyName(root, subkey), result);
    }
    return false;
  }
  wchar_t buffer[1024] = {};  // 2048 bytes: 1023 characters and the NUL
  DWORD size = sizeof(buffer);
  DWORD type = REG_NONE;
  result = RegQueryValueExW(key.get(), value.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  if (result != ERROR_SUCCESS) {
    if (result != ERROR_FILE_NOT_FOUND) {
      system_log::CallFailed(__LINE__, "RegQueryValueEx", ValueName(root, subkey, value), result);
    }
    return false;
  }
  // A number or binary blob under the expected name is not a path or a version: its bytes read
  // as characters would be.
  if (type != REG_SZ && type != REG_EXPAND_SZ) {
    system_log::Failed(__LINE__, "registry value " + base::WideToAnsi(ValueName(root, subkey, value)) +
                                     " is not a string (type " + std::to_string(type) + ")");
    return false;
  }
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
  if (!terminated && length >= ARRAYSIZE(buffer)) {  // 1024 characters, no room for the NUL
    system_log::Failed(__LINE__, "registry value " + base::WideToAnsi(ValueName(root, subkey, value)) + " is too long");
    return false;
  }
  text->assign(buffer, length);
  return true;
}

bool RegWriteString(HKEY root, const std::wstring& subkey, const std::wstring& value, const std::wstring& text) {
  base::ScopedRegKey key;
  LONG result = RegCreateKeyExW(root, subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, key.receive(), nullptr);
  if (result != ERROR_SUCCESS) {
    system_log::CallFailed(__LINE__, "RegCreateKeyEx", system_log::RegistryKeyName(root, subkey), result);
    return false;
  }
  const DWORD size = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  result = RegSetValueExW(key.get(), value.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), size);
  if (result != ERROR_SUCCESS) {
    system_log::CallFailed(__LINE__, "RegSetValueEx", ValueName(root, subkey, value), result);
    return false;
  }
  return true;
}

bool RegDeleteValue(HKEY root, const std::wstring& subkey, const std::wstring& value) {
  base::ScopedRegKey key;
  const LONG result = RegOpenKeyExW(root, subkey.c_str(), 0, KEY_WRITE | KEY_WOW64_64KEY, key.receive());
  if (result != ERROR_SUCCESS) {
    // Nothing to delete under a key that does not exist.
    if (result != ERROR_FILE_NOT_FOUND) {
      system_log::CallFailed(__LINE__, "RegOpenKeyEx", system_log::RegistryKeyName(root, subkey), result);
    }
    return false;
  }
  RegDeleteValueW(key.get(), value.c_str());
  return true;
}
