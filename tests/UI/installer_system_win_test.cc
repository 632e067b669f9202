// The installer's thin system calls against the real (Wine) machine: files, volumes, the
// registry's 64-bit view and the file loop's cleanup.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "UI/folder_dialog.h"
#include "UI/install_system.h"
#include "UI/previous_install.h"
#include "app/app_config.h"
#include "runtime/message_loop.h"
#include "scratch_folder.h"
#include "system/os_version.h"
#include "system/registry.h"

namespace installer {
namespace {

namespace fs = std::filesystem;

TEST(SystemCheckSource, WritesTheProbeAndTestsWriteRights) {
  test_support::ScratchFolder data;
  test_support::ScratchFolder program_files;
  app::CGlobal global;
  global.product_data_folder = data.path().wstring();
  SystemCheckSource source(&global, program_files.path().wstring());
  EXPECT_NE(source.OsVersionCode(), kOsVersionTooOld);
  source.WriteGpuCheckTool();
  EXPECT_EQ(global.gpu_check_tool_path, (data.path() / "CheckGLVersion.exe").wstring());
  EXPECT_GT(fs::file_size(global.gpu_check_tool_path), 1000u);

  EXPECT_TRUE(source.CanWriteProgramFiles());
  EXPECT_FALSE(fs::exists(program_files.path() / "Vesk_test"));  // the probe folder is removed again
  // A folder left over by an earlier run counts as written.
  fs::create_directory(program_files.path() / "Vesk_test");
  EXPECT_TRUE(source.CanWriteProgramFiles());
  EXPECT_FALSE(fs::exists(program_files.path() / "Vesk_test"));
  // A file in its place cannot become the folder.
  ASSERT_TRUE(test_support::WriteFile(program_files.path() / "Vesk_test", "x"));
  EXPECT_FALSE(source.CanWriteProgramFiles());
  SystemCheckSource missing(&global, (program_files.path() / "no such folder").wstring());
  EXPECT_FALSE(missing.CanWriteProgramFiles());

  const MachineFacts facts = source.ReadMachineFacts();
  EXPECT_GE(facts.processor_count, 1u);
  EXPECT_GT(facts.memory_megabytes, 0u);
  EXPECT_GT(facts.free_disk_bytes, 0u);
}

TEST(SystemPathFacts, FoldersDrivesAndVolumes) {
  test_support::ScratchFolder folder;
  ASSERT_TRUE(test_support::WriteFile(folder.path() / "file", "x"));
  SystemPathFacts facts;
  EXPECT_TRUE(facts.IsDirectory(folder.path().wstring()));
  EXPECT_FALSE(facts.IsDirectory((folder.path() / "file").wstring()));
  EXPECT_FALSE(facts.IsDirectory((folder.path() / "none").wstring()));
  EXPECT_EQ(facts.KindOfDrive(L'C'), DriveKind::kFixed);
  EXPECT_EQ(facts.KindOfDrive(L'c'), DriveKind::kFixed);
  EXPECT_EQ(facts.KindOfDrive(L'Q'), DriveKind::kNoRoot);
  // The 360 rule against real folders.
  fs::create_directories(folder.path() / "360" / "360Safe");
  EXPECT_FALSE(ValidateInstallPath((folder.path() / "360").wstring(), &facts));
  fs::remove(folder.path() / "360" / "360Safe");
  EXPECT_EQ(ValidateInstallPath((folder.path() / "360").wstring(), &facts),
            facts.KindOfDrive(folder.path().wstring()[0]) == DriveKind::kFixed);

  EXPECT_GT(FreeBytesOfVolume(L"C:"), 0u);
  EXPECT_EQ(FreeBytesOfVolume(L"C:"), FreeBytesOfVolume(L"C:\\windows"));
  EXPECT_EQ(FreeBytesOfVolume(L"Q:"), 0u);
  const std::wstring file_system = VolumeFileSystem(VolumeRootOf(L"C:\\windows"));
  EXPECT_FALSE(file_system.empty());
  EXPECT_LE(file_system.size(), 20u);
  EXPECT_EQ(VolumeFileSystem(L"Q:\\"), L"");
}

// Writes the SetupInfo value where DetectPreviousInstall reads it and removes it at the end.
class PreviousInstallTest : public testing::Test {
 protected:
  void SetUp() override {
    bool ok = false;
    wow64_ = IsWow64(&ok);
    ASSERT_TRUE(ok);
    key_ = SetupInfoKey(wow64_, app::GetAppConfig()->ProductRegistryName());
  }
  void TearDown() override { RegDeleteValue(HKEY_LOCAL_MACHINE, key_, L"InstallPath"); }

