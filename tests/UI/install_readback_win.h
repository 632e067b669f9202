// What an installation left, read back through the system as Windows itself would read it: the
// machine's bitness, the records of the stand-in programs (install_test_program.cc) and the
// desktop shortcut through the shell. Shared by the install-step and main-window tests.
#ifndef PINDLE_TESTS_UI_INSTALL_READBACK_WIN_H_
#define PINDLE_TESTS_UI_INSTALL_READBACK_WIN_H_

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <filesystem>
#include <string>

#include "scratch_folder.h"
#include "system/os_version.h"
#include "runtime/scoped_handle_win.h"

namespace test_support {

inline bool Is64BitWindows() {
  if (sizeof(void*) == 8) return true;
  bool ok = false;
  return IsWow64(&ok) && ok;
}

// "<command line>\n<current folder>" as the stand-in `program` wrote it; empty when it never ran.
inline std::wstring ReadRunRecord(const std::filesystem::path& program) {
  std::string bytes;
  if (!ReadFile(program.wstring() + L".ran", &bytes)) return L"";
  return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

struct ShortcutFacts {
  std::wstring target;
  std::wstring working_folder;
  std::wstring arguments;
  int show_command = -1;
};
// Read back through the shell, as Explorer would.
inline bool ReadShortcut(const std::wstring& lnk, ShortcutFacts* facts) {
  base::ScopedComInitialize com;
  base::ScopedComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(link.receive())))) {
    return false;
  }
  base::ScopedComPtr<IPersistFile> file;
  if (FAILED(link.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.receive()))) ||
      FAILED(file.get()->Load(lnk.c_str(), STGM_READ))) {
    return false;
  }
  wchar_t text[MAX_PATH] = {};
  if (link.get()->GetPath(text, MAX_PATH, nullptr, 0) != S_OK) return false;
  facts->target = text;
  text[0] = 0;
  link.get()->GetWorkingDirectory(text, MAX_PATH);
  facts->working_folder = text;
  text[0] = 0;
  link.get()->GetArguments(text, MAX_PATH);
  facts->arguments = text;
  link.get()->GetShowCmd(&facts->show_command);
  return true;
}

}  // namespace test_support

#endif  // PINDLE_TESTS_UI_INSTALL_READBACK_WIN_H_
