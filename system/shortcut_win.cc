// Win32 side of the shortcut helper: the shell-link COM object.
#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include "runtime/scoped_handle_win.h"
#include "system/shortcut.h"

bool ReadShortcutTarget(const std::wstring& lnk_path, std::wstring* target) {
  base::ScopedComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(link.receive()))) ||
      !link.get()) {
    return false;
  }
  base::ScopedComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.receive()))) || !file.get())
    return false;
  if (FAILED(file->Load(lnk_path.c_str(), STGM_READ))) return false;
  wchar_t path[MAX_PATH] = {};
  // S_FALSE means the link has no file-system target.
  if (link->GetPath(path, MAX_PATH, nullptr, 0) != S_OK) return false;
  target->assign(path);
  return true;
}
