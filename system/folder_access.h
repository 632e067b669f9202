// Folder permissions: lets every user of the machine use the product's folders.
#ifndef PINDLE_SYSTEM_FOLDER_ACCESS_H_
#define PINDLE_SYSTEM_FOLDER_ACCESS_H_

#include <string>

// Adds inheritable full-control entries (all file rights, inherited by files and subfolders)
// for Everyone, Administrators and Users to the folder's access list, keeping the entries it
// has. Groups whose identifier cannot be made are left out. False when `folder` is not an
// existing folder, its access list cannot be read, no group could be made, or the new list
// cannot be set.
bool GrantFullAccess(const std::wstring& folder);

#endif  // PINDLE_SYSTEM_FOLDER_ACCESS_H_
