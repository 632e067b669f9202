// Folder and file queries against the real (Wine) file system.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "system/file_util.h"
#include "tests/system/win_test_support.h"

namespace {

TEST(FileUtilWinTest, CreateFolderAcceptsOnlyAFolder) {
  ScratchFolder folder;
  EXPECT_TRUE(CreateFolder(folder / L"new"));
  EXPECT_TRUE(IsFolderAt(folder / L"new"));
  EXPECT_TRUE(CreateFolder(folder / L"new"));  // already there
  ASSERT_TRUE(WriteFileBytes(folder / L"file", "x"));
  EXPECT_FALSE(CreateFolder(folder / L"file"));  // a file holds the name
  EXPECT_FALSE(CreateFolder(folder / L"missing\\child"));
  EXPECT_FALSE(CreateFolder(L""));
}

TEST(FileUtilWinTest, CreateParentFoldersStopsBeforeTheLastComponent) {
  ScratchFolder folder;
  EXPECT_TRUE(CreateParentFolders(folder / L"A\\B\\c.txt"));
  EXPECT_TRUE(IsFolderAt(folder / L"A"));
  EXPECT_TRUE(IsFolderAt(folder / L"A\\B"));
  EXPECT_FALSE(Exists(folder / L"A\\B\\c.txt"));

  // Forward slashes, and folders that already exist.
  EXPECT_TRUE(CreateParentFolders(folder / L"A/B/C/d/"));
  EXPECT_TRUE(IsFolderAt(folder / L"A\\B\\C\\d"));

  // A file in the way of a folder makes the last creation fail.
  ASSERT_TRUE(WriteFileBytes(folder / L"blocker", "x"));
  EXPECT_FALSE(CreateParentFolders(folder / L"blocker\\x.txt"));

  EXPECT_TRUE(CreateParentFolders(L"C:\\"));
  EXPECT_TRUE(CreateParentFolders(L"C:\\file-at-the-root.txt"));
  EXPECT_FALSE(Exists(L"C:\\file-at-the-root.txt"));
  EXPECT_FALSE(CreateParentFolders(L""));
  const std::wstring too_long = folder.path() + L"\\" + std::wstring(261, L'a') + L"\\b";
  EXPECT_FALSE(CreateParentFolders(too_long));
}

TEST(FileUtilWinTest, CreateEmptyFileMakesItsFoldersAndTruncates) {
  ScratchFolder folder;
  const std::wstring path = folder / L"x\\y\\empty.dat";
  EXPECT_TRUE(CreateEmptyFile(path));
  EXPECT_EQ(FileSize(path), 0);
  ASSERT_TRUE(WriteFileBytes(path, "some bytes"));
  EXPECT_EQ(FileSize(path), 10);
  EXPECT_TRUE(CreateEmptyFile(path));
  EXPECT_EQ(FileSize(path), 0);
}

TEST(FileUtilWinTest, FileSizeNeedsTheFileToItself) {
  ScratchFolder folder;
  const std::wstring path = folder / L"sized.bin";
  ASSERT_TRUE(WriteFileBytes(path, std::string(70000, 'z')));
  EXPECT_EQ(FileSize(path), 70000);
  EXPECT_EQ(FileSize(folder / L"missing.bin"), -1);
  HANDLE other = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  EXPECT_EQ(FileSize(path), -1);  // opened without sharing: refused while another handle is open
  CloseHandle(other);
  EXPECT_EQ(FileSize(path), 70000);
}

TEST(FileUtilWinTest, CanonicalPathAndExtensionTest) {
  EXPECT_EQ(CanonicalPath(L"C:/a/./b/../c.lnk"), L"C:\\a\\c.lnk");
  EXPECT_EQ(CanonicalPath(L"C:\\" + std::wstring(300, L'x')), L"");

  ScratchFolder folder;
  ASSERT_TRUE(WriteFileBytes(folder / L"Game.LNK", "x"));
  CreateDirectoryW((folder / L"folder.lnk").c_str(), nullptr);
  EXPECT_TRUE(IsExistingFileWithExtension(folder / L"Game.LNK", L".lnk"));
  EXPECT_TRUE(IsExistingFileWithExtension(folder / L"sub/../Game.LNK", L".lnk"));
  EXPECT_FALSE(IsExistingFileWithExtension(folder / L"Game.LNK", L".exe"));
  EXPECT_FALSE(IsExistingFileWithExtension(folder / L"Other.lnk", L".lnk"));
  EXPECT_FALSE(IsExistingFileWithExtension(folder / L"folder.lnk", L".lnk"));
}

TEST(FileUtilWinTest, SpecialFolders) {
  const std::wstring appdata = GetSpecialFolder(CSIDL_LOCAL_APPDATA, true);
  ASSERT_FALSE(appdata.empty());
  EXPECT_TRUE(IsFolderAt(appdata));
  EXPECT_EQ(ParentFolder(appdata + L"\\x"), appdata + L"\\");
}

}  // namespace
