// Stands in for every program of the product that the install steps run: the mirror and
// engine installers and the main program. It records how it was started in "<own path>.ran"
// (UTF-16: the command line, a line break, the current folder), then ends with the exit code
// that "<own path>.code" holds, or never ends when that file says "hang". Without a code
// file it ends with 0.
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

std::string ReadSmall(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  char buffer[64] = {};
  DWORD read = 0;
  ReadFile(file, buffer, sizeof(buffer) - 1, &read, nullptr);
  CloseHandle(file);
  return std::string(buffer, read);
}

}  // namespace

int wmain() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  wchar_t folder[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, folder);
  const std::wstring record = std::wstring(GetCommandLineW()) + L"\n" + folder;
  // Written under another name and renamed, so a reader never sees half a record.
  const std::wstring ran = std::wstring(self) + L".ran";
  const std::wstring partial = ran + L".part";
  HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(file, record.data(), static_cast<DWORD>(record.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
    MoveFileExW(partial.c_str(), ran.c_str(), MOVEFILE_REPLACE_EXISTING);
  }
  const std::string code = ReadSmall(std::wstring(self) + L".code");
  if (code.rfind("hang", 0) == 0) {
    for (;;) Sleep(INFINITE);
  }
  return std::atoi(code.c_str());
}
