// The install steps under Wine: the test package unpacked into a scratch install folder, the
// stand-in installers run with the exit codes each test chooses, and the registry, the shell
// links and the files read back through the system.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "UI/desktop_shortcut.h"
#include "UI/install_steps.h"
#include "UI/package_digest.h"
#include "app/global.h"
#include "extract/installer_extract_environment.h"
#include "install_readback_win.h"
#include "scratch_folder.h"
#include "system/os_version.h"
#include "system/registry.h"
#include "runtime/scoped_handle_win.h"

namespace installer {
namespace {

namespace fs = std::filesystem;
using test_support::Is64BitWindows;
using test_support::ReadRunRecord;
using test_support::ReadShortcut;
using test_support::ShortcutFacts;
using testing::ElementsAre;
using testing::IsEmpty;

fs::path PackageFolder() {
  std::string text = std::string("Z:") + PINDLE_INSTALL_TEST_PACKAGE;
  std::replace(text.begin(), text.end(), '/', '\\');
  return fs::path(text);
}

// What the steps told the controller, in order.
class RecordingReport : public InstallReport {
 public:
  void ReportInstallFail(const std::string& code) override { calls.push_back("install_fail:" + code); }
  void ReportDownloadFail(const std::string& type) override { calls.push_back("download_fail:" + type); }
  void ShowFatalMessage(const std::string& key) override { calls.push_back("fatal:" + key); }
  void InstallersDone() override { calls.push_back("installers_done"); }
  bool TrackInstallFinish() override {
    calls.push_back("install_finish");
    return true;
  }
  std::vector<std::string> calls;
};

class InstallStepsTest : public testing::Test {
 protected:
  void SetUp() override {
    root_ = scratch_.path();
    install_ = root_ / "Dravel" / "Vesk";
    fs::create_directories(root_ / "data");
    fs::create_directories(root_ / "desktop");
    fs::create_directories(root_ / "roaming");
    package_ = root_ / "package.7z";
    fs::copy_file(PackageFolder() / "package.7z", package_);

    settings_.install_folder = install_.wstring();
    settings_.package_path = package_.wstring();
    settings_.product_data_folder = (root_ / "data").wstring();
    settings_.desktop_folder = (root_ / "desktop").wstring();
    settings_.roaming_app_data = (root_ / "roaming").wstring();
    settings_.windows_is_64bit = Is64BitWindows();
    settings_.os_version_code = GetOsVersionCode();
    settings_.language_code = L"lan_en";
    settings_.player_version = "3.2.0.1";
    settings_.rom_version = "7";
    // A product name of this run only, so the uninstall key and the Run value are ours.
    settings_.product_name = L"VeskTest" + std::to_wstring(GetCurrentProcessId());
    settings_.product_exe = L"Pindle.exe";
    settings_.product_uninstaller = L"uninst.exe";
    settings_.desktop_shortcut_name = L"Vesk.lnk";
    settings_.display_version = L"1.2.3.4";
    settings_.display_name = L"Pindle";
    settings_.publisher = L"Dravel Ltd";

    global_.product_data_folder = settings_.product_data_folder;
    global_.product_name = settings_.product_name;
    global_.is_64bit_windows = settings_.windows_is_64bit;
  }

  void TearDown() override {
    const std::wstring software = settings_.windows_is_64bit ? L"SOFTWARE\\Wow6432Node\\" : L"SOFTWARE\\";
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, (software + L"Pindle\\SetupInfo").c_str(), KEY_WOW64_64KEY, 0);
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE,
                    (software + L"Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + settings_.product_name).c_str(),
                    KEY_WOW64_64KEY, 0);
    RegDeleteValue(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", settings_.product_name);
  }

  bool Unpack() {
    InstallerExtractEnvironment env(global_);
    return ExtractPackageStep(env, settings_);
  }

