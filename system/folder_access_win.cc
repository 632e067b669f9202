// Win32 side of the folder permissions (Advapi32 security API).
#include <windows.h>
#include <aclapi.h>

#include "system/folder_access.h"
#include "runtime/scoped_handle_win.h"
#include "system/failure_log.h"

bool GrantFullAccess(const std::wstring& folder) {
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    system_log::CallFailed(__LINE__, "GetFileAttributes (a folder)", folder,
                           attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : ERROR_DIRECTORY);
    return false;
  }

  PACL old_dacl = nullptr;  // points into `descriptor`
  PSECURITY_DESCRIPTOR raw_descriptor = nullptr;
  DWORD result = GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                       &old_dacl, nullptr, &raw_descriptor);
  if (result != ERROR_SUCCESS) {
    system_log::CallFailed(__LINE__, "GetNamedSecurityInfo", folder, result);
    return false;
  }
  base::ScopedLocalMemory descriptor;
  descriptor.reset(raw_descriptor);

  static const WELL_KNOWN_SID_TYPE kGroups[] = {WinWorldSid, WinBuiltinAdministratorsSid, WinBuiltinUsersSid};
  constexpr DWORD kSidBytes = 68;  // SECURITY_MAX_SID_SIZE
  BYTE sids[3][kSidBytes];
  EXPLICIT_ACCESSW entries[3] = {};
  ULONG entry_count = 0;
  for (WELL_KNOWN_SID_TYPE group : kGroups) {
    DWORD size = kSidBytes;
    if (!CreateWellKnownSid(group, nullptr, sids[entry_count], &size)) continue;
    EXPLICIT_ACCESSW& entry = entries[entry_count];
    entry.grfAccessPermissions = 0x1F01FF;  // FILE_ALL_ACCESS
    entry.grfAccessMode = GRANT_ACCESS;
    entry.grfInheritance = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
    entry.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    entry.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    entry.Trustee.ptstrName = reinterpret_cast<LPWSTR>(sids[entry_count]);
    ++entry_count;
  }
  if (entry_count == 0) {
    system_log::CallFailed(__LINE__, "CreateWellKnownSid for", folder, GetLastError());
    return false;
  }

  PACL raw_new_dacl = nullptr;
  result = SetEntriesInAclW(entry_count, entries, old_dacl, &raw_new_dacl);
  if (result != ERROR_SUCCESS) {
    system_log::CallFailed(__LINE__, "SetEntriesInAcl for", folder, result);
    return false;
  }
  base::ScopedLocalMemory new_dacl;
  new_dacl.reset(raw_new_dacl);
  std::wstring writable_path = folder;
  result = SetNamedSecurityInfoW(&writable_path[0], SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                 raw_new_dacl, nullptr);
  if (result != ERROR_SUCCESS) {
    system_log::CallFailed(__LINE__, "SetNamedSecurityInfo", folder, result);
    return false;
  }
  return true;
}
