// The demo product's programs under Wine, against real processes, files, registry and shortcuts:
// the main program records its command line and folder, the kill tool ends a real process, the
// installer stand-ins exit with the chosen code and log their command line, and the uninstaller
// removes exactly what the install steps write for its installation.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <string>
#include <vector>

#include "scratch_folder.h"
#include "system/registry.h"
#include "runtime/scoped_handle_win.h"
#include "system/shortcut.h"

namespace {

std::wstring Widen(const char* text) {
  std::wstring wide;
  for (const char* p = text; *p; ++p) wide += static_cast<wchar_t>(*p == '/' ? '\\' : *p);
  return wide;
}

const std::wstring kProductBin = Widen(PINDLE_DEMO_PRODUCT_DIR "/bin");
const std::wstring kProductEngine = Widen(PINDLE_DEMO_PRODUCT_DIR "/engine");
const bool kIs64Bit = sizeof(void*) == 8;

std::wstring ReadUtf8File(const std::wstring& path) {
  std::string bytes;
  if (!test_support::ReadFile(std::filesystem::path(path), &bytes)) return std::wstring();
  const int length = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring text(length > 0 ? length : 0, L'\0');
  if (length > 0) MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0], length);
  return text;
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A started program; ended at the end of the test if it still runs.
class Process {
 public:
  Process(const std::wstring& program, const std::wstring& arguments, const std::wstring& folder) {
    command_ = L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    std::wstring line = command_;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (CreateProcessW(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                       folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
      process_.reset(info.hProcess);
      CloseHandle(info.hThread);
      id_ = info.dwProcessId;
    }
  }
  ~Process() {
    if (process_.valid() && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.get(), 99);
      WaitForSingleObject(process_.get(), 5000);
    }
  }
  bool started() const { return process_.valid(); }
  DWORD id() const { return id_; }
  const std::wstring& command() const { return command_; }
  bool Ended(DWORD ms) const { return WaitForSingleObject(process_.get(), ms) == WAIT_OBJECT_0; }
  // The exit code once it ended within `ms`, else -1.
  long Wait(DWORD ms) const {
    DWORD code = 0;
    if (!Ended(ms) || !GetExitCodeProcess(process_.get(), &code)) return -1;
    return static_cast<long>(code);
  }

 private:
  base::ScopedHandle process_;
  DWORD id_ = 0;
  std::wstring command_;
};

// Sets an environment value of this process (inherited by the programs it starts) for a scope.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const std::wstring& name, const std::wstring& value) : name_(name) {
    SetEnvironmentVariableW(name_.c_str(), value.empty() ? nullptr : value.c_str());
  }
  ~ScopedEnvironment() { SetEnvironmentVariableW(name_.c_str(), nullptr); }

 private:
  std::wstring name_;
};

// The machine field of a PE file's header; 0 when it cannot be read.
unsigned MachineOf(const std::wstring& path) {
  std::string bytes;
  if (!test_support::ReadFile(std::filesystem::path(path), &bytes) || bytes.size() < 0x40) return 0;
  const unsigned offset = *reinterpret_cast<const unsigned*>(&bytes[0x3c]);
  if (offset + 6 > bytes.size() || bytes.compare(offset, 4, std::string("PE\0\0", 4)) != 0) return 0;
  return static_cast<unsigned char>(bytes[offset + 4]) | (static_cast<unsigned char>(bytes[offset + 5]) << 8);
}

class DemoProgramsTest : public ::testing::Test {
 protected:
  std::wstring Scratch(const std::wstring& name) const { return scratch_.path().wstring() + L"\\" + name; }
  test_support::ScratchFolder scratch_;
};

