#include "UI/folder_dialog.h"

#include "runtime/scoped_handle_win.h"

namespace installer {

const wchar_t kFolderDialogTitle[] = L"请选择文件夹";

BROWSEINFOW FolderDialogParameters(HWND owner, wchar_t* display_name) {
  BROWSEINFOW info = {};
  info.hwndOwner = owner;
  info.pszDisplayName = display_name;
  info.lpszTitle = kFolderDialogTitle;
  info.ulFlags = kFolderDialogFlags;
  return info;
}

bool ChooseInstallFolder(HWND owner, std::wstring* folder) {
  wchar_t display_name[MAX_PATH] = {};
  BROWSEINFOW info = FolderDialogParameters(owner, display_name);
  base::ScopedCoTaskMemory chosen(SHBrowseForFolderW(&info));
  if (!chosen.get()) return false;  // cancelled
  wchar_t path[MAX_PATH + 1] = {};
  if (!SHGetPathFromIDListW(static_cast<PCIDLIST_ABSOLUTE>(chosen.get()), path)) return false;
  *folder = path;
  return true;
}

}  // namespace installer
