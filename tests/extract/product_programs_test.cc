// Stopping the product's programs: which processes qualify, which kill tool, its command line,
// and the order of the whole step over a scripted process list.
#include "extract/product_programs.h"

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/text_encoding.h"

namespace extract {
namespace {

std::string Narrow(const std::u16string& text) {
  return base::Utf16ToUtf8(text);
}

TEST(ProductProgramsTest, AllNamesInKeyOrderEachLimitedToTheProductFolder) {
  std::vector<std::string> names;
  for (const ProductProgram& program : ProductProgramsToStop()) {
    names.push_back(Narrow(program.name));
    EXPECT_TRUE(program.only_from_product_bin) << names.back();
  }
  // Ordinal order of the names as map keys: digits, then upper case, then lower case, and
  // "." < "W" < "_" after a common stem.
  EXPECT_EQ(names,
            (std::vector<std::string>{"7za.exe", "Pindle.exe", "PindleWing.exe", "Pindle_unload.exe", "QVPlayer.exe",
                                      "QVPlayerVMHandle.exe", "QVPlayerVMSVC.exe", "QVPlayer_unload.exe", "adb.exe"}));
}

struct ImageCase {
  const char* label;
  std::u16string image;
  std::u16string product;
  bool in_bin;
};

void PrintTo(const ImageCase& c, std::ostream* os) {
  *os << c.label;
}

class ProductBinFolderTest : public ::testing::TestWithParam<ImageCase> {};

TEST_P(ProductBinFolderTest, OnlyImagesBelowTheProductsBinFolder) {
  const ImageCase& c = GetParam();
  EXPECT_EQ(IsInProductBinFolder(c.image, c.product), c.in_bin);
  EXPECT_EQ(ShouldStopProcess(ProductProgram{u"Pindle.exe", true}, c.image, c.product), c.in_bin);
  // A rule without the folder limit stops the process wherever it runs from.
  EXPECT_TRUE(ShouldStopProcess(ProductProgram{u"Pindle.exe", false}, c.image, c.product));
}

INSTANTIATE_TEST_SUITE_P(
    Images, ProductBinFolderTest,
    ::testing::Values(ImageCase{"ProductBin", u"C:\\Program Files\\Pindle\\bin\\Pindle.exe", u"Pindle", true},
                      ImageCase{"NestedBelowBin", u"D:\\x\\Pindle\\bin\\tools\\adb.exe", u"Pindle", true},
                      ImageCase{"OtherCase", u"C:\\PINDLE\\BIN\\adb.exe", u"Pindle", true},
                      ImageCase{"OtherProduct", u"C:\\Android\\platform-tools\\adb.exe", u"Pindle", false},
                      ImageCase{"ProductFolderNotBin", u"C:\\Pindle\\engine\\QVPlayer.exe", u"Pindle", false},
                      ImageCase{"NameOnlyAsPrefix", u"C:\\MyPindle\\bin\\Pindle.exe", u"Pindle", false},
                      ImageCase{"NameOnlyAsSuffix", u"C:\\Pindle2\\bin\\Pindle.exe", u"Pindle", false},
                      ImageCase{"BinIsTheFile", u"C:\\Pindle\\bin", u"Pindle", false},
                      ImageCase{"ForwardSlashes", u"C:/Pindle/bin/Pindle.exe", u"Pindle", false},
                      ImageCase{"UnreadableImage", u"", u"Pindle", false},
                      ImageCase{"NoProductName", u"C:\\\\bin\\adb.exe", u"", false}),
    [](const ::testing::TestParamInfo<ImageCase>& info) { return std::string(info.param.label); });

struct ToolCase {
  const char* label;
  std::u16string previous;
  std::u16string install;
  bool is_64bit;
  std::u16string tool;
};

void PrintTo(const ToolCase& c, std::ostream* os) {
  *os << c.label;
}

class KillToolPathTest : public ::testing::TestWithParam<ToolCase> {};

TEST_P(KillToolPathTest, PreviousFolderFirstAndTheBuildOfTheSystem) {
  const ToolCase& c = GetParam();
  EXPECT_EQ(Narrow(KillToolPath(c.previous, c.install, c.is_64bit)), Narrow(c.tool));
}

INSTANTIATE_TEST_SUITE_P(
    Folders, KillToolPathTest,
    ::testing::Values(
        ToolCase{"Previous64", u"D:\\Old\\Pindle", u"C:\\New\\Pindle", true, u"D:\\Old\\Pindle\\bin\\kntd64.exe"},
        ToolCase{"Previous32", u"D:\\Old\\Pindle", u"C:\\New\\Pindle", false, u"D:\\Old\\Pindle\\bin\\kntd32.exe"},
        ToolCase{"NoPreviousUsesInstall64", u"", u"C:\\New\\Pindle", true, u"C:\\New\\Pindle\\bin\\kntd64.exe"},
        ToolCase{"NoPreviousUsesInstall32", u"", u"C:\\New\\Pindle", false, u"C:\\New\\Pindle\\bin\\kntd32.exe"},
        ToolCase{"TrailingSeparatorDropped", u"D:\\Old\\Pindle\\", u"", true, u"D:\\Old\\Pindle\\bin\\kntd64.exe"},
        ToolCase{"DriveRoot", u"", u"E:\\", false, u"E:\\bin\\kntd32.exe"},
        ToolCase{"NonAsciiFolder", u"", u"C:\\\u7a0b\u5e8f\\Pindle", true,
                 u"C:\\\u7a0b\u5e8f\\Pindle\\bin\\kntd64.exe"},
        ToolCase{"NoFolderAtAll", u"", u"", true, u""}),
    [](const ::testing::TestParamInfo<ToolCase>& info) { return std::string(info.param.label); });

TEST(KillToolCommandLineTest, QuotedToolThenTheProcessIdInDecimal) {
  EXPECT_EQ(Narrow(KillToolCommandLine(u"C:\\Program Files\\Pindle\\bin\\kntd64.exe", 4242)),
            "\"C:\\Program Files\\Pindle\\bin\\kntd64.exe\" -c q -p 4242");
  EXPECT_EQ(Narrow(KillToolCommandLine(u"C:\\P\\bin\\kntd32.exe", 0)), "\"C:\\P\\bin\\kntd32.exe\" -c q -p 0");
  // Ids use the whole unsigned range; none may come out negative.
  EXPECT_EQ(Narrow(KillToolCommandLine(u"t", 4294967292u)), "\"t\" -c q -p 4294967292");
}

// A process list and file set for the whole step; records what it was asked.
class ScriptedProcesses : public ProductProcessSystem {
 public:
  struct Process {
    uint32_t pid;
    std::u16string image;  // empty: the image path cannot be read
  };
  std::map<std::u16string, std::vector<Process>> by_name;
  std::vector<std::u16string> existing_files;

