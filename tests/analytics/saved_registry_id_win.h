// Saves the registry value "PindleId" for a test, clears it, and puts it back afterwards, so
// tests that let the reporter make its id neither see nor leave another run's id.
#ifndef TESTS_ANALYTICS_SAVED_REGISTRY_ID_WIN_H_
#define TESTS_ANALYTICS_SAVED_REGISTRY_ID_WIN_H_

#include <windows.h>

#include <string>
#include <vector>

#include "analytics/distinct_id.h"

class SavedRegistryId {
 public:
  SavedRegistryId() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, event_analytics::kDistinctIdKey, 0, KEY_READ | KEY_WOW64_64KEY, &key) ==
        ERROR_SUCCESS) {
      DWORD size = 0;
      if (RegQueryValueExW(key, event_analytics::kDistinctIdValue, nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
        data_.resize(size);
        had_value_ = RegQueryValueExW(key, event_analytics::kDistinctIdValue, nullptr, &type_, data_.data(), &size) ==
                     ERROR_SUCCESS;
      }
      RegCloseKey(key);
    }
    Clear();
  }
  ~SavedRegistryId() {
    Clear();
    if (had_value_) SetRaw(type_, data_.data(), static_cast<DWORD>(data_.size()));
  }
  SavedRegistryId(const SavedRegistryId&) = delete;
  SavedRegistryId& operator=(const SavedRegistryId&) = delete;

  static bool Clear() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, event_analytics::kDistinctIdKey, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, &key) !=
        ERROR_SUCCESS) {
      return true;  // no key, no value
    }
    const LONG result = RegDeleteValueW(key, event_analytics::kDistinctIdValue);
    RegCloseKey(key);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
  }
  static bool SetRaw(DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, event_analytics::kDistinctIdKey, 0, nullptr, 0,
                        KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &key, nullptr) != ERROR_SUCCESS) {
      return false;
    }
    const LONG result =
        RegSetValueExW(key, event_analytics::kDistinctIdValue, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
  }
  static bool SetString(const std::wstring& text) {
    return SetRaw(REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }
  // The stored value if it is a REG_SZ; false for none or another type.
  static bool ReadString(std::wstring* text) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, event_analytics::kDistinctIdKey, 0, KEY_READ | KEY_WOW64_64KEY, &key) !=
        ERROR_SUCCESS) {
      return false;
    }
    wchar_t buffer[1024] = {};
    DWORD size = sizeof(buffer) - sizeof(wchar_t);
    DWORD type = 0;
    const LONG result = RegQueryValueExW(key, event_analytics::kDistinctIdValue, nullptr, &type,
                                         reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_SZ) return false;
    *text = buffer;
    return true;
  }

 private:
  bool had_value_ = false;
  DWORD type_ = 0;
  std::vector<BYTE> data_;
};

#endif  // TESTS_ANALYTICS_SAVED_REGISTRY_ID_WIN_H_
