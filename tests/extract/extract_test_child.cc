// Stand-in for the product's programs in the tests of the step that stops them. It is copied to
// the file names the step looks for. Modes:
//   -c q -p PID   the kill tool: appends its whole command line and a line break to
//                 "kill_calls.txt" beside itself, exits 0 (it stops nothing)
//   run READY     a product program: sets the named event READY once it runs, then sleeps
//                 (at most 60 s) until the test ends it
//   x -y ARCHIVE -oFOLDER -r
//                 a 7-Zip that hangs: after kLateWriteMs it writes "late_write.txt" into FOLDER
//                 (as a stuck extraction would go on writing), then exits 0
#include <windows.h>

#include <string>

namespace {

std::wstring OwnFolder() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

int RecordCall() {
  const wchar_t* command_line = GetCommandLineW();
  const int size = WideCharToMultiByte(CP_UTF8, 0, command_line, -1, nullptr, 0, nullptr, nullptr);
  std::string text(size > 0 ? static_cast<size_t>(size) : 0, '\0');
  if (size > 0) {
    WideCharToMultiByte(CP_UTF8, 0, command_line, -1, &text[0], size, nullptr, nullptr);
    text.resize(static_cast<size_t>(size) - 1);  // the terminating NUL
  }
  text += "\n";
  const std::wstring log = OwnFolder() + L"kill_calls.txt";
  HANDLE file =
      CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 90;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == text.size() ? 0 : 91;
}

constexpr DWORD kLateWriteMs = 2000;

int HangThenWrite(const std::wstring& folder_option) {
  Sleep(kLateWriteMs);
  const std::wstring file = folder_option.substr(2) + L"\\late_write.txt";  // after "-o"
  HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return 93;
  CloseHandle(handle);
  return 0;
}

int RunAsProduct(const wchar_t* ready) {
  HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, ready);
  if (!event) return 92;
  SetEvent(event);
  CloseHandle(event);
  Sleep(60000);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 5 && std::wstring(argv[1]) == L"-c") return RecordCall();
  if (argc == 3 && std::wstring(argv[1]) == L"run") return RunAsProduct(argv[2]);
  if (argc == 6 && std::wstring(argv[1]) == L"x") return HangThenWrite(argv[4]);
  return 99;
}
