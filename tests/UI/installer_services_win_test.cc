// The program's services against the real (Wine) registry, files and loops.
#include "UI/installer_services.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/prompt_fallback.h"
#include "runtime/message_loop.h"
#include "runtime/task.h"
#include "runtime/thread.h"
#include "scratch_folder.h"
#include "system/registry.h"

namespace installer {
namespace {

namespace fs = std::filesystem;

TEST(ProgramServices, PromptTextsByKey) {
  app::CGlobal global;
  for (int i = 0; i < app::CGlobal::kPromptCount; ++i) global.prompts[i] = L"text " + std::to_wstring(i);
  EXPECT_EQ(PromptTextOf(global, "Repair"), global.prompts[PromptKeyIndex("Repair")]);
  EXPECT_EQ(PromptTextOf(global, "FREEDISK2"), L"text 23");
  EXPECT_EQ(PromptTextOf(global, "NoSuchKey"), L"");
}

TEST(ProgramServices, ReleaseFolderIsCreatedWithItsParents) {
  test_support::ScratchFolder scratch;
  const fs::path folder = scratch.path() / "Games" / "Pindle";
  EXPECT_TRUE(CreateReleaseFolder(folder.wstring()));
  EXPECT_TRUE(fs::is_directory(folder));
  ASSERT_TRUE(test_support::WriteFile(scratch.path() / "file", "x"));
  EXPECT_FALSE(CreateReleaseFolder((scratch.path() / "file" / "Pindle").wstring()));
}

// The record is removed at the end, whatever the test did.
class BackupRecordTest : public testing::Test {
 protected:
  void TearDown() override {
    RegDeleteValue(HKEY_CLASSES_ROOT, kBackupPackageKey, L"backup");
    RegDeleteValue(HKEY_CLASSES_ROOT, kBackupPackageKey, L"backupsize");
  }
};

TEST_F(BackupRecordTest, OnlyAFullRecordOfAnExistingFileDeletesIt) {
  test_support::ScratchFolder scratch;
  const fs::path package = scratch.path() / "old.7z";
  ASSERT_TRUE(test_support::WriteFile(package, "old package"));
  EXPECT_FALSE(DeleteRecordedBackupPackage());  // no record
  ASSERT_TRUE(RegWriteString(HKEY_CLASSES_ROOT, kBackupPackageKey, L"backup", package.wstring()));
  EXPECT_FALSE(DeleteRecordedBackupPackage());  // no size value
  EXPECT_TRUE(fs::exists(package));
  ASSERT_TRUE(RegWriteString(HKEY_CLASSES_ROOT, kBackupPackageKey, L"backupsize", L"11"));
  EXPECT_TRUE(DeleteRecordedBackupPackage());
  EXPECT_FALSE(fs::exists(package));
  EXPECT_FALSE(DeleteRecordedBackupPackage());  // the named file is gone: nothing to do
}

bool g_started = false;
void MarkStarted(int) {
  g_started = true;
}

TEST(ProgramServices, ShortcutStepHandsTheStartBackToTheUiLoop) {
  app::CGlobal global;
  base::MessageLoop ui_loop;
  base::SetThreadLoop(base::kUiLoop, &ui_loop);
  base::Thread file_thread("file_thread");
  ASSERT_TRUE(file_thread.Start());
  base::SetThreadLoop(base::kFileLoop, file_thread.message_loop());
  g_started = false;
  ProgramServices services(&global, nullptr, [] { return base::NewFunctionTask(&MarkStarted, 0); });
  services.RemoveOldShortcuts(true, true);
  file_thread.Stop();  // the file step has run and posted the start
  base::SetThreadLoop(base::kFileLoop, nullptr);
  EXPECT_FALSE(g_started);
  ui_loop.PostQuit();  // after the start, which came first
  ui_loop.Run();
  EXPECT_TRUE(g_started);
  base::SetThreadLoop(base::kUiLoop, nullptr);
}

TEST(ProgramServices, LeftoversGoWhenTheLoopEnds) {
  test_support::ScratchFolder scratch;
  app::CGlobal global;
  global.package_folder = (scratch.path() / "PindlePackFileder").wstring() + L"\\";
  fs::create_directories(scratch.path() / "PindlePackFileder");
  ASSERT_TRUE(test_support::WriteFile(scratch.path() / "PindlePackFileder" / "PindlePackage1", "part"));
  {
    base::MessageLoop loop;
    ProgramServices services(&global, nullptr, nullptr);
    services.QueueLeftoverRemoval();
    EXPECT_TRUE(fs::exists(scratch.path() / "PindlePackFileder"));
  }
  EXPECT_FALSE(fs::exists(scratch.path() / "PindlePackFileder"));
}

}  // namespace
}  // namespace installer
