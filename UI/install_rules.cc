#include "UI/install_rules.h"

#include "system/version_digits.h"

namespace installer {
namespace {

const wchar_t kQuote[] = L"\"";

std::wstring Widen(const std::string& ascii) {
  return std::wstring(ascii.begin(), ascii.end());
}

wchar_t AsciiLower(wchar_t c) {
  return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool EqualsIgnoringAsciiCase(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

std::wstring SoftwareRoot(bool windows_is_64bit) {
  return windows_is_64bit ? L"SOFTWARE\\Wow6432Node\\" : L"SOFTWARE\\";
}

}  // namespace

std::wstring MainProgramPath(const std::wstring& install, const std::wstring& product_exe) {
  return install + L"\\bin\\" + product_exe;
}

std::wstring UninstallerPath(const std::wstring& install, const std::wstring& product_uninstaller) {
  return install + L"\\bin\\" + product_uninstaller;
}

std::wstring MirrorProgramPath(const std::wstring& install) {
  return install + L"\\bin\\Pindlemirror\\Pindlemirror.exe";
}

std::wstring MirrorInstallerPath(const std::wstring& install) {
  return install + L"\\engine\\mirrorinstaller.exe";
}

std::wstring EngineInstallerPath(const std::wstring& install, const std::string& rom_version) {
  return install + L"\\engine\\engine" + Widen(rom_version) + L".exe";
}

std::wstring AutorunCommand(const std::wstring& install) {
  return kQuote + install + L"\\bin\\pindleloader.exe" + kQuote;
}

std::wstring MirrorInstallerCommand(const std::wstring& install, bool debug) {
  std::wstring command =
      kQuote + MirrorInstallerPath(install) + kQuote + L" -installpath:" + kQuote + install + L"\\bin" + kQuote;
  if (debug) command += L" -debug";
  return command;
}

std::wstring EngineInstallerCommand(const std::wstring& install, const std::string& rom_version, bool debug) {
  const size_t last = install.rfind(L'\\');
  const std::wstring parent = last == std::wstring::npos ? install : install.substr(0, last);
  std::wstring command = kQuote + EngineInstallerPath(install, rom_version) + kQuote + L" -silent -installpath:" +
                         kQuote + parent + L"\\QVPlayer" + kQuote;
  if (debug) command += L" -debug";
  return command;
}

int ReportedExitCode(bool started, int exit_code) {
  // A run given up at its limit reports 301; one that never began reports -1.
  if (!started && exit_code != kTimedOut) return kNotStarted;
  return exit_code;
}

EngineOutcome JudgeEngineRun(bool started, int exit_code) {
  const int code = ReportedExitCode(started, exit_code);
  if (code == 0) return EngineOutcome::kSucceeded;
  if (code == kEngineNeedsRestart) return EngineOutcome::kRestartLater;
  return EngineOutcome::kFailed;
}

bool MirrorRunSucceeded(bool started, int exit_code) {
  return started && exit_code == 0;
}

std::vector<RegistryValue> ProductRegistryValues(const RegistryFacts& facts) {
  const std::wstring software = SoftwareRoot(facts.windows_is_64bit);
  const std::wstring setup_key = software + L"Pindle\\SetupInfo";
  const std::wstring uninstall_key = software + L"Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + facts.product_name;
  const std::wstring uninstaller = UninstallerPath(facts.install_folder, facts.product_uninstaller);
  const RegistryValue::Root hklm = RegistryValue::kLocalMachine;
  return {
      {hklm, setup_key, L"InstallPath", facts.install_folder},
      {hklm, setup_key, L"unInstallPath", facts.install_folder},
      {hklm, uninstall_key, L"UninstallString", uninstaller},
      {hklm, uninstall_key, L"DisplayIcon", uninstaller},
      {hklm, uninstall_key, L"DisplayVersion", facts.display_version},
      {hklm, uninstall_key, L"DisplayName", facts.display_name},
      {hklm, uninstall_key, L"Publisher", facts.publisher},
  };
}

RegistryValue AutorunRegistryValue(const std::wstring& install_folder, const std::wstring& product_name) {
  return {RegistryValue::kCurrentUser, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", product_name,
          AutorunCommand(install_folder)};
}

RegistryValue AppCompatRegistryValue(const std::wstring& install_folder, const std::wstring& product_exe) {
  return {RegistryValue::kCurrentUser, L"Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers",
          MainProgramPath(install_folder, product_exe), L""};
}

bool ShouldWriteAutorun(const std::string& installed_version, bool overlay_install) {
  const std::string version = installed_version.substr(0, 7);
  if (version.empty() || !overlay_install) return true;
  return !VersionDigitsGreater(version, 1007);
}

bool IsOldShortcutToRemove(const std::wstring& file_name, const std::wstring& target, const std::wstring& main_program,
                           bool only_old_names, const std::vector<std::wstring>& old_names) {
  if (target != main_program) return false;
  if (!only_old_names) return true;
  for (const std::wstring& old_name : old_names) {
    if (EqualsIgnoringAsciiCase(file_name, old_name)) return true;
  }
  return false;
}

bool IsMd5Text(const std::string& text) {
  if (text.size() != 32) return false;
  for (char c : text) {
    const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    if (!hex) return false;
  }
  return true;
}

DigestVerdict JudgeDigest(const std::string& expected, const std::string& actual) {
  if (expected.empty()) return DigestVerdict::kNoDigest;
  if (!IsMd5Text(expected)) return DigestVerdict::kMalformed;
  if (!IsMd5Text(actual)) return DigestVerdict::kMismatch;
  for (size_t i = 0; i < expected.size(); ++i) {
    const char a = static_cast<char>(expected[i] | 0x20);  // hex digits: lower case, digits unchanged
    const char b = static_cast<char>(actual[i] | 0x20);
    if (a != b) return DigestVerdict::kMismatch;
  }
  return DigestVerdict::kMatch;
}

bool RestartChosen(int popup_result) {
  return popup_result == 1;
}

std::wstring StartProductCommand(const std::wstring& main_program, const std::wstring& start_parameters) {
  std::wstring command = kQuote + main_program + kQuote + L" " + start_parameters;
  if (command.size() >= kStartCommandCapacity) return std::wstring();
  return command;
}

}  // namespace installer
