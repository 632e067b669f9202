// The in-process extraction on real archives made by 7-Zip and real files: every method the
// package may use, the failures the installer must tell apart, hostile entry names, locked
// entries, and the extraction step around it.
#include "extract/unpack7z.h"

#include <gtest/gtest.h>

#include "extract/extract_package.h"
#include "extract_test_support.h"
#include "fake_extract_environment.h"
#include "runtime/text_encoding.h"

namespace extract_test {
namespace {

using extract::EntryFailure;

fs::path MakeInstallFolder(const ScratchFolder& scratch, const std::string& name = "install") {
  const fs::path folder = scratch.path() / name;
  fs::create_directories(folder);
  return folder;
}

// --- Good archives: every method, solid and not, byte for byte ---------------------------

class GoodArchiveTest : public ::testing::TestWithParam<const char*> {};

TEST_P(GoodArchiveTest, UnpacksEveryFileByteIdenticalAndReplacesAnEarlierInstallation) {
  ScratchFolder scratch;
  const fs::path install = MakeInstallFolder(scratch);
  int code = -1;
  UnpackDetails details;
  EXPECT_TRUE(Unpack7zInFolder(U16(Archive(GetParam())), U16(install), &code, &details));
  EXPECT_EQ(code, 0);
  EXPECT_EQ(details.failure, EntryFailure::kNone);
  EXPECT_EQ(details.skipped_entries, 0);
  EXPECT_EQ(details.bytes_written, TreeBytes(ExpectedTree()));
  ExpectSameTree(ExpectedTree(), install);
  EXPECT_TRUE(IsReadOnly(install / "readonly.txt"));
  EXPECT_FALSE(IsReadOnly(install / "readme.txt"));
  EXPECT_EQ(fs::file_size(install / "empty.dat"), 0u);

  // An update unpacks over the files of the earlier installation, read-only ones included.
  WriteFile(install / "readme.txt", "stale");
  fs::permissions(install / "readonly.txt", fs::perms::owner_write, fs::perm_options::add);
  WriteFile(install / "readonly.txt", "stale");
  fs::permissions(install / "readonly.txt", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  code = -1;
  EXPECT_TRUE(Unpack7zInFolder(U16(Archive(GetParam())), U16(install), &code, &details));
  EXPECT_EQ(code, 0);
  ExpectSameTree(ExpectedTree(), install);
  EXPECT_TRUE(IsReadOnly(install / "readonly.txt"));
}

INSTANTIATE_TEST_SUITE_P(Methods, GoodArchiveTest,
                         ::testing::Values("lzma.7z", "lzma2_solid.7z", "lzma2_blocks.7z", "bcj_lzma.7z", "bcj2.7z",
                                           "ppmd.7z", "copy.7z"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           std::string name = info.param;
                           return name.substr(0, name.find('.'));
                         });

TEST(Unpack7zInFolderTest, InstallFolderIsCurrentWhileFilesAreWrittenAndRestoredAfter) {
  ScratchFolder scratch;
  const fs::path install = MakeInstallFolder(scratch);
  const fs::path before = fs::current_path();
  RecordingFileSystem files;
  int code = -1;
  EXPECT_TRUE(extract::Unpack7zInFolderWith(files, U16(Archive("lzma2_solid.7z")), U16(install), &code, nullptr));
  ASSERT_FALSE(files.folders_at_open().empty());
  for (const fs::path& folder : files.folders_at_open()) EXPECT_TRUE(fs::equivalent(folder, install));
  EXPECT_EQ(fs::current_path(), before);

  EXPECT_FALSE(extract::Unpack7zInFolderWith(files, U16(Archive("crc_error.7z")), U16(install), &code, nullptr));
  EXPECT_EQ(code, 3);
  EXPECT_EQ(fs::current_path(), before);
}

// --- Failures: codes and what is printed ---------------------------------------------------

struct FailureCase {
  const char* archive;  // under the data folder; "missing.7z" does not exist
  bool install_folder_exists;
  std::vector<int> codes;      // any of these
  const char* printed_prefix;  // what the diagnostics start with
  EntryFailure failure;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
  *os << c.archive;
}

class FailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(FailureTest, ReportsTheCodeAndPrintsItsDiagnostic) {
  const FailureCase& c = GetParam();
  ScratchFolder scratch;
  const fs::path install = scratch.path() / "install";
  if (c.install_folder_exists) fs::create_directories(install);
  RecordingFileSystem files;
  UnpackDetails details;
  const int code = extract::Unpack7zWith(files, U16(Archive(c.archive)), U16(install), &details);
  EXPECT_NE(std::find(c.codes.begin(), c.codes.end(), code), c.codes.end()) << "code " << code;
  EXPECT_EQ(files.printed().rfind(c.printed_prefix, 0), 0u) << files.printed();
  EXPECT_EQ(details.failure, c.failure);
  if (code != 1 && code != 21 && code != 22) {
    // Every later failure ends with the count of bytes written.
    EXPECT_NE(files.printed().find("num " + std::to_string(details.bytes_written) + "\n"), std::string::npos)
        << files.printed();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Codes, FailureTest,
    ::testing::Values(FailureCase{"missing.7z", true, {22}, "Source path not existed\n", EntryFailure::kNone},
                      FailureCase{"lzma.7z", false, {21}, "Install path not existed\n", EntryFailure::kNone},
                      FailureCase{"crc_error.7z", true, {3}, "\nERROR: CRC error\nnum ", EntryFailure::kNone},
                      // Damaged LZMA2 data: the decoder notices a broken stream (1) or a wrong CRC (3).
                      FailureCase{"corrupt_lzma.7z", true, {1, 3}, "\nERROR", EntryFailure::kNone},
                      // The end header lies past the end of the cut file.
                      FailureCase{"truncated.7z", true, {6}, "\nERROR #6\nnum 0\n", EntryFailure::kNone},
                      FailureCase{"signature_only.7z", true, {6, 16, 17}, "\nERROR #", EntryFailure::kNone},
                      FailureCase{"not_an_archive.7z", true, {17}, "\nERROR #17\nnum 0\n", EntryFailure::kNone},
                      // Folders come only from folder entries: a file whose folder has none cannot be created.
                      FailureCase{"parents_missing.7z",
                                  true,
                                  {11},
                                  "\nERROR: can not open output file\n\nERROR #11\nnum 0\n",
                                  EntryFailure::kCannotOpen}),
    [](const ::testing::TestParamInfo<FailureCase>& info) {
      std::string name = info.param.archive;
      name = name.substr(0, name.find('.'));
      return name + (info.param.install_folder_exists ? "" : "_no_folder");
    });

// --- Hostile entry names: refused before anything is written --------------------------------

struct HostileCase {
  const char* archive;
  std::string entry;  // the name stored in the archive (UTF-8)
  EntryFailure failure;
};

std::string AbsoluteEntry() {
  return std::string(PINDLE_EXTRACT_TEST_DATA) + "/hostile/escaped.txt";
}
std::string LongEntry() {
  return std::string(200, 'L') + "/" + std::string(200, 'M') + "/" + std::string(80, 'N') + ".txt";
}

void PrintTo(const HostileCase& c, std::ostream* os) {
  *os << c.archive;
}

class HostileArchiveTest : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileArchiveTest, RefusesTheEntryWithCode11AndWritesNothingOutside) {
  const HostileCase& c = GetParam();
  ErrorFileGuard error_file;
  ScratchFolder scratch;
  const fs::path install = MakeInstallFolder(scratch);
  RecordingFileSystem files;
  UnpackDetails details;
  int code = -1;
  EXPECT_FALSE(extract::Unpack7zInFolderWith(files, U16(Archive(c.archive)), U16(install), &code, &details));
  EXPECT_EQ(code, 11);
  EXPECT_EQ(details.failure, c.failure);
  EXPECT_EQ(base::Utf16ToUtf8(details.entry_name), c.entry);
  const std::string narrow = files.ToNarrow(details.entry_name);
  const char* what = c.failure == EntryFailure::kUnsafeName ? "unsafe entry name: " : "output path too long: ";
  EXPECT_EQ(files.printed(), "\nERROR: " + std::string(what) + narrow + "\n\nERROR #11\nnum 0\n");
  EXPECT_EQ(error_file.Contents(), "refused entry is:" + narrow);

  // No file anywhere: not beside the install folder, not in it. (Folder entries that come
  // before a too-long file may exist; they are inside the install folder.)
  for (const std::string& entry : ListTree(scratch.path())) {
    EXPECT_EQ(entry.back(), '/') << entry << " was written";
    EXPECT_EQ(entry.rfind("install/", 0), 0u) << entry << " is outside the install folder";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Names, HostileArchiveTest,
    ::testing::Values(HostileCase{"dotdot.7z", "../escaped.txt", EntryFailure::kUnsafeName},
                      HostileCase{"dotdot_inner.7z", "sub/../../escaped.txt", EntryFailure::kUnsafeName},
                      HostileCase{"dotdot_dir.7z", "../escdir", EntryFailure::kUnsafeName},
                      HostileCase{"backslash_dotdot.7z", "..\\backslash.txt", EntryFailure::kUnsafeName},
                      HostileCase{"dot_space.7z", ".. /dotspace.txt", EntryFailure::kUnsafeName},
                      HostileCase{"absolute.7z", AbsoluteEntry(), EntryFailure::kUnsafeName},
                      HostileCase{"drive.7z", "C:/drive.txt", EntryFailure::kUnsafeName},
                      HostileCase{"long_path.7z", LongEntry(), EntryFailure::kPathTooLong}),
    [](const ::testing::TestParamInfo<HostileCase>& info) {
      std::string name = info.param.archive;
      return name.substr(0, name.find('.'));
    });

// --- Entries that cannot be created ---------------------------------------------------------
// A folder standing where a file should go makes its creation fail on every platform, as a
// file held open by a running program does on Windows (see unpack7z_lock_test).

TEST(BlockedEntryTest, AdbEntriesAreSkippedAndEverythingElseIsUnpacked) {
  ScratchFolder scratch;
  const fs::path install = MakeInstallFolder(scratch);
  fs::create_directories(install / "vesk_adb.exe");
  fs::create_directories(install / "Adb" / "AdbWinApi.dll");
  int code = -1;
  UnpackDetails details;
  EXPECT_TRUE(Unpack7zInFolder(U16(Archive("lzma2_solid.7z")), U16(install), &code, &details));
  EXPECT_EQ(code, 0);
  EXPECT_EQ(details.skipped_entries, 2);
  for (const std::string& rel : ListTree(ExpectedTree())) {
    if (rel.back() == '/' || rel == "vesk_adb.exe" || rel == "Adb/AdbWinApi.dll") continue;
    EXPECT_TRUE(ReadFile(ExpectedTree() / fs::u8path(rel)) == ReadFile(install / fs::u8path(rel))) << rel;
  }
}

// `install_name` is where the install folder lives below the scratch folder: a folder whose own
// path contains "Adb" must not turn a product file into a skippable one.
class BlockedProductFileTest : public ::testing::TestWithParam<const char*> {};

TEST_P(BlockedProductFileTest, FailsWithCode11AndRecordsThePath) {
  ErrorFileGuard error_file;
  ScratchFolder scratch;
  const fs::path install = MakeInstallFolder(scratch, GetParam());
  fs::create_directories(install / "PindleCommon.dll");
  RecordingFileSystem files;
  UnpackDetails details;
  int code = -1;
  EXPECT_FALSE(extract::Unpack7zInFolderWith(files, U16(Archive("lzma2_solid.7z")), U16(install), &code, &details));
  EXPECT_EQ(code, 11);
  EXPECT_EQ(details.failure, EntryFailure::kCannotOpen);
  EXPECT_EQ(details.entry_name, u"PindleCommon.dll");
  EXPECT_EQ(files.printed(),
            "\nERROR: can not open output file\n\nERROR #11\nnum " + std::to_string(details.bytes_written) + "\n");
  EXPECT_EQ(error_file.Contents(), "file name is:" + files.ToNarrow(U16(install) + u"\\PindleCommon.dll"));
}

INSTANTIATE_TEST_SUITE_P(Folders, BlockedProductFileTest, ::testing::Values("install", "Adbert/install"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           return std::string(info.index == 0 ? "Plain" : "AdbInFolderPath");
                         });

TEST(ErrorFileTest, NothingIsRecordedWhenItsFolderIsMissing) {
  fs::path error_file;
  {
    ErrorFileGuard guard;  // finds the folder, then removes what it created
    error_file = guard.file();
  }
  if (fs::exists(error_file.parent_path())) GTEST_SKIP() << "the folder existed before the test";
  ScratchFolder scratch;
  const fs::path install = MakeInstallFolder(scratch);
  fs::create_directories(install / "PindleCommon.dll");
  int code = -1;
  EXPECT_FALSE(Unpack7zInFolder(U16(Archive("lzma.7z")), U16(install), &code));
  EXPECT_EQ(code, 11);
  EXPECT_FALSE(fs::exists(error_file.parent_path()));
}

// --- The extraction step on real files -------------------------------------------------------

TEST(ExtractPackageOnFilesTest, CreatesAMissingInstallFolderAndUnpacksInProcess) {
  ScratchFolder scratch;
  const fs::path install = scratch.path() / "Program Files" / "Vesk";
  FakeExtractEnvironment env;
  env.use_real_unpack = true;
  const ExtractOutcome outcome = ExtractPackage(env, U16(Archive("lzma2_solid.7z")), U16(install));
  EXPECT_TRUE(outcome.success);
  EXPECT_EQ(outcome.attempt, ExtractOutcome::kInProcess);
  EXPECT_EQ(outcome.unpack_code, 0);
  EXPECT_EQ(env.trace, (std::vector<std::string>{"stop", "create folder", "unpack"}));
  ExpectSameTree(ExpectedTree(), install);
}

TEST(ExtractPackageOnFilesTest, CorruptPackageFallsBackTo7zaWhoseLockedAdbIsHarmless) {
  ScratchFolder scratch;
  const fs::path install = MakeInstallFolder(scratch);
  FakeExtractEnvironment env;
  env.use_real_unpack = true;
  env.runs.push_back({true, 2,
                      "\r\nERROR: Cannot delete output file : The process cannot access the file "
                      "because it is being used by another process. : " +
                          install.u8string() + "\\vesk_adb.exe\r\n"});
  const ExtractOutcome outcome = ExtractPackage(env, U16(Archive("crc_error.7z")), U16(install));
  EXPECT_TRUE(outcome.success);
  EXPECT_EQ(outcome.attempt, ExtractOutcome::kLockedFilesOnly);
  EXPECT_EQ(outcome.unpack_code, 3);
  ASSERT_EQ(env.command_lines.size(), 1u);
  EXPECT_EQ(env.command_lines[0],
            u"\"C:\\data\\7za.exe\" x -y \"" + U16(Archive("crc_error.7z")) + u"\" -o\"" + U16(install) + u"\" -r");
  EXPECT_EQ(env.timeouts[0], 600000);
}

TEST(ExtractPackageOnFilesTest, RefusedEntryIsLoggedBeforeTheFallback) {
  ScratchFolder scratch;
  const fs::path install = MakeInstallFolder(scratch);
  FakeExtractEnvironment env;
  env.use_real_unpack = true;
  env.runs.push_back({true, 0, ""});
  const ExtractOutcome outcome = ExtractPackage(env, U16(Archive("dotdot.7z")), U16(install));
  EXPECT_TRUE(outcome.success);
  EXPECT_EQ(outcome.attempt, ExtractOutcome::kSevenZa);
  EXPECT_EQ(outcome.unpack_code, 11);
  EXPECT_NE(std::find(env.logs.begin(), env.logs.end(), "Un7z refused entry outside the install folder:../escaped.txt"),
            env.logs.end());
  EXPECT_NE(std::find(env.logs.begin(), env.logs.end(), "Un7z failed:11, once again!"), env.logs.end());
}

}  // namespace
}  // namespace extract_test
