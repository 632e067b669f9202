// The decisions of the install steps, free of the platform so that both trees test them: the
// product installers' command lines and what their exit codes mean, the registry values that
// record the product, the autorun and old-shortcut rules, the package digest rule and the
// restart answer. install_steps.h runs them.
#ifndef PINDLE_UI_INSTALL_RULES_H_
#define PINDLE_UI_INSTALL_RULES_H_

#include <string>
#include <vector>

namespace installer {

// The mirror installer's time limit; the engine installer has none.
constexpr int kMirrorTimeLimitMs = 30 * 60 * 1000;
// Exit code of an installer that could not be started, and of one given up at its time limit.
constexpr int kNotStarted = -1;
constexpr int kTimedOut = 301;
// The engine installer's exit code that asks for a restart.
constexpr int kEngineNeedsRestart = 109;
// The error code reported when the package cannot be unpacked.
constexpr char kUnpackFailedCode[] = "201";

// Paths below the install folder `install` (no trailing "\").
std::wstring MainProgramPath(const std::wstring& install, const std::wstring& product_exe);
std::wstring UninstallerPath(const std::wstring& install, const std::wstring& product_uninstaller);
std::wstring MirrorProgramPath(const std::wstring& install);
std::wstring MirrorInstallerPath(const std::wstring& install);
std::wstring EngineInstallerPath(const std::wstring& install, const std::string& rom_version);
// "\"" + loader + "\"": the Run value's data.
std::wstring AutorunCommand(const std::wstring& install);

// "<mirror installer>" -installpath:"<install>\bin"[ -debug]
std::wstring MirrorInstallerCommand(const std::wstring& install, bool debug);
// "<engine installer>" -silent -installpath:"<parent of install>\QVPlayer"[ -debug], the parent
// being the install folder up to its last "\" (the whole folder when it has none).
std::wstring EngineInstallerCommand(const std::wstring& install, const std::string& rom_version, bool debug);

// What one run of the engine installer means for the installation.
enum class EngineOutcome {
  kSucceeded,     // 0, or no engine installer in the package: go on
  kRestartLater,  // 109: report "109", go on, ask for a restart at the end
  kFailed,        // anything else (-1 not started): report the code, "Fileoccupied", stop
};
// `started`: the run began and ended (false: not started, or given up at a limit, with
// `exit_code` then -1 or 301).
EngineOutcome JudgeEngineRun(bool started, int exit_code);
// The exit code the run reports: -1 when it could not start, else its code (301 after a limit).
int ReportedExitCode(bool started, int exit_code);
// A mirror run succeeded only when it ended by itself with 0; a failure is logged only.
bool MirrorRunSucceeded(bool started, int exit_code);

// One registry value that records the product.
struct RegistryValue {
  enum Root { kLocalMachine, kCurrentUser };
  Root root;
  std::wstring key;
  std::wstring name;
  std::wstring data;
};

// What the registry table is made of.
struct RegistryFacts {
  bool windows_is_64bit = false;
  std::wstring install_folder;
  std::wstring product_name;         // `vesk`
  std::wstring product_uninstaller;  // `vesk_uninstall`
  std::wstring display_version;      // the installer's own "%d.%d.%d.%d"
  std::wstring display_name;         // "Pindle"
  std::wstring publisher;
};
// Every value is written on the 64-bit view (KEY_WOW64_64KEY); the 32-bit product's keys sit
// under Wow6432Node there on 64-bit Windows. The two SetupInfo values, then the five uninstall
// values, in the order they are written.
std::vector<RegistryValue> ProductRegistryValues(const RegistryFacts& facts);
// The logon value under HKEY_CURRENT_USER (written only by the autorun rule).
RegistryValue AutorunRegistryValue(const std::wstring& install_folder, const std::wstring& product_name);
// The compatibility-mode value a user may have put on the main program, removed at the end.
RegistryValue AppCompatRegistryValue(const std::wstring& install_folder, const std::wstring& product_exe);

// Whether the Run value is written: always on a first install or a clean install; on an
// overlay install only when the installed version (its first 7 characters read as digits) is
// 1.0.0.7 or older, because later versions honour what the user chose about starting at logon.
bool ShouldWriteAutorun(const std::string& installed_version, bool overlay_install);

// Whether the desktop shortcut `file_name` whose target is `target` goes before the new one is
// made: it must point exactly at the main program, and with `only_old_names` also carry one of
// `old_names` (compared without regard to ASCII case, as the file system does).
bool IsOldShortcutToRemove(const std::wstring& file_name, const std::wstring& target, const std::wstring& main_program,
                           bool only_old_names, const std::vector<std::wstring>& old_names);

// The package digest against the one the command line or the server gave.
enum class DigestVerdict {
  kNoDigest,   // none given: the package is unpacked unchecked
  kMalformed,  // not 32 hexadecimal digits: treated as none given, and logged so
  kMatch,
  kMismatch,  // the server disagrees with itself: the package is deleted, "Server_Error"
};
// True when `text` is 32 hexadecimal digits, either case.
bool IsMd5Text(const std::string& text);
// Only the expected value is judged before hashing: kNoDigest or kMalformed mean no hash is
// needed (the answer is then the same whatever `actual` holds).
DigestVerdict JudgeDigest(const std::string& expected, const std::string& actual);

// The restart question's answer: only the popup's result 1 ("Restart") restarts the machine.
bool RestartChosen(int popup_result);

// The product's start: the quoted main program, a space and the start parameters; empty when
// that would not fit the 2604-character buffer the start uses (with its NUL).
std::wstring StartProductCommand(const std::wstring& main_program, const std::wstring& start_parameters);
constexpr size_t kStartCommandCapacity = 2604;

}  // namespace installer

#endif  // PINDLE_UI_INSTALL_RULES_H_