  bool wow64_ = false;
  std::wstring key_;
};

TEST_F(PreviousInstallTest, ReusesARecordedFolderThatExists) {
  test_support::ScratchFolder old_install;
  ASSERT_TRUE(RegWriteString(HKEY_LOCAL_MACHINE, key_, L"InstallPath", old_install.path().wstring()));
  app::CGlobal global;
  bool query_ok = false;
  EXPECT_EQ(DetectPreviousInstall(&global, &query_ok), old_install.path().wstring());
  EXPECT_TRUE(query_ok);
  EXPECT_EQ(global.is_64bit_windows, wow64_);

  // A folder that no longer exists is no previous installation.
  ASSERT_TRUE(RegWriteString(HKEY_LOCAL_MACHINE, key_, L"InstallPath", (old_install.path() / "gone").wstring()));
  EXPECT_EQ(DetectPreviousInstall(&global, &query_ok), L"");
  RegDeleteValue(HKEY_LOCAL_MACHINE, key_, L"InstallPath");
  EXPECT_EQ(DetectPreviousInstall(&global, &query_ok), L"");
}

TEST_F(PreviousInstallTest, InstalledVersionFromTheUninstallEntry) {
  app::CGlobal global;
  global.is_64bit_windows = wow64_;
  global.product_name = L"PindleInstallerTest";
  const std::wstring key = UninstallKey(wow64_, global.product_name);
  EXPECT_EQ(ReadInstalledVersion(global), L"");
  ASSERT_TRUE(RegWriteString(HKEY_LOCAL_MACHINE, key, L"DisplayVersion", L"3.1.0.2"));
  EXPECT_EQ(ReadInstalledVersion(global), L"3.1.0.2");
  RegDeleteValue(HKEY_LOCAL_MACHINE, key, L"DisplayVersion");
}

TEST(PackagePath, ChosenFolderIsRemovedWhenTheLoopEnds) {
  app::CGlobal global;
  const std::wstring expected_folder = PackageFolder(app::LocalAppDataFolder(), L"PindlePackFileder");
  const int64_t before = static_cast<int64_t>(time(nullptr));
  {
    base::MessageLoop loop;
    ASSERT_TRUE(ChoosePackagePath(&global));
    EXPECT_EQ(global.package_folder, expected_folder);
    EXPECT_TRUE(fs::is_directory(global.package_folder));
    const std::wstring prefix = expected_folder + L"PindlePackage";
    ASSERT_EQ(global.local_app_data.compare(0, prefix.size(), prefix), 0) << global.local_app_data;
    const int64_t stamp = std::stoll(global.local_app_data.substr(prefix.size()));
    EXPECT_GE(stamp, before);
    EXPECT_LE(stamp, static_cast<int64_t>(time(nullptr)));
    ASSERT_TRUE(test_support::WriteFile(global.local_app_data, "part of a package"));
  }
  EXPECT_FALSE(fs::exists(expected_folder));
}

TEST(FolderDialog, ParametersOfTheShellDialog) {
  wchar_t name[MAX_PATH] = {};
  const HWND owner = reinterpret_cast<HWND>(0x1234);
  const BROWSEINFOW info = FolderDialogParameters(owner, name);
  EXPECT_EQ(info.hwndOwner, owner);
  EXPECT_STREQ(info.lpszTitle, L"请选择文件夹");
  EXPECT_EQ(info.ulFlags, static_cast<UINT>(BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE));
  EXPECT_EQ(info.pszDisplayName, name);
  EXPECT_EQ(info.pidlRoot, nullptr);
}

}  // namespace
}  // namespace installer