TEST_F(DemoProgramsTest, MainProgramRecordsItsCommandLineAndFolderAndTheKillToolEndsIt) {
  const std::wstring record = Scratch(L"started.txt");
  ScopedEnvironment record_file(L"PINDLE_DEMO_STARTED_FILE", record);
  Process product(kProductBin + L"\\Pindle.exe", L"-from \"desktop shortcut\"", scratch_.path().wstring());
  ASSERT_TRUE(product.started());
  for (int i = 0; i < 200 && ReadUtf8File(record).find(L"current folder") == std::wstring::npos; ++i) Sleep(50);
  EXPECT_EQ(ReadUtf8File(record),
            L"command line: " + product.command() + L"\r\ncurrent folder: " + scratch_.path().wstring() + L"\r\n");
  EXPECT_FALSE(product.Ended(0));

  const std::wstring tool = kProductBin + (kIs64Bit ? L"\\kntd64.exe" : L"\\kntd32.exe");
  Process kill(tool, L"-c q -p " + std::to_wstring(product.id()), std::wstring());
  ASSERT_TRUE(kill.started());
  EXPECT_EQ(kill.Wait(10000), 0);
  EXPECT_TRUE(product.Ended(5000)) << "the kill tool did not end the product";
}

TEST_F(DemoProgramsTest, KillToolsAreBuiltForTheirBitness) {
  EXPECT_EQ(MachineOf(kProductBin + L"\\kntd32.exe"), 0x14cu);   // IMAGE_FILE_MACHINE_I386
  EXPECT_EQ(MachineOf(kProductBin + L"\\kntd64.exe"), 0x8664u);  // IMAGE_FILE_MACHINE_AMD64
}

TEST_F(DemoProgramsTest, KillToolRefusesWrongCommandLines) {
  const std::wstring tool = kProductBin + (kIs64Bit ? L"\\kntd64.exe" : L"\\kntd32.exe");
  const struct {
    const wchar_t* arguments;
    long exit_code;
  } cases[] = {
      {L"", 2},              // no process id
      {L"-c q -p", 2},       // option without its value
      {L"-c q -p 12x", 2},   // not a number
      {L"-c x -p 1234", 2},  // unknown command
      {L"-c q -p 0", 2},     // no process has id 0
  };
  for (const auto& c : cases) {
    Process kill(tool, c.arguments, std::wstring());
    ASSERT_TRUE(kill.started());
    EXPECT_EQ(kill.Wait(10000), c.exit_code) << c.arguments;
  }
}

TEST_F(DemoProgramsTest, InstallersLogTheirCommandLineAndExitWithTheChosenCode) {
  const struct {
    std::wstring program;
    const wchar_t* variable;  // the program's name in capitals
    const wchar_t* chosen;    // PINDLE_DEMO_<NAME>_EXIT; empty: unset
    long exit_code;
  } cases[] = {
      {kProductEngine + L"\\engine7.exe", L"ENGINE7", L"", 0},
      {kProductEngine + L"\\engine7.exe", L"ENGINE7", L"109", 109},
      {kProductEngine + L"\\engine7.exe", L"ENGINE7", L"-1", -1},
      {kProductEngine + L"\\mirrorinstaller.exe", L"MIRRORINSTALLER", L"3", 3},
      {kProductBin + L"\\Pindlemirror\\Pindlemirror.exe", L"PINDLEMIRROR", L"not a number", 0},
  };
  for (const auto& c : cases) {
    const std::wstring prefix = std::wstring(L"PINDLE_DEMO_") + c.variable;
    const std::wstring log = Scratch(std::wstring(c.variable) + L".log");
    DeleteFileW(log.c_str());
    ScopedEnvironment log_file(prefix + L"_LOG", log);
    ScopedEnvironment exit_code(prefix + L"_EXIT", c.chosen);
    Process installer(c.program, L"-silent -installpath:\"C:\\Program Files\\Dravel Ü\\QVPlayer\" -debug",
                      std::wstring());
    ASSERT_TRUE(installer.started()) << c.variable;
    EXPECT_EQ(static_cast<int>(installer.Wait(10000)), static_cast<int>(c.exit_code)) << c.variable << c.chosen;
    EXPECT_EQ(ReadUtf8File(log), installer.command() + L"\r\n") << c.variable;
  }
}

