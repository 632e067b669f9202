// Shell shortcuts (.lnk files).
#ifndef PINDLE_SYSTEM_SHORTCUT_H_
#define PINDLE_SYSTEM_SHORTCUT_H_

#include <string>

// Target path of the shortcut file `lnk_path`. False when the file cannot be loaded as a shell
// link or has no file-system target. COM must be initialised on the calling thread.
bool ReadShortcutTarget(const std::wstring& lnk_path, std::wstring* target);

#endif  // PINDLE_SYSTEM_SHORTCUT_H_
