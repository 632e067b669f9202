#include "UI/desktop_shortcut.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include "runtime/scoped_handle_win.h"

namespace installer {

bool WriteShortcut(const std::wstring& lnk_path, const std::wstring& target, const std::wstring& working_folder,
                   long* hresult) {
  base::ScopedComInitialize com;
  HRESULT result = com.result();
  if (!com.usable()) {
    *hresult = result;
    return false;
  }
  base::ScopedComPtr<IShellLinkW> link;
  result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                            reinterpret_cast<void**>(link.receive()));
  base::ScopedComPtr<IPersistFile> file;
  if (SUCCEEDED(result)) result = link.get()->SetPath(target.c_str());
  if (SUCCEEDED(result)) result = link.get()->SetArguments(L"");
  if (SUCCEEDED(result)) result = link.get()->SetShowCmd(SW_SHOW);
  if (SUCCEEDED(result)) result = link.get()->SetWorkingDirectory(working_folder.c_str());
  if (SUCCEEDED(result))
    result = link.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.receive()));
  if (SUCCEEDED(result)) result = file.get()->Save(lnk_path.c_str(), TRUE);
  *hresult = result;
  return SUCCEEDED(result);
}

}  // namespace installer