// What the install steps write for an installation, written the same way, and removed again at
// the end whatever the uninstaller did.
class SimulatedInstall {
 public:
  explicit SimulatedInstall(const std::wstring& folder) : folder_(folder) {
    const std::wstring software = kIs64Bit || IsWow64() ? L"SOFTWARE\\Wow6432Node\\" : L"SOFTWARE\\";
    product_key_ = software + L"Pindle";
    setup_key_ = product_key_ + L"\\SetupInfo";
    uninstall_key_ = software + L"Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pindle";
    wchar_t desktop[MAX_PATH];
    SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, desktop);
    desktop_ = desktop;
  }
  ~SimulatedInstall() {
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, setup_key_.c_str(), KEY_WOW64_64KEY, 0);
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, product_key_.c_str(), KEY_WOW64_64KEY, 0);
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, uninstall_key_.c_str(), KEY_WOW64_64KEY, 0);
    RegDeleteValue(HKEY_CURRENT_USER, kRunKey, L"Pindle");
    RegDeleteValue(HKEY_CURRENT_USER, kRunKey, L"PindleDemoOther");
    DeleteFileW(Shortcut(L"Pindle").c_str());
    DeleteFileW(Shortcut(L"Vesk").c_str());
  }

  bool Write() {
    const std::wstring bin = folder_ + L"\\bin\\";
    bool ok = CreateDirectoryW(folder_.c_str(), nullptr) && CreateDirectoryW(bin.c_str(), nullptr) &&
              CreateDirectoryW((folder_ + L"\\data").c_str(), nullptr) &&
              CreateDirectoryW((folder_ + L"\\data\\rom").c_str(), nullptr);
    for (const wchar_t* program : {L"Pindle_unload.exe", L"Pindle.exe", L"pindleloader.exe"}) {
      ok = ok && CopyFileW((kProductBin + L"\\" + program).c_str(), (bin + program).c_str(), TRUE);
    }
    ok = ok && test_support::WriteFile(std::filesystem::path(folder_ + L"\\data\\rom\\system.img"), "image") &&
         test_support::WriteFile(std::filesystem::path(folder_ + L"\\conf.ini"), "[setting]\r\n");
    SetFileAttributesW((folder_ + L"\\conf.ini").c_str(), FILE_ATTRIBUTE_READONLY);

    ok = ok && RegWriteString(HKEY_LOCAL_MACHINE, setup_key_, L"InstallPath", folder_) &&
         RegWriteString(HKEY_LOCAL_MACHINE, setup_key_, L"unInstallPath", folder_);
    const struct {
      const wchar_t* name;
      std::wstring data;
    } uninstall_values[] = {
        {L"UninstallString", bin + L"Pindle_unload.exe"},
        {L"DisplayIcon", bin + L"Pindle_unload.exe"},
        {L"DisplayVersion", L"3.2.0.1"},
        {L"DisplayName", L"Pindle"},
        {L"Publisher", L"Dravel Technology Co., Ltd."},
    };
    for (const auto& value : uninstall_values) {
      ok = ok && RegWriteString(HKEY_LOCAL_MACHINE, uninstall_key_, value.name, value.data);
    }
    ok = ok && RegWriteString(HKEY_CURRENT_USER, kRunKey, L"Pindle", L"\"" + bin + L"pindleloader.exe\"");
    // Not the product's: must survive.
    ok = ok && RegWriteString(HKEY_CURRENT_USER, kRunKey, L"PindleDemoOther", L"\"C:\\other\\other.exe\"");
    ok = ok && MakeShortcut(Shortcut(L"Pindle"), bin + L"Pindle.exe");
    ok = ok && MakeShortcut(Shortcut(L"Vesk"), L"C:\\windows\\notepad.exe");
    return ok;
  }

  bool HasValue(HKEY root, const std::wstring& key, const wchar_t* value) const {
    std::wstring text;
    return RegReadString(root, key, value, &text);
  }
  bool HasKey(const std::wstring& key) const {
    base::ScopedRegKey open;
    return RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, open.receive()) ==
           ERROR_SUCCESS;
  }
  std::wstring Shortcut(const wchar_t* name) const { return desktop_ + L"\\" + name + L".lnk"; }

  static constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  std::wstring product_key_, setup_key_, uninstall_key_;

 private:
  static bool IsWow64() {
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
  }
  // As the install steps make the desktop shortcut.
  bool MakeShortcut(const std::wstring& file, const std::wstring& target) {
    base::ScopedComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(link.receive())))) {
      return false;
    }
    link.get()->SetPath(target.c_str());
    link.get()->SetArguments(L"");
    link.get()->SetShowCmd(SW_SHOW);
    link.get()->SetWorkingDirectory(folder_.c_str());
    base::ScopedComPtr<IPersistFile> persist;
    if (FAILED(link.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(persist.receive())))) {
      return false;
    }
    return SUCCEEDED(persist.get()->Save(file.c_str(), TRUE));
  }

  std::wstring folder_;
  std::wstring desktop_;
};

