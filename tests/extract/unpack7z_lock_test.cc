// Files held open by another handle, as a running adb or a running product holds them: Windows
// refuses to recreate them, and the extractor must skip the adb ones and fail on the others.
#include <windows.h>

#include <gtest/gtest.h>

#include "extract/unpack7z.h"
#include "extract_test_support.h"
#include "file_lock_win.h"

namespace extract_test {
namespace {

// Unpacks once, so the locked files exist as an earlier installation left them.
fs::path InstalledFolder(const ScratchFolder& scratch) {
  const fs::path install = scratch.path() / "install";
  fs::create_directories(install);
  int code = -1;
  EXPECT_TRUE(Unpack7zInFolder(U16(Archive("lzma2_solid.7z")), U16(install), &code));
  return install;
}

TEST(LockedFileTest, LockedAdbIsSkippedAndTheRestIsUpdated) {
  ScratchFolder scratch;
  const fs::path install = InstalledFolder(scratch);
  WriteFile(install / "vesk_adb.exe", "older adb");
  WriteFile(install / "readme.txt", "older read-me");
  FileLock adb(install / "vesk_adb.exe");
  FileLock adb_api(install / "Adb" / "AdbWinApi.dll");
  ASSERT_TRUE(adb.held() && adb_api.held());

  int code = -1;
  UnpackDetails details;
  EXPECT_TRUE(Unpack7zInFolder(U16(Archive("lzma2_solid.7z")), U16(install), &code, &details));
  EXPECT_EQ(code, 0);
  EXPECT_EQ(details.skipped_entries, 2);
  EXPECT_EQ(ReadFile(install / "vesk_adb.exe"), "older adb");
  EXPECT_EQ(ReadFile(install / "readme.txt"), ReadFile(ExpectedTree() / "readme.txt"));
}

TEST(LockedFileTest, LockedProductFileFailsAndIsRecordedInTheErrorFile) {
  ErrorFileGuard error_file;
  ScratchFolder scratch;
  const fs::path install = InstalledFolder(scratch);
  FileLock product(install / "PindleCommon.dll");
  ASSERT_TRUE(product.held());

  int code = -1;
  UnpackDetails details;
  EXPECT_FALSE(Unpack7zInFolder(U16(Archive("lzma2_solid.7z")), U16(install), &code, &details));
  EXPECT_EQ(code, 11);
  EXPECT_EQ(details.failure, extract::EntryFailure::kCannotOpen);
  EXPECT_EQ(error_file.Contents(), "file name is:" + install.string() + "\\PindleCommon.dll");
}

TEST(LockedFileTest, ReadOnlyFileIsReplacedButALockedReadOnlyFileIsNot) {
  ScratchFolder scratch;
  const fs::path install = InstalledFolder(scratch);
  const fs::path target = install / "PindleCommon.dll";
  ASSERT_TRUE(::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  int code = -1;
  EXPECT_TRUE(Unpack7zInFolder(U16(Archive("lzma2_solid.7z")), U16(install), &code));
  EXPECT_EQ(ReadFile(target), ReadFile(ExpectedTree() / "PindleCommon.dll"));

  ASSERT_TRUE(::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY));
  FileLock product(target);
  ASSERT_TRUE(product.held());
  EXPECT_FALSE(Unpack7zInFolder(U16(Archive("lzma2_solid.7z")), U16(install), &code));
  EXPECT_EQ(code, 11);
  // The attempt leaves the locked file as it was, read-only included.
  EXPECT_NE(::GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

}  // namespace
}  // namespace extract_test
