// Shortcuts and folder permissions against Wine's shell and security implementation.
#include <windows.h>
#include <aclapi.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "system/folder_access.h"
#include "system/shortcut.h"
#include "tests/system/win_test_support.h"

namespace {

class ComScope {
 public:
  ComScope() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComScope() {
    if (ok_) CoUninitialize();
  }

 private:
  bool ok_;
};

// Writes a shortcut to `target` with the shell's own link object.
bool MakeShortcut(const std::wstring& lnk, const std::wstring& target) {
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link)))) {
    return false;
  }
  bool ok = SUCCEEDED(link->SetPath(target.c_str()));
  IPersistFile* file = nullptr;
  ok = ok && SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)));
  ok = ok && SUCCEEDED(file->Save(lnk.c_str(), TRUE));
  if (file) file->Release();
  link->Release();
  return ok;
}

bool SamePathNoCase(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

TEST(ShortcutTest, TargetOfAShortcutTheTestCreates) {
  ComScope com;
  ScratchFolder folder;
  const std::wstring target = folder / L"Vesk Player.exe";
  ASSERT_TRUE(WriteFileBytes(target, "MZ"));
  const std::wstring lnk = folder / L"Vesk.lnk";
  ASSERT_TRUE(MakeShortcut(lnk, target));

  std::wstring read;
  ASSERT_TRUE(ReadShortcutTarget(lnk, &read));
  EXPECT_TRUE(SamePathNoCase(read, target)) << read;

  EXPECT_FALSE(ReadShortcutTarget(folder / L"missing.lnk", &read));
  ASSERT_TRUE(WriteFileBytes(folder / L"broken.lnk", "not a shell link"));
  EXPECT_FALSE(ReadShortcutTarget(folder / L"broken.lnk", &read));
}

// Rights that the folder's access list allows `group`, and whether some allowing entry for the
// group is inherited by files and folders below.
struct GroupRights {
  ACCESS_MASK mask = 0;
  bool inherited_below = false;
};

GroupRights RightsOf(const std::wstring& folder, WELL_KNOWN_SID_TYPE group) {
  GroupRights rights;
  BYTE sid[SECURITY_MAX_SID_SIZE];
  DWORD sid_size = sizeof(sid);
  if (!CreateWellKnownSid(group, nullptr, sid, &sid_size)) return rights;
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                            &descriptor) != ERROR_SUCCESS) {
    return rights;
  }
  for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
    void* ace = nullptr;
    if (!GetAce(dacl, i, &ace)) continue;
    const ACCESS_ALLOWED_ACE* allowed = static_cast<const ACCESS_ALLOWED_ACE*>(ace);
    if (allowed->Header.AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
    if (!EqualSid(const_cast<DWORD*>(&allowed->SidStart), sid)) continue;
    rights.mask |= allowed->Mask;
    const BYTE both = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
    if ((allowed->Header.AceFlags & both) == both) rights.inherited_below = true;
  }
  LocalFree(descriptor);
  return rights;
}

bool RunningOnWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

TEST(FolderAccessTest, FullControlForTheThreeGroups) {
  ScratchFolder folder;
  const std::wstring target = folder / L"product";
  ASSERT_TRUE(CreateDirectoryW(target.c_str(), nullptr));
  ASSERT_TRUE(GrantFullAccess(target));

  // Wine keeps no access lists on files: it maps the list onto the Unix mode bits and shows
  // them back as entries for the system, the owner and Everyone. What survives is Everyone's
  // right to write and execute, which it lacks on a fresh folder.
  const GroupRights everyone = RightsOf(target, WinWorldSid);
  EXPECT_EQ(everyone.mask & FILE_GENERIC_WRITE, static_cast<ACCESS_MASK>(FILE_GENERIC_WRITE));
  EXPECT_EQ(everyone.mask & FILE_GENERIC_EXECUTE, static_cast<ACCESS_MASK>(FILE_GENERIC_EXECUTE));
  EXPECT_TRUE(everyone.inherited_below);
  if (!RunningOnWine()) {
    for (WELL_KNOWN_SID_TYPE group : {WinWorldSid, WinBuiltinAdministratorsSid, WinBuiltinUsersSid}) {
      const GroupRights rights = RightsOf(target, group);
      EXPECT_EQ(rights.mask & 0x1F01FF, 0x1F01FFu) << group;
      EXPECT_TRUE(rights.inherited_below) << group;
    }
  }
  EXPECT_TRUE(GrantFullAccess(target)) << "granting twice is harmless";
}

TEST(FolderAccessTest, OnlyForAnExistingFolder) {
  ScratchFolder folder;
  EXPECT_FALSE(GrantFullAccess(folder / L"missing"));
  ASSERT_TRUE(WriteFileBytes(folder / L"file", "x"));
  EXPECT_FALSE(GrantFullAccess(folder / L"file"));
}

}  // namespace
