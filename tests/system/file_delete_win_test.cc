// Deleting files and folders on the real (Wine) file system, with files in use by other
// processes.
#include <windows.h>

#include <gtest/gtest.h>

#include "system/file_delete.h"
#include "tests/system/win_test_support.h"

namespace {

// The paths waiting for deletion at the next restart, as the system records them.
std::wstring PendingRenames() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager", 0,
                    KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS) {
    return std::wstring();
  }
  std::wstring text(65536, L'\0');
  DWORD size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  const LONG result =
      RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, nullptr, reinterpret_cast<BYTE*>(&text[0]), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) return std::wstring();
  text.resize(size / sizeof(wchar_t));
  for (wchar_t& c : text) {
    if (c == L'\0') c = L'|';
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  }
  return text;
}

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  }
  return text;
}

bool PendingDeletionOf(const std::wstring& path) {
  return PendingRenames().find(Lower(path) + L"||") != std::wstring::npos;
}

TEST(DeleteFileRobustTest, PlainReadOnlyMissingAndFolder) {
  ScratchFolder folder;
  const std::wstring plain = folder / L"plain.txt";
  ASSERT_TRUE(WriteFileBytes(plain, "x"));
  EXPECT_TRUE(DeleteFileRobust(plain));
  EXPECT_FALSE(Exists(plain));

  const std::wstring read_only = folder / L"read-only.txt";
  ASSERT_TRUE(WriteFileBytes(read_only, "x"));
  SetFileAttributesW(read_only.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  EXPECT_TRUE(DeleteFileRobust(read_only));
  EXPECT_FALSE(Exists(read_only));

  EXPECT_TRUE(DeleteFileRobust(folder / L"missing.txt"));
  EXPECT_TRUE(DeleteFileRobust(folder.path()));  // a folder is left alone
  EXPECT_TRUE(IsFolderAt(folder.path()));
}

TEST(DeleteFileRobustTest, RunningProgramIsRenamedAndItsNameFreed) {
  ScratchFolder folder;
  const std::wstring program = folder / L"running.exe";
  ASSERT_TRUE(CopyFileW(ChildProgram().c_str(), program.c_str(), FALSE));
  // An older leftover of the rename is replaced.
  ASSERT_TRUE(WriteFileBytes(program + L".tmp", "leftover"));
  NamedEvent release(L"release");
  ChildProcess child(L"wait " + release.name(), program);
  ASSERT_TRUE(child.started());
  Sleep(300);  // let it map its image

  EXPECT_FALSE(DeleteFileRobust(program));
  EXPECT_FALSE(Exists(program)) << "the original name must be free for the new copy";
  ASSERT_TRUE(Exists(program + L".tmp"));
  EXPECT_NE(ReadFileBytes(program + L".tmp"), "leftover");
  EXPECT_TRUE(PendingDeletionOf(program + L".tmp"));
  // The name can be used again at once.
  EXPECT_TRUE(WriteFileBytes(program, "new copy"));

  release.Set();
  EXPECT_EQ(child.Wait(10000), 0);
}

TEST(DeleteFileRobustTest, FileHeldWithoutDeleteSharingStaysAndIsScheduled) {
  ScratchFolder folder;
  const std::wstring path = folder / L"held.dat";
  ASSERT_TRUE(WriteFileBytes(path, "held"));
  NamedEvent ready(L"ready");
  NamedEvent release(L"release");
  ChildProcess child(L"hold \"" + path + L"\" " + ready.name() + L" " + release.name());
  ASSERT_TRUE(child.started());
  ASSERT_TRUE(ready.WaitMs(10000));

  // Without delete sharing the system refuses both the deletion and the rename: the file keeps
  // its name and is scheduled for deletion at the next restart.
  EXPECT_FALSE(DeleteFileRobust(path));
  EXPECT_TRUE(Exists(path));
  EXPECT_FALSE(Exists(path + L".tmp"));
  EXPECT_TRUE(PendingDeletionOf(path));

  release.Set();
  EXPECT_EQ(child.Wait(10000), 0);
  EXPECT_TRUE(DeleteFileRobust(path));  // free again: an ordinary deletion
  EXPECT_FALSE(Exists(path));
}

// folder\a.txt, folder\sub\b.txt, folder\sub\deeper\c.txt (read-only), folder\sub\empty\,
// folder\.hidden (hidden)
void MakeNestedTree(const std::wstring& root) {
  CreateDirectoryW(root.c_str(), nullptr);
  CreateDirectoryW((root + L"\\sub").c_str(), nullptr);
  CreateDirectoryW((root + L"\\sub\\deeper").c_str(), nullptr);
  CreateDirectoryW((root + L"\\sub\\empty").c_str(), nullptr);
  WriteFileBytes(root + L"\\a.txt", "a");
  WriteFileBytes(root + L"\\sub\\b.txt", "b");
  WriteFileBytes(root + L"\\sub\\deeper\\c.txt", "c");
  WriteFileBytes(root + L"\\.hidden", "h");
  SetFileAttributesW((root + L"\\sub\\deeper\\c.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  SetFileAttributesW((root + L"\\.hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
}

TEST(DeleteFolderTreeTest, RemovesNestedFoldersAndTheFolder) {
  ScratchFolder folder;
  const std::wstring root = folder / L"tree";
  MakeNestedTree(root);
  EXPECT_TRUE(DeleteFolderTree(root));
  EXPECT_FALSE(Exists(root));
  EXPECT_TRUE(IsFolderAt(folder.path()));

  MakeNestedTree(root);
  EXPECT_TRUE(DeleteFolderTree(root + L"\\"));  // with the separator already there
  EXPECT_FALSE(Exists(root));

  EXPECT_FALSE(DeleteFolderTree(folder / L"missing"));
  const std::wstring file = folder / L"a-file";
  ASSERT_TRUE(WriteFileBytes(file, "x"));
  DeleteFolderTree(file);
  EXPECT_FALSE(Exists(file));
}

std::string Narrow(const std::wstring& path) {
  std::string narrow(path.size() * 4 + 1, '\0');
  const int length =
      WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, &narrow[0], static_cast<int>(narrow.size()), nullptr, nullptr);
  narrow.resize(length > 0 ? length - 1 : 0);
  return narrow;
}

TEST(DeleteFolderContentsTest, EmptiesNestedFoldersAndOptionallyTheFolder) {
  ScratchFolder folder;
  const std::wstring root = folder / L"contents";
  MakeNestedTree(root);
  SetFileAttributesW((root + L"\\sub\\deeper\\c.txt").c_str(), FILE_ATTRIBUTE_NORMAL);

  EXPECT_TRUE(DeleteFolderContents(Narrow(root), false));
  EXPECT_TRUE(IsFolderAt(root));
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW((root + L"\\*").c_str(), &entry);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  int entries = 0;
  do {
    if (std::wstring(entry.cFileName) != L"." && std::wstring(entry.cFileName) != L"..") ++entries;
  } while (FindNextFileW(search, &entry));
  FindClose(search);
  EXPECT_EQ(entries, 0);

  MakeNestedTree(root);
  SetFileAttributesW((root + L"\\sub\\deeper\\c.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_TRUE(DeleteFolderContents(Narrow(root), true));
  EXPECT_FALSE(Exists(root));

  EXPECT_FALSE(DeleteFolderContents(Narrow(folder / L"missing"), true));
  EXPECT_TRUE(DeleteFolderContents(Narrow(folder / L"missing"), false));
}

}  // namespace