  // Puts the stand-in programs where the package would, without unpacking it.
  void PlacePrograms(const std::vector<std::string>& relative_paths) {
    const fs::path program = PackageFolder() / "package" / "bin" / "Pindle.exe";
    for (const std::string& rel : relative_paths) {
      fs::create_directories((install_ / rel).parent_path());
      fs::copy_file(program, install_ / rel, fs::copy_options::overwrite_existing);
    }
  }
  void SetExitCode(const std::string& rel, const std::string& code) {
    ASSERT_TRUE(test_support::WriteFile(install_.string() + "\\" + rel + ".code", code));
  }

  std::wstring Registry(HKEY root, const std::wstring& key, const std::wstring& value) {
    std::wstring text;
    if (!RegReadString(root, key, value, &text)) return L"<missing>";
    return text;
  }

  test_support::ScratchFolder scratch_;
  fs::path root_, install_, package_;
  InstallSettings settings_;
  app::CGlobal global_;
  RecordingReport report_;
};

const char kMirror[] = "engine\\mirrorinstaller.exe";
const char kMirrorProgram[] = "bin\\Pindlemirror\\Pindlemirror.exe";
const char kEngine[] = "engine\\engine7.exe";

TEST_F(InstallStepsTest, FullInstallLeavesFilesRegistryShortcutAndStartsTheProduct) {
  const std::wstring run_key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  const std::wstring compat_key = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers";
  const std::wstring main_program = install_.wstring() + L"\\bin\\Pindle.exe";
  ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, compat_key, main_program, L"WINXPSP3"));
  ASSERT_TRUE(test_support::WriteFile(root_ / "data" / "7za.exe", "left by the extraction"));

  ASSERT_TRUE(CheckPackageDigest(settings_, report_));  // no digest known
  ASSERT_TRUE(Unpack());
  EXPECT_TRUE(fs::exists(install_ / "conf" / "readme.txt"));
  ASSERT_TRUE(OnExtractResult(true, settings_, report_));
  const InstallersResult installers = RunInstallers(settings_, report_);
  EXPECT_FALSE(installers.stopped);
  EXPECT_FALSE(installers.reboot_needed);
  FinishInstallFiles(settings_, report_);
  FinishInstall(settings_);
  EXPECT_THAT(report_.calls, ElementsAre("installers_done", "install_finish"));

  // The installers ran with their command lines, and are gone.
  EXPECT_EQ(ReadRunRecord(install_ / kMirror).substr(0, ReadRunRecord(install_ / kMirror).find(L'\n')),
            MirrorInstallerCommand(install_.wstring(), false));
  EXPECT_EQ(ReadRunRecord(install_ / kEngine).substr(0, ReadRunRecord(install_ / kEngine).find(L'\n')),
            EngineInstallerCommand(install_.wstring(), "7", false));
  EXPECT_FALSE(fs::exists(install_ / kMirror));
  EXPECT_FALSE(fs::exists(install_ / kEngine));
  EXPECT_TRUE(fs::exists(install_ / "bin" / "Pindle.exe"));
  EXPECT_FALSE(fs::exists(root_ / "data" / "7za.exe"));

  std::string conf;
  ASSERT_TRUE(test_support::ReadFile(root_ / "data" / "conf.ini", &conf));
  EXPECT_THAT(conf, testing::HasSubstr("language=lan_en"));
  EXPECT_THAT(conf, testing::HasSubstr("version=3.2.0.1"));

