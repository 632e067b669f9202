// Win32 side of the shortcut helper: the shell-link COM object.
#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include "runtime/scoped_handle_win.h"
#include "system/failure_log.h"
#include "system/shortcut.h"

bool ReadShortcutTarget(const std::wstring& lnk_path, std::wstring* target) {
  base::ScopedComPtr<IShellLinkW> link;
  HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                    reinterpret_cast<void**>(link.receive()));
  if (FAILED(result) || !link.get()) {
    system_log::ComCallFailed(__LINE__, "CoCreateInstance(ShellLink) for", lnk_path, result);
    return false;
  }
  base::ScopedComPtr<IPersistFile> file;
  result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.receive()));
  if (FAILED(result) || !file.get()) {
    system_log::ComCallFailed(__LINE__, "QueryInterface(IPersistFile) for", lnk_path, result);
    return false;
  }
  result = file->Load(lnk_path.c_str(), STGM_READ);
  if (FAILED(result)) {
    system_log::ComCallFailed(__LINE__, "IPersistFile::Load", lnk_path, result);
    return false;
  }
  wchar_t path[MAX_PATH] = {};
  // S_FALSE means the link has no file-system target.
  if (link->GetPath(path, MAX_PATH, nullptr, 0) != S_OK) return false;
  target->assign(path);
  return true;
}