class DemoUninstallerTest : public DemoProgramsTest {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
  void TearDown() override { CoUninitialize(); }
};

TEST_F(DemoUninstallerTest, SilentRemovesExactlyWhatTheInstallWrote) {
  // Wine keeps a shortcut's target in the ANSI code page, so the name stays within it here.
  const std::wstring folder = Scratch(L"Pindle Demo \u00fc");
  SimulatedInstall install(folder);
  ASSERT_TRUE(install.Write());

  Process uninstaller(folder + L"\\bin\\Pindle_unload.exe", L"-silent", std::wstring());
  ASSERT_TRUE(uninstaller.started());
  EXPECT_EQ(uninstaller.Wait(30000), 0);
  // The last files go with the second stage, a moment after the first one ends.
  for (int i = 0; i < 200 && Exists(folder); ++i) Sleep(50);
  EXPECT_FALSE(Exists(folder)) << "the installation folder is still there";

  EXPECT_FALSE(install.HasKey(install.setup_key_));
  EXPECT_FALSE(install.HasKey(install.product_key_));
  EXPECT_FALSE(install.HasKey(install.uninstall_key_));
  EXPECT_FALSE(install.HasValue(HKEY_CURRENT_USER, SimulatedInstall::kRunKey, L"Pindle"));
  EXPECT_TRUE(install.HasValue(HKEY_CURRENT_USER, SimulatedInstall::kRunKey, L"PindleDemoOther"));
  EXPECT_FALSE(Exists(install.Shortcut(L"Pindle")));
  EXPECT_TRUE(Exists(install.Shortcut(L"Vesk"))) << "a shortcut to another program was removed";
}

// The question box of `process`, once it shows; null when none shows within 10 s.
HWND WaitForQuestion(DWORD process) {
  for (int i = 0; i < 200; ++i) {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, L"#32770", L"Pindle")) != nullptr) {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (owner == process) return window;
    }
    Sleep(50);
  }
  return nullptr;
}

TEST_F(DemoUninstallerTest, AsksFirstAndRemovesNothingWhenDeclined) {
  const std::wstring folder = Scratch(L"Pindle");
  SimulatedInstall install(folder);
  ASSERT_TRUE(install.Write());

  Process uninstaller(folder + L"\\bin\\Pindle_unload.exe", L"", std::wstring());
  ASSERT_TRUE(uninstaller.started());
  HWND question = WaitForQuestion(uninstaller.id());
  ASSERT_NE(question, nullptr) << "no question was asked";
  PostMessageW(question, WM_COMMAND, IDNO, 0);
  EXPECT_EQ(uninstaller.Wait(10000), 3);

  EXPECT_TRUE(Exists(folder + L"\\conf.ini"));
  EXPECT_TRUE(Exists(folder + L"\\bin\\Pindle.exe"));
  EXPECT_TRUE(install.HasValue(HKEY_LOCAL_MACHINE, install.setup_key_, L"InstallPath"));
  EXPECT_TRUE(install.HasValue(HKEY_CURRENT_USER, SimulatedInstall::kRunKey, L"Pindle"));
  EXPECT_TRUE(Exists(install.Shortcut(L"Pindle")));
}

