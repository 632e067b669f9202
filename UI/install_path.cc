#include "UI/install_path.h"

#include <regex>

#include "log/log_assist.h"
#include "runtime/text_encoding.h"

namespace installer {
namespace {

const char kLogSource[] = "UI\\UIMainWindowEx.cpp";

bool Contains(const std::wstring& text, const wchar_t* part) {
  return text.find(part) != std::wstring::npos;
}

}  // namespace

const wchar_t kInstallPathPattern[] = L"^[a-zA-Z]:\\\\{1}(?:[^/:*?\"<>|])*[^./:*?\"<>|\\\\]{1}$|[a-zA-Z]:\\\\";

bool MatchesInstallPathPattern(const std::wstring& path) {
  // Built once; std::regex construction is costly and the box checks after every character.
  static const std::wregex pattern(kInstallPathPattern, std::regex_constants::ECMAScript);
  return std::regex_match(path, pattern);
}

bool ValidateInstallPath(const std::wstring& path, PathFacts* facts) {
  if (Contains(path, L"\\360") && facts->IsDirectory(path + L"\\360Safe")) {
    simlog::LogAssist::GetInstance().Log(kLogSource, __LINE__, simlog::kLogLineLevel,
                                         base::WideToAnsi(L"360 install path：" + path), true);
    return false;
  }
  if (Contains(path, L"%")) return false;
  if (path.empty()) return false;
  return facts->KindOfDrive(path[0]) == DriveKind::kFixed;
}

bool IsInstallPathWrong(const std::wstring& text, PathFacts* facts) {
  if (!MatchesInstallPathPattern(text)) return true;
  if (Contains(text, L"\\\\") || Contains(text, L".\\") || Contains(text, L"\\.")) return true;
  return !ValidateInstallPath(text, facts);
}

std::wstring AppendProductFolder(const std::wstring& path, const std::wstring& product_folder) {
  const size_t separator = path.rfind(L'\\');
  const std::wstring last = separator == std::wstring::npos ? path : path.substr(separator + 1);
  if (last == product_folder) return path;
  if (last.empty()) return path + product_folder;
  return path + L"\\" + product_folder;
}

std::wstring CustomInstallFolder(const std::wstring& text, bool* dropped) {
  const bool trailing = !text.empty() && text.back() == L'\\';
  if (dropped) *dropped = trailing;
  return trailing ? text.substr(0, text.size() - 1) : text;
}

std::wstring VolumeRootOf(const std::wstring& path) {
  // _splitpath's drive: a letter and a colon at the start, otherwise nothing.
  if (path.size() >= 2 && path[1] == L':') return path.substr(0, 2) + L"\\";
  return L"\\";
}

bool NeedsFat32Warning(const std::wstring& file_system_name) {
  return file_system_name == L"FAT32";
}

}  // namespace installer
