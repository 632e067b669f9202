// The one line a failed call of the system library writes, where it fails: the call, what it
// was made on (a path, a registry key, a command line) and the cause, the system error number
// and text or the HRESULT. The callers above only decide what the failure means for them; they
// do not log it again. Windows only.
//
//   "RegCreateKeyEx HKEY_CURRENT_USER\Software\Pindle failed: 5: Access is denied"
#ifndef PINDLE_SYSTEM_FAILURE_LOG_H_
#define PINDLE_SYSTEM_FAILURE_LOG_H_

#include <windows.h>

#include <string>

namespace system_log {

// `line` is the caller's (__LINE__); `error` as GetLastError() or a registry call returned it.
void CallFailed(int line, const char* call, const std::wstring& object, unsigned long error);
// For the COM calls.
void ComCallFailed(int line, const char* call, const std::wstring& object, HRESULT result);
// For the CNG calls, which answer an NTSTATUS.
void StatusCallFailed(int line, const char* call, const std::wstring& object, long status);
// A failure that no error code describes (a missing resource, a program past its time limit).
void Failed(int line, const std::string& message);

// "HKEY_LOCAL_MACHINE\<subkey>" (the root by name for the five predefined keys).
std::wstring RegistryKeyName(HKEY root, const std::wstring& subkey);

}  // namespace system_log

#endif  // PINDLE_SYSTEM_FAILURE_LOG_H_
