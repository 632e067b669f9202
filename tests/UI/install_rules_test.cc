// The install steps' decisions: what runs, what an exit code means, what the registry records,
// when the logon value is written, which shortcuts go and when a package counts as the one the
// server described.
#include "UI/install_rules.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace installer {
namespace {

const std::wstring kInstall = L"C:\\Program Files\\Dravel\\Vesk";

TEST(InstallerCommandTest, BothInstallersWithAndWithoutDebug) {
  struct Case {
    bool debug;
    std::wstring mirror;
    std::wstring engine;
  };
  const Case cases[] = {
      {false,
       L"\"C:\\Program Files\\Dravel\\Vesk\\engine\\mirrorinstaller.exe\" -installpath:\"C:\\Program "
       L"Files\\Dravel\\Vesk\\bin\"",
       L"\"C:\\Program Files\\Dravel\\Vesk\\engine\\engine7.exe\" -silent -installpath:\"C:\\Program "
       L"Files\\Dravel\\QVPlayer\""},
      {true,
       L"\"C:\\Program Files\\Dravel\\Vesk\\engine\\mirrorinstaller.exe\" -installpath:\"C:\\Program "
       L"Files\\Dravel\\Vesk\\bin\" -debug",
       L"\"C:\\Program Files\\Dravel\\Vesk\\engine\\engine7.exe\" -silent -installpath:\"C:\\Program "
       L"Files\\Dravel\\QVPlayer\" -debug"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.debug);
    EXPECT_EQ(MirrorInstallerCommand(kInstall, c.debug), c.mirror);
    EXPECT_EQ(EngineInstallerCommand(kInstall, "7", c.debug), c.engine);
  }
}

TEST(InstallerCommandTest, EngineFolderOfARootInstall) {
  // "D:\Vesk": the engine goes next to it, at "D:\QVPlayer".
  EXPECT_EQ(EngineInstallerCommand(L"D:\\Vesk", "12", false),
            L"\"D:\\Vesk\\engine\\engine12.exe\" -silent -installpath:\"D:\\QVPlayer\"");
}

TEST(InstallerOutcomeTest, ExitCodesOfBothInstallers) {
  struct Case {
    bool started;
    int exit_code;
    int reported;
    EngineOutcome engine;
    bool mirror_ok;
  };
  const Case cases[] = {
      {true, 0, 0, EngineOutcome::kSucceeded, true},
      {true, 109, 109, EngineOutcome::kRestartLater, false},
      {true, 5, 5, EngineOutcome::kFailed, false},
      {false, 0, -1, EngineOutcome::kFailed, false},  // never started: whatever the code held
      {false, -1, -1, EngineOutcome::kFailed, false},
      {false, 301, 301, EngineOutcome::kFailed, false},  // given up at its limit
      {true, 301, 301, EngineOutcome::kFailed, false},   // a program that itself returned 301
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.started << " " << c.exit_code);
    EXPECT_EQ(ReportedExitCode(c.started, c.exit_code), c.reported);
    EXPECT_EQ(JudgeEngineRun(c.started, c.exit_code), c.engine);
    EXPECT_EQ(MirrorRunSucceeded(c.started, c.exit_code), c.mirror_ok);
  }
}

TEST(RegistryTableTest, ValuesPerBitness) {
  RegistryFacts facts;
  facts.install_folder = kInstall;
  facts.product_name = L"Vesk";
  facts.product_uninstaller = L"uninst.exe";
  facts.display_version = L"3.2.0.1";
  facts.display_name = L"Pindle";
  facts.publisher = L"Dravel Ltd";
  const std::wstring uninstaller = kInstall + L"\\bin\\uninst.exe";
  for (bool wow64 : {false, true}) {
    SCOPED_TRACE(wow64);
    facts.windows_is_64bit = wow64;
    const std::wstring software = wow64 ? L"SOFTWARE\\Wow6432Node\\" : L"SOFTWARE\\";
    const std::wstring setup = software + L"Pindle\\SetupInfo";
    const std::wstring uninstall = software + L"Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vesk";
    const std::vector<RegistryValue> values = ProductRegistryValues(facts);
    const RegistryValue expected[] = {
        {RegistryValue::kLocalMachine, setup, L"InstallPath", kInstall},
        {RegistryValue::kLocalMachine, setup, L"unInstallPath", kInstall},
        {RegistryValue::kLocalMachine, uninstall, L"UninstallString", uninstaller},
        {RegistryValue::kLocalMachine, uninstall, L"DisplayIcon", uninstaller},
        {RegistryValue::kLocalMachine, uninstall, L"DisplayVersion", L"3.2.0.1"},
        {RegistryValue::kLocalMachine, uninstall, L"DisplayName", L"Pindle"},
        {RegistryValue::kLocalMachine, uninstall, L"Publisher", L"Dravel Ltd"},
    };
    ASSERT_EQ(values.size(), std::size(expected));
    for (size_t i = 0; i < values.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(values[i].root, expected[i].root);
      EXPECT_EQ(values[i].key, expected[i].key);
      EXPECT_EQ(values[i].name, expected[i].name);
      EXPECT_EQ(values[i].data, expected[i].data);
    }
  }
}

