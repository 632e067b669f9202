// Deleting files and folders that may be in use.
#ifndef PINDLE_SYSTEM_FILE_DELETE_H_
#define PINDLE_SYSTEM_FILE_DELETE_H_

#include <string>

// Deletes a file, clearing its attributes first. True at once when nothing is at `path` or it
// is a folder. A file that cannot be deleted (a running program, a file opened without delete
// sharing) is renamed to `path` + ".tmp" (replacing an older one) and that file is deleted; if
// the renamed file cannot be deleted either it is scheduled for deletion at the next restart.
// When even the rename is refused (a file opened without delete sharing cannot be renamed) the
// file stays under its name and that name is scheduled instead. False in all these cases.
bool DeleteFileRobust(const std::wstring& path);

// Removes the folder `path` with everything in it (shell delete of "<path>\*.*", then the
// folder itself). The result is whether the folder itself could be removed. A file at `path`
// is deleted too.
bool DeleteFolderTree(const std::wstring& path);

// Deletes everything below the folder `path` (narrow, system code page), depth first, and the
// folder itself when `remove_self`. Links to folders elsewhere (junctions, symbolic links) are
// removed, never followed. With `remove_self` the result is whether the folder was removed;
// without it the result is true.
bool DeleteFolderContents(const std::string& path, bool remove_self);

#endif  // PINDLE_SYSTEM_FILE_DELETE_H_
