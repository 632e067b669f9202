// Pindle_unload.exe: the demo product's uninstaller. It removes what the installer wrote for the
// installation it belongs to, the one whose bin folder holds it:
//   - the SetupInfo values "InstallPath" and "unInstallPath" (and their keys once empty),
//   - the uninstall entry of the product,
//   - the Run value of the current user,
//   - every desktop shortcut whose target is the product's main program,
//   - the installation folder with everything in it.
// Registry values and shortcuts are removed only when they point into this installation, so a
// second installation elsewhere keeps its own. It asks first unless given "-silent".
//
// The program cannot delete its own file while it runs, so once everything else is gone it
// starts a copy of itself from the temporary folder ("-finish:<install folder> -after:<pid>"),
// which waits for this process to end, removes the folder and schedules its own file for
// deletion at the next restart.
//
// Exit codes: 0 everything was removed, 1 something could not be removed (each failure is
// written to the standard error stream with its cause), 2 wrong command line or not inside an
// installation's bin folder, 3 the user declined.
#include <shlobj.h>
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "demo/demo_record_win.h"
#include "system/os_version.h"
#include "runtime/scoped_handle_win.h"
#include "system/shortcut.h"

namespace {

const int kRemoved = 0;
const int kIncomplete = 1;
const int kUsage = 2;
const int kDeclined = 3;

const wchar_t kProduct[] = L"Pindle";  // the custom setting `vesk`
const wchar_t kMainProgram[] = L"Pindle.exe";
const wchar_t kUninstaller[] = L"Pindle_unload.exe";
const wchar_t kLoader[] = L"pindleloader.exe";
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const DWORD kFinishWaitMs = 30000;

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

bool Is64BitWindows() {
  return sizeof(void*) == 8 || IsWow64(nullptr);
}

// Reads a REG_SZ value of an open key; false when missing or of another type.
bool ReadString(HKEY key, const wchar_t* value, std::wstring* text) {
  wchar_t buffer[1024];
  DWORD type = 0;
  DWORD size = sizeof(buffer) - sizeof(wchar_t);
  if (::RegQueryValueExW(key, value, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return false;
  }
  buffer[size / sizeof(wchar_t)] = L'\0';
  *text = buffer;
  return true;
}

class Uninstall {
 public:
  explicit Uninstall(const std::wstring& install_folder) : install_(install_folder) {}

  void RemoveRegistry() {
    const std::wstring software = Is64BitWindows() ? L"SOFTWARE\\Wow6432Node\\" : L"SOFTWARE\\";
    const std::wstring product_key = software + kProduct;
    const std::wstring setup_key = product_key + L"\\SetupInfo";
    RemoveValuesNamingUs(HKEY_LOCAL_MACHINE, setup_key, {L"InstallPath", L"unInstallPath"}, install_);
    RemoveKeyIfEmpty(HKEY_LOCAL_MACHINE, setup_key);
    RemoveKeyIfEmpty(HKEY_LOCAL_MACHINE, product_key);

    const std::wstring uninstall_key = software + L"Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + kProduct;
    std::wstring uninstall_string;
    {
      base::ScopedRegKey key;
      if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, uninstall_key.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, key.receive()) ==
              ERROR_SUCCESS &&
          ReadString(key.get(), L"UninstallString", &uninstall_string) &&
          !SamePath(uninstall_string, install_ + L"\\bin\\" + kUninstaller)) {
        // The entry belongs to another installation: it stays.
        uninstall_string.clear();
      }
    }
    if (!uninstall_string.empty()) {
      RemoveValues(HKEY_LOCAL_MACHINE, uninstall_key,
                   {L"UninstallString", L"DisplayIcon", L"DisplayVersion", L"DisplayName", L"Publisher"});
      RemoveKeyIfEmpty(HKEY_LOCAL_MACHINE, uninstall_key);
    }

    RemoveValuesNamingUs(HKEY_CURRENT_USER, kRunKey, {kProduct}, L"\"" + install_ + L"\\bin\\" + kLoader + L"\"");
  }

