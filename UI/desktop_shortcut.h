// Writing a shell shortcut (.lnk) to a program.
#ifndef PINDLE_UI_DESKTOP_SHORTCUT_H_
#define PINDLE_UI_DESKTOP_SHORTCUT_H_

#include <string>

namespace installer {

// A shortcut at `lnk_path` to `target`, no arguments, shown normally (SW_SHOW), started in
// `working_folder`. COM is initialised for the call where the thread has not done so. False
// with the failing HRESULT in `*hresult`.
bool WriteShortcut(const std::wstring& lnk_path, const std::wstring& target, const std::wstring& working_folder,
                   long* hresult);

}  // namespace installer

#endif  // PINDLE_UI_DESKTOP_SHORTCUT_H_
