// The folder choice of the custom panel's "id_btn_installdir": the shell's modal folder dialog.
#ifndef UI_FOLDER_DIALOG_H_
#define UI_FOLDER_DIALOG_H_

#include <windows.h>

#include <shlobj.h>

#include <string>

namespace installer {

// Title and flags of the dialog: "请选择文件夹", BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE.
extern const wchar_t kFolderDialogTitle[];
constexpr UINT kFolderDialogFlags = 65;

// Runs the dialog owned by `owner` (COM must be initialised on the thread for the new dialog
// style). True with the chosen folder (at most 260 characters); false on cancel or when the
// choice is not a file-system folder.
bool ChooseInstallFolder(HWND owner, std::wstring* folder);

// The dialog's parameter block, for its test: the dialog itself waits for a person.
BROWSEINFOW FolderDialogParameters(HWND owner, wchar_t* display_name);

}  // namespace installer

#endif  // UI_FOLDER_DIALOG_H_
