#include "system/failure_log.h"

#include <cstdio>

#include "log/log_assist.h"
#include "runtime/os_error.h"
#include "runtime/text_encoding.h"

namespace system_log {

namespace {

const char kLogSource[] = "system\\failure_log";

void Write(int line, const std::string& message) {
  simlog::LogAssist::GetInstance().Log(kLogSource, line, simlog::kLogLineLevel, message, true);
}

std::string Subject(const char* call, const std::wstring& object) {
  std::string subject = call;
  if (!object.empty()) subject += " " + base::WideToAnsi(object);
  return subject;
}

}  // namespace

void CallFailed(int line, const char* call, const std::wstring& object, unsigned long error) {
  Write(line, Subject(call, object) + " failed: " + base::OsErrorText(error));
}

void ComCallFailed(int line, const char* call, const std::wstring& object, HRESULT result) {
  char code[16];
  std::snprintf(code, sizeof code, "0x%08lx", static_cast<unsigned long>(result));
  // Most HRESULTs of the shell and COM have a system text under their own number.
  std::string text = base::OsErrorText(static_cast<unsigned long>(result));
  const size_t colon = text.find(": ");
  if (colon != std::string::npos) text.erase(0, colon + 2);
  Write(line, Subject(call, object) + " failed: HRESULT " + code + ": " + text);
}

void StatusCallFailed(int line, const char* call, const std::wstring& object, long status) {
  char code[16];
  std::snprintf(code, sizeof code, "0x%08lx", static_cast<unsigned long>(status));
  Write(line, Subject(call, object) + " failed: NTSTATUS " + code);
}

void Failed(int line, const std::string& message) {
  Write(line, message);
}

std::wstring RegistryKeyName(HKEY root, const std::wstring& subkey) {
  const wchar_t* name = L"(key)";
  if (root == HKEY_CLASSES_ROOT) {
    name = L"HKEY_CLASSES_ROOT";
  } else if (root == HKEY_CURRENT_USER) {
    name = L"HKEY_CURRENT_USER";
  } else if (root == HKEY_LOCAL_MACHINE) {
    name = L"HKEY_LOCAL_MACHINE";
  } else if (root == HKEY_USERS) {
    name = L"HKEY_USERS";
  } else if (root == HKEY_CURRENT_CONFIG) {
    name = L"HKEY_CURRENT_CONFIG";
  }
  return subkey.empty() ? name : std::wstring(name) + L"\\" + subkey;
}

}  // namespace system_log