TEST_F(DemoUninstallerTest, KeepsWhatBelongsToAnotherInstallation) {
  // The registry names an installation elsewhere: this one's folder goes, the entries stay.
  const std::wstring folder = Scratch(L"second");
  const std::wstring other = Scratch(L"first");
  SimulatedInstall install(other);
  ASSERT_TRUE(install.Write());
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW((folder + L"\\bin").c_str(), nullptr));
  ASSERT_TRUE(
      CopyFileW((kProductBin + L"\\Pindle_unload.exe").c_str(), (folder + L"\\bin\\Pindle_unload.exe").c_str(), TRUE));

  Process uninstaller(folder + L"\\bin\\Pindle_unload.exe", L"-silent", std::wstring());
  ASSERT_TRUE(uninstaller.started());
  EXPECT_EQ(uninstaller.Wait(30000), 0);
  for (int i = 0; i < 200 && Exists(folder); ++i) Sleep(50);
  EXPECT_FALSE(Exists(folder));

  EXPECT_TRUE(install.HasValue(HKEY_LOCAL_MACHINE, install.setup_key_, L"InstallPath"));
  EXPECT_TRUE(install.HasValue(HKEY_LOCAL_MACHINE, install.uninstall_key_, L"UninstallString"));
  EXPECT_TRUE(install.HasValue(HKEY_CURRENT_USER, SimulatedInstall::kRunKey, L"Pindle"));
  EXPECT_TRUE(Exists(install.Shortcut(L"Pindle")));
  EXPECT_TRUE(Exists(other + L"\\bin\\Pindle.exe"));
}

TEST_F(DemoUninstallerTest, OutsideAnInstallationsBinFolderItRemovesNothing) {
  const std::wstring folder = Scratch(L"tools");
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  ASSERT_TRUE(
      CopyFileW((kProductBin + L"\\Pindle_unload.exe").c_str(), (folder + L"\\Pindle_unload.exe").c_str(), TRUE));
  ASSERT_TRUE(test_support::WriteFile(std::filesystem::path(Scratch(L"keep.txt")), "keep"));
  Process uninstaller(folder + L"\\Pindle_unload.exe", L"-silent", std::wstring());
  ASSERT_TRUE(uninstaller.started());
  EXPECT_EQ(uninstaller.Wait(30000), 2);
  EXPECT_TRUE(Exists(Scratch(L"keep.txt")));
  EXPECT_TRUE(Exists(folder + L"\\Pindle_unload.exe"));
}

TEST_F(DemoUninstallerTest, SecondStageLeavesAFolderThatHoldsMoreThanTheUninstaller) {
  // "-finish:" names the folder to remove; one that holds anything besides bin\Pindle_unload.exe
  // was not left by a first stage and stays.
  const std::wstring folder = Scratch(L"victim");
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW((folder + L"\\bin").c_str(), nullptr));
  ASSERT_TRUE(
      CopyFileW((kProductBin + L"\\Pindle_unload.exe").c_str(), (folder + L"\\bin\\Pindle_unload.exe").c_str(), TRUE));
  ASSERT_TRUE(test_support::WriteFile(std::filesystem::path(folder + L"\\notes.txt"), "mine"));
  const std::wstring copy = Scratch(L"Pindle_unload_copy.exe");
  ASSERT_TRUE(CopyFileW((kProductBin + L"\\Pindle_unload.exe").c_str(), copy.c_str(), TRUE));

  Process second_stage(copy, L"-silent \"-finish:" + folder + L"\" -after:0", std::wstring());
  ASSERT_TRUE(second_stage.started());
  EXPECT_EQ(second_stage.Wait(30000), 2);
  EXPECT_TRUE(Exists(folder + L"\\notes.txt"));
  EXPECT_TRUE(Exists(folder + L"\\bin\\Pindle_unload.exe"));
}

}  // namespace