TEST(RegistryTableTest, UserValuesAreTheSameOnBothBitnesses) {
  const RegistryValue run = AutorunRegistryValue(kInstall, L"Vesk");
  EXPECT_EQ(run.root, RegistryValue::kCurrentUser);
  EXPECT_EQ(run.key, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run");
  EXPECT_EQ(run.name, L"Vesk");
  EXPECT_EQ(run.data, L"\"" + kInstall + L"\\bin\\pindleloader.exe\"");
  const RegistryValue compat = AppCompatRegistryValue(kInstall, L"Pindle.exe");
  EXPECT_EQ(compat.root, RegistryValue::kCurrentUser);
  EXPECT_EQ(compat.key, L"Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers");
  EXPECT_EQ(compat.name, kInstall + L"\\bin\\Pindle.exe");
}

TEST(AutorunRuleTest, OverlayInstallOverNewerVersionsKeepsTheUsersChoice) {
  struct Case {
    const char* installed;
    bool overlay;
    bool write;
  };
  const Case cases[] = {
      {"", true, true},  // no earlier installation
      {"", false, true},
      {"1.0.0.8", true, false},
      {"1.0.0.8", false, true},  // a clean install writes it
                                 // whatever was there
      {"1.0.0.7", true, true},
      {"1.0.0.6", true, true},
      {"0.9.9.9", true, true},
      {"3.2.0.1", true, false},
      {"1.0.0.89", true, false},   // first 7 characters: "1.0.0.8"
      {"1.0.0.7123", true, true},  // "1.0.0.7"
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.installed << " " << c.overlay);
    EXPECT_EQ(ShouldWriteAutorun(c.installed, c.overlay), c.write);
  }
}

TEST(OldShortcutRuleTest, OnlyShortcutsToTheMainProgramGo) {
  const std::wstring main = kInstall + L"\\bin\\Pindle.exe";
  const std::vector<std::wstring> old_names = {L"Vesk.lnk", L"Pindle Player.lnk"};
  struct Case {
    const wchar_t* name;
    std::wstring target;
    bool only_old_names;
    bool remove;
  };
  const Case cases[] = {
      {L"Vesk.lnk", L"C:\\Other\\Vesk.exe", false, false},  // another program of that name stays
      {L"Vesk.lnk", L"C:\\Other\\Vesk.exe", true, false},
      {L"Vesk.lnk", main, true, true},
      {L"vesk.LNK", main, true, true},  // the file system ignores case
      {L"My Emulator.lnk", main, true, false},
      {L"My Emulator.lnk", main, false, true},
      {L"Vesk.lnk", main + L"x", false, false},
      {L"Vesk.lnk", L"", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.only_old_names);
    EXPECT_EQ(IsOldShortcutToRemove(c.name, c.target, main, c.only_old_names, old_names), c.remove);
  }
}

TEST(DigestRuleTest, MatchMismatchAbsentMalformed) {
  const std::string md5 = "9e107d9d372bb6826bd81d3542a419d6";
  struct Case {
    std::string expected;
    std::string actual;
    DigestVerdict verdict;
  };
  const Case cases[] = {
      {md5, md5, DigestVerdict::kMatch},
      {"9E107D9D372BB6826BD81D3542A419D6", md5, DigestVerdict::kMatch},  // either case
      {md5, "9e107d9d372bb6826bd81d3542a419d7", DigestVerdict::kMismatch},
      {md5, "", DigestVerdict::kMismatch},  // the file could not be hashed
      {md5, "zz107d9d372bb6826bd81d3542a419d6", DigestVerdict::kMismatch},
      {"", md5, DigestVerdict::kNoDigest},
      {"9e107d9d372bb6826bd81d3542a419d", md5, DigestVerdict::kMalformed},    // 31 digits
      {"9e107d9d372bb6826bd81d3542a419d6a", md5, DigestVerdict::kMalformed},  // 33
      {"9e107d9d372bb6826bd81d3542a419g6", md5, DigestVerdict::kMalformed},
      {"9e107d9d372bb6826bd81d3542a419d ", md5, DigestVerdict::kMalformed},
      {"9e107d9d-72bb6826bd81d3542a419d6", md5, DigestVerdict::kMalformed},
      // ',' (0x2C) | 0x20 is still ','; 'L' | 0x20 is 'l': neither may pass as a hex digit.
      {"9e107d9d372bb6826bd81d3542a419dL", md5, DigestVerdict::kMalformed},
      {std::string("9e107d9d372bb6826bd81d3542a419d\0", 32), md5, DigestVerdict::kMalformed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(JudgeDigest(c.expected, c.actual), c.verdict);
  }
}

TEST(RestartRuleTest, OnlyRestartRestarts) {
  EXPECT_TRUE(RestartChosen(1));
  for (int other : {0, 2, -1}) EXPECT_FALSE(RestartChosen(other)) << other;
}

TEST(StartCommandTest, QuotedProgramSpaceAndParameters) {
  const std::wstring main = kInstall + L"\\bin\\Pindle.exe";
  EXPECT_EQ(StartProductCommand(main, L""), L"\"" + main + L"\" ");
  EXPECT_EQ(StartProductCommand(main, L"-from downloader"), L"\"" + main + L"\" -from downloader");
  // The start buffer holds 2604 characters with the NUL: longer commands are refused, not cut.
  const std::wstring fits(kStartCommandCapacity - 1 - main.size() - 3, L'x');
  EXPECT_EQ(StartProductCommand(main, fits).size(), kStartCommandCapacity - 1);
  EXPECT_EQ(StartProductCommand(main, fits + L"x"), L"");
}

}  // namespace
}  // namespace installer