  std::vector<std::string> lookups;
  std::vector<std::string> runs;
  std::vector<int> timeouts;
  std::vector<std::string> logs;

  std::vector<uint32_t> FindProcessesByName(const std::u16string& exe_name) override {
    lookups.push_back(Narrow(exe_name));
    std::vector<uint32_t> pids;
    for (const Process& p : by_name[exe_name]) pids.push_back(p.pid);
    return pids;
  }
  bool GetProcessImagePath(uint32_t pid, std::u16string* path) override {
    for (const auto& entry : by_name) {
      for (const Process& p : entry.second) {
        if (p.pid == pid && !p.image.empty()) {
          *path = p.image;
          return true;
        }
      }
    }
    *path = u"stale";  // a failed lookup must not be taken for a path
    return false;
  }
  bool FileExists(const std::u16string& path) override {
    for (const std::u16string& file : existing_files) {
      if (file == path) return true;
    }
    return false;
  }
  void RunKillTool(const std::u16string& command_line, int timeout_ms) override {
    runs.push_back(Narrow(command_line));
    timeouts.push_back(timeout_ms);
  }
  void Log(const std::string& message, bool enabled) override { logs.push_back(message + (enabled ? "" : " (off)")); }
};

class StopProductProgramsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings.product_name = u"Pindle";
    settings.install_folder = u"C:\\New\\Pindle";
    settings.previous_install_folder = u"D:\\Old\\Pindle";
    settings.windows_is_64bit = true;
    system.by_name[u"adb.exe"] = {{101, u"D:\\Old\\Pindle\\bin\\adb.exe"}, {102, u"C:\\sdk\\platform-tools\\adb.exe"}};
    system.by_name[u"Pindle.exe"] = {{201, u"D:\\Old\\Pindle\\bin\\Pindle.exe"},
                                     {202, u""}};  // image unreadable: left alone
    system.by_name[u"7za.exe"] = {{301, u"C:\\Users\\u\\AppData\\Local\\Pindle\\7za.exe"}};
    system.by_name[u"QVPlayerVMSVC.exe"] = {{401, u"C:\\New\\Pindle\\bin\\QVPlayerVMSVC.exe"}};
  }

