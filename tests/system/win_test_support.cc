#include "tests/system/win_test_support.h"

#include <atomic>
#include <vector>

namespace {

std::atomic<int> g_counter{0};

std::wstring UniqueSuffix() {
  return std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(g_counter.fetch_add(1)) + L"_" +
         std::to_wstring(GetTickCount());
}

}  // namespace

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolderAt(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

std::string ReadFileBytes(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  std::string bytes;
  char chunk[65536];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof(chunk), &got, nullptr) && got > 0) bytes.append(chunk, got);
  CloseHandle(file);
  return bytes;
}

std::wstring ProgramFolder() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring folder = self;
  return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

std::wstring ChildProgram() {
  return ProgramFolder() + L"system_test_child.exe";
}

NamedEvent::NamedEvent(const wchar_t* purpose)
    : name_(std::wstring(L"Local\\pindle_sys_") + purpose + L"_" + UniqueSuffix()) {
  handle_ = CreateEventW(nullptr, TRUE, FALSE, name_.c_str());
}

NamedEvent::~NamedEvent() {
  if (handle_) CloseHandle(handle_);
}

ChildProcess::ChildProcess(const std::wstring& arguments, const std::wstring& program) {
  const std::wstring exe = program.empty() ? ChildProgram() : program;
  std::wstring command = L"\"" + exe + L"\" " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    pid_ = info.dwProcessId;
  }
}

ChildProcess::~ChildProcess() {
  if (!process_) return;
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
}

int ChildProcess::Wait(DWORD ms) {
  if (!process_ || WaitForSingleObject(process_, ms) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return static_cast<int>(code);
}
