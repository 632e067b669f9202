// The platform-free decisions of the extraction: which entry names may be written, the output
// path buffer, the skip rule, attributes, diagnostics, the 7-Zip command line and the judgement
// of its error output.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "extract/locked_files.h"
#include "extract/seven_za.h"
#include "extract/unpack_rules.h"
#include "runtime/text_encoding.h"

namespace {

using extract::EntryFailure;

// --- Entry names ------------------------------------------------------------------------------

struct NameCase {
  std::u16string name;
  bool safe;
};

void PrintTo(const NameCase& c, std::ostream* os) {
  *os << base::Utf16ToUtf8(c.name);
}

class EntryNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(EntryNameTest, OnlyNamesInsideTheFolderAreSafe) {
  EXPECT_EQ(extract::IsSafeEntryName(GetParam().name), GetParam().safe) << base::Utf16ToUtf8(GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Names, EntryNameTest,
    ::testing::Values(NameCase{u"file.txt", true}, NameCase{u"a/b/c.dll", true}, NameCase{u"a\\b\\c.dll", true},
                      NameCase{u"..a", true}, NameCase{u"a..", true}, NameCase{u"a/..b/c", true},
                      NameCase{u"a.b.c", true}, NameCase{u"with space/x y", true}, NameCase{u"a//b", true},
                      NameCase{u"trailing/", true}, NameCase{u"\u65e5\u672c\u8a9e/\u30d5.txt", true},
                      NameCase{u"", false}, NameCase{u"..", false}, NameCase{u".", false}, NameCase{u"../x", false},
                      NameCase{u"..\\x", false}, NameCase{u"a/../../x", false}, NameCase{u"a\\..\\..\\x", false},
                      NameCase{u"a/..", false}, NameCase{u"a/./b", false}, NameCase{u"...", false},
                      NameCase{u".. /x", false}, NameCase{u". ./x", false}, NameCase{u"a/... /x", false},
                      NameCase{u"/x", false}, NameCase{u"\\x", false}, NameCase{u"\\\\server\\share\\x", false},
                      NameCase{u"C:x", false}, NameCase{u"c:/x", false}, NameCase{u"C:\\Windows\\x.dll", false},
                      NameCase{u"file.txt:stream", false}));

// --- Output path buffer -----------------------------------------------------------------------

TEST(JoinOutputPathTest, JoinsWithOneSeparator) {
  char16_t buffer[64];
  ASSERT_TRUE(extract::JoinOutputPath(u"C:\\Vesk", u"a/b.txt", buffer, 64));
  EXPECT_EQ(std::u16string(buffer), u"C:\\Vesk\\a/b.txt");
  ASSERT_TRUE(extract::JoinOutputPath(u"D:\\", u"b.txt", buffer, 64));
  EXPECT_EQ(std::u16string(buffer), u"D:\\b.txt");
  ASSERT_TRUE(extract::JoinOutputPath(u"/opt/vesk/", u"b.txt", buffer, 64));
  EXPECT_EQ(std::u16string(buffer), u"/opt/vesk/b.txt");
}

// The buffer sits inside a larger block filled with a marker: a write past the 500 units shows
// as a changed marker (and to AddressSanitizer in the host build).
TEST(JoinOutputPathTest, FitsExactly499UnitsAndNeverWritesPastTheBuffer) {
  const size_t capacity = extract::kOutputPathCapacity;
  const std::u16string folder(100, u'f');
  struct Case {
    size_t name_length;
    bool fits;
  };
  for (const Case& c : {Case{398, true}, Case{399, false}, Case{400, false}, Case{5000, false}}) {
    std::vector<char16_t> block(capacity + 32, u'#');
    const std::u16string name(c.name_length, u'n');
    EXPECT_EQ(extract::JoinOutputPath(folder, name, block.data(), capacity), c.fits) << c.name_length;
    for (size_t i = capacity; i < block.size(); ++i) ASSERT_EQ(block[i], u'#') << i;
    if (c.fits) {
      EXPECT_EQ(std::u16string(block.data()).size(), capacity - 1);
    } else {
      EXPECT_EQ(block[0], u'#') << "a refused path leaves the buffer untouched";
    }
  }
  std::vector<char16_t> block(capacity + 32, u'#');
  EXPECT_FALSE(extract::JoinOutputPath(std::u16string(capacity, u'f'), u"x", block.data(), capacity));
  EXPECT_FALSE(extract::JoinOutputPath(std::u16string(capacity - 1, u'f'), u"", block.data(), capacity));
  EXPECT_FALSE(extract::JoinOutputPath(u"C:", u"x", block.data(), 0));
  for (size_t i = capacity; i < block.size(); ++i) ASSERT_EQ(block[i], u'#') << i;
}

// --- Skip rule and attributes -------------------------------------------------------------------

TEST(SkipRuleTest, OnlyTheAdbEntriesMayBeSkipped) {
  for (const char16_t* name :
       {u"vesk_adb.exe", u"tools/vesk_adb.exe", u"Adb/AdbWinApi.dll", u"AdbWinUsbApi.dll", u"x/Adb"}) {
    EXPECT_TRUE(extract::IsSkippableLockedEntry(name)) << base::Utf16ToUtf8(name);
  }
  for (const char16_t* name :
       {u"PindleCommon.dll", u"pindle.rcc", u"adb.exe", u"VESK_ADB.EXE", u"adbhelper.dll", u"Vesk.exe"}) {
    EXPECT_FALSE(extract::IsSkippableLockedEntry(name)) << base::Utf16ToUtf8(name);
  }
}

TEST(AttributesTest, KeepsOnlyTheWindowsBitsOfPosixArchives) {
  EXPECT_EQ(extract::WindowsAttributesOf(0x81248021u), 0x21u);  // r--r--r-- file, read-only
  EXPECT_EQ(extract::WindowsAttributesOf(0x81a48020u), 0x20u);
  EXPECT_EQ(extract::WindowsAttributesOf(0x21u), 0x21u);  // made on Windows
  EXPECT_EQ(extract::WindowsAttributesOf(0x07u), 0x07u);  // read-only, hidden, system
}

// --- Diagnostics ------------------------------------------------------------------------------

TEST(DiagnosticTextTest, MatchesEachCode) {
  struct Case {
    int code;
    uint64_t bytes;
    const char* text;
  };
  for (const Case& c : {
           Case{0, 99, ""},
           Case{1, 0, "\nERROR #1\nnum 0\n"},  // a data error found while decoding
           Case{2, 7, "\nERROR: can not allocate memory\nnum 7\n"},
           Case{3, 5000000000ull, "\nERROR: CRC error\nnum 5000000000\n"},
           Case{4, 0, "\nERROR: decoder doesn't support this archive\nnum 0\n"},
           Case{11, 12, "\nERROR #11\nnum 12\n"},
           Case{16, 0, "\nERROR #16\nnum 0\n"},
           Case{17, 0, "\nERROR #17\nnum 0\n"},
           Case{21, 0, "Install path not existed\n"},
           Case{22, 0, "Source path not existed\n"},
       }) {
    EXPECT_EQ(extract::UnpackDiagnosticText(c.code, c.bytes), c.text) << c.code;
  }
}

TEST(DiagnosticTextTest, EntryFailuresAndErrorFileRecords) {
  EXPECT_EQ(extract::EntryFailureText(EntryFailure::kCannotOpen, "x"), "\nERROR: can not open output file\n");
  EXPECT_EQ(extract::EntryFailureText(EntryFailure::kCannotWrite, "x"), "\nERROR: can not write output file\n");
  EXPECT_EQ(extract::EntryFailureText(EntryFailure::kCannotClose, "x"), "\nERROR: can not close output file\n");
  EXPECT_EQ(extract::EntryFailureText(EntryFailure::kUnsafeName, "../x"), "\nERROR: unsafe entry name: ../x\n");
  EXPECT_EQ(extract::EntryFailureText(EntryFailure::kPathTooLong, "y"), "\nERROR: output path too long: y\n");
  EXPECT_EQ(extract::EntryFailureText(EntryFailure::kNameConversion, "y"), "");
  EXPECT_TRUE(extract::ErrorFilePath(u"C:\\Users\\u\\AppData\\Local") ==
              u"C:\\Users\\u\\AppData\\Local\\Vesk\\DravelInstallPack\\err.txt");
  EXPECT_EQ(extract::ErrorFileRecord("C:\\Vesk\\a.dll"), "file name is:C:\\Vesk\\a.dll");
}

// --- The 7-Zip command line and one run -----------------------------------------------------------

TEST(SevenZaTest, CommandLineIsExact) {
  EXPECT_EQ(extract::SevenZaCommandLine(u"C:\\Users\\u\\AppData\\Local\\Vesk\\7za.exe", u"C:\\Temp\\pkg 1.7z",
                                        u"D:\\Program Files\\Vesk"),
            u"\"C:\\Users\\u\\AppData\\Local\\Vesk\\7za.exe\" x -y \"C:\\Temp\\pkg 1.7z\" "
            u"-o\"D:\\Program Files\\Vesk\" -r");
}

TEST(SevenZaTest, SucceedsOnlyOnExitCodeZeroAndHandsBackTheErrorOutput) {
  struct Case {
    bool finished;
    int exit_code;
    bool success;
    const char* logged;
  };
  for (const Case& c : {Case{true, 0, true, "unzip exit_code::0"}, Case{true, 2, false, "unzip exit_code::2"},
                        Case{false, 301, false, "unzip exit_code::301"},   // ran out of time
                        Case{false, -1, false, "unzip exit_code::-1"}}) {  // never started
    std::u16string seen_command;
    int seen_timeout = 0;
    const ProcessRunner run = [&](const std::u16string& command_line, int timeout_ms, int* exit_code, std::string* out,
                                  std::string* err) {
      seen_command = command_line;
      seen_timeout = timeout_ms;
      if (c.exit_code != -1) *exit_code = c.exit_code;
      *out = "progress";
      *err = "ERROR: something\n";
      return c.finished;
    };
    std::vector<std::string> logs;
    std::string error_output;
    EXPECT_EQ(
        Run7za(run, u"7za.exe", u"a.7z", u"D:\\V", &error_output, [&logs](const std::string& m) { logs.push_back(m); }),
        c.success);
    EXPECT_EQ(seen_command, u"\"7za.exe\" x -y \"a.7z\" -o\"D:\\V\" -r");
    EXPECT_EQ(seen_timeout, 600000);
    EXPECT_EQ(error_output, "ERROR: something\n");
    EXPECT_EQ(logs, std::vector<std::string>{c.logged});
  }
}

// --- Judging the locked files ---------------------------------------------------------------------

struct LockedCase {
  const char* label;
  std::string output;
  bool harmless;
  std::vector<std::string> logs;
};

const std::vector<std::string> kProductFiles = {"PindleCommon.dll", "pindle.rcc", "Vesk.exe", "Uninstall.exe"};

std::string Line1604(const std::string& path) {  // 7-Zip 16.04, as the installer shipped it
  return "ERROR: Can not delete output file : The process cannot access the file because it is "
         "being used by another process. : " +
         path + "\r\n";
}
std::string LineNow(const std::string& path) {  // the 7-Zip built into this program
  return "ERROR: Cannot delete output file : The process cannot access the file because it is "
         "being used by another process. : " +
         path + "\r\n";
}

void PrintTo(const LockedCase& c, std::ostream* os) {
  *os << c.label;
}

class LockedFilesTest : public ::testing::TestWithParam<LockedCase> {};

TEST_P(LockedFilesTest, JudgesTheErrorOutput) {
  const LockedCase& c = GetParam();
  std::vector<std::string> logs;
  EXPECT_EQ(LockedFilesAreHarmless(c.output, kProductFiles, [&logs](const std::string& m) { logs.push_back(m); }),
            c.harmless);
  EXPECT_EQ(logs, c.logs);
}

const std::string kMixed = "\r\n7-Zip 16.04\r\n" + Line1604("D:\\Vesk\\vesk_adb.exe") + Line1604("D:\\Vesk\\Vesk.exe") +
                           Line1604("D:\\Vesk\\Adb\\x.dll");

INSTANTIATE_TEST_SUITE_P(
    Outputs, LockedFilesTest,
    ::testing::Values(
        LockedCase{"Empty", "", false, {"There is no output!"}},
        LockedCase{"NoLockedFileLine", "ERROR: Data Error : pkg.7z\r\n", false, {"err file is null!"}},
        LockedCase{"OnlyOtherFiles1604",
                   "\r\n" + Line1604("D:\\Vesk\\vesk_adb.exe") + Line1604("D:\\Vesk\\Adb\\AdbWinApi.dll"),
                   true,
                   {"Can not delete:vesk_adb.exe,AdbWinApi.dll,"}},
        LockedCase{
            "OnlyOtherFilesCurrent7zip", LineNow("D:\\Vesk\\drivers\\vbox.sys"), true, {"Can not delete:vbox.sys,"}},
        LockedCase{"UnixLineEndsKeepTheLastLetter",
                   "ERROR: Cannot delete output file : busy : D:\\Vesk\\tool.dll\n",
                   true,
                   {"Can not delete:tool.dll,"}},
        LockedCase{"ProductFileStopsTheScan",
                   kMixed,
                   false,
                   {"Can not delete:vesk_adb.exe,Vesk.exe,", "err output:" + kMixed}},
        LockedCase{"ProductFileInOtherCase",
                   LineNow("D:\\Vesk\\pindlecommon.DLL"),
                   false,
                   {"Can not delete:pindlecommon.DLL,", "err output:" + LineNow("D:\\Vesk\\pindlecommon.DLL")}}),
    [](const ::testing::TestParamInfo<LockedCase>& info) { return std::string(info.param.label); });

// The error stream of real 7-Zip runs (the embedded 7za.exe under Wine; Wine words a sharing
// violation more briefly than Windows). Locked files are harmless only when nothing else went
// wrong in the same run.
struct CapturedCase {
  const char* file;
  bool harmless;
  const char* locked_list;  // the "Can not delete:" list, or null when no file was locked
};

std::string ReadCapturedOutput(const char* file) {
#ifdef _WIN32
  const std::string folder = std::string("Z:") + PINDLE_7ZA_OUTPUT_DIR;  // Wine's view of the tree
#else
  const std::string folder = PINDLE_7ZA_OUTPUT_DIR;
#endif
  std::ifstream in(folder + "/" + file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void PrintTo(const CapturedCase& c, std::ostream* os) {
  *os << c.file;
}

class CapturedOutputTest : public ::testing::TestWithParam<CapturedCase> {};

TEST_P(CapturedOutputTest, OnlyLockedHarmlessFilesAndNothingElseCountAsDone) {
  const CapturedCase& c = GetParam();
  const std::string output = ReadCapturedOutput(c.file);
  ASSERT_FALSE(output.empty()) << c.file;
  ASSERT_NE(output.find("\r\n"), std::string::npos) << "captured with Windows line ends";
  std::vector<std::string> logs;
  EXPECT_EQ(LockedFilesAreHarmless(output, kProductFiles, [&logs](const std::string& m) { logs.push_back(m); }),
            c.harmless);
  std::vector<std::string> expected;
  if (!c.locked_list) {
    expected = {"err file is null!"};
  } else {
    expected = {std::string("Can not delete:") + c.locked_list};
    if (!c.harmless) expected.push_back("err output:" + output);  // the cause, once
  }
  EXPECT_EQ(logs, expected);
}

INSTANTIATE_TEST_SUITE_P(Real7za, CapturedOutputTest,
                         ::testing::Values(CapturedCase{"locked_adb.txt", true, "vesk_adb.exe,"},
                                           CapturedCase{"locked_adb_and_crc.txt", false, "vesk_adb.exe,"},
                                           CapturedCase{"locked_and_disk_full.txt", false, "AdbWinApi.dll,"},
                                           CapturedCase{"locked_and_cannot_create.txt", false, "vesk_adb.exe,"},
                                           CapturedCase{"crc.txt", false, nullptr},
                                           CapturedCase{"data_error.txt", false, nullptr},
                                           CapturedCase{"truncated.txt", false, nullptr},
                                           CapturedCase{"disk_full.txt", false, nullptr},
                                           CapturedCase{"cannot_create.txt", false, nullptr}),
                         [](const ::testing::TestParamInfo<CapturedCase>& info) {
                           std::string name = info.param.file;
                           name = name.substr(0, name.find('.'));
                           return name;
                         });

TEST(LockedFilesTest, BlankLinesAroundLockedFilesDoNotCount) {
  const std::string output = "\r\n\r\n" + LineNow("D:\\Vesk\\vesk_adb.exe") + " \r\n\r\n";
  EXPECT_TRUE(LockedFilesAreHarmless(output, kProductFiles, nullptr));
  EXPECT_FALSE(LockedFilesAreHarmless(output + "WARNING: Headers Error\r\n", kProductFiles, nullptr));
}

TEST(LockedFilesTest, LinesAndNames) {
  EXPECT_EQ(extract::SplitOutputLines(""), std::vector<std::string>{});
  EXPECT_EQ(extract::SplitOutputLines("a\nb"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(extract::SplitOutputLines("a\n\nb\n"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(extract::LockedFileName("x : C:\\a\\b.dll\r"), "b.dll");
  EXPECT_EQ(extract::LockedFileName("no separator\r"), "no separator");
}

}  // namespace
