// Helper program for the process and deletion tests. Modes:
//   write OUT ERR CODE   writes OUT bytes of TestPattern to standard output and ERR bytes to
//                        standard error, interleaved in small pieces, then exits with CODE
//   sleep MS             sleeps MS milliseconds, exits 0
//   wait EVENT           waits (at most 60 s) until the named event is set, exits 0
//   hold PATH READY RELEASE
//                        opens PATH for reading and writing without delete sharing, sets the
//                        named event READY, keeps the file open until RELEASE is set (at most 60 s)
//   spawn MS DONE        starts a grandchild (this program again) that inherits standard output and
//                        error, sleeps MS and then sets the named event DONE; writes
//                        "parent done" and exits 0 at once
//   grandchild MS DONE   (used by spawn)
#include <windows.h>

#include <cstdlib>
#include <cwchar>
#include <string>

#include "tests/system/test_pattern.h"

namespace {

bool WriteAll(HANDLE handle, const char* data, DWORD size) {
  while (size > 0) {
    DWORD written = 0;
    if (!WriteFile(handle, data, size, &written, nullptr) || written == 0) return false;
    data += written;
    size -= written;
  }
  return true;
}

int WriteMode(long out_bytes, long err_bytes, int code) {
  const std::string out = TestPattern(static_cast<size_t>(out_bytes), 1);
  const std::string err = TestPattern(static_cast<size_t>(err_bytes), 2);
  HANDLE out_handle = GetStdHandle(STD_OUTPUT_HANDLE);
  HANDLE err_handle = GetStdHandle(STD_ERROR_HANDLE);
  // Interleaved, so a parent that drains only one pipe at a time would block us.
  constexpr size_t kPiece = 3000;
  size_t out_pos = 0, err_pos = 0;
  while (out_pos < out.size() || err_pos < err.size()) {
    if (out_pos < out.size()) {
      const size_t n = out.size() - out_pos < kPiece ? out.size() - out_pos : kPiece;
      if (!WriteAll(out_handle, out.data() + out_pos, static_cast<DWORD>(n))) return 90;
      out_pos += n;
    }
    if (err_pos < err.size()) {
      const size_t n = err.size() - err_pos < kPiece ? err.size() - err_pos : kPiece;
      if (!WriteAll(err_handle, err.data() + err_pos, static_cast<DWORD>(n))) return 91;
      err_pos += n;
    }
  }
  return code;
}

int WaitForEvent(const wchar_t* name, DWORD ms) {
  HANDLE event = OpenEventW(SYNCHRONIZE, FALSE, name);
  if (!event) return 92;
  const DWORD result = WaitForSingleObject(event, ms);
  CloseHandle(event);
  return result == WAIT_OBJECT_0 ? 0 : 93;
}

int SetNamedEvent(const wchar_t* name) {
  HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, name);
  if (!event) return 94;
  SetEvent(event);
  CloseHandle(event);
  return 0;
}

int HoldMode(const wchar_t* path, const wchar_t* ready, const wchar_t* release) {
  HANDLE file = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 95;
  SetNamedEvent(ready);
  const int result = WaitForEvent(release, 60000);
  CloseHandle(file);
  return result;
}

int SpawnMode(const wchar_t* ms, const wchar_t* done) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command = std::wstring(L"\"") + self + L"\" grandchild " + ms + L" " + done;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) return 96;
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  static const char kText[] = "parent done";
  WriteAll(GetStdHandle(STD_OUTPUT_HANDLE), kText, sizeof(kText) - 1);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 99;
  const std::wstring mode = argv[1];
  if (mode == L"write" && argc == 5) {
    return WriteMode(std::wcstol(argv[2], nullptr, 10), std::wcstol(argv[3], nullptr, 10),
                     static_cast<int>(std::wcstol(argv[4], nullptr, 10)));
  }
  if (mode == L"sleep" && argc == 3) {
    Sleep(static_cast<DWORD>(std::wcstol(argv[2], nullptr, 10)));
    return 0;
  }
  if (mode == L"wait" && argc == 3) return WaitForEvent(argv[2], 60000);
  if (mode == L"hold" && argc == 5) return HoldMode(argv[2], argv[3], argv[4]);
  if (mode == L"spawn" && argc == 4) return SpawnMode(argv[2], argv[3]);
  if (mode == L"grandchild" && argc == 4) {
    Sleep(static_cast<DWORD>(std::wcstol(argv[2], nullptr, 10)));
    return SetNamedEvent(argv[3]);
  }
  return 98;
}