  // The 32-bit product's keys: under Wow6432Node of the 64-bit view on 64-bit Windows.
  const std::wstring software = settings_.windows_is_64bit ? L"SOFTWARE\\Wow6432Node\\" : L"SOFTWARE\\";
  const std::wstring setup = software + L"Pindle\\SetupInfo";
  const std::wstring uninstall = software + L"Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + settings_.product_name;
  const std::wstring uninstaller = install_.wstring() + L"\\bin\\uninst.exe";
  EXPECT_EQ(Registry(HKEY_LOCAL_MACHINE, setup, L"InstallPath"), install_.wstring());
  EXPECT_EQ(Registry(HKEY_LOCAL_MACHINE, setup, L"unInstallPath"), install_.wstring());
  EXPECT_EQ(Registry(HKEY_LOCAL_MACHINE, uninstall, L"UninstallString"), uninstaller);
  EXPECT_EQ(Registry(HKEY_LOCAL_MACHINE, uninstall, L"DisplayIcon"), uninstaller);
  EXPECT_EQ(Registry(HKEY_LOCAL_MACHINE, uninstall, L"DisplayVersion"), L"1.2.3.4");
  EXPECT_EQ(Registry(HKEY_LOCAL_MACHINE, uninstall, L"DisplayName"), L"Pindle");
  EXPECT_EQ(Registry(HKEY_LOCAL_MACHINE, uninstall, L"Publisher"), L"Dravel Ltd");
  if (settings_.windows_is_64bit) {
    EXPECT_EQ(Registry(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Pindle\\SetupInfo", L"InstallPath"), L"<missing>");
  }
  EXPECT_EQ(Registry(HKEY_CURRENT_USER, compat_key, main_program), L"<missing>");
  EXPECT_EQ(Registry(HKEY_CURRENT_USER, run_key, settings_.product_name),
            L"\"" + install_.wstring() + L"\\bin\\pindleloader.exe\"");

  ShortcutFacts shortcut;
  ASSERT_TRUE(ReadShortcut(settings_.desktop_folder + L"\\Vesk.lnk", &shortcut));
  EXPECT_EQ(shortcut.target, main_program);
  EXPECT_EQ(shortcut.working_folder, install_.wstring());
  EXPECT_EQ(shortcut.arguments, L"");
  // Written as SW_SHOW; the link format keeps only normal, maximised and minimised, and reads
  // every other show command back as SW_SHOWNORMAL.
  EXPECT_EQ(shortcut.show_command, SW_SHOWNORMAL);

  // The product starts with its quoted path and a space, in the install folder.
  ASSERT_TRUE(StartProduct(settings_));
  std::wstring record;
  for (int i = 0; i < 300 && record.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    record = ReadRunRecord(install_ / "bin" / "Pindle.exe");
  }
  EXPECT_EQ(record, L"\"" + main_program + L"\" \n" + install_.wstring());
}

TEST_F(InstallStepsTest, AutorunRuleOverAnEarlierInstallation) {
  const std::wstring run_key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  const std::wstring ours = L"\"" + install_.wstring() + L"\\bin\\pindleloader.exe\"";
  struct Case {
    const char* installed;
    bool overlay;
    bool written;
  };
  const Case cases[] = {{"1.0.0.8", true, false}, {"1.0.0.7", true, true}, {"1.0.0.8", false, true}, {"", true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.installed);
    ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, run_key, settings_.product_name, L"the user's own"));
    settings_.installed_version = c.installed;
    settings_.overlay_install = c.overlay;
    FinishInstall(settings_);
    EXPECT_EQ(Registry(HKEY_CURRENT_USER, run_key, settings_.product_name), c.written ? ours : L"the user's own");
  }
}

