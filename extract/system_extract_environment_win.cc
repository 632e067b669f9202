#include "extract/system_extract_environment.h"

#include <windows.h>

#include <utility>

#include "runtime/text_encoding.h"
#include "system/embedded_program.h"
#include "system/file_util.h"
#include "system/run_capture.h"

SystemExtractEnvironment::SystemExtractEnvironment(std::u16string data_folder) : data_folder_(std::move(data_folder)) {}

std::string SystemExtractEnvironment::ToAnsi(const std::u16string& text) {
  return base::WideToAnsi(base::ToWstring(text));
}

bool SystemExtractEnvironment::IsFolder(const std::u16string& path) {
  const DWORD attributes = ::GetFileAttributesW(base::ToWstring(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool SystemExtractEnvironment::CreateFolderWithParents(const std::u16string& path) {
  const std::wstring folder = base::ToWstring(path);
  CreateParentFolders(folder);  // everything up to the last component
  return CreateFolder(folder);
}

bool SystemExtractEnvironment::FileExists(const std::u16string& path) {
  return ::GetFileAttributesW(base::ToWstring(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool SystemExtractEnvironment::WriteSevenZipTool(std::u16string* tool_path) {
  std::wstring path;
  const bool written = ::WriteSevenZipTool(base::ToWstring(data_folder_), &path);
  seven_zip_path_ = base::FromWstring(path);
  *tool_path = seven_zip_path_;
  return written;
}

bool SystemExtractEnvironment::RunAndCapture(const std::u16string& command_line, int timeout_ms, int* exit_code,
                                             std::string* out, std::string* err) {
  // A 7-Zip left running past its limit would go on writing the install folder while the next
  // attempt unpacks into it; the kill tool has no business running on either.
  return ::RunAndCapture(base::ToWstring(command_line), timeout_ms, exit_code, out, err, TimeLimitAction::kEnd);
}

std::u16string SystemExtractEnvironment::OwnExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (length == 0) return std::u16string();
    if (length < path.size()) {
      path.resize(length);
      return base::FromWstring(path);
    }
    path.resize(path.size() * 2);  // cut short: ask again with more room
  }
}