  void RemoveDesktopShortcuts() {
    wchar_t desktop[MAX_PATH];
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, desktop))) {
      Fail(L"cannot find the desktop folder", 0);
      return;
    }
    const std::wstring folder = desktop;
    const std::wstring main_program = install_ + L"\\bin\\" + kMainProgram;
    WIN32_FIND_DATAW entry;
    base::ScopedFindHandle find(::FindFirstFileW((folder + L"\\*.lnk").c_str(), &entry));
    if (!find.valid()) return;
    do {
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      const std::wstring path = folder + L"\\" + entry.cFileName;
      std::wstring target;
      if (!ReadShortcutTarget(path, &target) || !SamePath(target, main_program)) continue;
      if (!::DeleteFileW(path.c_str())) Fail(L"cannot delete the shortcut " + path, ::GetLastError());
    } while (::FindNextFileW(find.get(), &entry));
  }

  // Everything below the installation folder except `keep`; the folders that held it stay.
  void RemoveFiles(const std::wstring& keep) { RemoveTree(install_, keep); }

  bool ok() const { return ok_; }

  void Fail(const std::wstring& what, DWORD error) {
    std::fprintf(stderr, "Pindle_unload: %ls: error %lu\n", what.c_str(), error);
    ok_ = false;
  }

 private:
  void RemoveValues(HKEY root, const std::wstring& subkey, std::vector<std::wstring> names) {
    RemoveValuesNamingUs(root, subkey, names, std::wstring());
  }

  // Deletes each value of `names` under `subkey`; with a non-empty `data` only values that hold it.
  void RemoveValuesNamingUs(HKEY root, const std::wstring& subkey, const std::vector<std::wstring>& names,
                            const std::wstring& data) {
    base::ScopedRegKey key;
    const LONG opened =
        ::RegOpenKeyExW(root, subkey.c_str(), 0, KEY_READ | KEY_SET_VALUE | KEY_WOW64_64KEY, key.receive());
    if (opened == ERROR_FILE_NOT_FOUND) return;
    if (opened != ERROR_SUCCESS) {
      Fail(L"cannot open the registry key " + subkey, static_cast<DWORD>(opened));
      return;
    }
    for (const std::wstring& name : names) {
      std::wstring text;
      if (!ReadString(key.get(), name.c_str(), &text)) continue;
      if (!data.empty() && !SamePath(text, data)) continue;
      const LONG deleted = ::RegDeleteValueW(key.get(), name.c_str());
      if (deleted != ERROR_SUCCESS) Fail(L"cannot delete " + subkey + L"\\" + name, static_cast<DWORD>(deleted));
    }
  }

  // A key that still holds values or subkeys belongs to someone else as well and stays.
  void RemoveKeyIfEmpty(HKEY root, const std::wstring& subkey) {
    DWORD subkeys = 0;
    DWORD values = 0;
    {
      base::ScopedRegKey key;
      if (::RegOpenKeyExW(root, subkey.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, key.receive()) != ERROR_SUCCESS) {
        return;
      }
      if (::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                             nullptr, nullptr, nullptr) != ERROR_SUCCESS ||
          subkeys != 0 || values != 0) {
        return;
      }
    }
    const LONG deleted = ::RegDeleteKeyExW(root, subkey.c_str(), KEY_WOW64_64KEY, 0);
    if (deleted != ERROR_SUCCESS) Fail(L"cannot delete the registry key " + subkey, static_cast<DWORD>(deleted));
  }

  // True when `folder` is empty afterwards. Links to folders are removed, never followed.
  bool RemoveTree(const std::wstring& folder, const std::wstring& keep) {
    bool emptied = true;
    WIN32_FIND_DATAW entry;
    base::ScopedFindHandle find(::FindFirstFileW((folder + L"\\*").c_str(), &entry));
    if (!find.valid()) return true;
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      const bool is_folder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      const bool is_link = (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
      if (SamePath(path, keep)) {
        emptied = false;
        continue;
      }
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_READONLY) {
        ::SetFileAttributesW(path.c_str(), entry.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY);
      }
      if (is_folder) {
        if (!is_link && !RemoveTree(path, keep)) {
          emptied = false;
          continue;
        }
        if (!::RemoveDirectoryW(path.c_str())) {
          Fail(L"cannot remove the folder " + path, ::GetLastError());
          emptied = false;
        }
      } else if (!::DeleteFileW(path.c_str())) {
        Fail(L"cannot delete " + path, ::GetLastError());
        emptied = false;
      }
    } while (::FindNextFileW(find.get(), &entry));
    return emptied;
  }

  std::wstring install_;
  bool ok_ = true;
};

// True when `folder` holds exactly one entry, named `name`, a folder when `is_folder`.
bool HoldsOnly(const std::wstring& folder, const std::wstring& name, bool is_folder) {
  WIN32_FIND_DATAW entry;
  base::ScopedFindHandle find(::FindFirstFileW((folder + L"\\*").c_str(), &entry));
  if (!find.valid()) return false;
  int matches = 0;
  do {
    const std::wstring entry_name = entry.cFileName;
    if (entry_name == L"." || entry_name == L"..") continue;
    const bool entry_is_folder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (!SamePath(entry_name, name) || entry_is_folder != is_folder) return false;
    ++matches;
  } while (::FindNextFileW(find.get(), &entry));
  return matches == 1;
}