  StopProgramsSettings settings;
  ScriptedProcesses system;
};

TEST_F(StopProductProgramsTest, RunsTheToolOnEveryProductProcessInKeyOrder) {
  system.existing_files = {u"D:\\Old\\Pindle\\bin\\kntd64.exe"};
  EXPECT_EQ(StopProductPrograms(system, settings), 3);
  EXPECT_EQ(system.logs, std::vector<std::string>{"kill process"});
  std::vector<std::string> all_names;
  for (const ProductProgram& program : ProductProgramsToStop()) all_names.push_back(Narrow(program.name));
  EXPECT_EQ(system.lookups, all_names);
  const std::string tool = "\"D:\\Old\\Pindle\\bin\\kntd64.exe\"";
  EXPECT_EQ(system.runs,
            (std::vector<std::string>{tool + " -c q -p 201", tool + " -c q -p 401", tool + " -c q -p 101"}));
  EXPECT_EQ(system.timeouts, (std::vector<int>{3000, 3000, 3000}));
}

TEST_F(StopProductProgramsTest, NothingRunsWithoutTheToolOfThisSystem) {
  struct Case {
    const char* label;
    std::vector<std::u16string> files;
    bool is_64bit;
    std::u16string previous;
  };
  const std::vector<Case> cases = {
      {"NoToolAnywhere", {}, true, u"D:\\Old\\Pindle"},
      // The other build's tool does not stand in for the missing one.
      {"Only32BitToolOn64", {u"D:\\Old\\Pindle\\bin\\kntd32.exe"}, true, u"D:\\Old\\Pindle"},
      {"Only64BitToolOn32", {u"D:\\Old\\Pindle\\bin\\kntd64.exe"}, false, u"D:\\Old\\Pindle"},
      // A previous installation is known: the new folder's tool is not used.
      {"ToolOnlyInNewFolder", {u"C:\\New\\Pindle\\bin\\kntd64.exe"}, true, u"D:\\Old\\Pindle"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ScriptedProcesses fresh;
    fresh.by_name = system.by_name;
    fresh.existing_files = c.files;
    settings.windows_is_64bit = c.is_64bit;
    settings.previous_install_folder = c.previous;
    EXPECT_EQ(StopProductPrograms(fresh, settings), 0);
    EXPECT_TRUE(fresh.runs.empty());
    EXPECT_EQ(fresh.logs, std::vector<std::string>{"kill process"});  // logged all the same
  }
}

TEST_F(StopProductProgramsTest, WithoutAPreviousInstallationTheNewFoldersToolRuns) {
  settings.previous_install_folder.clear();
  settings.windows_is_64bit = false;
  system.existing_files = {u"C:\\New\\Pindle\\bin\\kntd32.exe"};
  EXPECT_EQ(StopProductPrograms(system, settings), 3);
  ASSERT_FALSE(system.runs.empty());
  EXPECT_EQ(system.runs.front(), "\"C:\\New\\Pindle\\bin\\kntd32.exe\" -c q -p 201");
}

}  // namespace
}  // namespace extract