TEST_F(InstallStepsTest, EngineInstallerOutcomes) {
  struct Case {
    const char* label;
    const char* code;  // nullptr: no engine installer; "garbage": a file that is no program
    bool stopped;
    bool reboot;
    std::vector<std::string> calls;
    bool engine_kept;
  };
  const Case cases[] = {
      {"exit 0", "0", false, false, {"installers_done"}, false},
      {"exit 109", "109", false, true, {"install_fail:109", "installers_done"}, false},
      {"exit 5", "5", true, false, {"install_fail:5", "fatal:Fileoccupied"}, true},
      {"missing", nullptr, false, false, {"installers_done"}, false},
      {"cannot start", "garbage", true, false, {"install_fail:-1", "fatal:Fileoccupied"}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    fs::remove_all(install_);
    report_.calls.clear();
    PlacePrograms({kMirrorProgram, kMirror});
    if (c.code && std::string(c.code) == "garbage") {
      fs::create_directories(install_ / "engine");
      ASSERT_TRUE(test_support::WriteFile(install_ / kEngine, "not a program"));
    } else if (c.code) {
      PlacePrograms({kEngine});
      SetExitCode(kEngine, c.code);
    }
    const InstallersResult result = RunInstallers(settings_, report_);
    EXPECT_EQ(result.stopped, c.stopped);
    EXPECT_EQ(result.reboot_needed, c.reboot);
    EXPECT_EQ(report_.calls, c.calls);
    EXPECT_EQ(fs::exists(install_ / kEngine), c.engine_kept);
    EXPECT_FALSE(fs::exists(install_ / kMirror));  // deleted whatever came of the engine
  }
}

TEST_F(InstallStepsTest, MirrorInstallerFailingOrHangingIsGivenUpAndTheInstallGoesOn) {
  for (const char* code : {"3", "hang"}) {
    SCOPED_TRACE(code);
    fs::remove_all(install_);
    report_.calls.clear();
    PlacePrograms({kMirrorProgram, kMirror, kEngine});
    SetExitCode(kMirror, code);
    settings_.mirror_time_limit_ms = 1500;
    const InstallersResult result = RunInstallers(settings_, report_);
    EXPECT_FALSE(result.stopped);
    EXPECT_THAT(report_.calls, ElementsAre("installers_done"));
    EXPECT_FALSE(ReadRunRecord(install_ / kEngine).empty()) << "the engine installer ran after the mirror";
    EXPECT_FALSE(fs::exists(install_ / kMirror)) << "a hanging mirror installer is ended, then deleted";
  }
}

TEST_F(InstallStepsTest, MirrorInstallerRunsOnlyBesideTheMirrorProgram) {
  PlacePrograms({kMirror, kEngine});
  RunInstallers(settings_, report_);
  EXPECT_EQ(ReadRunRecord(install_ / kMirror), L"");
  EXPECT_TRUE(fs::exists(install_ / kMirror));
}

TEST_F(InstallStepsTest, ExtractionFailingEveryWayReports201) {
  ASSERT_TRUE(test_support::WriteFile(package_, std::string(4096, '\x5a')));
  EXPECT_FALSE(Unpack());
  EXPECT_FALSE(OnExtractResult(false, settings_, report_));
  EXPECT_THAT(report_.calls, ElementsAre("install_fail:201", "fatal:Fileoccupied"));
  EXPECT_FALSE(fs::exists(install_ / "bin"));
  EXPECT_FALSE(fs::exists(root_ / "data" / "conf.ini"));
}

TEST_F(InstallStepsTest, OldShortcutsBothWays) {
  const std::wstring main_program = install_.wstring() + L"\\bin\\Pindle.exe";
  const fs::path desktop = root_ / "desktop";
  const fs::path pin =
      root_ / "roaming" / "Microsoft" / "Internet Explorer" / "Quick Launch" / "User Pinned" / "TaskBar" / "Vesk.lnk";
  settings_.old_shortcut_names = {L"Vesk.lnk", L"Old Vesk.lnk"};
  for (bool only_old_names : {true, false}) {
    SCOPED_TRACE(only_old_names);
    long hresult = 0;
    fs::create_directories(pin.parent_path());
    ASSERT_TRUE(test_support::WriteFile(pin, "pin"));
    ASSERT_TRUE(WriteShortcut((desktop / "Vesk.lnk").wstring(), L"C:\\windows\\notepad.exe", L"C:\\", &hresult));
    ASSERT_TRUE(WriteShortcut((desktop / "Old Vesk.lnk").wstring(), main_program, install_.wstring(), &hresult));
    ASSERT_TRUE(WriteShortcut((desktop / "Mine.lnk").wstring(), main_program, install_.wstring(), &hresult));
    ASSERT_TRUE(test_support::WriteFile(desktop / "notes.txt", "not a shortcut"));

    RemoveOldShortcuts(settings_, only_old_names);
    EXPECT_FALSE(fs::exists(pin));
    EXPECT_TRUE(fs::exists(desktop / "Vesk.lnk")) << "points elsewhere: kept";
    EXPECT_FALSE(fs::exists(desktop / "Old Vesk.lnk"));
    EXPECT_EQ(fs::exists(desktop / "Mine.lnk"), only_old_names);
    EXPECT_TRUE(fs::exists(desktop / "notes.txt"));

    // The new shortcut replaces the one that pointed elsewhere.
    FinishInstall(settings_);
    ShortcutFacts shortcut;
    ASSERT_TRUE(ReadShortcut((desktop / "Vesk.lnk").wstring(), &shortcut));
    EXPECT_EQ(shortcut.target, main_program);
    fs::remove(desktop / "Mine.lnk");
  }
}

TEST_F(InstallStepsTest, PackageDigest) {
  std::string md5;
  ASSERT_TRUE(test_support::ReadFile(PackageFolder() / "package.7z.md5", &md5));
  md5 = md5.substr(0, 32);
  std::string upper = md5;
  std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
  std::string wrong = md5;
  wrong[31] = wrong[31] == '0' ? '1' : '0';
  struct Case {
    std::string expected;
    bool passes;
  };
  const Case cases[] = {{md5, true}, {upper, true}, {"", true}, {"not-a-digest", true}, {wrong, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    report_.calls.clear();
    settings_.package_md5 = c.expected;
    EXPECT_EQ(CheckPackageDigest(settings_, report_), c.passes);
    if (c.passes) {
      EXPECT_THAT(report_.calls, IsEmpty());
      EXPECT_TRUE(fs::exists(package_));
    } else {
      EXPECT_THAT(report_.calls, ElementsAre("download_fail:Server_Error", "fatal:ServiceError"));
      EXPECT_FALSE(fs::exists(package_)) << "a package the server disagrees with is deleted";
      EXPECT_FALSE(fs::exists(install_)) << "nothing was unpacked";
    }
  }
  // A package that is gone cannot match.
  settings_.package_md5 = md5;
  EXPECT_FALSE(CheckPackageDigest(settings_, report_));
}

TEST(PackageDigestTest, KnownDigestsAcrossTheReadBuffer) {
  test_support::ScratchFolder scratch;
  struct Case {
    std::string contents;
    const char* md5;
  };
  const Case cases[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"The quick brown fox jumps over the lazy dog", "9e107d9d372bb6826bd81d3542a419d6"},
      // 1 MiB + 1 of 'a': four whole read buffers and one byte more (md5sum of the same bytes).
      {std::string(1024 * 1024 + 1, 'a'), "6f0555ac53cecbf068d354c08863805a"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.contents.size());
    const fs::path file = scratch.path() / "file";
    ASSERT_TRUE(test_support::WriteFile(file, c.contents));
    std::string hex;
    uint32_t error = 0;
    ASSERT_TRUE(FileMd5(file.wstring(), &hex, &error)) << error;
    EXPECT_EQ(hex, c.md5);
  }
  std::string hex;
  uint32_t error = 0;
  EXPECT_FALSE(FileMd5((scratch.path() / "missing").wstring(), &hex, &error));
  EXPECT_EQ(error, static_cast<uint32_t>(ERROR_FILE_NOT_FOUND));
}

// The restart seam: no test restarts anything.
class CountingRestart : public RestartSeam {
 public:
  void Restart() override { ++count; }
  int count = 0;
};

TEST(RestartQuestionTest, OnlyRestartRunsTheSeamOnce) {
  CountingRestart seam;
  EXPECT_FALSE(AnswerRestartQuestion(0, seam));
  EXPECT_FALSE(AnswerRestartQuestion(2, seam));
  EXPECT_EQ(seam.count, 0);
  EXPECT_TRUE(AnswerRestartQuestion(1, seam));
  EXPECT_EQ(seam.count, 1);
}

}  // namespace
}  // namespace installer