// The second stage, run from the temporary folder: waits for the first to end, then removes the
// rest of the installation folder (the first stage's own file and the folders that held it).
int Finish(const std::wstring& install_folder, DWORD first_stage) {
  base::ScopedHandle first(::OpenProcess(SYNCHRONIZE, FALSE, first_stage));
  if (first.valid()) ::WaitForSingleObject(first.get(), kFinishWaitMs);
  // The folder comes from the command line: it is removed only when it holds what the first
  // stage leaves, its bin folder with the uninstaller and nothing else.
  if (!HoldsOnly(install_folder, L"bin", true) || !HoldsOnly(install_folder + L"\\bin", kUninstaller, false)) {
    std::fprintf(stderr, "Pindle_unload: %ls does not hold only what the first stage left; it stays\n",
                 install_folder.c_str());
    return kUsage;
  }
  Uninstall uninstall(install_folder);
  uninstall.RemoveFiles(std::wstring());
  if (!::RemoveDirectoryW(install_folder.c_str())) {
    uninstall.Fail(L"cannot remove the folder " + install_folder, ::GetLastError());
  }
  wchar_t self[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  if (length > 0 && length < MAX_PATH) ::MoveFileExW(self, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  return uninstall.ok() ? kRemoved : kIncomplete;
}

// Copies this program to the temporary folder and starts it as the second stage; true when it
// runs.
bool StartFinish(const std::wstring& install_folder, Uninstall* uninstall) {
  wchar_t temp[MAX_PATH];
  const DWORD temp_length = ::GetTempPathW(MAX_PATH, temp);
  if (temp_length == 0 || temp_length >= MAX_PATH) {
    uninstall->Fail(L"cannot find the temporary folder", ::GetLastError());
    return false;
  }
  const std::wstring self = demo::ProgramFolder() + L"\\" + kUninstaller;
  const std::wstring copy = std::wstring(temp) + L"Pindle_unload_" + std::to_wstring(::GetCurrentProcessId()) + L".exe";
  if (!::CopyFileW(self.c_str(), copy.c_str(), FALSE)) {
    uninstall->Fail(L"cannot copy the uninstaller to " + copy, ::GetLastError());
    return false;
  }
  std::wstring command = L"\"" + copy + L"\" -silent \"-finish:" + install_folder + L"\" -after:" +
                         std::to_wstring(::GetCurrentProcessId());
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!::CreateProcessW(copy.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, temp, &startup, &process)) {
    uninstall->Fail(L"cannot start " + copy, ::GetLastError());
    ::DeleteFileW(copy.c_str());
    return false;
  }
  base::ScopedHandle thread(process.hThread);
  base::ScopedHandle second_stage(process.hProcess);
  return true;
}

// The installation folder: the parent of the bin folder this program sits in.
bool FindInstallFolder(std::wstring* install_folder) {
  const std::wstring bin = demo::ProgramFolder();
  const size_t slash = bin.find_last_of(L'\\');
  if (slash == std::wstring::npos || !SamePath(bin.substr(slash + 1), L"bin")) return false;
  *install_folder = bin.substr(0, slash);
  // Never a drive root: the uninstaller removes the whole folder.
  return install_folder->size() > 3 || (install_folder->size() == 3 && (*install_folder)[1] != L':');
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  bool silent = false;
  std::wstring finish_folder;
  DWORD first_stage = 0;
  for (int i = 1; i < argc; ++i) {
    const std::wstring argument = argv[i];
    if (argument == L"-silent") {
      silent = true;
    } else if (argument.compare(0, 8, L"-finish:") == 0) {
      finish_folder = argument.substr(8);
    } else if (argument.compare(0, 7, L"-after:") == 0) {
      first_stage = std::wcstoul(argument.c_str() + 7, nullptr, 10);
    } else {
      std::fprintf(stderr, "Pindle_unload: unknown argument %ls\nusage: Pindle_unload [-silent]\n", argv[i]);
      return kUsage;
    }
  }
  if (!finish_folder.empty()) return Finish(finish_folder, first_stage);

  std::wstring install_folder;
  if (!FindInstallFolder(&install_folder)) {
    std::fprintf(stderr, "Pindle_unload: %ls is not the bin folder of an installation\n",
                 demo::ProgramFolder().c_str());
    return kUsage;
  }
  if (!silent) {
    const std::wstring question = L"Remove Pindle and all its files from " + install_folder + L"?";
    if (::MessageBoxW(nullptr, question.c_str(), L"Pindle", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
      return kDeclined;
    }
  }

  Uninstall uninstall(install_folder);
  uninstall.RemoveRegistry();
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  uninstall.RemoveDesktopShortcuts();
  if (SUCCEEDED(com)) ::CoUninitialize();
  uninstall.RemoveFiles(demo::ProgramFolder() + L"\\" + kUninstaller);

  // What could not be removed stays, and so does this program, so that a second run finds them.
  if (!uninstall.ok()) return kIncomplete;
  // The second stage removes the rest a moment after this process ends; it reports its own
  // failures.
  return StartFinish(install_folder, &uninstall) ? kRemoved : kIncomplete;
}
