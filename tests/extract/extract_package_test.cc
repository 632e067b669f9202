// The order of the extraction step's attempts and what it logs, with every service scripted.
#include "extract/extract_package.h"

#include <gtest/gtest.h>

#include "fake_extract_environment.h"

namespace extract_test {
namespace {

const std::u16string kPackage = u"C:\\Temp\\pkg.7z";
const std::u16string kFolder = u"D:\\Vesk";
const std::string kLockedAdb = "ERROR: Cannot delete output file : in use : D:\\Vesk\\vesk_adb.exe\r\n";
const std::string kLockedProduct = "ERROR: Cannot delete output file : in use : D:\\Vesk\\PindleCommon.dll\r\n";

struct Scenario {
  const char* label;
  int unpack_code;
  std::vector<ScriptedRun> runs;
  bool success;
  ExtractOutcome::Attempt attempt;
  std::vector<std::string> trace;
  std::vector<std::u16string> archives;  // archives handed to 7za, in order
};

const std::vector<std::string> kUnpackOnly = {"stop", "unpack"};
const std::vector<std::string> kOneRun = {"stop", "unpack", "write 7za", "run"};
const std::vector<std::string> kTwoRuns = {"stop", "unpack", "write 7za", "run", "run"};
const std::u16string kSelf = u"C:\\dl\\PindleDownloader.exe";

void PrintTo(const Scenario& s, std::ostream* os) {
  *os << s.label;
}

class ExtractPackageTest : public ::testing::TestWithParam<Scenario> {};

TEST_P(ExtractPackageTest, TriesTheAttemptsInOrder) {
  const Scenario& s = GetParam();
  FakeExtractEnvironment env;
  env.unpack_code = s.unpack_code;
  env.runs.assign(s.runs.begin(), s.runs.end());
  const ExtractOutcome outcome = ExtractPackage(env, kPackage, kFolder);
  EXPECT_EQ(outcome.success, s.success);
  EXPECT_EQ(outcome.attempt, s.attempt);
  EXPECT_EQ(outcome.unpack_code, s.unpack_code);
  EXPECT_EQ(env.trace, s.trace);
  // The kill tool is looked for in the folder being unpacked into.
  EXPECT_EQ(env.stop_folders, std::vector<std::u16string>{kFolder});
  ASSERT_EQ(env.command_lines.size(), s.archives.size());
  for (size_t i = 0; i < s.archives.size(); ++i) {
    EXPECT_EQ(env.command_lines[i], u"\"C:\\data\\7za.exe\" x -y \"" + s.archives[i] + u"\" -o\"D:\\Vesk\" -r");
    EXPECT_EQ(env.timeouts[i], 600000);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Scenarios, ExtractPackageTest,
    ::testing::Values(
        Scenario{"InProcess", 0, {}, true, ExtractOutcome::kInProcess, kUnpackOnly, {}},
        Scenario{"SevenZaAfterCrcError", 3, {{true, 0, ""}}, true, ExtractOutcome::kSevenZa, kOneRun, {kPackage}},
        Scenario{
            "OnlyAdbLocked", 11, {{true, 2, kLockedAdb}}, true, ExtractOutcome::kLockedFilesOnly, kOneRun, {kPackage}},
        // The locked file alone would be harmless, but the same run failed on data: the tree
        // is incomplete, so the last attempt runs.
        Scenario{"AdbLockedAndCrcFailedThenSelfArchiveWorks",
                 3,
                 {{true, 2, kLockedAdb + "ERROR: CRC Failed : bin\\engine.dll\r\n"}, {true, 0, ""}},
                 true,
                 ExtractOutcome::kSelfArchive,
                 kTwoRuns,
                 {kPackage, kSelf}},
        Scenario{"ProductLockedThenSelfArchiveWorks",
                 11,
                 {{true, 2, kLockedProduct}, {true, 0, ""}},
                 true,
                 ExtractOutcome::kSelfArchive,
                 kTwoRuns,
                 {kPackage, kSelf}},
        Scenario{"ProductLockedAndSelfArchiveFails",
                 11,
                 {{true, 2, kLockedProduct}, {true, 2, kLockedProduct}},
                 false,
                 ExtractOutcome::kSelfArchive,
                 kTwoRuns,
                 {kPackage, kSelf}},
        Scenario{"TimeOutWithoutOutput",
                 1,
                 {{false, 301, ""}, {false, 301, ""}},
                 false,
                 ExtractOutcome::kSelfArchive,
                 kTwoRuns,
                 {kPackage, kSelf}}),
    [](const ::testing::TestParamInfo<Scenario>& info) { return std::string(info.param.label); });

TEST(ExtractPackageLogTest, LogsEachStepAndThePathsOnlyInDebugMode) {
  for (bool debug : {false, true}) {
    FakeExtractEnvironment env;
    env.debug_flag = debug;
    env.folder_exists = false;
    env.package_exists = false;
    env.unpack_code = 22;
    env.runs = {{true, 2, kLockedProduct}, {true, 0, ""}};
    EXPECT_TRUE(ExtractPackage(env, kPackage, kFolder).success);
    std::vector<std::string> expected = {"Start Extract File"};
    if (debug) expected.push_back("Extract file path:C:\\Temp\\pkg.7z, install pathD:\\Vesk");
    const std::vector<std::string> rest = {"D:\\Vesk is not exist and create it",
                                           "C:\\Temp\\pkg.7z is not exist",
                                           "Un7z start",
                                           "Un7z failed:22, once again!",
                                           "unzip exit_code::2",
                                           "Can not delete:PindleCommon.dll,",
                                           "err output:" + kLockedProduct,
                                           "unzip exit_code::0"};
    expected.insert(expected.end(), rest.begin(), rest.end());
    EXPECT_EQ(env.logs, expected) << "debug " << debug;
    EXPECT_EQ(env.trace, (std::vector<std::string>{"stop", "create folder", "unpack", "write 7za", "run", "run"}));
  }
}

TEST(ExtractPackageLogTest, HandsTheOutcomeToTheCallbackOnce) {
  FakeExtractEnvironment env;
  env.unpack_code = 3;
  env.runs = {{true, 0, ""}};
  std::vector<ExtractOutcome> outcomes;
  ExtractPackage(env, kPackage, kFolder, [&outcomes](const ExtractOutcome& outcome) { outcomes.push_back(outcome); });
  ASSERT_EQ(outcomes.size(), 1u);
  EXPECT_TRUE(outcomes[0].success);
  EXPECT_EQ(outcomes[0].attempt, ExtractOutcome::kSevenZa);
  EXPECT_EQ(outcomes[0].unpack_code, 3);
}

TEST(ExtractPackageLogTest, NamesAnEntryThatWasRefused) {
  FakeExtractEnvironment env;
  env.unpack_code = 11;
  env.unpack_details.failure = extract::EntryFailure::kPathTooLong;
  env.unpack_details.entry_name = u"very/long";
  env.runs = {{true, 0, ""}};
  EXPECT_TRUE(ExtractPackage(env, kPackage, kFolder).success);
  EXPECT_NE(std::find(env.logs.begin(), env.logs.end(), "Un7z output path too long:very/long"), env.logs.end());
}

}  // namespace
}  // namespace extract_test
