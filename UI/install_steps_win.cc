#include "UI/install_steps.h"

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include "UI/desktop_shortcut.h"
#include "UI/firewall_rule.h"
#include "UI/package_digest.h"
#include "app/app_config.h"
#include "app/config_file.h"
#include "app/global.h"
#include "runtime/text_encoding.h"
#include "extract/extract_package.h"
#include "runtime/text_encoding.h"
#include "log/log_assist.h"
#include "system/file_delete.h"
#include "system/file_util.h"
#include "system/folder_access.h"
#include "system/os_version.h"
#include "system/registry.h"
#include "system/run_capture.h"
#include "runtime/scoped_handle_win.h"
#include "system/shortcut.h"

namespace installer {
namespace {

// The steps belong to the installer controller, and their log lines carry its name.
const char kLogSource[] = "UI\\UIMainWindowEx.cpp";
// Below this OS version code (Windows 7) the install folder keeps its access list.
constexpr int kWindows7Code = 9;

void Log(int line, const std::string& message, bool enabled) {
  simlog::LogAssist::GetInstance().Log(kLogSource, line, simlog::kLogLineLevel, message, enabled);
}

std::string Ansi(const std::wstring& text) {
  return base::WideToAnsi(text);
}

bool FileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

HKEY RootKey(RegistryValue::Root root) {
  return root == RegistryValue::kLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// A value that cannot be written is logged by the registry helper; the others are still written.
void WriteRegistryValue(const RegistryValue& value) {
  RegWriteString(RootKey(value.root), value.key, value.name, value.data);
}

void WriteConfig(const InstallSettings& settings, const wchar_t* key, const std::wstring& value) {
  if (!app::CConfigFile::Get().WriteString(L"setting", key, value, app::ConfigFilePath(settings.product_data_folder))) {
    Log(__LINE__,
        simlog::LogAssist::FormatString("write conf.ini %s failed, error %lu", Ansi(key).c_str(), GetLastError()),
        true);
  }
}

// Runs `command` hidden and waits up to `time_limit_ms` (0: without limit); a run given up at
// its limit is ended, so that nothing it does races the steps after it. The reported code
// follows JudgeEngineRun's rules: -1 when it could not start, 301 at the limit.
int RunInstaller(const std::wstring& command, int time_limit_ms) {
  int exit_code = kNotStarted;
  std::string out, err;
  const bool ran = RunAndCapture(command, time_limit_ms, &exit_code, &out, &err, TimeLimitAction::kEnd);
  return ReportedExitCode(ran, exit_code);
}

}  // namespace

InstallSettings InstallSettingsFromGlobal(const app::CGlobal& global) {
  InstallSettings settings;
  settings.install_folder = global.install_folder;
  settings.package_path = global.local_app_data;  // the package file path once the download chose it
  settings.product_data_folder = global.product_data_folder;
  settings.desktop_folder = GetSpecialFolder(CSIDL_DESKTOPDIRECTORY, false);
  settings.roaming_app_data = GetSpecialFolder(CSIDL_APPDATA, true);
  settings.windows_is_64bit = global.is_64bit_windows;
  settings.debug = global.debug;
  settings.os_version_code = GetOsVersionCode();
  settings.language_code = global.language_code;
  settings.player_version = global.player_version;
  settings.rom_version = global.rom_version;
  settings.product_name = global.product_name;
  settings.product_exe = global.product_exe;
  settings.product_uninstaller = global.product_uninstaller;
  settings.desktop_shortcut_name = global.desktop_shortcut_name;
  settings.display_version = base::AnsiToWide(global.downloader_version);
  const app::IAppConfig* config = app::GetAppConfig();
  settings.display_name = config->ProductRegistryName();
  settings.publisher = config->PublisherName();
  settings.package_md5 = global.package_md5;
  return settings;
}

bool CheckPackageDigest(const InstallSettings& settings, InstallReport& report) {
  const DigestVerdict before = JudgeDigest(settings.package_md5, std::string());
  if (before == DigestVerdict::kNoDigest) {
    Log(__LINE__, "no package md5 given, package not checked", true);
    return true;
  }
  if (before == DigestVerdict::kMalformed) {
    Log(__LINE__,
        simlog::LogAssist::FormatString("package md5 malformed:%s, package not checked", settings.package_md5.c_str()),
        true);
    return true;
  }
  std::string actual;
  uint32_t error = 0;
  if (!FileMd5(settings.package_path, &actual, &error)) {
    Log(__LINE__,
        simlog::LogAssist::FormatString("package md5 of %s failed, error 0x%08x", Ansi(settings.package_path).c_str(),
                                        error),
        true);
  }
  if (JudgeDigest(settings.package_md5, actual) == DigestVerdict::kMatch) {
    Log(__LINE__, simlog::LogAssist::FormatString("package md5 matches:%s", actual.c_str()), true);
    return true;
  }
  Log(__LINE__,
      simlog::LogAssist::FormatString("package md5 mismatch: expected %s, file %s", settings.package_md5.c_str(),
                                      actual.empty() ? "unreadable" : actual.c_str()),
      true);
  DeleteFileRobust(settings.package_path);
  report.ReportDownloadFail("Server_Error");
  report.ShowFatalMessage("ServiceError");
  return false;
}

bool ExtractPackageStep(ExtractEnvironment& env, const InstallSettings& settings) {
  return ExtractPackage(env, base::FromWstring(settings.package_path), base::FromWstring(settings.install_folder))
      .success;
}

bool OnExtractResult(bool success, const InstallSettings& settings, InstallReport& report) {
  if (!success) {
    report.ReportInstallFail(kUnpackFailedCode);
    report.ShowFatalMessage("Fileoccupied");
    return false;
  }
  WriteConfig(settings, L"language", settings.language_code);
  return true;
}

InstallersResult RunInstallers(const InstallSettings& settings, InstallReport& report) {
  InstallersResult result;
  const std::wstring& install = settings.install_folder;

  const std::wstring mirror_installer = MirrorInstallerPath(install);
  if (!FileExists(MirrorProgramPath(install))) {
    Log(__LINE__, "pindle mirror not exist.", true);
  } else if (!FileExists(mirror_installer)) {
    Log(__LINE__, "pindle mirrorinstaller not exist.", true);
  } else {
    const std::wstring command = MirrorInstallerCommand(install, settings.debug);
    Log(__LINE__, simlog::LogAssist::FormatString("install mirror cmd:%s", Ansi(command).c_str()), settings.debug);
    const int code = RunInstaller(command, settings.mirror_time_limit_ms);
    if (code == 0) {
      Log(__LINE__, "install mirror success.", true);
    } else {
      Log(__LINE__, simlog::LogAssist::FormatString("install mirror failed.exit code is:%d", code), true);
    }
    DeleteFileRobust(mirror_installer);
  }

  const std::wstring engine_installer = EngineInstallerPath(install, settings.rom_version);
  if (!FileExists(engine_installer)) {
    Log(__LINE__, "engine not exist!", true);
  } else {
    const std::wstring command = EngineInstallerCommand(install, settings.rom_version, settings.debug);
    Log(__LINE__, simlog::LogAssist::FormatString("install engine cmd:%s", Ansi(command).c_str()), settings.debug);
    const int code = RunInstaller(command, 0);
    switch (JudgeEngineRun(true, code)) {
      case EngineOutcome::kSucceeded: Log(__LINE__, "install engine success.", true); break;
      case EngineOutcome::kRestartLater:
        Log(__LINE__, "install engine success, restart needed.", true);
        report.ReportInstallFail(std::to_string(code));
        result.reboot_needed = true;
        break;
      case EngineOutcome::kFailed:
        report.ReportInstallFail(std::to_string(code));
        Log(__LINE__, simlog::LogAssist::FormatString("install engine failed.exit code is:%d", code), true);
        report.ShowFatalMessage("Fileoccupied");
        result.stopped = true;
        return result;  // the engine installer stays for a second try
    }
  }
  DeleteFileRobust(engine_installer);
  report.InstallersDone();
  return result;
}

void FinishInstallFiles(const InstallSettings& settings, InstallReport& report) {
  if (!report.TrackInstallFinish()) Log(__LINE__, "Downloader_Install_Finish failed.", settings.debug);

  const std::wstring seven_za = settings.product_data_folder + L"\\7za.exe";
  if (FileExists(seven_za)) DeleteFileRobust(seven_za);  // a failure is logged where it happens
  WriteConfig(settings, L"version", base::AnsiToWide(settings.player_version));

  if (settings.os_version_code < kWindows7Code) {
    Log(__LINE__, simlog::LogAssist::FormatString("OSVersion low:%d", settings.os_version_code), true);
  } else if (GrantFullAccess(settings.install_folder)) {
    Log(__LINE__, "Ensure File Security Successful", true);
  } else {
    Log(__LINE__, "Ensure File Security Failed", true);
  }

  long hresult = S_OK;
  const FirewallOutcome firewall = AllowProgramThroughFirewall(
      settings.product_exe, MainProgramPath(settings.install_folder, settings.product_exe), &hresult);
  if (firewall == FirewallOutcome::kFailed) {
    Log(__LINE__, simlog::LogAssist::FormatString("firewall rule failed, hresult 0x%08lx", hresult), true);
  } else if (firewall == FirewallOutcome::kFirewallOff) {
    Log(__LINE__, "firewall is off, no rule added", settings.debug);
  }
}

void FinishInstall(const InstallSettings& settings) {
  Log(__LINE__, "Start to set regedit", settings.debug);
  RegistryFacts facts;
  facts.windows_is_64bit = settings.windows_is_64bit;
  facts.install_folder = settings.install_folder;
  facts.product_name = settings.product_name;
  facts.product_uninstaller = settings.product_uninstaller;
  facts.display_version = settings.display_version;
  facts.display_name = settings.display_name;
  facts.publisher = settings.publisher;
  for (const RegistryValue& value : ProductRegistryValues(facts)) WriteRegistryValue(value);

  const RegistryValue compat = AppCompatRegistryValue(settings.install_folder, settings.product_exe);
  RegDeleteValue(RootKey(compat.root), compat.key, compat.name);  // a missing key or value is no error

  const std::wstring lnk = settings.desktop_folder + L"\\" + settings.desktop_shortcut_name;
  long hresult = S_OK;
  if (!WriteShortcut(lnk, MainProgramPath(settings.install_folder, settings.product_exe), settings.install_folder,
                     &hresult)) {
    Log(__LINE__,
        simlog::LogAssist::FormatString("create shortcut %s failed, hresult 0x%08lx", Ansi(lnk).c_str(), hresult),
        true);
  }
  Log(__LINE__, "Create shortcuts end", settings.debug);

  if (ShouldWriteAutorun(settings.installed_version, settings.overlay_install)) {
    WriteRegistryValue(AutorunRegistryValue(settings.install_folder, settings.product_name));
  }
}

void RemoveOldShortcuts(const InstallSettings& settings, bool only_old_names) {
  base::ScopedComInitialize com;
  if (!settings.roaming_app_data.empty()) {
    DeleteFileRobust(settings.roaming_app_data +
                     L"\\Microsoft\\Internet Explorer\\Quick Launch\\User Pinned\\TaskBar\\" +
                     settings.desktop_shortcut_name);
  }
  if (settings.desktop_folder.empty()) return;
  const std::wstring main_program = MainProgramPath(settings.install_folder, settings.product_exe);
  WIN32_FIND_DATAW entry;
  base::ScopedFindHandle find(FindFirstFileW((settings.desktop_folder + L"\\*").c_str(), &entry));
  if (!find.valid()) return;
  // Deleting while the search runs is safe: the search has its own listing of the folder.
  do {
    const std::wstring name = entry.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring path = settings.desktop_folder + L"\\" + name;
    std::wstring target;
    if (!IsExistingFileWithExtension(path, L".lnk") || !ReadShortcutTarget(path, &target)) continue;
    if (!IsOldShortcutToRemove(name, target, main_program, only_old_names, settings.old_shortcut_names)) continue;
    Log(__LINE__, simlog::LogAssist::FormatString("delete desktop path is:%s", Ansi(path).c_str()), settings.debug);
    DeleteFileRobust(path);
  } while (FindNextFileW(find.get(), &entry));
}

bool StartProduct(const InstallSettings& settings) {
  Log(__LINE__, "User click to start immediately", settings.debug);
  const std::wstring command =
      StartProductCommand(MainProgramPath(settings.install_folder, settings.product_exe), settings.start_parameters);
  Log(__LINE__, simlog::LogAssist::FormatString("Startup Param:%s", Ansi(command).c_str()), true);
  if (command.empty()) return false;
  wchar_t buffer[kStartCommandCapacity] = {};
  command.copy(buffer, command.size());
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, buffer, nullptr, nullptr, FALSE, 0, nullptr, settings.install_folder.c_str(), &startup,
                      &process)) {
    Log(__LINE__, simlog::LogAssist::FormatString("start product failed, error %lu", GetLastError()), true);
    return false;
  }
  base::ScopedHandle process_handle(process.hProcess);
  base::ScopedHandle thread_handle(process.hThread);
  return true;
}

void SystemRestart::Restart() {
  ShellExecuteW(nullptr, L"open", L"cmd.exe", L"/C shutdown /r /t 0", nullptr, SW_HIDE);
}

bool AnswerRestartQuestion(int popup_result, RestartSeam& seam) {
  if (!RestartChosen(popup_result)) return false;
  seam.Restart();
  return true;
}

}  // namespace installer
